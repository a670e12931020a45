#include "viewvob/rvfs_check.h"

#include <cstdint>

#include "fileops/common_status.h"
#include "platform/resources.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "tbs_rvfs.h"

bool RvfsInstalled() {
  std::uint32_t flags = 0;
  // A driver that cannot answer is no driver to mount through.
  return tbs_rvfs_ws_dyn_flags(&flags) == 0 && (flags & TBS_RVFS_WS_DYN_NOT_INSTALLED) == 0;
}

bool RvfsNotInstalled(plat::Window* parent) {
  const bool missing = !RvfsInstalled();
  if (missing) {
    rvcmndlg::EntryScope resources;
    ShowPlainBox(parent, plat::LoadString(rvcmndlg::res::IDS_RVFS_NOT_INSTALLED));
  }
  return missing;
}
