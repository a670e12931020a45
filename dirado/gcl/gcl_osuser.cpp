// Users and groups over the client's system utilities.
#include "gcl_osuser.h"

#include <cstring>

#include "gcl_status.h"
#include "sysutl.h"
#include "tbs.h"

namespace {

constexpr std::size_t kBufferSize = 1024;

GCL_String Ask(GCL_Status& status, int (*call)(char*, std::size_t)) {
  char out[kBufferSize];
  const int code = call(out, sizeof out);
  status.set_code(static_cast<std::uint32_t>(code));
  return code == TBS_ST_OK ? GCL_String(out) : GCL_String();
}

GCL_String Ask(GCL_Status& status, int (*call)(const char*, char*, std::size_t), const GCL_String& in) {
  char out[kBufferSize];
  // A text with a zero byte inside is no name.
  const int code = std::memchr(in.c_str(), 0, in.length()) != nullptr ? TBS_ST_INVALID_ARG : call(in.c_str(), out, sizeof out);
  status.set_code(static_cast<std::uint32_t>(code));
  return code == TBS_ST_OK ? GCL_String(out) : GCL_String();
}

}  // namespace

GCL_OSUser GCL_OSUser::current(GCL_Status& status) { return Ask(status, sysutl_myloginname); }
GCL_OSUser GCL_OSUser::from_sid(const GCL_String& usid, GCL_Status& status) {
  return Ask(status, sysutl_usid_to_user, usid);
}
GCL_String GCL_OSUser::sid(GCL_Status& status) const { return Ask(status, sysutl_user_to_usid, *this); }
GCL_String GCL_OSUser::primary_group_sid(GCL_Status& status) const { return Ask(status, sysutl_user_to_gsid, *this); }
GCL_String GCL_OSUser::full_name(GCL_Status& status) const { return Ask(status, sysutl_user_to_fullname, *this); }
GCL_String GCL_OSUser::home_directory(GCL_Status& status) const { return Ask(status, sysutl_get_homedir, *this); }

GCL_OSGroup GCL_OSGroup::current(GCL_Status& status) { return Ask(status, sysutl_mygroupname); }
GCL_OSGroup GCL_OSGroup::from_sid(const GCL_String& gsid, GCL_Status& status) {
  return Ask(status, sysutl_gsid_to_group, gsid);
}
GCL_String GCL_OSGroup::sid(GCL_Status& status) const { return Ask(status, sysutl_group_to_gsid, *this); }
