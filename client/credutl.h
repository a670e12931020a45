#pragma once
// Credentials of the calling user.

// Sets *privileged to 1 when the user may act for the machine (the user
// named "root", or "Administrator" in any case, in the machine facts in
// force), else 0. 0; 1002 when the user's name is unknown (empty); 1003 for
// a null pointer.
int credutl_is_privileged(int* privileged);
