#pragma once
// The dialogs of check-in: the comment forms (plain, with an activity of the
// view's stream, with a Tracklane record), the offer to put a view-private
// file under source control and the offer to merge the latest version first.
#include <memory>
#include <string>

#include "fileops/activity_choice.h"
#include "flm.h"
#include "platform/dialog.h"

class CFileItem;
class GCL_Status;
class CTLActivitiesCombo;
class CBrowseTLEntityButton;
class CNewTLEntityButton;

// "Check In": the comment and the options. Results: IdOk, IdApplyToAll or
// IdCancel.
class CCheckinCommentDlg : public plat::Dialog {
 public:
  static constexpr int IdApplyToAll = 24594;

  explicit CCheckinCommentDlg(plat::Window* parent = nullptr);

  // Inputs, and the answer after OK or Apply to All. Texts have the edit's
  // line ends ("\r\n").
  std::string m_name;
  std::string m_comment;
  std::string m_original;  // the check-out's comment
  int m_identical = 0;
  int m_useOriginal = 0;
  int m_preserveTime = 0;
  int m_multiple = 1;
  int m_directory = 0;

 protected:
  CCheckinCommentDlg(int template_id, int use_original_id, plat::Window* parent);

  bool OnInitDialog() override;
  void DoDataExchange(plat::DataExchange& dx) override;
  bool OnCommand(int id, int code) override;
  void OnOK() override { Accept(plat::IdOk); }
  // The activity forms' last word before the dialog ends; false keeps it open.
  virtual bool AcceptChoice() { return true; }
  // The use-original box changed: the comment shows the original, read-only.
  virtual void ApplyUseOriginal();
  bool UseOriginalChecked() const;

 private:
  void Accept(int result);

  int m_useOriginalId;
  std::string m_typed;  // the comment as typed while the original is shown
};

// The activity form. The file item and status are the caller's; on opening
// it reads the name, the original activity and comment and whether the file
// is a directory from the item (a failed read closes it as Cancel).
class CCheckinActivityCommentDlg : public CCheckinCommentDlg {
 public:
  CCheckinActivityCommentDlg(CFileItem& item, GCL_Status& status, plat::Window* parent = nullptr);

  FLM_Activity m_activity;  // the answer (null for none)

 protected:
  CCheckinActivityCommentDlg(int template_id, CFileItem& item, GCL_Status& status, plat::Window* parent);
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;
  bool AcceptChoice() override;
  void ApplyUseOriginal() override;
  // Reads what the form shows from the item; false when a read failed.
  bool ReadItem();
  virtual FLM_Activity Chosen();
  virtual void ShowActivity(const FLM_Activity& activity);
  void EnableChoice(bool enable);

  CFileItem& m_item;
  GCL_Status& m_status;
  FLM_Stream m_stream;
  FLM_Activity m_originalActivity;
  bool m_records = false;  // the element's changes are recorded by an activity

 private:
  CActivityChoice m_choice;
};

// The Tracklane form: the records the stream may work on; the activity bound
// to the chosen record is the answer.
class CCheckinTLEntityCommentDlg : public CCheckinActivityCommentDlg {
 public:
  CCheckinTLEntityCommentDlg(CFileItem& item, GCL_Status& status, plat::Window* parent = nullptr);
  ~CCheckinTLEntityCommentDlg() override;

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;
  FLM_Activity Chosen() override;
  void ShowActivity(const FLM_Activity& activity) override;

 private:
  std::unique_ptr<CTLActivitiesCombo> m_recordList;
  std::unique_ptr<CBrowseTLEntityButton> m_browse;
  std::unique_ptr<CNewTLEntityButton> m_new;
};

// "Confirm Checkin" of a view-private file. Results: IdYes, IdYesToAll,
// IdNo, IdCancel.
class CConfirmAddToSrc : public plat::Dialog {
 public:
  static constexpr int IdYesToAll = 24595;
  explicit CConfirmAddToSrc(plat::Window* parent = nullptr);

  std::string m_name;  // the file's leaf name

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;
};

// "Merge Latest Changes". Results: IdYes, IdNo, IdCancel; m_graphical after
// Yes.
class CConfirmMergeDialog : public plat::Dialog {
 public:
  explicit CConfirmMergeDialog(plat::Window* parent = nullptr);

  std::string m_name;
  int m_graphical = 0;

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;
};
