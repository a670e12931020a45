// Dialog templates of the file operations' options.
#include "res/fileops_resources.h"

#include "platform/types.h"
#include "res/resource_ids.h"
#include "res/template_controls.h"

namespace rvcmndlg {

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

  // The progress dialog: no caption of its own (the title is loaded when it
  // opens), created hidden.
  plat::DialogTemplate progress;
  progress.id = IDD_PROGRESS;
  progress.style = plat::ws::Popup | plat::ws::Caption;
  progress.controls = {
      plat::ControlTemplate{"animation", IDC_PROGRESS_ANIMATION, "", 0},
      plat::ControlTemplate{"static", IDC_PROGRESS_LINE1, "", 0},
      plat::ControlTemplate{"static", IDC_PROGRESS_LINE2, "", 0},
      plat::ControlTemplate{"progress", IDC_PROGRESS_BAR, "", 0},
      Push(plat::IdCancel, "Cancel"),
  };
  module.AddDialog(std::move(progress));
  for (int id : {IDR_AVI_CHECKOUT, IDR_AVI_CHECKIN, IDR_AVI_OTHER}) module.AddAnimation(plat::AnimationResource{id, 16});

  plat::DialogTemplate confirm;
  confirm.id = IDD_CONFIRM_UNDO_CHECKOUT;
  confirm.caption = "Confirm Undo Check Out";
  confirm.controls = {
      plat::ControlTemplate{"static", IDC_CONFIRM_UNDO_TEXT, "Do you want to undo the check out of '%s'?", 0},
      Check(IDC_CONFIRM_UNDO_KEEP, "Save copy of the file with a '.keep' extension."),
      Push(plat::IdYes, "&Yes", true),
      Push(IDC_YES_TO_ALL, "Yes to &All"),
      Push(plat::IdNo, "&No"),
      Push(plat::IdCancel, "N&o to All"),
  };
  module.AddDialog(std::move(confirm));
  module.AddString(IDS_NOT_CHECKED_OUT_TO_VIEW, "Element is not checked out to view '%s'.");
  module.AddString(IDS_FILE_HIJACKED,
                   "The file is currently hijacked.  You must checkout the hijacked file before attempting to "
                   "perform other Strata operations on the file.");

  plat::DialogTemplate messages;
  messages.id = IDD_IMSG_PROGRESS;
  messages.style = plat::ws::Popup | plat::ws::Caption;
  messages.controls = {
      plat::ControlTemplate{"static", plat::IdStatic, "", 0},  // the icon
      plat::ControlTemplate{"static", IDC_PROGRESS_LINE1, "", 0},
      plat::ControlTemplate{"edit", IDC_PROGRESS_LINE2, "", plat::es::MultiLine | plat::es::ReadOnly},
  };
  module.AddDialog(std::move(messages));
  module.AddString(IDS_REMOVING_VIEW, "Removing View...");

  plat::DialogTemplate command;
  command.id = IDD_RUN_COMMAND;
  command.style = plat::ws::Popup;
  module.AddDialog(std::move(command));
  module.AddString(IDS_EXEC_FAILED, "Exec of %s failed with error %d\n");

  module.AddString(IDS_ERROR_CHECKIN, "Error checking in '%1'.");
  module.AddString(IDS_ERROR_CHECKOUT, "Error checking out '%1'.");
  module.AddString(IDS_ERROR_UNCHECKOUT, "Error undoing the check out for '%1'.");
  module.AddString(IDS_ERROR_RESERVE, "Error changing reserved status of  '%1'.");
  module.AddString(IDS_ERROR_ADDSRC, "Error adding '%1' to source control.");
  module.AddString(IDS_ERROR_MERGE, "Error merging files.");
  module.AddString(IDS_RVFS_NOT_INSTALLED, "This operation is not available because the RVFS is not installed.");

  module.AddString(IDS_CHECKING_IN, "Checking in...");
  module.AddString(IDS_CHECKING_OUT, "Checking out...");
  module.AddString(IDS_UNDOING_CHECKOUT, "Undoing checkout...");
  module.AddString(IDS_RESERVING, "Reserving...");
  module.AddString(IDS_UNRESERVING, "Unreserving...");
  module.AddString(IDS_ADDING_TO_SOURCE, "Adding to Strata source control...");
}

}  // namespace rvcmndlg
