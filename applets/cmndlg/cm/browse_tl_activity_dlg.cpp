#include "cm/browse_tl_activity_dlg.h"

#include "cm/collected_messages.h"
#include "flm_imsg_redirector.h"
#include "platform/controls.h"
#include "platform/resources.h"
#include "platform/window.h"
#include "res/resource_ids.h"

using namespace rvcmndlg::res;

namespace {

constexpr char kHelpTopic[] = "rvint_exp/browsefortlactivity.htm";
constexpr int kFirstTypeCommand = 1;

bool SameRecord(const FLM_TLEntityID& a, const FLM_TLEntityID& b) {
  return a.number() == b.number() && a.database() == b.database();
}

}  // namespace

CBrowseForTLActivityDialog::CBrowseForTLActivityDialog(const FLM_Stream& stream, const FLM_TLEntityID& current,
                                                       plat::Window* parent)
    : CCmDialog(IDD_BROWSE_TL_ACTIVITY, kHelpTopic, parent), stream_(stream), chosen_(current) {}

bool CBrowseForTLActivityDialog::OnInitDialog() {
  plat::Dialog::OnInitDialog();
  auto* list = Item<plat::ListView>(IDC_TL_RECORDS);
  if (!list) {
    EndDialog(plat::IdCancel);
    return true;
  }
  for (const char* column : {"ID", "Headline", "State"}) list->InsertColumn(-1, column);
  FLM_ImsgRedirector collected;
  CKelp_TLPolicySettings policies;
  int st = stream_.project(&project_);
  if (st == 0) st = CKelp_CA_FLMProject::GetProjectPolicySettings(project_, &policies);
  // Submitting is offered only where the project allows it.
  if (st != 0 || policies.GetNoSubmit())
    if (plat::Window* create = GetDlgItem(IDC_TL_NEW)) {
      create->ShowWindow(false);
      create->EnableWindow(false);
    }
  if (st != 0) {
    ShowCollected(this, collected, st);
    return true;
  }
  Fill();
  return true;
}

void CBrowseForTLActivityDialog::Fill() {
  plat::WaitCursor waiting;
  FLM_ImsgRedirector collected;
  FLM_List<kelp_record_s> records;
  if (int st = CKelp_CA_GetInfo::GetProjectRecords(project_, &records)) return ShowCollected(this, collected, st);
  for (const kelp_record_s& record : records) SelectRecord(record.id, record.headline, record.state);
  auto* list = Item<plat::ListView>(IDC_TL_RECORDS);
  for (int row = 0; row < list->GetItemCount(); ++row)
    list->SetSelected(row, SameRecord(records_[list->GetItemData(row)], chosen_));
}

void CBrowseForTLActivityDialog::SelectRecord(const FLM_TLEntityID& id, const std::string& headline,
                                              const std::string& state) {
  auto* list = Item<plat::ListView>(IDC_TL_RECORDS);
  int found = -1;
  for (int row = 0; row < list->GetItemCount() && found < 0; ++row)
    if (SameRecord(records_[list->GetItemData(row)], id)) found = row;
  if (found < 0) {
    records_.push_back(id);
    found = list->InsertItem(-1, id.display_name());
    list->SetItemText(found, 1, headline);
    list->SetItemText(found, 2, state);
    list->SetItemData(found, records_.size() - 1);
  }
  for (int row = 0; row < list->GetItemCount(); ++row) list->SetSelected(row, row == found);
}

const FLM_TLEntityID* CBrowseForTLActivityDialog::Selected() const {
  const auto* list = Item<plat::ListView>(IDC_TL_RECORDS);
  const std::vector<int> rows = list ? list->GetSelected() : std::vector<int>();
  return rows.empty() ? nullptr : &records_[list->GetItemData(rows.front())];
}

void CBrowseForTLActivityDialog::NewRecord() {
  FLM_ImsgRedirector collected;
  FLM_StringList types;
  if (int st = CKelp_CA_FLMProject::GetProjectRecordTypes(project_, &types)) return ShowCollected(this, collected, st);
  plat::Menu menu;
  for (std::size_t i = 0; i < types.length(); ++i)
    menu.items.push_back(plat::MenuItem{kFirstTypeCommand + static_cast<int>(i), types[i] + "...", true, false, {}});
  const int chosen = menu.items.empty() ? 0 : plat::TrackPopupMenu(menu, this);
  if (chosen < kFirstTypeCommand) return;
  bool submitted = false;
  FLM_TLEntityID record;
  std::string headline;
  const std::string& type = types[static_cast<std::size_t>(chosen - kFirstTypeCommand)];
  if (int st = CKelp_CA_TL_UI::OpenNewTLActivityForm(type.c_str(), project_, &submitted, &record, &headline, this))
    return ShowCollected(this, collected, st);
  if (submitted) SelectRecord(record, headline, KELP_STATE_SUBMITTED);
}

void CBrowseForTLActivityDialog::Browse() {
  FLM_ImsgRedirector collected;
  bool chosen = false;
  FLM_TLEntityID record;
  std::string headline;
  if (int st = CKelp_CA_TL_UI::OpenTLActivityBrowser(project_, &chosen, &record, &headline, this))
    return ShowCollected(this, collected, st);
  if (chosen) SelectRecord(record, headline, "");
}

void CBrowseForTLActivityDialog::ShowRecord() {
  const FLM_TLEntityID* record = Selected();
  if (!record) return;
  FLM_ImsgRedirector collected;
  if (int st = CKelp_CA_TL_UI::OpenTLRecordForm(*record, this)) ShowCollected(this, collected, st);
}

bool CBrowseForTLActivityDialog::OnCommand(int id, int code) {
  if (code != plat::bn::Clicked) return plat::Dialog::OnCommand(id, code);
  switch (id) {
    case IDC_TL_NEW: NewRecord(); return true;
    case IDC_TL_BROWSE: Browse(); return true;
    case IDC_TL_PROPERTIES: ShowRecord(); return true;
    default: return plat::Dialog::OnCommand(id, code);
  }
}

void CBrowseForTLActivityDialog::OnOK() {
  const FLM_TLEntityID* record = Selected();
  if (!record) {
    plat::MessageBox(this, plat::LoadString(IDS_TL_SELECT_A_RECORD), plat::AppName(),
                     plat::mb::Ok | plat::mb::IconWarning);
    return;
  }
  chosen_ = *record;
  EndDialog(plat::IdOk);
}
