#pragma once
// "Select Activity": the activities of a stream (this user's, or every
// user's), optionally "<No Activity>", and a new activity made on the spot.
#include "cm/cm_dialog.h"
#include "cm/activity_list_ctrl.h"
#include "flm.h"

class CBrowseForActivityDialog : public CCmDialog {
 public:
  CBrowseForActivityDialog(const FLM_Stream& stream, const FLM_Activity& current, plat::Window* parent = nullptr);

  int m_allowNew = 1;
  int m_showNoActivity = 0;
  // After OK: the activity chosen (null for "<No Activity>").
  const FLM_Activity& Chosen() const { return chosen_; }

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;
  void OnOK() override;

 private:
  void Fill();
  bool ShowsAllUsers() const;
  void NewActivity();

  const FLM_Stream stream_;
  FLM_Activity chosen_;
  CActivityListCtrl list_;
};
