#pragma once
// Edit View Properties: views picked from four lists behind tabs (Local,
// Recent, All, Snapshot), each described by the describe tool on OK; and
// the describe of one view, by tag or by a pathname in it.
#include <string>
#include <vector>

#include "viewvob/view_list_dialog.h"

// Starts "stratadescribe" on the view a text names (its tag, or a pathname
// in it). False after showing string 43 with the collected messages when the
// text names no view or the tool cannot start.
bool DescribeView(const std::string& text, plat::Window* owner);

// The describe tool's command line for a view's tag or pathname.
std::string DescribeViewCommandLine(const std::string& view);

class CViewPropertiesDialog : public CViewListDialog {
 public:
  // The tags to select when the dialog first shows.
  explicit CViewPropertiesDialog(std::vector<std::string> preselect = {}, plat::Window* parent = nullptr);

 protected:
  bool Offered(std::size_t page) const override;
  std::size_t StartPage() const override;
  void OnOK() override;
};
