#pragma once
// The progress window of a file operation. It lives on the caller's thread;
// the operation's worker drives it only through the posting operations below.
// It shows only when the operation runs longer than about a second and is
// not waiting for the user, and keeps the caller's window disabled meanwhile.
#include <atomic>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/dialog.h"

class CProgressDlg : public plat::Dialog {
 public:
  // The bar's kept changes and the window's messages, counted from the first
  // user message.
  enum : std::uint32_t {
    kSetRange = plat::msg::User + 1,
    kSetStep,
    kSetPos,
    kDeltaPos,
    kStepIt,
    kPause,
    kResume,
    kStartShowing,
    kStopShowing,
    // Brings the controls up to what the worker set while nobody saw them.
    kApplyPending,
  };
  static constexpr std::uintptr_t kShowTimer = 1;
  static constexpr int kShowIntervalMs = 1000;

  CProgressDlg(int title_id, int animation_id, int show_progress);
  ~CProgressDlg() override;

  // Disables the parent's top-level owner and creates the hidden window; on
  // failure the owner is enabled again and false comes back.
  bool Create(plat::Window* parent);

  // Worker side: nothing is posted unless progress is shown. While the window
  // is hidden, the lines and the bar's changes are only kept (the latest
  // lines, the bar's changes in order) and the window takes them up when it
  // shows or the run ends, so a fast run never wakes the caller's thread per
  // file. Once it is visible every change is posted, each text as its own
  // copy, so a fast worker never overwrites a line nobody has seen.
  void SetLine1(const std::string& text);
  void SetLine2(const std::string& text);
  void SetRange(int low, int high);
  void SetStep(int step);
  void SetPos(int pos);
  void DeltaPos(int delta);
  void StepIt();
  void Pause();
  void Resume();
  // Allows the window to show (at the next tick of its timer), or hides it.
  // Only a change is posted: a run allows showing again before each file.
  void AllowShowing(bool allow = true);
  bool IsCancelled() const { return cancelled_.load(); }
  // Ends the caller's loop: running off, then an empty message to wake it.
  void StopRunning();
  bool IsRunning() const { return running_.load(); }

  // Caller side: pumps this thread's messages while running is set; the
  // draining form handles only what is already queued.
  void RunModalLoop();
  void DrainModalLoop();

  std::string Line1() const;
  std::string Line2() const;

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;
  void OnOK() override {}
  void OnCancel() override;
  void OnTimer(std::uintptr_t id) override;
  void OnDestroy() override;
  bool OnMessage(std::uint32_t message, plat::WParam wparam, plat::LParam lparam, const std::string* text,
                 plat::LResult& result) override;

 private:
  // One change of the bar kept while the window is hidden; consecutive steps
  // and same-signed deltas are merged.
  struct BarChange {
    std::uint32_t message;
    int a;
    int b;
  };
  static constexpr std::size_t kMaxKeptBarChanges = 64;

  void Post(std::uint32_t message);
  // Keeps the bar's change; a visible window is handed it at its next turn.
  void ChangeBar(std::uint32_t message, int a, int b = 0);
  void KeepBarChangeLocked(const BarChange& change);
  void SetLine(int item, const std::string& text);
  void PostApplyLocked();  // one hand-over message at a time
  void ApplyBar(std::uint32_t message, int a, int b);
  // Caller's thread: what was kept goes into the controls.
  struct HandOver {
    std::vector<std::pair<int, std::string>> lines;
    std::vector<BarChange> bar;
  };
  HandOver TakeHandOverLocked();
  void Apply(const HandOver& taken);
  void EnableOwner();

  const int title_id_;
  const int animation_id_;
  const bool show_progress_;
  int range_low_ = 0;
  int range_high_ = 100;
  int step_ = 1;
  // Flags the worker and the caller's thread share.
  std::atomic<bool> cancelled_{false};
  std::atomic<bool> running_{true};
  std::atomic<bool> started_{false};
  std::atomic<bool> paused_{false};
  std::atomic<bool> show_pending_{false};
  std::atomic<bool> owner_disabled_{false};
  // What AllowShowing last posted: nothing yet, start or stop showing.
  std::atomic<std::uint32_t> showing_posted_{0};
  plat::Window* owner_ = nullptr;
  plat::Hwnd owner_hwnd_ = plat::Hwnd::Null;
  // The hand-over between the worker and the window.
  mutable std::mutex pending_mutex_;
  std::string line1_, line2_;
  bool line1_pending_ = false;
  bool line2_pending_ = false;
  std::vector<std::pair<int, std::string>> lines_shown_;  // visible: every new line, for the next turn
  std::vector<BarChange> bar_pending_;
  bool apply_posted_ = false;
  bool visible_ = false;  // as the hand-over sees it: every change is handed over at once
};
