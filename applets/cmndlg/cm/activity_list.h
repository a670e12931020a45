#pragma once
// The plain activity list of the deliver and rebase pages and the activity
// page: headline and owner per row, and a "&Properties" button of the
// hosting dialog that is enabled exactly while a row is selected.
#include "cm/activity_rows.h"

class CActivityList : public CActivityRows {
 public:
  // The hosting dialog's "&Properties" button (may be null).
  void SetPropertiesButton(plat::Window* button) { properties_ = button; }
  void SetupColumns();
  // Lists the activity when both its headline and its owner's login name can
  // be read; false (nothing listed) otherwise.
  bool AddActivity(const FLM_Activity& activity);
  void DeleteAll() override;
  // The hosting dialog passes on its notifications from the list: a changed
  // selection enables or disables "&Properties". True when it was the list's.
  bool OnParentNotify(const plat::NotifyHeader& header);
  // The properties of the (first) selected activity; nothing without one.
  void ShowProperties();

 protected:
  void OnSetFocus() override;
  bool OnDoubleClick() override;

 private:
  void EnableProperties(bool enable);

  plat::Window* properties_ = nullptr;
};
