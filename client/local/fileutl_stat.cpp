#include "fileutl_stat.h"

#include <sys/stat.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "fileutl.h"
#include "local/local_call.h"
#include "local/mount_state.h"
#include "platform/pathmap.h"
#include "tbs.h"

using client_local::LocalCall;
using client_local::NonNull;

int fileutl_stat(const char* pathname, fileutl_stat_t* st) {
  return LocalCall("fileutl_stat", {pathname ? pathname : "(null)"}, NonNull(pathname, st), [&] {
    const auto local = client_local::LocalLibraryName(pathname);
    if (!local) return TBS_ST_PNAME_CONVERSION;
    const auto host = plat::ToHostPath(*local);
    if (!host) return TBS_ST_PNAME_CONVERSION;
    struct stat info {};
    if (::stat(host->c_str(), &info) != 0) return TBS_ST_NOT_FOUND;
    st->mode = (S_ISDIR(info.st_mode) ? FILEUTL_S_IFDIR : S_ISREG(info.st_mode) ? FILEUTL_S_IFREG : 0u) |
               (static_cast<unsigned>(info.st_mode) & 07777u);
    st->nlink = static_cast<unsigned>(info.st_nlink);
    st->size = static_cast<long long>(info.st_size);
    return TBS_ST_OK;
  });
}

int fileutl_absobjpn(const char* pathname, char* out, std::size_t size) {
  return LocalCall("fileutl_absobjpn", {pathname ? pathname : "(null)"}, NonNull(pathname, out) && size != 0, [&] {
    const std::size_t room = std::strlen(pathname) + 4096;
    std::vector<char> absolute(room);
    if (int status = fileutl_abspn(pathname, absolute.data(), room)) {
      out[0] = '\0';
      return status;
    }
    std::string result(absolute.data());
    if (result.size() >= 2 && result[1] == ':') {
      if (auto view = plat::DriveAssignment(result[0])) {
        std::string rest = result.substr(2);
        if (rest == "\\") rest.clear();
        result = *view + rest;
      }
    }
    if (result.size() + 1 > size) {
      out[0] = '\0';
      return TBS_ST_INVALID_ARG;
    }
    std::memcpy(out, result.c_str(), result.size() + 1);
    return TBS_ST_OK;
  });
}
