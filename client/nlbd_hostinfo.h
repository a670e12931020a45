#pragma once
// Host information of the location broker: what a host runs and its
// options. This host is always known (its name from the machine facts);
// other hosts are known once registered.
#include <cstddef>
#include <cstdint>

struct nlbd_hostinfo_t {
  std::uint32_t version = 1;
  char* host = nullptr;        // the host's name as registered
  char* os_name = nullptr;     // operating-system name ("Windows NT", "Linux", ...)
  char* os_version = nullptr;  // its version text
  char* options = nullptr;     // comma-separated "key=value" options
};

struct nlbd_hostinfo_opt_t {
  char* key = nullptr;
  char* value = nullptr;  // "" for an option without "="
};

struct nlbd_hostinfo_opts_t {
  std::uint32_t count = 0;
  nlbd_hostinfo_opt_t* opts = nullptr;
};

// The information of a host (names compare without case). The record
// belongs to the caller until nlbd_hostinfo_free. 0; TBS_ST_NOT_FOUND for an unknown
// host; TBS_ST_INVALID_ARG for a null or empty argument.
int nlbd_hostinfo(const char* host, nlbd_hostinfo_t** info);
void nlbd_hostinfo_free(nlbd_hostinfo_t* info);

// The record's options split into keys and values (freed with
// nlbd_hostinfo_free_opts). 0; TBS_ST_INVALID_ARG for a null argument or an option
// without a key.
int nlbd_hostinfo_parse_opts(const nlbd_hostinfo_t* info, nlbd_hostinfo_opts_t** opts);
void nlbd_hostinfo_free_opts(nlbd_hostinfo_opts_t* opts);

// Registers (or replaces) another host's information. 0; TBS_ST_INVALID_ARG for a null
// argument or an empty host name; TBS_ST_PERMISSION for this host, whose facts are the
// machine's.
int nlbd_hostinfo_register(const char* host, const char* os_name, const char* os_version, const char* options);
