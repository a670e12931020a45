#include "fileops/imsg_callback.h"

#include "fileops/common_status.h"
#include "fileops/imsg_progress_dlg.h"

CIMsgCallBack::~CIMsgCallBack() { Uninstall(); }

void CIMsgCallBack::Install() {
  if (m_installed.load()) return;
  imsg_get_redirect_procs(&m_saved);
  imsg_redirect_procs_t mine;
  for (auto& proc : mine.procs) proc = &CIMsgCallBack::Dispatch;
  mine.context = this;
  imsg_set_redirect_procs(&mine);
  m_installed = true;
}

void CIMsgCallBack::Uninstall() {
  if (!m_installed.exchange(false)) return;
  imsg_set_redirect_procs(&m_saved);
}

void CIMsgCallBack::Dispatch(void* context, int kind, const char* text) {
  auto* self = static_cast<CIMsgCallBack*>(context);
  switch (kind) {
    case IMSG_NOTICE: self->OnNotice(text); break;
    case IMSG_NOTICE_CONT: self->OnNoticeCont(text); break;
    case IMSG_VERBOSE: self->OnVerbose(text); break;
    case IMSG_TRACE: self->OnTrace(text); break;
    case IMSG_WARNING: self->OnWarning(text); break;
    case IMSG_WARNING_CONT: self->OnWarningCont(text); break;
    case IMSG_ERROR: self->OnError(text); break;
    case IMSG_ERROR_CONT: self->OnErrorCont(text); break;
    case IMSG_DEBUG: self->OnDebug(text); break;
    case IMSG_OUTPUT: self->OnOutput(text); break;
    case IMSG_INTERNAL_ERROR: self->OnInternalError(text); break;
    default: break;
  }
}

bool CIMsgProgressCallBack::Seen(int kind) const {
  return kind >= 0 && kind < IMSG_KIND_COUNT && m_seen[static_cast<std::size_t>(kind)].load();
}

std::string CIMsgProgressCallBack::Text() const {
  std::lock_guard lock(m_mutex);
  return m_text;
}

void CIMsgProgressCallBack::Show(int kind, const char* text) {
  if (!IsInstalled()) return;
  m_seen[static_cast<std::size_t>(kind)] = true;
  const std::string plain = StripStyle(text ? text : "");
  if (CIMsgProgressDlg* dialog = m_dialog.load()) dialog->SetLine2(plain);
  std::lock_guard lock(m_mutex);
  m_text += plain;
}
