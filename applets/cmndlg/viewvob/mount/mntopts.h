#pragma once
// The option parser: cracks mount arguments into the driver's mount block.
#include <cstddef>
#include <string>

#include "rgy.h"
#include "view_mfs.h"

namespace rvmount {

// The longest option text the parser takes; a longer one is refused whole
// rather than cut (a cut could drop "nosuid" from a private VOB's options).
inline constexpr std::size_t kMaxOptionText = 1023;

struct MountArgs {
  std::string storage;  // the global pathname of the storage (cut at the first ";")
  std::string tag;      // the pathname to mount over
  std::string type;     // "-t rvfs"
  std::string options;  // comma-separated options
};

// The options a registry entry is mounted with: the caller's when the
// caller is privileged and gave some; otherwise the entry's (key 7; none
// counts as empty) with "nosuid" added for a private VOB unless they mention
// "suid". 0; a failure has been printed and its status is returned (TBS_ST_FAILURE
// when the result would pass kMaxOptionText).
int ComposeMountOptions(rgy_entry_t entry, const std::string& tag, const std::string& region, bool is_public,
                        const std::string& caller_options, std::string* options);

// Builds the mount request. 0; otherwise the failure has been printed (option
// messages or the failing call's name) and its status is returned.
int CrackMountArgs(const MountArgs& args, view_mfs_request_t* request);

}  // namespace rvmount
