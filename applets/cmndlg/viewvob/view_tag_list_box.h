#pragma once
// The view lists the view dialogs share: the recently used views and a list
// box of view tags that fills itself in one of eight modes.
#include <optional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "rvl_view.h"

// A text's width in a list's font, in pixels, for its horizontal extent.
int ListTextWidth(const plat::ListBox& list, const std::string& text);

// The recently used views, as the client keeps them in product parameter 20
// (tags separated by commas, most recent first). Read once, on first use.
class CMRUViewList {
 public:
  static constexpr std::size_t kMaxTags = 128;

  const std::vector<std::string>& List();
  // Case aside.
  bool Contains(const std::string& tag);
  // Forgets what was read: the next use reads again.
  void Reset();

 private:
  std::vector<std::string> tags_;
  bool loaded_ = false;
};

class CViewTagListBox : public plat::ListBox {
 public:
  enum Mode {
    AllRegion = 0,         // every dynamic view of the default region
    ActiveInRegion = 1,    // those that are started
    InactiveInRegion = 2,  // those that are stopped
    RecentInactive = 3,    // recently used views whose root is not there
    Recent = 4,            // every recently used view
    LocalInactive = 5,     // dynamic views of this host that are stopped
    Local = 6,             // every dynamic view of this host
    Snapshot = 7,          // the snapshot views registered on this host
  };
  static bool IsMode(int mode) { return mode >= AllRegion && mode <= Snapshot; }

  // Refills the list in the mode. A filter that is not empty replaces the
  // one kept (no mode uses it yet). Without a default region the region
  // modes tell the user and stay empty.
  void Fill(Mode mode, const std::string& filter = {});
  // The selected tags in list order; false when none is selected.
  bool SelectedTags(std::vector<std::string>* tags) const;
  // Selects each tag found (exact text, case aside) and scrolls the lowest
  // found to the top.
  void Preselect(const std::vector<std::string>& tags);
  bool IsRecent(const std::string& tag);

  Mode GetMode() const { return mode_; }
  const std::string& Filter() const { return filter_; }
  // The listed tags' registry entries, in list order.
  const std::vector<RVL_ViewTag>& Tags() const { return tags_; }

 private:
  // Each returns false when the list cannot be filled (no default region).
  bool FillRegion();
  void FillRecent();
  void FillSnapshot();
  void Append(const RVL_ViewTag& tag);
  bool IsThisHost(const std::string& host);

  Mode mode_ = AllRegion;
  std::string filter_;
  CMRUViewList recent_;
  std::vector<RVL_ViewTag> tags_;
  // This machine's names, read once: its host name and its computer name
  // (the host name cut to 15 characters).
  std::optional<std::pair<std::string, std::string>> names_;
  int widest_ = 0;
};
