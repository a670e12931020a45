#pragma once
// Adding view-private files and directories to source control: the comment
// (plain, activity or Tracklane form), then the factory makes each element;
// at the end the parent directories it checked out are checked back in and
// the closing box shows what the run has to say.
#include <string>
#include <vector>

#include "fileops/addsrc_factory.h"
#include "fileops/checkout_operation.h"

class CAddToSrcOperation : public CCommonCheckoutOperation {
 public:
  // Preserve time starts from the user option CheckinPreserveTime.
  CAddToSrcOperation(CProgressDlg& progress, plat::ObjectArray& entries);
  // A with-options run: the caller's values (each counts when 1) and no
  // comment prompt.
  void SetOptions(const std::string& comment, int keep_checked_out, int preserve_time);

 protected:
  void BeginRun() override;
  void ProcessFile(GCL_Status& status, CFileItem& item) override;
  void EndRun() override;
  bool ContinueAfterError(GCL_Status& status, CFileItem& item) override;
  // A new element in a stream view always goes into the view's activity.
  bool NeedsActivity(CFileItem&) override { return true; }

 private:
  void AddFile(GCL_Status& status, CFileItem& item);
  bool AskForComment(GCL_Status& status, CFileItem& item);
  bool ShowCommentDialog(GCL_Status& status, CFileItem& item, CommentForm form);

  bool m_keepCheckedOut = false;
  bool m_master = false;
  CAddToSrcFactory m_factory;
};
