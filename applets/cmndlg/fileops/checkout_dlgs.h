#pragma once
// The dialogs of check-out: the comment forms (plain, with an activity of the
// view's stream, with a Tracklane record), the question whether a hijacked
// file becomes the check-out, and the choice among candidate versions.
#include <cstdint>
#include <memory>
#include <string>

#include "cmd_checkout.h"
#include "fileops/activity_choice.h"
#include "flm.h"
#include "platform/dialog.h"

class CFileItem;
class GCL_Status;
class CTLActivitiesCombo;
class CBrowseTLEntityButton;
class CNewTLEntityButton;

// "Check Out": the comment and the options. Results: IdOk, IdApplyToAll or
// IdCancel. The add-to-source forms are this family over their own
// templates: each form exchanges the options its template has.
class CCheckoutCommentDlg : public plat::Dialog {
 public:
  static constexpr int IdApplyToAll = 24594;

  explicit CCheckoutCommentDlg(plat::Window* parent = nullptr) : CCheckoutCommentDlg(kTemplate, parent) {}

  // Inputs, and the answer after OK or Apply to All.
  std::string m_name;
  std::string m_comment;  // line ends as the edit shows them ("\r\n")
  int m_reserved = 0;
  int m_unreserved = 0;
  int m_nonmastered = 0;
  int m_preserveTime = 0;
  int m_multiple = 0;
  int m_replicated = 0;
  // The add-to-source forms' options.
  int m_keepCheckedOut = 0;
  int m_master = 0;

 protected:
  static constexpr int kTemplate = 24325;
  const char* m_help = "rvint_exp/checkoutcomment.htm";
  CCheckoutCommentDlg(int template_id, plat::Window* parent);

  bool OnInitDialog() override;
  void DoDataExchange(plat::DataExchange& dx) override;
  bool OnCommand(int id, int code) override;
  void OnOK() override { Accept(plat::IdOk); }
  // The activity forms' last word before the dialog ends; false keeps it open.
  virtual bool AcceptChoice() { return true; }

 private:
  void Accept(int result);
  void ApplyReservedRule();
};

// The activity form: the view's stream's activities, New... and Browse...
// The file item and status are the caller's.
class CCheckoutActivityCommentDlg : public CCheckoutCommentDlg {
 public:
  CCheckoutActivityCommentDlg(CFileItem& item, GCL_Status& status, plat::Window* parent = nullptr);

 protected:
  CCheckoutActivityCommentDlg(int template_id, CFileItem& item, GCL_Status& status, plat::Window* parent);
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;
  bool AcceptChoice() override;
  // The activity chosen (null for none).
  virtual FLM_Activity Chosen();
  // Makes the activity the view's current one; false (after the status box)
  // when the view refuses it.
  bool MakeCurrent(const FLM_Activity& activity);
  // Whether OK needs an activity chosen: when the file's changes are
  // recorded by one, or always (the add-to-source forms: a new element).
  bool ActivityNeeded();

  bool m_activityAlwaysNeeded = false;

  CFileItem& m_item;
  GCL_Status& m_status;
  FLM_Stream m_stream;

 private:
  void Fill(const FLM_Activity& select);

  CActivityChoice m_choice;
};

// The Tracklane form: the records the stream may work on instead of its
// activities; OK makes the activity bound to the chosen record current.
class CCheckoutTLEntityCommentDlg : public CCheckoutActivityCommentDlg {
 public:
  CCheckoutTLEntityCommentDlg(CFileItem& item, GCL_Status& status, plat::Window* parent = nullptr);
  ~CCheckoutTLEntityCommentDlg() override;

 protected:
  CCheckoutTLEntityCommentDlg(int template_id, CFileItem& item, GCL_Status& status, plat::Window* parent);
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;
  FLM_Activity Chosen() override;

 private:
  std::unique_ptr<CTLActivitiesCombo> m_records;
  std::unique_ptr<CBrowseTLEntityButton> m_browse;
  std::unique_ptr<CNewTLEntityButton> m_new;
};

// "Convert Hijack to Checkout". Results: IdYes, IdYesToAll, IdNo, IdCancel.
class CConfirmUsePrivate : public plat::Dialog {
 public:
  static constexpr int IdYesToAll = 24595;
  explicit CConfirmUsePrivate(plat::Window* parent = nullptr);

  std::string m_name;
  int m_multiple = 0;
  int m_hijackMerge = 0;  // an eligible candidate needs the file merged in

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;
};

// "Confirm Version to Check Out": the first two candidates side by side.
// Results: IdYes, IdNo, IdCancel.
class CConfirmCheckoutVersion : public plat::Dialog {
 public:
  explicit CConfirmCheckoutVersion(plat::Window* parent = nullptr);

  std::string m_name;
  const cmd_checkout_candidate_s* m_candidates = nullptr;
  std::uint32_t m_count = 0;
  int m_mastershipAllowed = 0;
  // The answer: the panel chosen (0 current, 1 latest, -1 none) and the
  // mastership box.
  int m_selected = -1;
  int m_requestMastership = 0;

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;

 private:
  void ShowPanel(std::uint32_t index, int name, int creator, int created, int notes);
  void OnSelectionChanged();
  int Selected() const;
};

// A candidate may be checked out.
inline bool IsEligible(const cmd_checkout_candidate_s& c) { return c.branch_exists == 0 && c.not_allowed == 0; }
