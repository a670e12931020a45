#pragma once
// What both activity lists keep: a headline and an owner column, and a copy
// of each listed activity that its row's data points to.
#include <memory>
#include <string>
#include <vector>

#include "flm.h"
#include "platform/controls.h"

class CActivityRows : public plat::ListView {
 public:
  CActivityRows();
  ~CActivityRows() override;

  // Empties the list and drops the copies.
  virtual void DeleteAll();

 protected:
  void SetupColumns(int headline_string, int headline_width, int owner_string, int owner_width);
  // Appends a row holding a copy of the activity (a null activity is kept as
  // such); returns the row.
  int AddRow(const FLM_Activity& activity, std::string headline, std::string owner);
  // The activity of a row (null pointer for a row without one).
  const FLM_Activity* ActivityAt(int row) const;

 private:
  std::vector<std::unique_ptr<FLM_Activity>> activities_;  // the rows' data point here
};
