#include "fileops/uncheckout_operation.h"

#include <exception>
#include <string>

#include "cmd_uncheckout.h"
#include "fileops/confirm_undo_checkout_dlg.h"
#include "fileops/progress_dlg.h"
#include "rvcmndlg/user_options.h"
#include "gcl_capture.h"
#include "gcl_status.h"
#include "gcl_string.h"
#include "tbs.h"
#include "platform/resources.h"
#include "res/resource_ids.h"
#include "stg.h"
#include "vob.h"

using namespace rvcmndlg::res;

namespace {

void Fail(GCL_Status& status, const std::string& message) {
  status.set_code(TBS_ST_FAILURE);
  status.push_message(GCL_String(message.c_str()));
}

}  // namespace

void CUncheckoutOperation::BeginRun() {
  if (m_withOptions.load()) {
    m_confirm = false;
    return;
  }
  const CUserOptions options;
  m_confirm = options.ConfirmUncheckout();
  m_keepFile = options.UncheckoutSaveFile();
}

void CUncheckoutOperation::ProcessFile(GCL_Status& status, CFileItem& item) {
  if (item.Element(status)) {
    if (item.IsCheckedOut(status)) {
      if (status.ok()) UndoCheckout(status, item);
    } else if (status.ok() && item.IsHijacked(status)) {
      Fail(status, plat::LoadString(IDS_FILE_HIJACKED) + "\r\n");
    } else if (status.ok()) {
      Fail(status, plat::FormatPrintf(plat::LoadString(IDS_NOT_CHECKED_OUT_TO_VIEW), {item.ViewTag(status)}));
    }
    return;
  }
  // No element: a hijacked copy or a view-private file is there, or nothing
  // is, and then the lookup's failure stands, as does a lookup that failed
  // for another reason than finding nothing.
  GCL_Status probe;
  if (static_cast<int>(status.code()) != TBS_ST_NOT_FOUND || !item.Exists(probe)) return;
  status.reset(0);
  if (item.IsHijacked(status)) Fail(status, plat::LoadString(IDS_FILE_HIJACKED) + "\r\n");
}

void CUncheckoutOperation::UndoCheckout(GCL_Status& status, CFileItem& item) {
  if (IsCancelled()) return;
  bool keep = m_keepFile;
  if (m_confirm) {
    m_progress.Pause();
    CConfirmUndoCheckoutDlg dialog(&m_progress);
    dialog.m_keep = keep;
    GCL_Status probe;
    dialog.m_keepAllowed = item.Exists(probe) && !item.IsDirectory(probe);
    dialog.m_name = item.DisplayName();
    dialog.m_multiple = IsMultiple();
    const int answer = dialog.DoModal();
    m_progress.Resume();
    if (answer == plat::IdCancel || answer == -1) {  // No to All
      m_cancelled = 1;
      return;
    }
    if (answer == plat::IdNo) {
      m_skipCurrent = 1;
      return;
    }
    m_confirm = answer == plat::IdYes;
    keep = dialog.m_keep != 0;
    m_keepFile = keep;
  }
  m_progress.AllowShowing();
  if (IsCancelled()) return;
  status.reset(0);
  RunUndoCommand(status, item, keep);
}

void CUncheckoutOperation::RunUndoCommand(GCL_Status& status, const CFileItem& item, bool keep) {
  GCL_CaptureScope capture(status);
  status.set_code(TBS_ST_FAILURE);
  const stg_area_t area = stg_create_area(1000);
  if (area != STG_NULL_AREA) {
    int result = TBS_ST_FAILURE;
    try {
      cmd_uncheckout_args_s args;
      args.version = 2;
      args.area = area;
      auto** names = static_cast<const char**>(stg_alloc(area, 32 * sizeof(const char*)));
      if (names) {
        names[0] = stg_strdup(area, item.DisplayName().c_str());
        args.pnames = names;
        args.pname_count = 1;
        args.keep = keep ? 1 : 0;
        args.rm = keep ? 0 : 1;
        result = cmd_uncheckout(&args);
      }
    } catch (const std::exception& e) {
      // The command's exception is this file's failure, with its text.
      status.push_message(GCL_String((std::string(e.what()) + "\n").c_str()));
      result = TBS_ST_FAILURE;
    }
    stg_delete_area(area);
    if (result == 0)
      status.reset(0);  // a successful undo says nothing
    else
      status.set_code(static_cast<std::uint32_t>(result));
  }
}

bool CUncheckoutOperation::ContinueAfterError(GCL_Status& status, CFileItem& item) {
  if (!CUserOptions().SuppressErrors()) ReportAndAsk(status, &item, IDS_ERROR_UNCHECKOUT);
  return true;
}

void CReserveOperation::ProcessFile(GCL_Status& status, CFileItem& item) {
  if (!item.IsCheckedOut(status) || !status.ok()) return;
  const vob_dbid_t version = item.Version(status);
  if (!version || !status.ok()) return;
  GCL_CapturedCall(status, [&] {
    return m_reserve ? vob_branch_reserve(item.Vob(), version) : vob_branch_unreserve(item.Vob(), version);
  });
}

bool CReserveOperation::ContinueAfterError(GCL_Status& status, CFileItem& item) {
  return ReportAndAsk(status, &item, IDS_ERROR_RESERVE);
}
