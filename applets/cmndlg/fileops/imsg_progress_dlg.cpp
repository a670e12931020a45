#include "fileops/imsg_progress_dlg.h"

#include "platform/message.h"
#include "platform/resources.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"

using namespace rvcmndlg::res;

CIMsgProgressDlg::CIMsgProgressDlg(int title_id) : plat::Dialog(IDD_IMSG_PROGRESS), m_titleId(title_id) {
  rvcmndlg::EntryScope resources;
  LoadTemplate();
}

CIMsgProgressDlg::~CIMsgProgressDlg() {
  m_callback.Uninstall();
  EnableOwner();
  DestroyWindow();
}

bool CIMsgProgressDlg::Create(plat::Window* parent) {
  m_owner = parent ? parent->TopLevelOwner() : nullptr;
  m_ownerHwnd = m_owner ? m_owner->GetHwnd() : plat::Hwnd::Null;
  if (m_owner && m_owner->IsEnabled()) {
    m_owner->EnableWindow(false);
    m_ownerDisabled = true;
  }
  bool created;
  {
    rvcmndlg::EntryScope resources;
    created = plat::Dialog::Create(parent);
  }
  if (!created) {
    EnableOwner();
    return false;
  }
  m_callback.Bind(this);
  m_callback.Install();
  ShowWindow(true);
  return true;
}

bool CIMsgProgressDlg::OnInitDialog() {
  plat::Dialog::OnInitDialog();
  SetText(plat::LoadString(m_titleId));
  return true;
}

void CIMsgProgressDlg::EnableOwner() {
  if (!m_ownerDisabled.exchange(false)) return;
  if (plat::FromHandle(m_ownerHwnd) == m_owner) m_owner->EnableWindow(true);
}

void CIMsgProgressDlg::OnDestroy() {
  m_callback.Uninstall();
  EnableOwner();
}

// Each posted text is its own copy: a fast worker cannot overwrite a line
// the window has not shown yet.
void CIMsgProgressDlg::SetLine1(const std::string& text) {
  plat::PostMessage(GetHwnd(), plat::msg::User + 1, 0, 0, text);
}

void CIMsgProgressDlg::SetLine2(const std::string& text) {
  plat::PostMessage(GetHwnd(), plat::msg::User + 2, 0, 0, text);
}

bool CIMsgProgressDlg::OnMessage(std::uint32_t message, plat::WParam, plat::LParam, const std::string* text,
                                 plat::LResult& result) {
  result = 0;
  if (message == plat::msg::User + 1) {
    SetDlgItemText(IDC_PROGRESS_LINE1, text ? *text : std::string());
    return true;
  }
  if (message == plat::msg::User + 2) {
    SetDlgItemText(IDC_PROGRESS_LINE2, text ? *text : std::string());
    return true;
  }
  return false;
}

void CIMsgProgressDlg::RunModalLoop() {
  plat::Message m;
  while (m_running.load()) {
    if (!plat::GetMessage(m)) {
      plat::PostQuitMessage(static_cast<int>(m.wparam));
      break;
    }
    plat::DispatchMessage(m);
  }
}

void CIMsgProgressDlg::StopRunning() {
  m_running = false;
  plat::PostMessage(GetHwnd(), plat::msg::Null);
}
