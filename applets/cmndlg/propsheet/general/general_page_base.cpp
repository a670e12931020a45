// The fields, the description's apply and the type's sheet that the General
// pages share.
#include "propsheet/general/general_page_base.h"

#include <optional>

#include "gcl_status.h"
#include "gcl_time.h"
#include "platform/dialog.h"
#include "platform/resources.h"
#include "propsheet/property_messages.h"
#include "res/resource_ids.h"
#include "rvl_infostg.h"
#include "rvl_namedobj.h"
#include "rvl_update.h"
#include "tbs.h"

using namespace rvcmndlg::res;

CRvGeneralPageBase::CRvGeneralPageBase(int page_id, const char* help_topic, bool has_description)
    : CBasePropertyPage(page_id), m_topic(help_topic), m_has_description(has_description) {
  SetHelpTopic(help_topic);
}

void CRvGeneralPageBase::KeepObject(GCL_Status& status, const RVL_VobObject* object) {
  status.make_ok();
  if (object) {
    m_object = *object;
    return;
  }
  status.set_code(TBS_ST_WRONG_KIND);
}

void CRvGeneralPageBase::FetchNameAndKind(GCL_Status& status, const GCL_String& name) {
  if (!status.ok()) return;
  m_name = name.c_str();
  m_kind = m_object.mtype_string(status).c_str();
}

void CRvGeneralPageBase::FetchEvent(GCL_Status& status) {
  RVL_InfoStg<vob_event_info_s> event;
  m_object.creation_event(status, event);
  if (!status.ok()) return;
  const vob_event_info_s& record = event.record();
  auto text = [](const char* s) { return std::string(s ? s : ""); };
  m_created_by = text(record.user) + "." + text(record.group);
  m_created_on = GCL_Time(record.time.secs, record.time.usecs).long_date_time().c_str();
  m_description = text(record.comment);
}

void CRvGeneralPageBase::DoDataExchange(plat::DataExchange& dx) {
  plat::DdxText(dx, IDC_GEN_NAME, m_name);
  plat::DdxText(dx, IDC_GEN_KIND, m_kind);
  if (FindChild(IDC_GEN_CREATED_BY)) plat::DdxText(dx, IDC_GEN_CREATED_BY, m_created_by);
  plat::DdxText(dx, IDC_GEN_CREATED_ON, m_created_on);
  if (m_has_description) plat::DdxText(dx, IDC_GEN_DESCRIPTION, m_description);
}

bool CRvGeneralPageBase::OnSetActive() {
  SetHelpTopic(m_topic);
  return CBasePropertyPage::OnSetActive();
}

bool CRvGeneralPageBase::OnCommand(int id, int code) {
  if (m_has_description && id == IDC_GEN_DESCRIPTION && code == plat::en::Change) {  // OnChangeComment
    m_description = GetDlgItemText(IDC_GEN_DESCRIPTION);
    m_dirty |= kDescriptionChanged;
    SetModified();
    return true;
  }
  return CBasePropertyPage::OnCommand(id, code);
}

void CRvGeneralPageBase::ApplyDescription(GCL_Status& status) {
  status.make_ok();
  if (!(m_dirty & kDescriptionChanged)) return;
  RVL_VobObjectUpdate update;
  update.set_comment(GCL_String(m_description.c_str()));
  m_object.apply(status, update);
  if (status.ok()) m_dirty &= ~kDescriptionChanged;
}

bool CRvGeneralPageBase::FinishApply(const GCL_Status& status) {
  if (!status.ok()) {
    rvcmndlg::ShowStatusError(status);
    return false;
  }
  return CBasePropertyPage::OnApply();
}

bool CRvGeneralPageBase::OnApply() {
  GCL_Status status;
  {
    DiradoAccess lock;
    ApplyDescription(status);
  }
  return FinishApply(status);
}

void CRvGeneralPageBase::KeepType(GCL_Status& status, const RVL_NamedObj& type) {
  if (!status.ok()) return;
  m_type = type;
  m_type_name = type.name(status).c_str();
  m_has_type = true;
}

void CRvGeneralPageBase::OpenTypeProperties() {
  if (m_has_type) rvcmndlg::OpenRelatedSheet(m_type, m_type_name);  // else nothing read yet
}

void rvcmndlg::OpenRelatedSheet(const GCL_HandleBase& object, const std::string& name) {
  GCL_Status status;
  auto thread = CRvPropertyThread::CreateObject();
  thread->SetObject(status, object, GCL_String(name.c_str()));
  if (!status.ok()) {
    thread.reset();
    rvcmndlg::ShowCannotDisplay(name, status);
    return;
  }
  CRvPropertyThread::Start(std::move(thread));
}

bool CRvGeneralPageBase::OnContextMenu() {
  if (!m_has_type) return false;
  const std::optional<plat::Menu> menu = plat::FindMenuResource(IDR_MENU_PAGE_CONTEXT);
  if (!menu || menu->items.size() <= static_cast<std::size_t>(IDM_PAGE_MENU_TYPENAME)) return true;
  plat::Menu popup;
  popup.id = IDR_MENU_PAGE_CONTEXT;
  popup.items = menu->items[IDM_PAGE_MENU_TYPENAME].submenu;
  if (plat::TrackPopupMenu(popup, this) == ID_TYPENAME_TYPE_PROPERTIES) OpenTypeProperties();
  return true;
}

plat::LResult CRvGeneralPageBase::OnNotify(plat::NotifyHeader& header) {
  if (header.code == plat::nm::RClick && OnContextMenu()) return 0;
  return CBasePropertyPage::OnNotify(header);
}
