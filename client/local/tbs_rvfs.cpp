#include "tbs_rvfs.h"

#include <atomic>
#include <string>

#include "local/local_call.h"
#include "ntregy.h"
#include "tbs.h"

using client_local::LocalCall;
using client_local::NonNull;

namespace {
std::atomic<bool> rvfs_installed{true};
}  // namespace

void client_local::SetRvfsInstalled(bool installed) { rvfs_installed = installed; }

int tbs_rvfs_ws_dyn_flags(std::uint32_t* flags) {
  return LocalCall("tbs_rvfs_ws_dyn_flags", {}, NonNull(flags), [&] {
    char stored[8] = "";
    const bool removed = ntregy_get_param(TBS_RVFS_PARAM, stored, sizeof stored) == TBS_ST_OK && stored == std::string("0");
    *flags = rvfs_installed.load() && !removed ? 0 : TBS_RVFS_WS_DYN_NOT_INSTALLED;
    return TBS_ST_OK;
  });
}
