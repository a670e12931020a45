// Dialog templates and texts of check-out.
#include "platform/types.h"
#include "res/fileops_resources.h"
#include "res/resource_ids.h"
#include "res/template_controls.h"

namespace rvcmndlg {

namespace {

using namespace res;

// What the three comment forms share: the file, the comment and the options.
std::vector<plat::ControlTemplate> CommentControls() {
  return {
      Label("", IDC_COCMT_NAME),
      Label("Add comments to describe check out."),
      EditField(IDC_COCMT_COMMENT, plat::es::MultiLine),
      Check(IDC_COCMT_RESERVED, "&Reserved"),
      Check(IDC_COCMT_UNRESERVED, "&Unreserved if already reserved"),
      Check(IDC_COCMT_NONMASTERED, "Unreserved, &nonmastered if branch is mastered by another replica"),
      Check(IDC_COCMT_PRESERVE_TIME, "&Preserve file modification time"),
  };
}

void AddCommentForm(plat::ResourceModule& module, int id, std::vector<plat::ControlTemplate> choice) {
  plat::DialogTemplate t;
  t.id = id;
  t.caption = "Check Out";
  t.controls = CommentControls();
  t.controls.insert(t.controls.end(), choice.begin(), choice.end());
  for (auto button : {Push(plat::IdOk, "OK", true), Push(IDC_COCMT_APPLY_TO_ALL, "&Apply to All"),
                      Push(plat::IdCancel, "Cancel"), Push(IDC_COCMT_HELP, "Help")})
    t.controls.push_back(button);
  module.AddDialog(std::move(t));
}

void AddVersionPanel(std::vector<plat::ControlTemplate>& controls, int radio, const char* title, int name, int creator,
                     int created, int notes) {
  controls.push_back(Radio(radio, title, radio == IDC_COVER_CURRENT));
  controls.push_back(Label("", name));
  controls.push_back(Label("Created By:"));
  controls.push_back(Label("", creator));
  controls.push_back(Label("Created On:"));
  controls.push_back(Label("", created));
  controls.push_back(plat::ControlTemplate{"edit", notes, "", plat::es::MultiLine | plat::es::ReadOnly});
}

}  // namespace

void AddCheckoutResources(plat::ResourceModule& module) {
  AddCommentForm(module, IDD_CHECKOUT_COMMENT, {});
  AddCommentForm(module, IDD_CHECKOUT_ACTIVITY_COMMENT,
                 {Label("Select an activity that will record the new version of this file", IDC_COCMT_ACTIVITY_PROMPT),
                  plat::ControlTemplate{"combobox", IDC_COCMT_ACTIVITY, "", plat::cbs::DropDownList | plat::ws::TabStop},
                  Push(IDC_COCMT_ACTIVITY_NEW, "&New..."), Push(IDC_COCMT_ACTIVITY_BROWSE, "&Browse...")});
  AddCommentForm(module, IDD_CHECKOUT_TL_COMMENT,
                 {plat::ControlTemplate{"combobox", IDC_COCMT_TL_RECORD, "", plat::cbs::DropDownList | plat::ws::TabStop},
                  Push(IDC_COCMT_ACTIVITY_NEW, "&New   >"), Push(IDC_COCMT_ACTIVITY_BROWSE, "&Browse..."),
                  Push(IDC_COCMT_TL_PROPERTIES, "&Properties")});

  plat::DialogTemplate hijack;
  hijack.id = IDD_CONFIRM_USE_PRIVATE;
  hijack.caption = "Convert Hijack to Checkout";
  hijack.controls = {
      Label("The file '%s' has been modified. Do you want to use it as the checked out file? (If not, it will be "
            "renamed.)",
            IDC_USE_PRIVATE_TEXT),
      Push(plat::IdYes, "&Yes", true),
      Push(IDC_USE_PRIVATE_YES_TO_ALL, "Yes to &All"),
      Push(plat::IdNo, "&No"),
      Push(plat::IdCancel, "Cancel"),
  };
  module.AddDialog(std::move(hijack));

  plat::DialogTemplate version;
  version.id = IDD_CONFIRM_CHECKOUT_VERSION;
  version.caption = "Confirm Version to Check Out";
  version.controls = {Label("", IDC_COVER_HEADER)};
  AddVersionPanel(version.controls, IDC_COVER_CURRENT, "&Current Version:", IDC_COVER_CURRENT_NAME,
                  IDC_COVER_CURRENT_CREATOR, IDC_COVER_CURRENT_CREATED, IDC_COVER_CURRENT_NOTES);
  AddVersionPanel(version.controls, IDC_COVER_LATEST, "&Latest Version:", IDC_COVER_LATEST_NAME,
                  IDC_COVER_LATEST_CREATOR, IDC_COVER_LATEST_CREATED, IDC_COVER_LATEST_NOTES);
  for (auto control : {Check(IDC_COVER_MASTERSHIP, "&Request mastership of the branch"),
                       Label("Do you want to check out the selected version?", IDC_COVER_QUESTION),
                       Push(plat::IdYes, "&Yes", true), Push(plat::IdNo, "&No"), Push(plat::IdCancel, "Cancel"),
                       Push(IDC_COVER_HELP, "&Help"), Push(plat::IdOk, "OK")})
    version.controls.push_back(control);
  module.AddDialog(std::move(version));

  module.AddString(IDS_NO_VERSION_TO_CHECK_OUT, "There are no versions of '%1' which can be checked out.");
  module.AddString(IDS_ADDITIONAL_INFORMATION,
                   "There is additional information to consider before checking out '%1'.");
  module.AddString(IDS_MULTIPLE_VERSIONS, "There are multiple versions of '%1' which can be considered for checkout.");
  module.AddString(IDS_NOTE_CANNOT_CHECK_OUT, "This version cannot be checked out.");
  module.AddString(IDS_NOTE_BRANCH_EXISTS, "The config spec specifies creation of the '%1' branch,  but it already exists.");
  module.AddString(IDS_NOTE_HIJACK_MERGE,
                   "If the hijacked file is converted into a checkout of this version,  the file must be merged into "
                   "it. A merge will be launched automatically.");
  module.AddString(IDS_NOTE_UNLOADED_AFTER_UPDATE,
                   "If the view were updated now, this version would no longer be loaded.  If checked out, a merge "
                   "may be required in order to checkin.");
  module.AddString(IDS_NOTE_NOT_LATEST,
                   "Your config spec selects this version, but it is not the LATEST version on its branch. If checked "
                   "out, a merge will be required in order to checkin.");
  module.AddString(IDS_NOTE_NOT_LOADED,
                   "This version is not loaded into the view. If checked out, the view may contain inconsistent "
                   "versions. You may want to update the entire view first.");
  module.AddString(IDS_NOTE_RESERVED_ELSEWHERE, "Branch '%1' is reserved by view '%2'. It must be checked out unreserved.");
  module.AddString(IDS_NOTE_NOT_MASTERED,
                   "Branch '%1' is not mastered by the current replica. Master replica of branch is '%2'. Only "
                   "unreserved, nonmastered checkout is allowed at the current replica.");
  module.AddString(IDS_UNRESERVED_REQUIRED, "\r\n(An unreserved checkout is required.)");
  module.AddString(IDS_CHECK_OUT_SELECTED, "Do you want to checkout the selected version?");
  module.AddString(IDS_NONMASTERED_REQUIRED, "\r\n(An unreserved, nonmastered checkout is required.)");
  module.AddString(IDS_HIJACK_MERGE_QUESTION,
                   "The file '%s' has been modified. If converted to a checkout, a merge may be required, and will be "
                   "launched automatically. Do you want to use it as the checked out file? (If not, it will be "
                   "renamed.)");
  module.AddString(IDS_MUST_SELECT_ACTIVITY, "You must select an activity.");
  module.AddString(IDS_ALREADY_CHECKED_OUT, "Element is already checked out to view '%s'.");
  module.AddString(IDS_TL_NOT_INSTALLED,
                   "Unable to perform this operation in a Tracklane-enabled context.\nTracklane is not installed.");
  module.AddString(IDS_HIJACK_MERGE_FORBIDDEN,
                   "Checkout is not allowed for hijacked files with the merge type user, never, or copy. It is "
                   "necessary to resolve the hijack before attempting to check this element out.\n\n");
}

}  // namespace rvcmndlg
