#pragma once
// Pathname utilities of the client libraries. Names are the library's own
// (drive letters, backslashes, \\view\TAG roots; see docs/pathnames.md);
// forward slashes are accepted as separators. Results go into a caller's
// buffer of `size` bytes, always terminated; a result that does not fit is
// refused and the buffer is left empty.
#include <cstddef>

// Non-zero when the name is absolute: "X:\..." (or "X:/...") or a
// "\\server\..." name. Zero for a null or relative name.
int fileutl_is_abspn(const char* pathname);

// The absolute, normalised form of a name ("." and doubled separators
// dropped, ".." going up one name, backslashes). A relative name is taken
// from the current directory, a name rooted without a drive ("\dir") on the
// current directory's drive. 0; TBS_ST_INVALID_ARG for a null argument or a buffer too
// small; TBS_ST_PNAME_CONVERSION when the name cannot be made absolute (the current directory
// has no library name, or ".." would leave the root).
int fileutl_abspn(const char* pathname, char* out, std::size_t size);

// The directory part of a name: everything before its last separator ("C:\"
// for "C:\file", "." for a bare leaf). 0, or TBS_ST_INVALID_ARG for a null argument or a
// buffer too small.
int fileutl_strip_leaf(const char* pathname, char* out, std::size_t size);

// Looks for `name` in each directory of `search_path` (directories separated
// by ';', empty entries skipped) and gives the first existing "DIR\name". An
// absolute name is only tested itself. 0; TBS_ST_NOT_FOUND when not found; TBS_ST_INVALID_ARG for a
// null argument, an empty name or a buffer too small.
int fileutl_path_locate(const char* name, const char* search_path, char* out, std::size_t size);
