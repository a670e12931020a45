// Templates and strings of the Mount and Unmount dialogs.
#include "res/resource_ids.h"
#include "res/template_controls.h"
#include "res/vobmount_resources.h"

namespace rvcmndlg {

using namespace res;

namespace {

plat::ControlTemplate VobList(int id) {
  return plat::ControlTemplate{"listbox", id, "", plat::lbs::Sort | plat::lbs::ExtendedSel | plat::ws::TabStop};
}

}  // namespace

void AddVobMountResources(plat::ResourceModule& module) {
  plat::DialogTemplate mount;
  mount.id = IDD_MOUNT_VOB;
  mount.caption = "Mount";
  mount.controls = {Label("&Select the VOBs to mount:"), VobList(IDC_MOUNT_VOB_LIST),
                    Check(IDC_MOUNT_RECONNECT, "&Reconnect at Logon"), Push(plat::IdOk, "&Mount", true),
                    Push(plat::IdCancel, "Cancel"), Push(IDC_VOB_MOUNT_HELP, "Help")};
  module.AddDialog(std::move(mount));
  plat::DialogTemplate unmount;
  unmount.id = IDD_UNMOUNT_VOB;
  unmount.caption = "Unmount";
  unmount.controls = {Label("&Select the VOBs to unmount:"), VobList(IDC_UNMOUNT_VOB_LIST),
                      Push(plat::IdOk, "&Unmount", true), Push(plat::IdCancel, "Cancel"),
                      Push(IDC_VOB_MOUNT_HELP, "Help")};
  module.AddDialog(std::move(unmount));
  module.AddString(IDS_VOB_REGISTER_FAILED, "The VOB %1 is mounted, but it could not be registered to be "
                                            "mounted again at logon.");
  module.AddString(IDS_VOB_UNREGISTER_FAILED,
                   "The registration of the VOB %1 to be mounted again at logon could not be removed.");
}

}  // namespace rvcmndlg
