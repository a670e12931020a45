#pragma once
// Checking out each file: the comment (plain, activity or Tracklane form),
// reserved, unreserved or nonmastered, the version to check out and what
// becomes of a hijacked file, and at the end the mastership requests the
// user asked for.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cmd_checkout.h"
#include "fileops/common_operation.h"

class CCheckoutCommentDlg;

// What the version callback needs; shared with the operations that check
// files out on their way (add to source control, check-in's add path).
class CCommonCheckoutOperation : public CCommonOperation {
 public:
  // Reads once whether this site may request mastership.
  CCommonCheckoutOperation(CProgressDlg& progress, plat::ObjectArray& entries);

  // The callback cmd_checkout is given, with the operation as its context.
  static int ConfirmVersionCallback(const char* name, std::uint32_t count, const cmd_checkout_candidate_s* candidates,
                                    int further, int hijacked, int* use_modified, void* context);
  // The index of the candidate to check out, CMD_CHECKOUT_NONE, or
  // CMD_CHECKOUT_NONMASTERED.
  int ConfirmVersion(const char* name, std::uint32_t count, const cmd_checkout_candidate_s* candidates, int hijacked,
                     int* use_modified);
  const std::vector<std::string>& MastershipRequests() const { return m_requests; }

 protected:
  // The comment form a file needs: none, a form, or refused (the status
  // then says why).
  enum CommentForm { kNoCommentForm, kPlainForm, kActivityForm, kTrackerForm, kFormRefused };
  // In a change-management view a form shows when prompting, or when the
  // file's changes need an activity and the view has none current; in
  // other views only when prompting.
  CommentForm ChooseCommentForm(GCL_Status& status, CFileItem& item);
  // Whether the file's change goes into an activity: when its element's
  // changes are recorded by one.
  virtual bool NeedsActivity(CFileItem& item);
  // The dialog of a comment form, of the operation's own classes.
  template <class Plain, class Activity, class Tracker>
  std::unique_ptr<CCheckoutCommentDlg> MakeCommentForm(CommentForm form, CFileItem& item, GCL_Status& status) {
    if (form == kTrackerForm) return std::make_unique<Tracker>(item, status, &m_progress);
    if (form == kActivityForm) return std::make_unique<Activity>(item, status, &m_progress);
    return std::make_unique<Plain>(&m_progress);
  }
  // Shows the form over the paused progress window with the comment in
  // force, preserve time and the file's facts (the caller sets its own
  // options first). OK or Apply to All take the comment and preserve time,
  // and prompting goes on only after OK; Cancel cancels the run. The answer.
  int RunCommentForm(CCheckoutCommentDlg& dialog, CFileItem& item);
  // Starts the replication add-on's tool with the requests collected.
  void SendMastershipRequests();

  bool m_preserveTime = false;
  std::string m_comment;  // "\n" line ends
  bool m_prompt = false;
  bool m_usePrivate = false;
  int m_mastershipAllowed = 0;
  std::vector<std::string> m_requests;
  bool m_reserved = false;
  bool m_unreserved = false;
  bool m_nonmastered = false;
  bool m_version = false;

 private:
  void AddMastershipRequest(const char* name, const cmd_checkout_candidate_s& first);
};

class CCheckoutOperation : public CCommonCheckoutOperation {
 public:
  using CCommonCheckoutOperation::CCommonCheckoutOperation;
  // A plain run: the entry's two flags (each counts when 1).
  void SetFlags(int version, int use_private) {
    m_version = version == 1;
    m_usePrivate = use_private == 1;
  }
  // A with-options run: the caller's values and no comment prompt.
  void SetOptions(const std::string& comment, int reserved, int unreserved, int version, int use_private,
                  int preserve_time, int nonmastered);

 protected:
  void BeginRun() override;
  void ProcessFile(GCL_Status& status, CFileItem& item) override;
  void EndRun() override { SendMastershipRequests(); }
  bool ContinueAfterError(GCL_Status& status, CFileItem& item) override;

 private:
  bool AskForComment(GCL_Status& status, CFileItem& item);
  bool ShowCommentDialog(GCL_Status& status, CFileItem& item, CommentForm form);
  void AdjustNonmastered(CFileItem& item);
  void CheckOutPathname(GCL_Status& status, const std::string& pathname, int version_flag);
};

// The file fails with the code and a message of its own.
void FailWithMessage(GCL_Status& status, std::uint32_t code, const std::string& message);

// A comment's line ends as the edit control shows them ("\r\n"), and as
// they are kept ("\n").
std::string ToEditLineEnds(const std::string& text);
std::string FromEditLineEnds(const std::string& text);

// The command line that sends mastership requests to the replication
// add-on's tool.
std::string MastershipCommandLine(const std::vector<std::string>& requests);
