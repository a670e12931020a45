#include "viewvob/rvfs_check.h"

#include <cstdint>

#include "fileops/common_status.h"
#include "platform/resources.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "tbs_rvfs.h"

bool RvfsNotInstalled(plat::Window* parent) {
  std::uint32_t flags = 0;
  // A driver that cannot answer is no driver to mount through.
  const bool missing = tbs_rvfs_ws_dyn_flags(&flags) != 0 || (flags & TBS_RVFS_WS_DYN_NOT_INSTALLED) != 0;
  if (missing) {
    rvcmndlg::EntryScope resources;
    ShowPlainBox(parent, plat::LoadString(rvcmndlg::res::IDS_RVFS_NOT_INSTALLED));
  }
  return missing;
}
