#pragma once
// "Contributing Activities": the activities a deliver or rebase brought.
// An activity that is no finished integration activity, or whose
// contributors cannot be read, is said so and the dialog ends.
#include "cm/cm_dialog.h"
#include "cm/activity_list_ctrl.h"
#include "flm.h"

class CActContribs : public CCmDialog {
 public:
  CActContribs(const FLM_Activity& activity, plat::Window* parent = nullptr);

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;

 private:
  // Why the list cannot be shown (a box said so); false when it can.
  bool Refused();
  bool FillList();

  const FLM_Activity activity_;
  CActivityListCtrl list_;
};

// Runs the dialog: IdOk when the user closed it with OK.
int RunActContribs(const FLM_Activity& activity, plat::Window* parent);
