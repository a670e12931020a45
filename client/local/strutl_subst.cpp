#include "strutl_subst.h"

#include <cstring>
#include <string>
#include <string_view>

#include "local/calllog.h"
#include "tbs.h"

using client_local::CallLog;

int strutl_replace_substr(const char* text, const char* from, const char* to, char* out, std::size_t size) {
  CallLog::Call call("strutl_replace_substr",
                     {text ? text : "(null)", from ? from : "(null)", to ? to : "(null)", std::to_string(size)});
  if (call.Failed()) return call.Status();
  if (!text || !from || !*from || !to || !out || size == 0) return call.Return(TBS_ST_INVALID_ARG);
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
    return call.Return(TBS_ST_FAILURE);
  }
  std::memcpy(out, result.c_str(), result.size() + 1);
  return call.Return(TBS_ST_OK);
}
