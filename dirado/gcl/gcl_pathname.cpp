// Pathnames over the client's file utilities.
#include "gcl_pathname.h"

#include <algorithm>
#include <vector>

#include "fileutl.h"
#include "gcl_status.h"
#include "strutl.h"
#include "tbs.h"

namespace {

// Calls a utility with a buffer that grows while the result does not fit.
template <class Call>
int WithBuffer(std::size_t first_size, GCL_String& result, Call call) {
  std::size_t size = first_size;
  for (;;) {
    std::vector<char> buffer(size);
    const int status = call(buffer.data(), buffer.size());
    if (status == TBS_ST_OK) {
      result = GCL_String(buffer.data());
      return status;
    }
    if (status != TBS_ST_INVALID_ARG || size >= (std::size_t(1) << 24)) return status;
    size *= 8;
  }
}

}  // namespace

bool GCL_Pathname::is_absolute() const { return fileutl_is_abspn(c_str()) != 0; }

std::uint32_t GCL_Pathname::make_absolute(GCL_Status& status) {
  GCL_String result;
  const int code = WithBuffer(std::max<std::size_t>(1024, 2 * std::size_t(length()) + 1),
                              result, [&](char* out, std::size_t size) { return fileutl_abspn(c_str(), out, size); });
  if (code != TBS_ST_OK) return status.set_code(static_cast<std::uint32_t>(code));
  static_cast<GCL_String&>(*this) = result;
  return status.set_code(0);
}

GCL_Pathname GCL_Pathname::strip_leaf() const {
  GCL_String result;
  WithBuffer(std::size_t(length()) + 2, result,
             [&](char* out, std::size_t size) { return fileutl_strip_leaf(c_str(), out, size); });
  return result;
}

std::uint32_t GCL_Pathname::last_separator() const {
  const char* text = c_str();
  const char* back = strutl_find_last_char(text, '\\');
  const char* slash = strutl_find_last_char(text, '/');
  const char* last = !back ? slash : !slash ? back : std::max(back, slash);
  return last ? static_cast<std::uint32_t>(last - text) : npos;
}

GCL_Pathname GCL_Pathname::locate(const GCL_String& name, const GCL_String& search_path, GCL_Status& status) {
  GCL_String result;
  const int code = WithBuffer(1024, result, [&](char* out, std::size_t size) {
    return fileutl_path_locate(name.c_str(), search_path.c_str(), out, size);
  });
  if (code != TBS_ST_OK || name.is_null()) {
    status.set_code(code != TBS_ST_OK ? static_cast<std::uint32_t>(code) : TBS_ST_INVALID_ARG);
    return GCL_Pathname();
  }
  status.set_code(0);
  return result;
}
