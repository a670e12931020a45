#pragma once
// Credentials of the calling user.

// Sets *privileged to 1 when the user may act for the machine (the user
// named "root", or "Administrator" in any case, in the machine facts in
// force), else 0. 0; TBS_ST_NOT_FOUND when the user's name is unknown (empty); TBS_ST_INVALID_ARG for
// a null pointer.
int credutl_is_privileged(int* privileged);
