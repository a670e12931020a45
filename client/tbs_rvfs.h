#pragma once
// What the versioning file system (RVFS) can do on this machine.
#include <cstdint>

// Set when the file-system driver is not installed: dynamic views cannot be
// started or stopped and VOBs cannot be mounted.
inline constexpr std::uint32_t TBS_RVFS_WS_DYN_NOT_INSTALLED = 0x4;

// The driver's flags; 0 with no flag set when everything is there.
int tbs_rvfs_ws_dyn_flags(std::uint32_t* flags);

// The machine's word on the driver stand-in, kept with the store: product
// parameter TBS_RVFS_PARAM "0" says it is not installed (unset or "1": it is).
inline constexpr int TBS_RVFS_PARAM = 9021;

namespace client_local {
// The local driver stand-in is installed unless a test or a host says not.
void SetRvfsInstalled(bool installed);
}  // namespace client_local
