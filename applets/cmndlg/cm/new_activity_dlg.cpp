#include "cm/new_activity_dlg.h"

#include "cm/collected_messages.h"
#include "flm_imsg_redirector.h"
#include "platform/controls.h"
#include "res/resource_ids.h"

using namespace rvcmndlg::res;

namespace {

constexpr char kHelpTopic[] = "rvint_exp/newactivity.htm";

}  // namespace

CNewActivityDialog::CNewActivityDialog(const FLM_Stream& stream, plat::Window* parent)
    : CCmDialog(IDD_NEW_ACTIVITY, kHelpTopic, parent), stream_(stream) {}

bool CNewActivityDialog::OnInitDialog() {
  plat::Dialog::OnInitDialog();
  if (auto* automatic = Item<plat::Button>(IDC_NEW_ACT_AUTO_ID)) automatic->SetCheck(plat::Checked);
  UpdateControls();
  return true;
}

bool CNewActivityDialog::UsesOwnId() const {
  const auto* own = Item<plat::Button>(IDC_NEW_ACT_USE_ID);
  return own && own->GetCheck() == plat::Checked;
}

// OK needs a headline, and an ID unless the ID is made automatically.
void CNewActivityDialog::UpdateControls() {
  if (auto* id = GetDlgItem(IDC_NEW_ACT_ID)) id->EnableWindow(UsesOwnId());
  const bool complete =
      !GetDlgItemText(IDC_NEW_ACT_HEADLINE).empty() && (!UsesOwnId() || !GetDlgItemText(IDC_NEW_ACT_ID).empty());
  if (auto* ok = GetDlgItem(plat::IdOk)) ok->EnableWindow(complete);
}

bool CNewActivityDialog::OnCommand(int id, int code) {
  switch (id) {
    case IDC_NEW_ACT_HEADLINE:
    case IDC_NEW_ACT_ID:
      if (code == plat::en::Change) UpdateControls();
      return true;
    case IDC_NEW_ACT_AUTO_ID:
    case IDC_NEW_ACT_USE_ID:
      if (code != plat::bn::Clicked) return true;
      UpdateControls();
      if (id == IDC_NEW_ACT_USE_ID)
        if (auto* edit = GetDlgItem(IDC_NEW_ACT_ID)) edit->SetFocus();
      return true;
    default: return CCmDialog::OnCommand(id, code);
  }
}

void CNewActivityDialog::OnOK() {
  const std::string id = UsesOwnId() ? GetDlgItemText(IDC_NEW_ACT_ID) : std::string();
  const std::string headline = GetDlgItemText(IDC_NEW_ACT_HEADLINE);
  FLM_ImsgRedirector collected;
  FLM_Activity made;
  if (int st = stream_.create_activity(id.c_str(), headline.c_str(), nullptr, nullptr, &made)) {
    ShowCollected(this, collected, st);
    return;
  }
  created_ = made;
  EndDialog(plat::IdOk);
}
