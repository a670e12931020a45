#include "cm/activity_list.h"

#include <string>

#include "cm/collected_messages.h"
#include "cm/object_properties.h"
#include "flm_imsg_redirector.h"
#include "platform/dialog.h"
#include "platform/message.h"
#include "platform/resources.h"
#include "res/resource_ids.h"

using namespace rvcmndlg::res;

namespace {

// Headline three quarters, owner one quarter of the list's width.
constexpr int kListWidth = 280;
constexpr int kHeadlineWidth = kListWidth * 3 / 4;
constexpr int kOwnerWidth = kListWidth - kHeadlineWidth;

}  // namespace

void CActivityList::SetupColumns() {
  CActivityRows::SetupColumns(IDS_ACTLIST_COL_HEADLINE, kHeadlineWidth, IDS_ACTLIST_COL_OWNER, kOwnerWidth);
}

bool CActivityList::AddActivity(const FLM_Activity& activity) {
  std::string headline, login;
  FLM_OsUser owner;
  FLM_ImsgRedirector collected;  // an activity that cannot be read is left out, silently
  if (activity.headline(&headline) != 0 || activity.owner(&owner) != 0 || owner.login_name(&login) != 0)
    return false;
  AddRow(activity, headline, login);
  return true;
}

void CActivityList::DeleteAll() {
  CActivityRows::DeleteAll();
  EnableProperties(false);
}

void CActivityList::EnableProperties(bool enable) {
  if (properties_) properties_->EnableWindow(enable);
}

bool CActivityList::OnParentNotify(const plat::NotifyHeader& header) {
  if (header.from != GetHwnd()) return false;
  if (header.code == plat::lvn::ItemChanged) EnableProperties(!GetSelected().empty());
  return true;
}

// Gaining the focus with nothing selected selects the first row, and tells
// the parent (its first user message, with the button's id) that
// "&Properties" now has something to show.
void CActivityList::OnSetFocus() {
  if (GetItemCount() == 0) {
    EnableProperties(false);
    return;
  }
  if (!GetSelected().empty()) return;
  SetSelected(0, true);
  EnableProperties(true);
  if (Parent())
    plat::SendMessage(Parent()->GetHwnd(), plat::msg::User,
                      static_cast<plat::WParam>(properties_ ? properties_->ControlId() : 0));
}

bool CActivityList::OnDoubleClick() {
  ShowProperties();
  return true;
}

void CActivityList::ShowProperties() {
  const std::vector<int> selected = GetSelected();
  if (selected.empty()) return;
  const FLM_Activity* activity = ActivityAt(selected.front());
  if (!activity) return;
  std::string selector;
  {
    FLM_ImsgRedirector collected;
    if (const int st = activity->selector(&selector)) {
      ShowFailure(this, plat::LoadString(IDS_CANNOT_SHOW_PROPERTIES), collected, st, plat::mb::IconWarning);
      return;
    }
  }
  ShowObjectProperties(selector, this);
}
