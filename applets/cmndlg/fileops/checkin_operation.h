#pragma once
// Checking in each file: the comment (plain, activity or Tracklane form), a
// merge of the branch's latest version when one is missing, the move to
// another activity, and for a view-private file the offer to put it under
// source control first.
#include <string>

#include "fileops/addsrc_factory.h"
#include "fileops/checkout_operation.h"
#include "flm.h"

class CCheckinOperation : public CCommonCheckoutOperation {
 public:
  using CCommonCheckoutOperation::CCommonCheckoutOperation;
  // The entry's values (each flag counts when 1).
  void SetOptions(const std::string& comment, int identical, int prompt, int use_checkout_info, int preserve_time);

  // Merges the contributor (a version's extended name) into the target: a
  // text merge first, graphical once more after a failure other than an
  // interruption; the status takes the outcome.
  static void Merge(GCL_Status& status, const std::string& contributor, const std::string& target, bool graphical);

 protected:
  void BeginRun() override;
  void ProcessFile(GCL_Status& status, CFileItem& item) override;
  void EndRun() override;
  bool ContinueAfterError(GCL_Status& status, CFileItem& item) override;

 private:
  void CheckInCheckedOut(GCL_Status& status, CFileItem& item);
  // A view-private file: the offer to add it, then the factory.
  void OfferToAdd(GCL_Status& status, CFileItem& item);
  void AddAndCheckIn(GCL_Status& status, CFileItem& item);
  bool MergeLatest(GCL_Status& status, CFileItem& item);
  bool AskForComment(GCL_Status& status, CFileItem& item);
  bool ShowCommentDialog(GCL_Status& status, CFileItem& item, bool tracker);
  bool ShowPlainCommentDialog(GCL_Status& status, CFileItem& item);
  bool MoveToChosenActivity(GCL_Status& status, CFileItem& item, const FLM_Activity& original);
  void RunCheckin(GCL_Status& status, CFileItem& item, const std::string& comment);

  CAddToSrcFactory m_factory;
  FLM_Activity m_activity;  // chosen in an activity form (null: none)
  bool m_confirmAdd = true;
  bool m_finishNeeded = true;
  bool m_identical = false;
  bool m_useCheckoutInfo = false;
  bool m_useOriginalActivity = true;
  bool m_keepCheckedOut = false;
  bool m_master = false;
};
