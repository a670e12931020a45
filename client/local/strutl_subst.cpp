#include "strutl_subst.h"

#include <cstring>
#include <string>
#include <string_view>

#include "local/local_call.h"
#include "tbs.h"

using client_local::LocalCall;
using client_local::NonNull;

int strutl_replace_substr(const char* text, const char* from, const char* to, char* out, std::size_t size) {
  return LocalCall("strutl_replace_substr",
                   {text ? text : "(null)", from ? from : "(null)", to ? to : "(null)", std::to_string(size)},
                   NonNull(text, from, to, out) && *from && size != 0, [&] {
    const std::string_view source(text), pattern(from);
    std::string result;
    std::size_t at = 0;
    for (std::size_t found; (found = source.find(pattern, at)) != std::string_view::npos; at = found + pattern.size()) {
      result.append(source.substr(at, found - at));
      result.append(to);
    }
    result.append(source.substr(at));
    if (result.size() + 1 > size) {
      out[0] = '\0';
      return TBS_ST_FAILURE;
    }
    std::memcpy(out, result.c_str(), result.size() + 1);
    return TBS_ST_OK;
  });
}
