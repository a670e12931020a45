#pragma once
// The view dialogs' common part: lists of view tags behind tabs (or one list
// without them), each filled the first time its page shows, the caller's
// tags preselected, OK enabled while a view is picked and double-click as OK.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "viewvob/view_tag_list_box.h"

class CViewListDialog : public plat::Dialog {
 public:
  struct PageSpec {
    int title;  // string id; unused without tabs
    int list;   // control id
    CViewTagListBox::Mode mode;
  };
  static constexpr std::size_t kNoPage = static_cast<std::size_t>(-1);

 protected:
  CViewListDialog(int template_id, const std::vector<PageSpec>& pages, std::vector<std::string> preselect,
                  const char* help_topic, int help_id, plat::Window* parent);

  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;
  plat::LResult OnNotify(plat::NotifyHeader& header) override;
  bool OnMessage(std::uint32_t message, plat::WParam wparam, plat::LParam lparam, const std::string* text,
                 plat::LResult& result) override;
  void OnHelp() override;

  // Whether a page gets its tab (every one unless told otherwise).
  virtual bool Offered(std::size_t) const { return true; }
  // The page to open on; a page not offered opens the last one offered.
  virtual std::size_t StartPage() const = 0;
  // After every change of page or selection: OK is enabled while a view is picked.
  virtual void UpdateControls();

  // The page shown (kNoPage when none is).
  std::size_t CurrentIndex() const;
  // The tags picked on the page shown, in list order.
  std::vector<std::string> SelectedTags() const;

 private:
  struct Page {
    PageSpec spec;
    int tab = -1;  // its tab's index; -1 when not inserted
    bool filled = false;
    CViewTagListBox box;
  };
  void ShowPage(Page& page);

  std::vector<std::unique_ptr<Page>> pages_;
  std::vector<std::string> preselect_;
  const char* help_topic_;
  int help_id_;
};

// The four pages of Edit View Properties and Remove View: Local, Recent, All
// (dynamic views, offered with the file system) and Snapshot.
std::vector<CViewListDialog::PageSpec> ViewPages();
inline constexpr std::size_t kSnapshotPage = 3;
// Their page from the stored StartViewPage: 0 to 2 as stored, anything else Snapshot.
std::size_t StoredViewPage();
