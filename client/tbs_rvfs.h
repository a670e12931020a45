#pragma once
// What the versioning file system (RVFS) can do on this machine.
#include <cstdint>

// Set when the file-system driver is not installed: dynamic views cannot be
// started or stopped and VOBs cannot be mounted.
inline constexpr std::uint32_t TBS_RVFS_WS_DYN_NOT_INSTALLED = 0x4;

// The driver's flags; 0 with no flag set when everything is there.
int tbs_rvfs_ws_dyn_flags(std::uint32_t* flags);

namespace client_local {
// The local driver stand-in is installed unless a test or a host says not.
void SetRvfsInstalled(bool installed);
}  // namespace client_local
