// Templates and strings of the lock and protection pages and the name prompt.
#include "res/propsheet_resources.h"
#include "res/resource_ids.h"
#include "res/template_controls.h"

namespace rvcmndlg {

using namespace res;

namespace {

plat::DialogTemplate Dialog(int id, const char* caption, std::vector<plat::ControlTemplate> controls) {
  plat::DialogTemplate t;
  t.id = id;
  t.caption = caption;
  t.controls = std::move(controls);
  return t;
}

plat::ControlTemplate ReadOnly(int id) { return EditField(id, plat::es::ReadOnly); }

}  // namespace

void AddMetadataPageResources(plat::ResourceModule& module) {
  module.AddDialog(Dialog(
      IDD_LOCK_PAGE, "Lock",
      {Group("State"), Radio(IDC_LOCK_UNLOCKED, "&Unlocked", true), Radio(IDC_LOCK_LOCKED, "&Locked"),
       Radio(IDC_LOCK_OBSOLETE, "&Obsolete"), Label("Locked by:"), ReadOnly(IDC_LOCK_LOCKED_BY), Label("Locked on:"),
       ReadOnly(IDC_LOCK_LOCKED_ON), Label("Description:"), EditField(IDC_LOCK_DESCRIPTION, plat::es::MultiLine),
       Label("&Excluded users:", IDC_LOCK_EXCLUDED_LABEL),
       plat::ControlTemplate{"listbox", IDC_LOCK_EXCLUDED, "", plat::ws::TabStop}}));
  module.AddDialog(Dialog(IDD_PROTECTION_PAGE, "Protection",
                          {Label("Owner:"), EditField(IDC_PROT_OWNER), Label("Group:"), EditField(IDC_PROT_GROUP),
                           Group("Owner"), Check(7027, "Read"), Check(7028, "Write"), Check(7029, "Execute"),
                           Check(7030, "Set UID"), Group("Group"), Check(7036, "Read"), Check(7037, "Write"),
                           Check(7038, "Execute"), Check(7039, "Set GID"), Group("Other"), Check(7040, "Read"),
                           Check(7041, "Write"), Check(7042, "Execute")}));
  module.AddDialog(Dialog(IDD_PROMPT, "Prompt",
                          {Label("", IDC_PROMPT_TEXT), EditField(IDC_PROMPT_ANSWER), Push(plat::IdOk, "OK", true),
                           Push(plat::IdCancel, "Cancel")}));
  module.AddString(IDS_ADD_USER_CAPTION, "Add User");
  module.AddString(IDS_ADD_USER_PROMPT, "Please enter a username:");
  module.AddString(IDS_UNABLE_TO_LOCK, "Unable to lock '%s'.\n\n%s");
  module.AddString(IDS_UNABLE_TO_UNLOCK, "Unable to unlock '%s'.\n\n%s");
}

}  // namespace rvcmndlg
