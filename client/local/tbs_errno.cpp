// System error numbers as statuses.
#include "tbs_errno.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "tbs.h"

int tbs_errno2status(int error) {
  switch (error) {
    case 0:
      return TBS_ST_OK;
    case ENOENT:
    case ENOTDIR:
      return TBS_ST_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
      return TBS_ST_PERMISSION;
    case ENOMEM:
    case ENOSPC:
      return TBS_ST_NO_MEMORY;
    case EINVAL:
    case ENAMETOOLONG:
      return TBS_ST_INVALID_ARG;
    default:
      return TBS_ST_FAILURE;
  }
}

int tbs_view_root(char* out, unsigned long size) {
  static const char root[] = "\\\\view";
  if (!out || size < sizeof root) return TBS_ST_INVALID_ARG;
  std::memcpy(out, root, sizeof root);
  return TBS_ST_OK;
}

int tbs_view_root(const char* tag, char* out, unsigned long size) {
  if (!tag || !*tag || !out) return TBS_ST_INVALID_ARG;
  const std::string root = std::string("\\\\view\\") + tag;
  if (size < root.size() + 1) return TBS_ST_INVALID_ARG;
  std::memcpy(out, root.c_str(), root.size() + 1);
  return TBS_ST_OK;
}
