// Dialog templates and texts of adding to source control.
#include "platform/types.h"
#include "res/fileops_resources.h"
#include "res/resource_ids.h"
#include "res/template_controls.h"

namespace rvcmndlg {

namespace {

using namespace res;

constexpr int kActivityEdit = 24650;

void AddCommentForm(plat::ResourceModule& module, int id, std::vector<plat::ControlTemplate> choice) {
  plat::DialogTemplate t;
  t.id = id;
  t.caption = "Add To Source Control";
  t.controls = {
      Label("", IDC_COCMT_NAME),
      Label("Add comments to describe this file or directory."),
      EditField(IDC_COCMT_COMMENT, plat::es::MultiLine),
      Check(IDC_ADDSRC_KEEP, "C&heckout after adding to source control"),
      Check(IDC_COCMT_PRESERVE_TIME, "&Preserve file modification time"),
      Check(IDC_ADDSRC_MASTER, "Make current replica the &master of all newly created branches"),
  };
  t.controls.insert(t.controls.end(), choice.begin(), choice.end());
  for (auto button : {Push(plat::IdOk, "OK", true), Push(IDC_COCMT_APPLY_TO_ALL, "&Apply to All"),
                      Push(plat::IdCancel, "Cancel"), Push(IDC_COCMT_HELP, "Help")})
    t.controls.push_back(button);
  module.AddDialog(std::move(t));
}

}  // namespace

void AddAddToSrcResources(plat::ResourceModule& module) {
  AddCommentForm(module, IDD_ADDSRC_COMMENT, {});
  AddCommentForm(module, IDD_ADDSRC_ACTIVITY_COMMENT,
                 {Label("Select an activity that will record the new element", IDC_COCMT_ACTIVITY_PROMPT),
                  plat::ControlTemplate{"combobox", IDC_COCMT_ACTIVITY, "", plat::cbs::DropDownList | plat::ws::TabStop},
                  plat::ControlTemplate{"edit", kActivityEdit, "", plat::es::ReadOnly},
                  Push(IDC_COCMT_ACTIVITY_NEW, "&New..."), Push(IDC_COCMT_ACTIVITY_BROWSE, "&Browse...")});
  AddCommentForm(module, IDD_ADDSRC_TL_COMMENT,
                 {plat::ControlTemplate{"combobox", IDC_COCMT_TL_RECORD, "", plat::cbs::DropDownList | plat::ws::TabStop},
                  Push(IDC_COCMT_ACTIVITY_NEW, "&New   >"), Push(IDC_COCMT_ACTIVITY_BROWSE, "&Browse..."),
                  Push(IDC_COCMT_TL_PROPERTIES, "&Properties")});

  module.AddString(IDS_ADDSRC_PUTTING_FILE, "Putting file under Strata source control");
  module.AddString(IDS_ADDSRC_CHECKING_OUT, "Checking out");
  module.AddString(IDS_ADDSRC_CHECKING_IN, "Checking in");
  module.AddString(IDS_ADDSRC_PUTTING_DIRECTORY, "Putting parent directory under Strata source control");
  module.AddString(IDS_ADDSRC_CHECKING_OUT_DIRECTORY, "Checking out parent directory");
  module.AddString(IDS_ADDSRC_CHECKING_IN_DIRECTORY, "Checking in parent directory");
  module.AddString(IDS_ALREADY_ELEMENT, "Item is already an element.");
  module.AddString(IDS_PARENT_NOT_MASTERED,
                   "The parent directory '%1' has been checked out unreserved, nonmastered and will remain checked "
                   "out.\nIn order to be able to check it in, you will need to obtain mastership of the branch.");
  module.AddString(IDS_C_EXCEPTION_NUMBER, "C exception number 0x");
  module.AddString(IDS_EXCEPTION_THROWN, "has been thrown. ");
  module.AddString(IDS_EXCEPTION_TEXT, "\nThe error message is: ");
}

}  // namespace rvcmndlg
