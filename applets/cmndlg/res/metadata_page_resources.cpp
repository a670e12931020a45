// Templates and strings of the lock and protection pages and the name prompt.
#include <string>

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

// The Custom, Labels, Attributes and Hyperlinks pages, their prompts and the
// confirmation texts of their commands.
void AddCustomPageResources(plat::ResourceModule& module) {
  module.AddDialog(Dialog(IDD_CUSTOM_PAGE, "Custom",
                          {Label("A&ttributes"), Report(IDC_CUSTOM_ATTRIBUTES), Label("&Hyperlinks"),
                           Report(IDC_CUSTOM_HYPERLINKS)}));
  module.AddDialog(Dialog(IDD_ATTRIBUTES_PAGE, "Attributes", {Label("A&ttributes"), Report(IDC_CUSTOM_ATTRIBUTES)}));
  module.AddDialog(Dialog(IDD_HYPERLINKS_PAGE, "Hyperlinks", {Label("&Hyperlinks"), Report(IDC_CUSTOM_HYPERLINKS)}));
  module.AddDialog(Dialog(IDD_LABELS_PAGE, "Labels",
                          {Label("&Labels"), plat::ControlTemplate{"listbox", IDC_LABELS_LIST, "", plat::ws::TabStop}}));
  module.AddDialog(Dialog(IDD_PROMPT_ATTRIBUTE, "Attribute",
                          {Label("Please enter the name of an attribute type, and the value of the attribute:"),
                           Label("&Type:"), EditField(IDC_PROMPT_ATTR_TYPE), Label("Value type:"),
                           ReadOnly(IDC_PROMPT_ATTR_KIND), Label("&Value:"), EditField(IDC_PROMPT_ATTR_VALUE),
                           Push(plat::IdOk, "OK", true), Push(plat::IdCancel, "Cancel")}));
  module.AddDialog(Dialog(IDD_PROMPT_LABEL_TYPE, "Label",
                          {Label("Please enter the &name of a label type:"), EditField(IDC_PROMPT_ANSWER),
                           Check(IDC_PROMPT_MOVE_LABEL, "&Move label if label already attached to element"),
                           Push(plat::IdOk, "OK", true), Push(plat::IdCancel, "Cancel")}));
  module.AddDialog(Dialog(IDD_PROMPT_TRIGGER_TYPE, "Trigger",
                          {Label("Please enter the name of a trigger type:"), EditField(IDC_PROMPT_ANSWER),
                           Check(IDC_PROMPT_TR_ATTACH, "Attach to element"),
                           Check(IDC_PROMPT_TR_INHERIT, "Inherit from element"), Push(plat::IdOk, "OK", true),
                           Push(plat::IdCancel, "Cancel")}));
  const char* const kUndone = " now? You will not be able to cancel or undo this operation.";
  auto confirm = [&](int id, const std::string& text) { module.AddString(id, text + kUndone); };
  confirm(IDS_CONFIRM_ADD_LABEL, "Are you sure you want to add label %1 to this version");
  confirm(IDS_CONFIRM_ADD_ATTRIBUTE, "Are you sure you want to add attribute %1 with value %2 to this object");
  confirm(IDS_CONFIRM_CHANGE_ATTRIBUTE, "Are you sure you want to change the value of attribute %1 to %2");
  confirm(IDS_CONFIRM_ADD_TRIGGER, "Are you sure you want to add trigger %1 to this element");
  confirm(IDS_CONFIRM_REMOVE_LABEL, "Are you sure you want to remove label %1 from this version");
  confirm(IDS_CONFIRM_REMOVE_ATTRIBUTE, "Are you sure you want to remove attribute %1 from this object");
  confirm(IDS_CONFIRM_REMOVE_TRIGGER, "Are you sure you want to remove trigger %1 from this element");
  module.AddString(IDS_COLUMN_TYPE, "Type");
  module.AddString(IDS_COLUMN_VALUE, "Value");
  module.AddString(IDS_TYPE_UNAVAILABLE, "<Type Unavailable>");
  module.AddString(IDS_OBJECT_UNAVAILABLE, "<Object Unavailable>");
  module.AddString(IDS_CHECK_ATTACH_OR_INHERIT, "Must check at least one of \"Attach\" or \"Inherit\".");
}

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
  AddCustomPageResources(module);
  module.AddString(IDS_ADD_USER_CAPTION, "Add User");
  module.AddString(IDS_ADD_USER_PROMPT, "Please enter a username:");
  module.AddString(IDS_UNABLE_TO_LOCK, "Unable to lock '%s'.\n\n%s");
  module.AddString(IDS_UNABLE_TO_UNLOCK, "Unable to unlock '%s'.\n\n%s");
}

}  // namespace rvcmndlg
