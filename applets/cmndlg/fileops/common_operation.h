#pragma once
// The base of every file operation: the per-file loop that runs on a worker
// thread, how each file's outcome is recorded, and the error box.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "fileops/file_item.h"

class CProgressDlg;
class COperationObj;
class GCL_Status;
namespace plat {
class ObjectArray;
class WorkerThread;
}  // namespace plat

class CCommonOperation {
 public:
  // Switches the client's message prefixes off for the operation's life.
  CCommonOperation(CProgressDlg& progress, plat::ObjectArray& entries);
  virtual ~CCommonOperation();
  CCommonOperation(const CCommonOperation&) = delete;
  CCommonOperation& operator=(const CCommonOperation&) = delete;

  // Starts the worker thread that runs the loop.
  void Start();
  // Waits for the worker (the entry functions' loop has ended by then).
  void Join();
  // The per-file loop; runs on the worker.
  void Run();

  bool IsCancelled() const;
  void ShowFileOnProgress(const CFileItem& item);
  // The error box after a failed file; true to go on.
  bool ReportAndAsk(GCL_Status& status, const CFileItem* item, int message_id);
  // The element at an index when it is a file entry, else nothing.
  COperationObj* EntryAt(int index) const;
  bool IsMultiple() const;
  // The display names of the run's file entries that resolve, collected at
  // the first call and kept for the rest of the run.
  const std::vector<std::string>& RunFileNames();
  int SuccessCount() const { return m_successCount.load(); }

 protected:
  virtual void BeginRun() {}
  virtual void ProcessFile(GCL_Status& status, CFileItem& item) = 0;
  virtual void EndRun() {}
  virtual bool ContinueAfterError(GCL_Status& status, CFileItem& item);

  // Flags the worker's prompts and the caller's thread share.
  std::atomic<int> m_withOptions{0};
  std::atomic<int> m_cancelled{0};
  std::atomic<int> m_skipCurrent{0};
  CProgressDlg& m_progress;
  plat::ObjectArray& m_entries;

 private:
  void RecordOutcome(COperationObj& entry, const GCL_Status& status);
  void ProcessFileSafely(GCL_Status& status, CFileItem& item);

  std::atomic<int> m_successCount{0};
  int m_savedPrefix = 0;
  std::vector<std::string> m_runFileNames;
  bool m_runFileNamesCollected = false;
  std::unique_ptr<plat::WorkerThread> m_worker;
};
