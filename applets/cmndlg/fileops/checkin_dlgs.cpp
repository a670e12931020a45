#include "fileops/checkin_dlgs.h"

#include "cm/activity_entries.h"
#include "cm/new_activity_dlg.h"
#include "cm/tl_activity_controls.h"
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
#include "tbs.h"

using namespace rvcmndlg::res;

namespace {

constexpr char kCommentHelp[] = "rvint_exp/checkincomment.htm";
constexpr char kMergeHelp[] = "rvint_exp/mergelatest.htm";

// The edit control's line ends: every "\n" not after "\r" as "\r\n".
std::string EditLineEnds(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

}  // namespace

// ---- the comment forms ----

CCheckinCommentDlg::CCheckinCommentDlg(plat::Window* parent)
    : CCheckinCommentDlg(IDD_CHECKIN_COMMENT, IDC_CICMT_USE_ORIGINAL, parent) {}

CCheckinCommentDlg::CCheckinCommentDlg(int template_id, int use_original_id, plat::Window* parent)
    : plat::Dialog(template_id, parent), m_useOriginalId(use_original_id) {
  rvcmndlg::EntryScope resources;
  LoadTemplate();
}

bool CCheckinCommentDlg::OnInitDialog() {
  m_comment = EditLineEnds(m_comment);
  plat::Dialog::OnInitDialog();
  SetDlgItemText(IDC_COCMT_NAME, m_name);
  for (int id : {IdApplyToAll, m_useOriginalId})
    if (plat::Window* control = GetDlgItem(id)) control->EnableWindow(m_multiple != 0);
  if (plat::Window* identical = GetDlgItem(IDC_CICMT_IDENTICAL)) identical->EnableWindow(m_directory == 0);
  m_typed = m_comment;
  if (plat::Window* comment = GetDlgItem(IDC_COCMT_COMMENT)) comment->SetFocus();
  ApplyUseOriginal();
  return false;  // the focus is placed
}

void CCheckinCommentDlg::DoDataExchange(plat::DataExchange& dx) {
  plat::DdxText(dx, IDC_COCMT_COMMENT, m_comment);
  plat::DdxCheck(dx, IDC_CICMT_IDENTICAL, m_identical);
  plat::DdxCheck(dx, m_useOriginalId, m_useOriginal);
  plat::DdxCheck(dx, IDC_COCMT_PRESERVE_TIME, m_preserveTime);
}

bool CCheckinCommentDlg::UseOriginalChecked() const { return IsChecked(*this, m_useOriginalId); }

void CCheckinCommentDlg::ApplyUseOriginal() {
  auto* comment = Item<plat::Edit>(IDC_COCMT_COMMENT);
  if (!comment) return;
  const bool original = UseOriginalChecked();
  if (original == comment->IsReadOnly()) return;
  if (original) {
    m_typed = comment->Text();
    comment->SetText(EditLineEnds(m_original));
    if (Focused() == comment)
      if (plat::Window* ok = GetDlgItem(plat::IdOk)) ok->SetFocus();
  } else {
    comment->SetText(m_typed);
  }
  comment->SetReadOnly(original);
}

bool CCheckinCommentDlg::OnCommand(int id, int code) {
  if (code != plat::bn::Clicked) return plat::Dialog::OnCommand(id, code);
  if (id == m_useOriginalId) {
    ApplyUseOriginal();
    return true;
  }
  switch (id) {
    case IdApplyToAll: Accept(IdApplyToAll); return true;
    case IDC_COCMT_HELP: gu_help(plat::Hwnd::Null, kCommentHelp, 1, 0); return true;
    default: return plat::Dialog::OnCommand(id, code);
  }
}

void CCheckinCommentDlg::Accept(int result) {
  if (!UpdateData(true) || !AcceptChoice()) return;
  EndDialog(result);
}

// ---- the activity form ----

CCheckinActivityCommentDlg::CCheckinActivityCommentDlg(CFileItem& item, GCL_Status& status, plat::Window* parent)
    : CCheckinActivityCommentDlg(IDD_CHECKIN_ACTIVITY_COMMENT, item, status, parent) {}

CCheckinActivityCommentDlg::CCheckinActivityCommentDlg(int template_id, CFileItem& item, GCL_Status& status,
                                                       plat::Window* parent)
    : CCheckinCommentDlg(template_id, IDC_CICMT_USE_ORIGINAL_ALL, parent), m_item(item), m_status(status) {}

// A check-out comment or activity that was never recorded (1002) is none.
bool CCheckinActivityCommentDlg::ReadItem() {
  m_name = m_item.DisplayName();
  GCL_Status probe;
  m_records = m_item.RecordsActivity(probe);
  if (!probe.ok()) return false;
  m_originalActivity = m_item.CheckoutActivity(probe);
  if (!probe.ok() && probe.code() != TBS_ST_NOT_FOUND) return false;
  probe.reset(0);
  m_original = m_comment = m_item.CheckoutComment(probe);
  if (!probe.ok() && probe.code() != TBS_ST_NOT_FOUND) return false;
  probe.reset(0);
  m_directory = m_item.IsDirectory(probe);
  return probe.ok();
}

bool CCheckinActivityCommentDlg::OnInitDialog() {
  if (!ReadItem()) {
    EndDialog(plat::IdCancel);
    return true;
  }
  CCheckinCommentDlg::OnInitDialog();
  if (!m_records) {
    SetDlgItemText(IDC_COCMT_ACTIVITY_PROMPT, plat::LoadString(IDS_NOT_RECORDED_BY_ACTIVITY));
    EnableChoice(false);
    return false;
  }
  m_stream = m_item.Stream(m_status);
  if (m_stream.is_null()) {
    EndDialog(plat::IdCancel);
    return true;
  }
  ShowActivity(m_originalActivity);
  if (!UseOriginalChecked())
    if (plat::Window* list = GetDlgItem(IDC_COCMT_ACTIVITY)) list->SetFocus();
  ApplyUseOriginal();
  return false;
}

void CCheckinActivityCommentDlg::ShowActivity(const FLM_Activity& activity) {
  m_choice.Fill(Item<plat::ComboBox>(IDC_COCMT_ACTIVITY), m_stream, m_status, activity);
}

FLM_Activity CCheckinActivityCommentDlg::Chosen() { return m_choice.Chosen(Item<plat::ComboBox>(IDC_COCMT_ACTIVITY)); }

void CCheckinActivityCommentDlg::EnableChoice(bool enable) {
  for (int id : {IDC_CICMT_ACTIVITY_LABEL, IDC_COCMT_ACTIVITY, IDC_COCMT_TL_RECORD, IDC_COCMT_ACTIVITY_NEW,
                 IDC_COCMT_ACTIVITY_BROWSE})
    if (plat::Window* control = GetDlgItem(id)) control->EnableWindow(enable);
}

// While the original check-out information is used, the list shows the
// original activity and cannot be changed.
void CCheckinActivityCommentDlg::ApplyUseOriginal() {
  CCheckinCommentDlg::ApplyUseOriginal();
  if (!m_records || m_stream.is_null()) return;
  const bool original = UseOriginalChecked();
  if (original) ShowActivity(m_originalActivity);
  EnableChoice(!original);
}

bool CCheckinActivityCommentDlg::OnCommand(int id, int code) {
  if (code != plat::bn::Clicked || (id != IDC_COCMT_ACTIVITY_NEW && id != IDC_COCMT_ACTIVITY_BROWSE))
    return CCheckinCommentDlg::OnCommand(id, code);
  if (id == IDC_COCMT_ACTIVITY_NEW) {
    CNewActivityDialog create(m_stream, this);
    if (create.DoModal() == plat::IdOk) ShowActivity(create.Created());
  } else {
    FLM_Activity chosen = Chosen();
    if (rvBrowseForActivity(m_stream, chosen, this, 1, 0) == 0) ShowActivity(chosen);
  }
  return true;
}

bool CCheckinActivityCommentDlg::AcceptChoice() {
  m_activity = m_records ? Chosen() : FLM_Activity();
  if (m_activity.is_null()) return true;
  return MakeViewActivityCurrent(this, m_item.View(m_status), m_activity);
}

// ---- the Tracklane form ----

CCheckinTLEntityCommentDlg::CCheckinTLEntityCommentDlg(CFileItem& item, GCL_Status& status, plat::Window* parent)
    : CCheckinActivityCommentDlg(IDD_CHECKIN_TL_COMMENT, item, status, parent),
      m_recordList(std::make_unique<CTLActivitiesCombo>()),
      m_browse(std::make_unique<CBrowseTLEntityButton>()),
      m_new(std::make_unique<CNewTLEntityButton>()) {}

CCheckinTLEntityCommentDlg::~CCheckinTLEntityCommentDlg() = default;

bool CCheckinTLEntityCommentDlg::OnInitDialog() {
  if (!SubclassDlgItem(IDC_COCMT_TL_RECORD, *m_recordList) || !SubclassDlgItem(IDC_COCMT_ACTIVITY_BROWSE, *m_browse) ||
      !SubclassDlgItem(IDC_COCMT_ACTIVITY_NEW, *m_new)) {
    EndDialog(plat::IdCancel);
    return true;
  }
  m_recordList->SetStream(m_item.Stream(m_status));
  m_browse->Setup(m_recordList.get(), m_item.Stream(m_status));
  m_new->Setup(m_recordList.get(), m_item.Stream(m_status));
  return CCheckinActivityCommentDlg::OnInitDialog();
}

void CCheckinTLEntityCommentDlg::ShowActivity(const FLM_Activity& activity) {
  if (!activity.is_null()) m_recordList->SelectByActivity(activity);
}

bool CCheckinTLEntityCommentDlg::OnCommand(int id, int code) {
  if (id == IDC_COCMT_TL_PROPERTIES && code == plat::bn::Clicked) {
    const FLM_TLEntityID record = m_recordList->GetSelection();
    if (!record.is_null()) CKelp_CA_TL_UI::OpenTLRecordForm(record, this);
    return true;
  }
  // The record buttons answer for themselves.
  if (id == IDC_COCMT_ACTIVITY_NEW || id == IDC_COCMT_ACTIVITY_BROWSE) return true;
  return CCheckinCommentDlg::OnCommand(id, code);
}

FLM_Activity CCheckinTLEntityCommentDlg::Chosen() { return ActivityOfRecord(m_stream, m_recordList->GetSelection()); }

// ---- the offer to add a view-private file ----

CConfirmAddToSrc::CConfirmAddToSrc(plat::Window* parent) : plat::Dialog(IDD_CONFIRM_ADD_TO_SRC, parent) {
  rvcmndlg::EntryScope resources;
  LoadTemplate();
}

bool CConfirmAddToSrc::OnInitDialog() {
  SetDlgItemText(IDC_CONFIRM_ADD_TEXT, plat::FormatPrintf(TemplateText(Template(), IDC_CONFIRM_ADD_TEXT), {m_name}));
  return plat::Dialog::OnInitDialog();
}

bool CConfirmAddToSrc::OnCommand(int id, int code) {
  if (code == plat::bn::Clicked && (id == plat::IdYes || id == IdYesToAll || id == plat::IdNo)) {
    EndDialog(id);
    return true;
  }
  return plat::Dialog::OnCommand(id, code);
}

// ---- the offer to merge first ----

CConfirmMergeDialog::CConfirmMergeDialog(plat::Window* parent) : plat::Dialog(IDD_CONFIRM_MERGE, parent) {
  rvcmndlg::EntryScope resources;
  LoadTemplate();
}

bool CConfirmMergeDialog::OnInitDialog() {
  SetDlgItemText(IDC_CONFIRM_MERGE_TEXT,
                 plat::FormatPrintf(TemplateText(Template(), IDC_CONFIRM_MERGE_TEXT), {m_name}));
  return plat::Dialog::OnInitDialog();
}

bool CConfirmMergeDialog::OnCommand(int id, int code) {
  if (code != plat::bn::Clicked) return plat::Dialog::OnCommand(id, code);
  switch (id) {
    case plat::IdYes:
    case plat::IdNo:
      m_graphical = IsChecked(*this, IDC_CONFIRM_MERGE_GRAPHICAL);
      EndDialog(id);
      return true;
    case IDC_CONFIRM_MERGE_HELP: gu_help(plat::Hwnd::Null, kMergeHelp, 1, 0); return true;
    default: return plat::Dialog::OnCommand(id, code);
  }
}
