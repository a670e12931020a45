#include "fileops/common_operation.h"

#include "rvcmndlg/file_operation_list.h"
#include "fileops/progress_dlg.h"
#include "gcl_capture.h"
#include "gcl_status.h"
#include "gcl_string.h"
#include "tbs.h"

#include <exception>
#include "imsg.h"
#include "platform/dialog.h"
#include "platform/object.h"
#include "platform/resources.h"
#include "platform/sync.h"
#include "res/library_resources.h"
#include "vob_utl_series.h"

CCommonOperation::CCommonOperation(CProgressDlg& progress, plat::ObjectArray& entries)
    : m_progress(progress), m_entries(entries) {
  m_savedPrefix = imsg_suppress_prefix(1);
}

CCommonOperation::~CCommonOperation() {
  Join();
  imsg_suppress_prefix(m_savedPrefix);
}

void CCommonOperation::Start() {
  m_worker = std::make_unique<plat::WorkerThread>([this] {
    Run();
    return 0;
  });
}

void CCommonOperation::Join() {
  if (m_worker) m_worker->Join();
}

// The Cancel of the progress window counts as much as the operation's own
// flag, wherever it was pressed.
bool CCommonOperation::IsCancelled() const { return m_progress.IsCancelled() || m_cancelled.load() != 0; }

void CCommonOperation::ShowFileOnProgress(const CFileItem& item) {
  m_skipCurrent = 0;
  m_progress.SetLine1(item.DisplayName());
  m_progress.SetLine2(std::string());
}

COperationObj* CCommonOperation::EntryAt(int index) const {
  if (index < 0 || index >= m_entries.GetSize()) return nullptr;
  return dynamic_cast<COperationObj*>(m_entries.GetAt(index));
}

bool CCommonOperation::IsMultiple() const { return m_entries.GetSize() > 1; }

bool CCommonOperation::ContinueAfterError(GCL_Status&, CFileItem&) { return true; }

void CCommonOperation::RecordOutcome(COperationObj& entry, const GCL_Status& status) {
  int outcome = status.ok() ? COperationObj::kSucceeded : COperationObj::kFailed;
  // A file skipped by the user, or met by a cancel, never counts as done.
  if (m_skipCurrent.load() || IsCancelled())
    outcome = COperationObj::kNotProcessed;
  else if (status.ok())
    ++m_successCount;
  entry.SetStatus(outcome);
  entry.SetMessages(status.message_count() ? std::string(status.messages().c_str()) : std::string());
}

// No exception leaves the worker: it becomes the file's failure.
void CCommonOperation::ProcessFileSafely(GCL_Status& status, CFileItem& item) {
  try {
    ProcessFile(status, item);
  } catch (const std::exception& e) {
    status.set_code(TBS_ST_FAILURE);
    status.push_message(GCL_String((std::string(e.what()) + "\n").c_str()));
  } catch (...) {
    status.set_code(TBS_ST_FAILURE);
    status.push_message(GCL_String("Unexpected failure.\n"));
  }
}

void CCommonOperation::Run() {
  rvcmndlg::EntryScope resources;  // the worker's boxes and texts are the library's
  GCL_Status status;
  GCL_CaptureScope capture(status);
  const int count = m_entries.GetSize();
  m_progress.SetRange(0, count);
  BeginRun();
  int i = 0;
  for (; i < count; ++i) {
    status.reset(0);
    COperationObj* entry = EntryAt(i);
    if (!entry) continue;  // not a file entry: left alone
    CFileItem item;
    item.Init(status, *entry);
    ShowFileOnProgress(item);
    vob_utl_set_series_next_op(i == 0, i == count - 1);
    ProcessFileSafely(status, item);
    RecordOutcome(*entry, status);
    if (!status.ok() && !ContinueAfterError(status, item)) {
      ++i;
      break;
    }
    m_progress.StepIt();
    if (IsCancelled()) {
      ++i;
      break;
    }
  }
  for (; i < count; ++i)
    if (COperationObj* rest = EntryAt(i)) rest->SetStatus(COperationObj::kNotProcessed);
  EndRun();
  m_progress.StopRunning();
}

bool CCommonOperation::ReportAndAsk(GCL_Status& status, const CFileItem* item, int message_id) {
  m_progress.Pause();
  std::string text;
  if (message_id && item)
    text = plat::FormatMessage(plat::LoadString(message_id), {item->DisplayName()}) + "\r\n";
  const std::string collected = status.messages().c_str();
  bool go_on = true;
  if (!collected.empty() || !status.ok()) {
    text += collected;
    text.resize(std::char_traits<char>::length(imsg_strip_style_chars(text.data())));
    const std::uint32_t icon = status.ok() ? plat::mb::IconInformation : plat::mb::IconError;
    go_on = plat::MessageBox(&m_progress, text, plat::AppName(), plat::mb::OkCancel | icon) == plat::IdOk;
  }
  m_progress.Resume();
  return go_on;
}

const std::vector<std::string>& CCommonOperation::RunFileNames() {
  if (m_runFileNamesCollected) return m_runFileNames;
  m_runFileNamesCollected = true;
  GCL_Status status;
  for (int i = 0; i < m_entries.GetSize(); ++i) {
    COperationObj* entry = EntryAt(i);
    if (!entry) continue;
    CFileItem item;
    item.Init(status, *entry);
    if (status.ok()) m_runFileNames.push_back(item.DisplayName());
  }
  return m_runFileNames;
}
