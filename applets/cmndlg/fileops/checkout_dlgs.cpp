#include "fileops/checkout_dlgs.h"

#include "cm/activity_entries.h"
#include "cm/new_activity_dlg.h"
#include "cm/tl_activity_controls.h"
#include "fileops/activity_choice.h"
#include "fileops/common_status.h"
#include "fileops/dialog_text.h"
#include "fileops/file_item.h"
#include "gcl_capture.h"
#include "gcl_status.h"
#include "gu.h"
#include "kelp.h"
#include "platform/controls.h"
#include "platform/resources.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"

using namespace rvcmndlg::res;

namespace {

constexpr char kVersionHelp[] = "rvint_exp/confirmcheckoutversion.htm";

}  // namespace

// ---- the comment forms ----

CCheckoutCommentDlg::CCheckoutCommentDlg(int template_id, plat::Window* parent) : plat::Dialog(template_id, parent) {
  rvcmndlg::EntryScope resources;
  LoadTemplate();
}

bool CCheckoutCommentDlg::OnInitDialog() {
  plat::Dialog::OnInitDialog();
  SetDlgItemText(IDC_COCMT_NAME, m_name);
  if (plat::Window* all = GetDlgItem(IdApplyToAll)) all->EnableWindow(m_multiple != 0);
  for (int replica_option : {IDC_COCMT_NONMASTERED, IDC_ADDSRC_MASTER}) {
    if (plat::Window* box = GetDlgItem(replica_option)) {
      box->ShowWindow(m_replicated != 0);
      box->EnableWindow(m_replicated != 0);
    }
  }
  ApplyReservedRule();
  if (plat::Window* comment = GetDlgItem(IDC_COCMT_COMMENT)) comment->SetFocus();
  return false;  // the focus is placed
}

void CCheckoutCommentDlg::DoDataExchange(plat::DataExchange& dx) {
  plat::DdxText(dx, IDC_COCMT_COMMENT, m_comment);
  plat::DdxCheck(dx, IDC_COCMT_RESERVED, m_reserved);
  plat::DdxCheck(dx, IDC_COCMT_UNRESERVED, m_unreserved);
  if (m_replicated) plat::DdxCheck(dx, IDC_COCMT_NONMASTERED, m_nonmastered);
  plat::DdxCheck(dx, IDC_COCMT_PRESERVE_TIME, m_preserveTime);
  plat::DdxCheck(dx, IDC_ADDSRC_KEEP, m_keepCheckedOut);
  if (m_replicated) plat::DdxCheck(dx, IDC_ADDSRC_MASTER, m_master);
}

// "Unreserved if already reserved" means something only for a reserved
// check-out.
void CCheckoutCommentDlg::ApplyReservedRule() {
  const bool reserved = IsChecked(*this, IDC_COCMT_RESERVED);
  auto* unreserved = Item<plat::Button>(IDC_COCMT_UNRESERVED);
  if (!unreserved) return;
  if (!reserved) unreserved->SetCheck(plat::Unchecked);
  unreserved->EnableWindow(reserved);
}

bool CCheckoutCommentDlg::OnCommand(int id, int code) {
  if (code != plat::bn::Clicked) return plat::Dialog::OnCommand(id, code);
  switch (id) {
    case IDC_COCMT_RESERVED: ApplyReservedRule(); return true;
    case IdApplyToAll: Accept(IdApplyToAll); return true;
    case IDC_COCMT_HELP: gu_help(plat::Hwnd::Null, m_help, 1, 0); return true;
    default: return plat::Dialog::OnCommand(id, code);
  }
}

void CCheckoutCommentDlg::Accept(int result) {
  if (!UpdateData(true) || !AcceptChoice()) return;
  EndDialog(result);
}

// ---- the activity form ----

CCheckoutActivityCommentDlg::CCheckoutActivityCommentDlg(CFileItem& item, GCL_Status& status, plat::Window* parent)
    : CCheckoutActivityCommentDlg(IDD_CHECKOUT_ACTIVITY_COMMENT, item, status, parent) {}

CCheckoutActivityCommentDlg::CCheckoutActivityCommentDlg(int template_id, CFileItem& item, GCL_Status& status,
                                                         plat::Window* parent)
    : CCheckoutCommentDlg(template_id, parent), m_item(item), m_status(status) {}

bool CCheckoutActivityCommentDlg::OnInitDialog() {
  const bool focus_placed = !CCheckoutCommentDlg::OnInitDialog();
  m_stream = m_item.Stream(m_status);
  FLM_Activity current;
  GCL_CapturedCall(m_status, [&] { return m_item.View(m_status).current_activity(&current); });
  Fill(current);
  return !focus_placed;
}

void CCheckoutActivityCommentDlg::Fill(const FLM_Activity& select) {
  m_choice.Fill(Item<plat::ComboBox>(IDC_COCMT_ACTIVITY), m_stream, m_status, select);
}

FLM_Activity CCheckoutActivityCommentDlg::Chosen() { return m_choice.Chosen(Item<plat::ComboBox>(IDC_COCMT_ACTIVITY)); }

bool CCheckoutActivityCommentDlg::OnCommand(int id, int code) {
  if (code != plat::bn::Clicked || (id != IDC_COCMT_ACTIVITY_NEW && id != IDC_COCMT_ACTIVITY_BROWSE))
    return CCheckoutCommentDlg::OnCommand(id, code);
  if (id == IDC_COCMT_ACTIVITY_NEW) {
    CNewActivityDialog create(m_stream, this);
    if (create.DoModal() == plat::IdOk) Fill(create.Created());
  } else {
    FLM_Activity chosen = Chosen();
    if (rvBrowseForActivity(m_stream, chosen, this, 1, 0) == 0) Fill(chosen);
  }
  return true;
}

bool CCheckoutActivityCommentDlg::ActivityNeeded() {
  GCL_Status probe;
  return m_activityAlwaysNeeded || m_item.RecordsActivity(probe);
}

bool CCheckoutActivityCommentDlg::AcceptChoice() {
  if (!ActivityNeeded()) return true;
  const FLM_Activity chosen = Chosen();
  if (chosen.is_null()) {
    plat::MessageBox(this, plat::LoadString(IDS_MUST_SELECT_ACTIVITY), plat::AppName(),
                     plat::mb::Ok | plat::mb::IconWarning);
    if (plat::Window* list = GetDlgItem(IDC_COCMT_ACTIVITY)) list->SetFocus();
    return false;
  }
  return MakeCurrent(chosen);
}

bool CCheckoutActivityCommentDlg::MakeCurrent(const FLM_Activity& activity) {
  return MakeViewActivityCurrent(this, m_item.View(m_status), activity);
}

// ---- the Tracklane form ----

CCheckoutTLEntityCommentDlg::CCheckoutTLEntityCommentDlg(CFileItem& item, GCL_Status& status, plat::Window* parent)
    : CCheckoutTLEntityCommentDlg(IDD_CHECKOUT_TL_COMMENT, item, status, parent) {}

CCheckoutTLEntityCommentDlg::CCheckoutTLEntityCommentDlg(int template_id, CFileItem& item, GCL_Status& status,
                                                         plat::Window* parent)
    : CCheckoutActivityCommentDlg(template_id, item, status, parent),
      m_records(std::make_unique<CTLActivitiesCombo>()),
      m_browse(std::make_unique<CBrowseTLEntityButton>()),
      m_new(std::make_unique<CNewTLEntityButton>()) {}

CCheckoutTLEntityCommentDlg::~CCheckoutTLEntityCommentDlg() = default;

bool CCheckoutTLEntityCommentDlg::OnInitDialog() {
  const bool focus_placed = !CCheckoutCommentDlg::OnInitDialog();
  m_stream = m_item.Stream(m_status);
  if (SubclassDlgItem(IDC_COCMT_TL_RECORD, *m_records) && SubclassDlgItem(IDC_COCMT_ACTIVITY_BROWSE, *m_browse) &&
      SubclassDlgItem(IDC_COCMT_ACTIVITY_NEW, *m_new)) {
    m_records->SetStream(m_stream);
    m_browse->Setup(m_records.get(), m_stream);
    m_new->Setup(m_records.get(), m_stream);
    FLM_Activity current;
    if (GCL_CapturedCall(m_status, [&] { return m_item.View(m_status).current_activity(&current); }) == 0 &&
        !current.is_null())
      m_records->SelectByActivity(current);
  }
  return !focus_placed;
}

bool CCheckoutTLEntityCommentDlg::OnCommand(int id, int code) {
  if (id == IDC_COCMT_TL_PROPERTIES && code == plat::bn::Clicked) {
    const FLM_TLEntityID record = m_records->GetSelection();
    if (!record.is_null()) CKelp_CA_TL_UI::OpenTLRecordForm(record, this);
    return true;
  }
  // The record buttons answer for themselves.
  if (id == IDC_COCMT_ACTIVITY_NEW || id == IDC_COCMT_ACTIVITY_BROWSE) return true;
  return CCheckoutCommentDlg::OnCommand(id, code);
}

FLM_Activity CCheckoutTLEntityCommentDlg::Chosen() { return ActivityOfRecord(m_stream, m_records->GetSelection()); }

// ---- the hijack question ----

CConfirmUsePrivate::CConfirmUsePrivate(plat::Window* parent) : plat::Dialog(IDD_CONFIRM_USE_PRIVATE, parent) {
  rvcmndlg::EntryScope resources;
  LoadTemplate();
}

bool CConfirmUsePrivate::OnInitDialog() {
  const std::string format =
      m_hijackMerge ? plat::LoadString(IDS_HIJACK_MERGE_QUESTION) : TemplateText(Template(), IDC_USE_PRIVATE_TEXT);
  SetDlgItemText(IDC_USE_PRIVATE_TEXT, plat::FormatPrintf(format, {m_name}));
  plat::Dialog::OnInitDialog();
  if (plat::Window* all = GetDlgItem(IdYesToAll)) all->EnableWindow(m_multiple != 0);
  return true;
}

bool CConfirmUsePrivate::OnCommand(int id, int code) {
  if (code == plat::bn::Clicked && (id == plat::IdYes || id == IdYesToAll || id == plat::IdNo)) {
    EndDialog(id);
    return true;
  }
  return plat::Dialog::OnCommand(id, code);
}

// ---- the version choice ----

CConfirmCheckoutVersion::CConfirmCheckoutVersion(plat::Window* parent)
    : plat::Dialog(IDD_CONFIRM_CHECKOUT_VERSION, parent) {
  rvcmndlg::EntryScope resources;
  LoadTemplate();
}

bool CConfirmCheckoutVersion::OnInitDialog() {
  plat::Dialog::OnInitDialog();
  if (plat::Window* ok = GetDlgItem(plat::IdOk)) ok->ShowWindow(false);
  int eligible = 0, first_eligible = -1;
  for (std::uint32_t i = 0; i < m_count; ++i) {
    if (!IsEligible(m_candidates[i])) continue;
    if (first_eligible < 0) first_eligible = static_cast<int>(i);
    ++eligible;
  }
  const int header = eligible == 0 ? IDS_NO_VERSION_TO_CHECK_OUT
                     : eligible == 1 ? IDS_ADDITIONAL_INFORMATION
                                     : IDS_MULTIPLE_VERSIONS;
  SetDlgItemText(IDC_COVER_HEADER, plat::FormatMessage(plat::LoadString(header), {m_name}));
  ShowPanel(0, IDC_COVER_CURRENT_NAME, IDC_COVER_CURRENT_CREATOR, IDC_COVER_CURRENT_CREATED, IDC_COVER_CURRENT_NOTES);
  ShowPanel(1, IDC_COVER_LATEST_NAME, IDC_COVER_LATEST_CREATOR, IDC_COVER_LATEST_CREATED, IDC_COVER_LATEST_NOTES);
  for (int index : {0, 1}) {
    auto* radio = Item<plat::Button>(index == 0 ? IDC_COVER_CURRENT : IDC_COVER_LATEST);
    if (!radio) continue;
    const auto i = static_cast<std::uint32_t>(index);
    radio->EnableWindow(i < m_count && IsEligible(m_candidates[i]));
    radio->SetCheck(index == first_eligible ? plat::Checked : plat::Unchecked);
  }
  OnSelectionChanged();
  return true;
}

// A panel shows its candidate, or stays empty and disabled without one.
void CConfirmCheckoutVersion::ShowPanel(std::uint32_t index, int name, int creator, int created, int notes) {
  if (index >= m_count) {
    for (int id : {name, creator, created, notes})
      if (plat::Window* control = GetDlgItem(id)) control->EnableWindow(false);
    return;
  }
  const cmd_checkout_candidate_s& c = m_candidates[index];
  auto text = [](const char* s) { return std::string(s ? s : ""); };
  SetDlgItemText(name, text(c.name));
  SetDlgItemText(creator, text(c.creator));
  SetDlgItemText(created, text(c.created));
  std::string lines;
  auto note = [&lines](const std::string& line) { lines += (lines.empty() ? "" : "\r\n") + line; };
  if (c.branch_exists || c.not_allowed) note(plat::LoadString(IDS_NOTE_CANNOT_CHECK_OUT));
  if (c.branch_exists) note(plat::FormatMessage(plat::LoadString(IDS_NOTE_BRANCH_EXISTS), {text(c.branch)}));
  if (c.needs_hijack_merge) note(plat::LoadString(IDS_NOTE_HIJACK_MERGE));
  if (c.unloaded_after_update) note(plat::LoadString(IDS_NOTE_UNLOADED_AFTER_UPDATE));
  if (c.not_latest) note(plat::LoadString(IDS_NOTE_NOT_LATEST));
  if (c.not_loaded) note(plat::LoadString(IDS_NOTE_NOT_LOADED));
  if (c.not_mastered_here)
    note(plat::FormatMessage(plat::LoadString(IDS_NOTE_NOT_MASTERED), {text(c.branch), text(c.master)}));
  else if (c.reserved_elsewhere)
    note(plat::FormatMessage(plat::LoadString(IDS_NOTE_RESERVED_ELSEWHERE), {text(c.branch), text(c.reserved_by)}));
  SetDlgItemText(notes, lines);
}

int CConfirmCheckoutVersion::Selected() const {
  if (IsChecked(*this, IDC_COVER_CURRENT)) return 0;
  if (m_count > 1 && IsChecked(*this, IDC_COVER_LATEST)) return 1;
  return -1;
}

void CConfirmCheckoutVersion::OnSelectionChanged() {
  const int selected = Selected();
  const cmd_checkout_candidate_s* c = selected >= 0 ? &m_candidates[selected] : nullptr;
  const bool foreign = c && c->not_mastered_here;
  if (plat::Window* box = GetDlgItem(IDC_COVER_MASTERSHIP)) {
    box->ShowWindow(m_mastershipAllowed && foreign);
    box->EnableWindow(m_mastershipAllowed && foreign);
  }
  std::string question = plat::LoadString(IDS_CHECK_OUT_SELECTED);
  if (foreign)
    question += plat::LoadString(IDS_NONMASTERED_REQUIRED);
  else if (c && c->reserved_elsewhere)
    question += plat::LoadString(IDS_UNRESERVED_REQUIRED);
  else
    question = "\r\n" + question;
  SetDlgItemText(IDC_COVER_QUESTION, question);
}

bool CConfirmCheckoutVersion::OnCommand(int id, int code) {
  if (code != plat::bn::Clicked) return plat::Dialog::OnCommand(id, code);
  switch (id) {
    case IDC_COVER_CURRENT:
    case IDC_COVER_LATEST: OnSelectionChanged(); return true;
    case IDC_COVER_HELP: gu_help(plat::Hwnd::Null, kVersionHelp, 1, 0); return true;
    case plat::IdYes:
    case plat::IdNo:
      m_selected = Selected();
      m_requestMastership = IsChecked(*this, IDC_COVER_MASTERSHIP) && GetDlgItem(IDC_COVER_MASTERSHIP)->IsEnabled();
      EndDialog(id);
      return true;
    default: return plat::Dialog::OnCommand(id, code);
  }
}
