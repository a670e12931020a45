#include "propsheet/metadata/prompt.h"

#include "gcl_status.h"
#include "platform/controls.h"
#include "propsheet/property_messages.h"
#include "propsheet/property_sheet.h"
#include "res/resource_ids.h"
#include "rvl_namedobj.h"
#include "rvl_typeinfo.h"

using namespace rvcmndlg::res;

namespace {

// The type of the kind a selector prefix names ("attype", ...) in the VOB,
// looked up under the client lock; the failure stays on the status.
template <class Type>
Type FindType(GCL_Status& status, const RVL_Vob& vob, const char* prefix, const std::string& name) {
  CRvPropertyBase::DiradoAccess lock;
  const RVL_NamedObj found(status, vob, GCL_String((std::string(prefix) + ":" + name).c_str()));
  return status.ok() ? Type(status, vob, found.dbid()) : Type();
}

// A prompt whose name was found ends with OK; else it shows the repository's
// message and stays open.
void EndWhenFound(plat::Dialog& prompt, const GCL_Status& status) {
  if (status.ok())
    prompt.EndDialog(plat::IdOk);
  else
    rvcmndlg::ShowStatusError(status);
}

}  // namespace

CPrompt::CPrompt(plat::Window* parent, std::string caption, std::string prompt)
    : plat::Dialog(IDD_PROMPT, parent), m_caption(std::move(caption)), m_prompt(std::move(prompt)) {}

bool CPrompt::OnInitDialog() {
  SetText(m_caption);
  SetDlgItemText(IDC_PROMPT_TEXT, m_prompt);
  return plat::Dialog::OnInitDialog();
}

void CPrompt::DoDataExchange(plat::DataExchange& dx) { plat::DdxText(dx, IDC_PROMPT_ANSWER, m_text); }

// ---- CPromptAttribute ----

CPromptAttribute::CPromptAttribute(plat::Window* parent) : plat::Dialog(IDD_PROMPT_ATTRIBUTE, parent) {}

bool CPromptAttribute::OnInitDialog() {
  m_looking_up = true;  // filling the fields is no user's change
  const bool result = plat::Dialog::OnInitDialog();
  m_looking_up = false;
  if (auto* type = Item<plat::Edit>(IDC_PROMPT_ATTR_TYPE)) type->SetReadOnly(m_change_mode);
  if (auto* ok = GetDlgItem(plat::IdOk)) ok->EnableWindow(m_change_mode);
  if (m_change_mode) LookUp();  // the value type of the attribute being changed
  return result;
}

void CPromptAttribute::DoDataExchange(plat::DataExchange& dx) {
  plat::DdxText(dx, IDC_PROMPT_ATTR_TYPE, m_type_name);
  plat::DdxText(dx, IDC_PROMPT_ATTR_KIND, m_value_kind);
  plat::DdxText(dx, IDC_PROMPT_ATTR_VALUE, m_value);
}

bool CPromptAttribute::OnCommand(int id, int code) {
  if (id == IDC_PROMPT_ATTR_TYPE && code == plat::en::Change) {
    // Setting the fields below changes none of the name, but a box shown
    // from here lets the host type again: one lookup at a time.
    if (!m_looking_up) LookUp();
    return true;
  }
  return plat::Dialog::OnCommand(id, code);
}

bool CPromptAttribute::LookUp() {
  m_looking_up = true;
  UpdateData(true);
  GCL_Status status;
  m_type = FindType<RVL_AttributeType>(status, m_vob, "attype", m_type_name);
  RVL_AttributeTypeInfo info;
  if (status.ok()) {
    CRvPropertyBase::DiradoAccess lock;
    info = m_type.definition(status);
  }
  auto* ok = GetDlgItem(plat::IdOk);
  if (!status.ok()) {
    m_type = RVL_AttributeType();
    if (ok) ok->EnableWindow(false);
    rvcmndlg::ShowStatusError(status);
    m_looking_up = false;
    return false;
  }
  const char* kind = RVL_ValueKindName(info.kind());
  m_value_kind = kind ? kind : "";
  m_default = info.default_value() ? info.default_value()->c_str() : "";
  if (m_value.empty()) m_value = m_default;
  SetDlgItemText(IDC_PROMPT_ATTR_KIND, m_value_kind);
  SetDlgItemText(IDC_PROMPT_ATTR_VALUE, m_value);
  if (ok) ok->EnableWindow(true);
  m_looking_up = false;
  return true;
}

void CPromptAttribute::OnOK() {
  // The type added is the one the field names now, never one an earlier
  // text found.
  if (!LookUp()) return;
  plat::Dialog::OnOK();
}

// ---- CPromptLabelType ----

CPromptLabelType::CPromptLabelType(plat::Window* parent) : plat::Dialog(IDD_PROMPT_LABEL_TYPE, parent) {}

void CPromptLabelType::DoDataExchange(plat::DataExchange& dx) {
  plat::DdxText(dx, IDC_PROMPT_ANSWER, m_name);
  plat::DdxCheck(dx, IDC_PROMPT_MOVE_LABEL, m_move);
}

void CPromptLabelType::OnOK() {
  if (!UpdateData(true)) return;
  GCL_Status status;
  m_type = FindType<RVL_LabelType>(status, m_vob, "lbtype", m_name);
  EndWhenFound(*this, status);
}

// ---- CPromptTriggerType ----

CPromptTriggerType::CPromptTriggerType(plat::Window* parent) : plat::Dialog(IDD_PROMPT_TRIGGER_TYPE, parent) {}

void CPromptTriggerType::DoDataExchange(plat::DataExchange& dx) {
  plat::DdxText(dx, IDC_PROMPT_ANSWER, m_name);
  plat::DdxCheck(dx, IDC_PROMPT_TR_ATTACH, m_attach);
  plat::DdxCheck(dx, IDC_PROMPT_TR_INHERIT, m_inherit);
}

void CPromptTriggerType::OnOK() {
  if (!UpdateData(true)) return;
  if (m_boxes_matter && !m_attach && !m_inherit) {
    plat::MessageBox(this, plat::LoadString(IDS_CHECK_ATTACH_OR_INHERIT), std::string(),
                     plat::mb::Ok | plat::mb::IconError);
    return;
  }
  GCL_Status status;
  m_type = FindType<RVL_TriggerType>(status, m_vob, "trtype", m_name);
  EndWhenFound(*this, status);
}
