#pragma once
// Edit View Properties: views picked from four lists behind tabs (Local,
// Recent, All, Snapshot), each described by the describe tool on OK; and
// the describe of one view, by tag or by a pathname in it.
#include <array>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "viewvob/view_tag_list_box.h"

// Starts "stratadescribe" on the view a text names (its tag, or a pathname
// in it). False after showing string 43 with the collected messages when the
// text names no view or the tool cannot start.
bool DescribeView(const std::string& text, plat::Window* owner);

// The describe tool's command line for a view's tag or pathname.
std::string DescribeViewCommandLine(const std::string& view);

class CViewPropertiesDialog : public plat::Dialog {
 public:
  // The tags to select when the dialog first shows.
  explicit CViewPropertiesDialog(std::vector<std::string> preselect = {}, plat::Window* parent = nullptr);

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;
  plat::LResult OnNotify(plat::NotifyHeader& header) override;
  bool OnMessage(std::uint32_t message, plat::WParam wparam, plat::LParam lparam, const std::string* text,
                 plat::LResult& result) override;
  void OnOK() override;
  void OnHelp() override;

 private:
  struct Page {
    Page(int title_id, int list_id, CViewTagListBox::Mode list_mode)
        : title(title_id), list(list_id), mode(list_mode) {}
    int title;  // string id
    int list;   // control id
    CViewTagListBox::Mode mode;
    int tab = -1;  // its tab's index; -1 when not inserted
    bool filled = false;
    CViewTagListBox box;
  };
  static constexpr std::size_t kSnapshot = 3;

  Page* CurrentPage();
  void ShowPage(Page& page);
  void UpdateControls();

  std::vector<std::string> preselect_;
  std::array<Page, 4> pages_;
};
