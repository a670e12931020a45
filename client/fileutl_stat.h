#pragma once
// File-system facts of the library's pathnames (docs/pathnames.md), and
// their object form. This machine's administrative shares ("\\HOST\X$\rest"
// with this machine's host name) name "X:\rest".
#include <cstddef>

inline constexpr unsigned FILEUTL_S_IFMT = 0xF000;
inline constexpr unsigned FILEUTL_S_IFDIR = 0x4000;
inline constexpr unsigned FILEUTL_S_IFREG = 0x8000;

struct fileutl_stat_t {
  unsigned mode = 0;   // type bits (FILEUTL_S_IF...) and permission bits
  unsigned nlink = 0;  // link count
  long long size = 0;
};

// 0; TBS_ST_NOT_FOUND when nothing is there; TBS_ST_PNAME_CONVERSION for a name that does not map to this
// machine; TBS_ST_INVALID_ARG for a null argument.
int fileutl_stat(const char* pathname, fileutl_stat_t* st);

// The absolute form of a name with a drive that shows a view replaced by the
// view's own name ("Z:\dir" with Z: assigned to \\view\TAG is
// "\\view\TAG\dir"); other names as fileutl_abspn gives them. 0; TBS_ST_INVALID_ARG for a
// null argument or a buffer too small; TBS_ST_PNAME_CONVERSION as fileutl_abspn.
int fileutl_absobjpn(const char* pathname, char* out, std::size_t size);
