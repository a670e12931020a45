#pragma once
// System error numbers as statuses of the client libraries.

// The status for an errno value: 0 for 0; TBS_ST_NOT_FOUND for ENOENT and ENOTDIR;
// TBS_ST_PERMISSION for EACCES, EPERM and EROFS; TBS_ST_NO_MEMORY for ENOMEM and ENOSPC; TBS_ST_INVALID_ARG for
// EINVAL and ENAMETOOLONG; TBS_ST_FAILURE for anything else.
int tbs_errno2status(int error);

// The library name of the root directory of views ("\\view") into out.
// 0; TBS_ST_INVALID_ARG for a null buffer or one too small.
int tbs_view_root(char* out, unsigned long size);
// The root of the view TAG ("\\view\TAG") into out. 0; TBS_ST_INVALID_ARG for a null
// argument, an empty tag or a buffer too small.
int tbs_view_root(const char* tag, char* out, unsigned long size);
