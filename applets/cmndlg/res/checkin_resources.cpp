// Dialog templates and texts of check-in.
#include "platform/types.h"
#include "res/fileops_resources.h"
#include "res/resource_ids.h"
#include "res/template_controls.h"

namespace rvcmndlg {

namespace {

using namespace res;

void AddCommentForm(plat::ResourceModule& module, int id, int use_original, std::vector<plat::ControlTemplate> choice) {
  plat::DialogTemplate t;
  t.id = id;
  t.caption = "Check In";
  t.controls = {
      plat::ControlTemplate{"edit", IDC_COCMT_NAME, "", plat::es::ReadOnly},
      Label("Add comments to describe check in."),
      EditField(IDC_COCMT_COMMENT, plat::es::MultiLine),
      Check(IDC_CICMT_IDENTICAL, "Check &in even if identical to previous version"),
      Check(use_original, use_original == IDC_CICMT_USE_ORIGINAL ? "&Use original checkout comments"
                                                                 : "&Use original checkout information for all files"),
      Check(IDC_COCMT_PRESERVE_TIME, "&Preserve file modification time"),
  };
  t.controls.insert(t.controls.end(), choice.begin(), choice.end());
  for (auto button : {Push(plat::IdOk, "OK", true), Push(IDC_COCMT_APPLY_TO_ALL, "&Apply to All"),
                      Push(plat::IdCancel, "Cancel"), Push(IDC_COCMT_HELP, "Help")})
    t.controls.push_back(button);
  module.AddDialog(std::move(t));
}

}  // namespace

void AddCheckinResources(plat::ResourceModule& module) {
  AddCommentForm(module, IDD_CHECKIN_COMMENT, IDC_CICMT_USE_ORIGINAL, {});
  AddCommentForm(module, IDD_CHECKIN_ACTIVITY_COMMENT, IDC_CICMT_USE_ORIGINAL_ALL,
                 {Label("Select an activity that will record the new version of this file", IDC_COCMT_ACTIVITY_PROMPT),
                  Label("Activity:", IDC_CICMT_ACTIVITY_LABEL),
                  plat::ControlTemplate{"combobox", IDC_COCMT_ACTIVITY, "", plat::cbs::DropDownList | plat::ws::TabStop},
                  Push(IDC_COCMT_ACTIVITY_NEW, "&New..."), Push(IDC_COCMT_ACTIVITY_BROWSE, "&Browse...")});
  AddCommentForm(module, IDD_CHECKIN_TL_COMMENT, IDC_CICMT_USE_ORIGINAL_ALL,
                 {plat::ControlTemplate{"combobox", IDC_COCMT_TL_RECORD, "", plat::cbs::DropDownList | plat::ws::TabStop},
                  Push(IDC_COCMT_ACTIVITY_NEW, "&New   >"), Push(IDC_COCMT_ACTIVITY_BROWSE, "&Browse..."),
                  Push(IDC_COCMT_TL_PROPERTIES, "&Properties")});

  plat::DialogTemplate add;
  add.id = IDD_CONFIRM_ADD_TO_SRC;
  add.caption = "Confirm Checkin";
  add.controls = {
      Label("The file '%s' is not under Strata source control.  Files must be added to source control before they "
            "can be checked in.  Do you want to add this file to source control now?",
            IDC_CONFIRM_ADD_TEXT),
      Push(plat::IdYes, "&Yes", true),
      Push(IDC_YES_TO_ALL, "Yes to &All"),
      Push(plat::IdNo, "&No"),
      Push(plat::IdCancel, "Cancel"),
  };
  module.AddDialog(std::move(add));

  plat::DialogTemplate merge;
  merge.id = IDD_CONFIRM_MERGE;
  merge.caption = "Merge Latest Changes";
  merge.controls = {
      Label("There are later versions of '%s' on this branch.  You must merge the latest changes before you can "
            "check in this file.\n\nDo you want to merge the file now?",
            IDC_CONFIRM_MERGE_TEXT),
      Check(IDC_CONFIRM_MERGE_GRAPHICAL, "&Merge the file graphically"),
      Push(plat::IdYes, "&Yes", true),
      Push(plat::IdNo, "&No"),
      Push(plat::IdCancel, "Cancel"),
      Push(IDC_CONFIRM_MERGE_HELP, "&Help"),
  };
  module.AddDialog(std::move(merge));

  module.AddString(IDS_CHECKIN_HIJACKED,
                   "The file is currently hijacked.  You must checkout the hijacked file before attempting to check "
                   "it in.");
  module.AddString(IDS_MERGED_CHECK_IN_NOW, "The merge completed successfully.\n\nDo you want to check the file in now?");
  module.AddString(IDS_MERGE_LATEST_FAILED, "Merging changes from the latest version on the branch failed.");
  module.AddString(IDS_CANNOT_CHANGE_ACTIVITY, "Unable to change activity for this checked out version");
  module.AddString(IDS_NOT_RECORDED_BY_ACTIVITY, "Changes in non-component VOBs are not recorded by an activity.");
}

}  // namespace rvcmndlg
