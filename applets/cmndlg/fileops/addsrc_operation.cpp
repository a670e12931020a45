#include "fileops/addsrc_operation.h"

#include "cmd_resolve.h"
#include "fileops/addsrc_dlgs.h"
#include "fileops/file_item.h"
#include "fileops/progress_dlg.h"
#include "gcl_capture.h"
#include "gcl_status.h"
#include "platform/resources.h"
#include "res/resource_ids.h"
#include "rvcmndlg/user_options.h"
#include "tbs.h"

using namespace rvcmndlg::res;

CAddToSrcOperation::CAddToSrcOperation(CProgressDlg& progress, plat::ObjectArray& entries)
    : CCommonCheckoutOperation(progress, entries) {
  m_preserveTime = CUserOptions().CheckinPreserveTime();
}

void CAddToSrcOperation::SetOptions(const std::string& comment, int keep_checked_out, int preserve_time) {
  m_withOptions = 1;
  m_comment = FromEditLineEnds(comment);
  m_keepCheckedOut = keep_checked_out == 1;
  m_preserveTime = preserve_time == 1;
  m_master = false;
}

void CAddToSrcOperation::BeginRun() {
  const CUserOptions options;
  m_master = options.AddSrcMaster();
  m_prompt = !m_withOptions.load() && options.PromptForCIComment();
}

void CAddToSrcOperation::ProcessFile(GCL_Status& status, CFileItem& item) {
  GCL_Status probe;
  if (item.Element(probe)) {
    FailWithMessage(status, TBS_ST_FAILURE, plat::LoadString(IDS_ALREADY_ELEMENT));
    return;
  }
  status.reset(0);
  if (item.IsHijacked(probe)) {
    FailWithMessage(status, TBS_ST_FAILURE, plat::LoadString(IDS_ALREADY_ELEMENT) + "\r\n");
    return;
  }
  if (item.Exists(probe)) {
    AddFile(status, item);
    return;
  }
  // The lookup says why the file cannot be found.
  const std::string& name = item.DisplayName();
  cmd_resolve_result_s resolved;
  if (GCL_CapturedCall(status, [&] { return cmd_resolve_general(name.c_str(), &resolved); }) == 0)
    FailWithMessage(status, TBS_ST_NOT_FOUND, "\"" + name + "\" cannot be found.");
}

void CAddToSrcOperation::AddFile(GCL_Status& status, CFileItem& item) {
  if (!AskForComment(status, item)) return;
  m_progress.AllowShowing();
  if (IsCancelled() || !status.ok()) return;
  const std::vector<std::string>& names = RunFileNames();
  if (names.empty()) return;
  GCL_Status probe;
  const int master = item.IsReplicated(probe) && m_master ? 1 : 0;
  m_factory.Add(status, item, m_comment, m_keepCheckedOut ? 1 : 0, master, m_progress, m_preserveTime ? 1 : 0,
                names, &CCommonCheckoutOperation::ConfirmVersionCallback,
                static_cast<CCommonCheckoutOperation*>(this));
}

bool CAddToSrcOperation::AskForComment(GCL_Status& status, CFileItem& item) {
  if (IsCancelled()) return false;
  const CommentForm form = ChooseCommentForm(status, item);
  if (form == kFormRefused) return false;
  if (form == kNoCommentForm) return true;
  return ShowCommentDialog(status, item, form);
}

bool CAddToSrcOperation::ShowCommentDialog(GCL_Status& status, CFileItem& item, CommentForm form) {
  auto dialog = MakeCommentForm<CAddToSrcCommentDlg, CAddToSrcActivityCommentDlg, CAddToSrcTLEntityCommentDlg>(
      form, item, status);
  GCL_Status probe;
  const bool replicated = item.IsReplicated(probe);
  dialog->m_keepCheckedOut = m_keepCheckedOut;
  dialog->m_master = replicated && m_master;
  const int answer = RunCommentForm(*dialog, item);
  if (answer == plat::IdCancel) return false;
  if (answer != plat::IdOk && answer != CCheckoutCommentDlg::IdApplyToAll) return true;
  m_keepCheckedOut = dialog->m_keepCheckedOut != 0;
  if (replicated && form == kPlainForm) m_master = dialog->m_master != 0;
  return true;
}

void CAddToSrcOperation::EndRun() {
  GCL_Status finished;
  m_factory.Finish(finished);
  SendMastershipRequests();
  ReportAndAsk(finished, nullptr, 0);
}

bool CAddToSrcOperation::ContinueAfterError(GCL_Status& status, CFileItem& item) {
  if (!CUserOptions().SuppressErrors()) ReportAndAsk(status, &item, IDS_ERROR_ADDSRC);
  return true;
}
