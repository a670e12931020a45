#pragma once
// System error numbers as statuses of the client libraries.

// The status for an errno value: 0 for 0; 1002 for ENOENT and ENOTDIR;
// 1051 for EACCES, EPERM and EROFS; 1062 for ENOMEM and ENOSPC; 1003 for
// EINVAL and ENAMETOOLONG; 1001 for anything else.
int tbs_errno2status(int error);

// The library name of the root directory of views ("\\view") into out.
// 0; 1003 for a null buffer or one too small.
int tbs_view_root(char* out, unsigned long size);
