#include "cm/browse_for_activity_dlg.h"

#include <algorithm>
#include <vector>

#include "cm/new_activity_dlg.h"
#include "flm_imsg_redirector.h"
#include "platform/controls.h"
#include "platform/resources.h"
#include "platform/window.h"
#include "res/resource_ids.h"

using namespace rvcmndlg::res;

namespace {

constexpr char kHelpTopic[] = "rvint_exp/browseforactivity.htm";

// The activities in the order they were made.
std::vector<FLM_Activity> InCreationOrder(const FLM_ActivityList& activities) {
  std::vector<FLM_Activity> ordered(activities.begin(), activities.end());
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const FLM_Activity& a, const FLM_Activity& b) { return a.dbid() < b.dbid(); });
  return ordered;
}

}  // namespace

CBrowseForActivityDialog::CBrowseForActivityDialog(const FLM_Stream& stream, const FLM_Activity& current,
                                                   plat::Window* parent)
    : CCmDialog(IDD_BROWSE_ACTIVITY, kHelpTopic, parent), stream_(stream), chosen_(current) {}

bool CBrowseForActivityDialog::OnInitDialog() {
  plat::Dialog::OnInitDialog();
  if (!m_allowNew)
    if (plat::Window* button = GetDlgItem(IDC_ACTIVITY_NEW)) {
      button->ShowWindow(false);
      button->EnableWindow(false);
    }
  if (!SubclassDlgItem(IDC_ACTIVITY_LIST, list_)) {
    EndDialog(plat::IdCancel);
    return true;
  }
  list_.SetupColumns();
  Fill();
  return true;
}

bool CBrowseForActivityDialog::ShowsAllUsers() const {
  const auto* all = Item<plat::Button>(IDC_SHOW_ALL_USERS);
  return all && all->GetCheck() == plat::Checked;
}

// Lists the stream's activities again, keeping the selection (at first the
// caller's activity).
void CBrowseForActivityDialog::Fill() {
  plat::WaitCursor waiting;
  FLM_Activity keep = chosen_;
  list_.GetSelectedActivity(&keep);
  list_.DeleteAll();
  FLM_ImsgRedirector collected;  // an unreadable list or user shows as less listed
  FLM_ActivityList activities;
  if (stream_.activities(&activities) == 0) {
    // Without a readable current user every activity counts as the user's.
    FLM_OsUser me;
    const bool only_mine = !ShowsAllUsers() && FLM_OsUser::current_user(&me) == 0;
    for (const FLM_Activity& activity : InCreationOrder(activities)) {
      FLM_OsUser owner;
      if (only_mine && activity.owner(&owner) == 0 && !(owner == me)) continue;
      list_.AddActivity(activity);
    }
  }
  if (m_showNoActivity) list_.AddNoActivity();
  if (!list_.SelectActivity(keep)) list_.SelectActivity(chosen_);
}

void CBrowseForActivityDialog::NewActivity() {
  CNewActivityDialog dialog(stream_, this);
  if (dialog.DoModal() != plat::IdOk) return;
  for (int row = 0; row < list_.GetItemCount(); ++row) list_.SetSelected(row, false);
  list_.AddActivity(dialog.Created());
  list_.SelectActivity(dialog.Created());
  list_.SetFocus();
}

bool CBrowseForActivityDialog::OnCommand(int id, int code) {
  if (code != plat::bn::Clicked) return plat::Dialog::OnCommand(id, code);
  switch (id) {
    case IDC_SHOW_ALL_USERS: Fill(); return true;
    case IDC_ACTIVITY_NEW: NewActivity(); return true;
    case IDC_ACTIVITY_PROPERTIES: list_.ShowProperties(); return true;
    default: return plat::Dialog::OnCommand(id, code);
  }
}

void CBrowseForActivityDialog::OnOK() {
  FLM_Activity selected;
  if (!list_.GetSelectedActivity(&selected)) {
    plat::MessageBox(this, plat::LoadString(IDS_SELECT_AN_ACTIVITY), plat::AppName(),
                     plat::mb::Ok | plat::mb::IconWarning);
    return;
  }
  chosen_ = selected;
  EndDialog(plat::IdOk);
}
