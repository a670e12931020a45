#pragma once
// User, group and security-identifier utilities of the client libraries.
// Security identifiers are texts: "S-1-22-1-UID" for a user and
// "S-1-22-2-GID" for a group. Results go into a caller's buffer of `size`
// bytes, always terminated. Each call answers 0; TBS_ST_NOT_FOUND when the user, group
// or identifier is unknown; TBS_ST_INVALID_ARG for a null argument, an empty name or a
// buffer too small (the buffer is then left empty).
#include <cstddef>

// The user's login name (the machine facts in force) and primary group.
int sysutl_myloginname(char* out, std::size_t size);
int sysutl_mygroupname(char* out, std::size_t size);

int sysutl_user_to_usid(const char* user, char* out, std::size_t size);
int sysutl_usid_to_user(const char* usid, char* out, std::size_t size);
int sysutl_group_to_gsid(const char* group, char* out, std::size_t size);
int sysutl_gsid_to_group(const char* gsid, char* out, std::size_t size);
// The identifier of the user's primary group.
int sysutl_user_to_gsid(const char* user, char* out, std::size_t size);
// The user's full name (the first field of the account's comment; may be
// empty) and home directory (a host path).
int sysutl_user_to_fullname(const char* user, char* out, std::size_t size);
int sysutl_get_homedir(const char* user, char* out, std::size_t size);

// This machine's host name (the machine facts in force). 0; TBS_ST_NOT_FOUND when it
// has none; TBS_ST_INVALID_ARG for a null argument or a buffer too small.
int sysutl_myhostname(char* out, std::size_t size);
