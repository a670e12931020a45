#include "cm/activity_list_ctrl.h"

#include <optional>

#include "cm/object_properties.h"
#include "cm/act_contribs_dlg.h"
#include "platform/dialog.h"
#include "platform/resources.h"
#include "res/resource_ids.h"

using namespace rvcmndlg::res;

namespace {

constexpr int kHeadlineWidth = 200;
constexpr int kOwnerWidth = 70;

}  // namespace

void CActivityListCtrl::SetupColumns() {
  CActivityRows::SetupColumns(IDS_ACT_COL_HEADLINE, kHeadlineWidth, IDS_ACT_COL_OWNER, kOwnerWidth);
}

bool CActivityListCtrl::AddActivity(const FLM_Activity& activity) {
  bool local = false;
  if (activity.has_local_mastership(&local) != 0) return false;
  std::string headline, login;
  activity.headline(&headline);
  FLM_OsUser owner;
  if (activity.owner(&owner) == 0) owner.login_name(&login);
  AddRow(activity, headline, login);
  return true;
}

void CActivityListCtrl::AddNoActivity() { AddRow(FLM_Activity(), plat::LoadString(IDS_NO_ACTIVITY), {}); }

bool CActivityListCtrl::SelectActivity(const FLM_Activity& activity) {
  for (int row = 0; row < GetItemCount(); ++row) {
    const FLM_Activity* held = ActivityAt(row);
    if (held && *held == activity) {
      SetSelected(row, true);
      return true;
    }
  }
  return false;
}

bool CActivityListCtrl::GetSelectedActivity(FLM_Activity* activity) const {
  const std::vector<int> selected = GetSelected();
  if (selected.empty()) return false;
  const FLM_Activity* held = ActivityAt(selected.front());
  *activity = held ? *held : FLM_Activity();
  return true;
}

void CActivityListCtrl::ShowProperties() {
  FLM_Activity activity;
  if (!GetSelectedActivity(&activity)) return;
  if (activity.is_null()) {
    plat::MessageBox(this, plat::LoadString(IDS_NO_ACTIVITY_PROPERTIES), plat::AppName(),
                     plat::mb::Ok | plat::mb::IconInformation);
    return;
  }
  std::string selector;
  if (activity.selector(&selector) == 0 && !selector.empty()) ShowObjectProperties(selector, this);
}

bool CActivityListCtrl::OnContextMenu() {
  FLM_Activity activity;
  const bool selected = GetSelectedActivity(&activity);
  std::optional<plat::Menu> menu = plat::FindMenuResource(IDR_MENU_ACTIVITY);
  if (!menu) return true;
  // Offered for an integration activity only; an unreadable kind is none.
  bool integration = false;
  if (!selected || activity.is_null() || activity.is_integration_activity(&integration) != 0) integration = false;
  for (auto& item : menu->items)
    if (item.id == ID_ACT_SHOW_CONTRIBS) item.enabled = integration;
  switch (plat::TrackPopupMenu(*menu, this)) {
    case ID_ACT_SHOW_CONTRIBS:
      if (integration) RunActContribs(activity, this);  // a disabled item does nothing
      break;
    case ID_ACT_PROPERTIES: ShowProperties(); break;
    default: break;
  }
  return true;
}
