#pragma once
// The list of activities that the activity dialogs share: headline and
// owner per row, an optional "<No Activity>" row, a context menu and the
// selected activity's properties. It owns a copy of each listed activity;
// each row's data points to its copy ("<No Activity>": a null activity).
#include "cm/activity_rows.h"

class CActivityListCtrl : public CActivityRows {
 public:
  void SetupColumns();
  // Lists the activity unless its mastership cannot be read: false then. The
  // owner column stays empty when the owner cannot be read.
  bool AddActivity(const FLM_Activity& activity);
  void AddNoActivity();
  // Selects the first row holding the activity (a null activity: the
  // "<No Activity>" row); false when none does.
  bool SelectActivity(const FLM_Activity& activity);
  // The selected row's activity: false when no row is selected; a null
  // activity for "<No Activity>".
  bool GetSelectedActivity(FLM_Activity* activity) const;
  // The selected activity's properties: nothing without a selection, a note
  // for "<No Activity>", else the describe tool.
  void ShowProperties();

 protected:
  bool OnContextMenu() override;
};
