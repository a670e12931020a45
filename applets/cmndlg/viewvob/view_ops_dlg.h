#pragma once
// Start View, Stop View and Remove View: dynamic views started (one of them
// on a drive, maybe again at every logon) or stopped, and views of any kind
// removed, each picked from the view lists.
#include <string>
#include <vector>

#include "viewvob/view_list_dialog.h"

namespace plat {
class ComboBox;
}

// What became of one view: its name, 0 succeeded, 1 failed or 2 not
// processed, and the messages it printed.
struct ViewOutcome {
  enum Result { kSucceeded = 0, kFailed = 1, kNotProcessed = 2 };
  std::string name;
  int result = kNotProcessed;
  std::string messages;
};
using ViewOutcomes = std::vector<ViewOutcome>;

// The client's messages print without their program prefix while a view
// dialog is open; the setting found comes back after.
class PrefixSuppression {
 public:
  PrefixSuppression();
  ~PrefixSuppression();
  PrefixSuppression(const PrefixSuppression&) = delete;
  PrefixSuppression& operator=(const PrefixSuppression&) = delete;

 private:
  int previous_;
};

class CStartViewDialog : public CViewListDialog {
 public:
  explicit CStartViewDialog(std::vector<std::string> preselect = {}, plat::Window* parent = nullptr,
                            ViewOutcomes* outcomes = nullptr);

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;
  void OnOK() override;
  std::size_t StartPage() const override;
  void UpdateControls() override;

 private:
  void FillDrives(plat::ComboBox& drives);
  // The drive chosen for the only view picked: true when it was assigned.
  bool AssignDrive(const std::string& tag);

  PrefixSuppression prefix_;
  ViewOutcomes* outcomes_;
  bool restart_enabled_ = true;  // so that the first disabling clears the box
};

class CStopViewDialog : public CViewListDialog {
 public:
  explicit CStopViewDialog(std::vector<std::string> preselect = {}, plat::Window* parent = nullptr,
                           ViewOutcomes* outcomes = nullptr);

 protected:
  void OnOK() override;
  std::size_t StartPage() const override { return 0; }

 private:
  PrefixSuppression prefix_;
  ViewOutcomes* outcomes_;
};

class CRemoveViewDialog : public CViewListDialog {
 public:
  explicit CRemoveViewDialog(std::vector<std::string> preselect = {}, plat::Window* parent = nullptr,
                             ViewOutcomes* outcomes = nullptr);

 protected:
  bool Offered(std::size_t page) const override;
  std::size_t StartPage() const override { return StoredViewPage(); }
  void OnOK() override;

 private:
  PrefixSuppression prefix_;
  ViewOutcomes* outcomes_;
};

// Asks before removing each entry (a view tag or a view's root pathname) and
// removes the ones confirmed, each failure in its box.
void RemoveViews(const std::vector<std::string>& entries, plat::Window* parent, ViewOutcomes* outcomes);

// The entries' forms for rvdlg, filling outcomes (which may be null).
int StartViewOp(const std::vector<std::string>& tags, plat::Window* parent, ViewOutcomes* outcomes);
int StopViewOp(const std::vector<std::string>& tags, plat::Window* parent, ViewOutcomes* outcomes);
int RemoveViewOp(const std::vector<std::string>& items, int dialog, plat::Window* parent, ViewOutcomes* outcomes);
