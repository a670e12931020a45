#pragma once
// Undoing the check-out of each file, after an optional confirmation, and
// changing the reserved state of each file's check-out.
#include "fileops/common_operation.h"

class CUncheckoutOperation : public CCommonOperation {
 public:
  using CCommonOperation::CCommonOperation;
  // A with-options run: no confirmation, and the caller's keep-file choice.
  void SetOptions(int keep_file) {
    m_withOptions = 1;
    m_keepFile = keep_file == 1;
  }

 protected:
  void BeginRun() override;
  void ProcessFile(GCL_Status& status, CFileItem& item) override;
  bool ContinueAfterError(GCL_Status& status, CFileItem& item) override;

 private:
  void UndoCheckout(GCL_Status& status, CFileItem& item);
  void RunUndoCommand(GCL_Status& status, const CFileItem& item, bool keep);

  bool m_confirm = false;
  bool m_keepFile = false;
};

class CReserveOperation : public CCommonOperation {
 public:
  // Any flag but 0 reserves, so the progress title and the work agree.
  CReserveOperation(CProgressDlg& progress, plat::ObjectArray& entries, int reserve)
      : CCommonOperation(progress, entries), m_reserve(reserve != 0) {}

 protected:
  void ProcessFile(GCL_Status& status, CFileItem& item) override;
  bool ContinueAfterError(GCL_Status& status, CFileItem& item) override;

 private:
  const bool m_reserve;
};
