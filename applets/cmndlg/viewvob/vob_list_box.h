#pragma once
// The list of VOB tags of the mount and unmount dialogs: the tags of a
// region, all of them or only those mounted or not mounted on this host.
#include <memory>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "rvl_vobtag.h"

class CVobListBox : public plat::ListBox {
 public:
  enum Mode {
    Mounted = 1,    // mounted on this host
    Unmounted = 2,  // not mounted on this host
    All = 3,
  };
  // The lines the list shows at once.
  static constexpr int kVisibleLines = 8;

  // Refills the list from the region's tags (empty: the machine's default
  // region). A registry that cannot list them leaves the list empty and
  // says nothing. The filter is kept for callers; no mode uses it yet.
  void Fill(Mode mode, const std::string& region = {}, const std::string& filter = {});
  // The selected VOBs in list order; false when none is selected.
  bool GetSelection(std::vector<RVL_VobTag>* tags) const;
  // Selects each tag found (with or without its leading separator, case
  // aside) and scrolls the lowest found to the top.
  void Preselect(const std::vector<std::string>& tags);
  // The VOB of the caret item; false when the list is empty.
  bool CurrentItem(RVL_VobTag* tag) const;
  // After a selection change: one line down when the caret item lies below
  // the lines shown.
  void KeepCaretVisible();

  Mode GetMode() const { return mode_; }
  const std::string& Region() const { return region_; }
  const std::string& Filter() const { return filter_; }

  // A tag as the list shows it: without one leading '\' or '/'.
  static std::string DisplayText(const std::string& tag);

 private:
  const RVL_VobTag* Handle(int index) const;

  Mode mode_ = All;
  std::string region_;
  std::string filter_;
  // One per entry; each entry's item data points to its own.
  std::vector<std::unique_ptr<RVL_VobTag>> handles_;
};
