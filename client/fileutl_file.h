#pragma once
// Files of the client libraries by their library names (see
// docs/pathnames.md): temporary files, removal, existence, reading a whole
// file, and the status of a system error number.
#include <cstddef>
#include <cstdio>

// A new empty temporary file "C:\tmp\rvtmpNNNN.EXT" (under the home:
// HOME/drives/c/tmp), opened for writing; its name goes into pathname
// (size bytes). Null with errno set on failure (EINVAL for a null argument,
// ENAMETOOLONG when the name does not fit). The _binary form is the same
// file in binary mode.
std::FILE* fileutl_tmpfile_ext(const char* ext, char* pathname, std::size_t size);
std::FILE* fileutl_tmpfile_ext_binary(const char* ext, char* pathname, std::size_t size);

// Flushes and closes a file. 0; else the status of the failure (the file
// is closed in any case). TBS_ST_INVALID_ARG for null.
int fileutl_fclose(std::FILE* file);

// Removes a file. 0; TBS_ST_NOT_FOUND when it is not there; TBS_ST_INVALID_ARG for a null or
// unmappable name; the status of another failure.
int fileutl_rm(const char* pathname);
// Removes a file: 0, or -1 with errno set.
int unix_nt_unlink(const char* pathname);
// Non-zero when the name is a file or directory that exists.
int fileutl_exists(const char* pathname);

// The whole contents of a file into a new buffer (terminated; freed with
// stg_free) and its length. 0; TBS_ST_NOT_FOUND when it is not there; TBS_ST_INVALID_ARG for a null
// or unmappable name; the status of a read failure.
int strutl_read(const char* pathname, char** text, std::size_t* length);
// Frees a buffer from strutl_read (null does nothing).
void stg_free(void* buffer);

// Non-zero when the pathname is one of the scope names or inside one of
// them (names compare by whole components, separators either way).
int fileutl_pname_scoped_by_list(const char* pathname, const char* const* scopes, std::size_t count);
