#include "tbs_rvfs.h"

#include <atomic>
#include <string>

#include "local/calllog.h"
#include "tbs.h"

using client_local::CallLog;

namespace {
std::atomic<bool> rvfs_installed{true};
}  // namespace

void client_local::SetRvfsInstalled(bool installed) { rvfs_installed = installed; }

int tbs_rvfs_ws_dyn_flags(std::uint32_t* flags) {
  CallLog::Call call("tbs_rvfs_ws_dyn_flags", {});
  if (call.Failed()) return call.Status();
  if (!flags) return call.Return(TBS_ST_INVALID_ARG);
  *flags = rvfs_installed.load() ? 0 : TBS_RVFS_WS_DYN_NOT_INSTALLED;
  return call.Return(TBS_ST_OK);
}
