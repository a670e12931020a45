// Dialog templates of the file operations' options.
#include "res/fileops_resources.h"

#include "platform/types.h"
#include "res/resource_ids.h"

namespace rvcmndlg {

namespace {

plat::ControlTemplate Check(int id, const char* text) {
  return plat::ControlTemplate{"button", id, text, plat::bs::AutoCheckBox | plat::ws::TabStop};
}

plat::ControlTemplate Group(const char* text) {
  return plat::ControlTemplate{"button", plat::IdStatic, text, plat::bs::GroupBox};
}

plat::ControlTemplate Push(int id, const char* text, bool is_default = false) {
  return plat::ControlTemplate{"button", id, text,
                               (is_default ? plat::bs::DefPushButton : plat::bs::PushButton) | plat::ws::TabStop};
}

}  // namespace

void AddFileOpsResources(plat::ResourceModule& module) {
  using namespace res;
  plat::DialogTemplate page;
  page.id = IDD_OPERATIONS_PAGE;
  page.caption = "Operations";
  page.controls = {
      Check(IDC_SUPPRESS_ERRORS, "Suppress &errors"),
      Group("Add to source control / Check in"),
      Check(IDC_CI_PROMPT_COMMENT, "&Prompt for comment"),
      Check(IDC_CI_USE_CHECKOUT_INFO, "Use &original checkout information"),
      Check(IDC_CI_PRESERVE_TIME, "Preserve file &modification time"),
      Push(IDC_ADDSRC_ADVANCED, "Ad&vanced Options..."),
      Group("Check out"),
      Check(IDC_CO_PROMPT_COMMENT, "Prompt for &comment"),
      Check(IDC_CO_RESERVED, "&Reserved"),
      Check(IDC_CO_UNRESERVED, "&Unreserved if already reserved"),
      Check(IDC_CO_NONMASTERED, "Unreserved, &nonmastered if branch is mastered by another replica (Tessel only)"),
      Check(IDC_CO_PRESERVE_TIME, "Preserve file modification &time"),
      Group("Undo check out"),
      Check(IDC_UNCO_CONFIRM, "Require con&firmation"),
      Check(IDC_UNCO_SAVE_FILE, "&Save copy of file with a '.keep' extension"),
  };
  module.AddDialog(std::move(page));

  plat::DialogTemplate advanced;
  advanced.id = IDD_ADDSRC_ADVANCED;
  advanced.caption = "Advanced Options";
  advanced.controls = {
      Check(IDC_ADDSRC_MASTER,
            "When creating an element in a replicated VOB, make &current replica the master of all newly "
            "created branches"),
      Push(plat::IdOk, "OK", true),
      Push(plat::IdCancel, "Cancel"),
      Push(plat::IdHelp, "Help"),
  };
  module.AddDialog(std::move(advanced));
}

}  // namespace rvcmndlg
