#include "fileops/progress_dlg.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/controls.h"
#include "platform/message.h"
#include "platform/resources.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"

using namespace rvcmndlg::res;

CProgressDlg::CProgressDlg(int title_id, int animation_id, int show_progress)
    : plat::Dialog(IDD_PROGRESS), title_id_(title_id), animation_id_(animation_id),
      show_progress_(show_progress != 0) {
  rvcmndlg::EntryScope resources;
  LoadTemplate();
}

CProgressDlg::~CProgressDlg() {
  if (IsWindow()) plat::KillTimer(GetHwnd(), kShowTimer);
  EnableOwner();
  DestroyWindow();
}

bool CProgressDlg::Create(plat::Window* parent) {
  owner_ = parent ? parent->TopLevelOwner() : nullptr;
  owner_hwnd_ = owner_ ? owner_->GetHwnd() : plat::Hwnd::Null;
  if (owner_ && owner_->IsEnabled()) {
    owner_->EnableWindow(false);
    owner_disabled_ = true;
  }
  bool created;
  {
    rvcmndlg::EntryScope resources;  // the title and animation are the library's
    created = plat::Dialog::Create(parent);
  }
  if (!created) {
    EnableOwner();
    return false;
  }
  if (show_progress_) {
    plat::SetTimer(GetHwnd(), kShowTimer, kShowIntervalMs);
    show_pending_ = true;
  }
  return true;
}

bool CProgressDlg::OnInitDialog() {
  plat::Dialog::OnInitDialog();
  if (!show_progress_) return true;  // stays hidden for the whole run
  if (auto* bar = Item<plat::ProgressBar>(IDC_PROGRESS_BAR)) {
    bar->SetRange(range_low_, range_high_);
    bar->SetStep(step_);
    bar->SetPos(range_low_);
  }
  SetText(plat::LoadString(title_id_));
  if (auto* animation = Item<plat::Animation>(IDC_PROGRESS_ANIMATION)) animation->Open(animation_id_);
  return true;
}

void CProgressDlg::EnableOwner() {
  if (!owner_disabled_.exchange(false)) return;
  if (plat::FromHandle(owner_hwnd_) == owner_) owner_->EnableWindow(true);
}

void CProgressDlg::OnDestroy() {
  plat::KillTimer(GetHwnd(), kShowTimer);
  EnableOwner();
}

void CProgressDlg::Post(std::uint32_t message) {
  if (show_progress_) plat::PostMessage(GetHwnd(), message);
}

void CProgressDlg::SetLine1(const std::string& text) { SetLine(IDC_PROGRESS_LINE1, text); }
void CProgressDlg::SetLine2(const std::string& text) { SetLine(IDC_PROGRESS_LINE2, text); }

void CProgressDlg::SetLine(int item, const std::string& text) {
  std::lock_guard lock(pending_mutex_);
  std::string& line = item == IDC_PROGRESS_LINE1 ? line1_ : line2_;
  if (visible_ && text == line) return;  // the window shows it already, or will
  line = text;
  if (!visible_) {
    (item == IDC_PROGRESS_LINE1 ? line1_pending_ : line2_pending_) = true;
    return;
  }
  // A visible window shows every line, in order, at its next turn: one
  // message for however many lines and bar changes came meanwhile.
  lines_shown_.emplace_back(item, text);
  PostApplyLocked();
}

void CProgressDlg::PostApplyLocked() {
  if (apply_posted_) return;
  apply_posted_ = true;
  Post(kApplyPending);
}

std::string CProgressDlg::Line1() const {
  std::lock_guard lock(pending_mutex_);
  return line1_;
}

std::string CProgressDlg::Line2() const {
  std::lock_guard lock(pending_mutex_);
  return line2_;
}

void CProgressDlg::ChangeBar(std::uint32_t message, int a, int b) {
  if (!show_progress_) return;
  std::lock_guard lock(pending_mutex_);
  KeepBarChangeLocked(BarChange{message, a, b});
  // A visible window takes what was kept at its next turn.
  if (visible_) PostApplyLocked();
}

void CProgressDlg::KeepBarChangeLocked(const BarChange& change) {
  const auto moves_position = [](std::uint32_t m) { return m == kSetPos || m == kDeltaPos || m == kStepIt; };
  if (!bar_pending_.empty()) {
    BarChange& last = bar_pending_.back();
    if (change.message == kStepIt && last.message == kStepIt) {
      ++last.a;  // a counts the steps
      return;
    }
    // Merged only when of one sign: the bar stops at its ends.
    if (change.message == kDeltaPos && last.message == kDeltaPos && (last.a < 0) == (change.a < 0) &&
        std::abs(last.a) <= 1'000'000 && std::abs(change.a) <= 1'000'000) {
      last.a += change.a;
      return;
    }
  }
  if (change.message == kSetPos)
    while (!bar_pending_.empty() && moves_position(bar_pending_.back().message)) bar_pending_.pop_back();
  bar_pending_.push_back(change.message == kStepIt ? BarChange{kStepIt, 1, 0} : change);
  // A long list of mixed changes is handed over rather than kept.
  if (bar_pending_.size() >= kMaxKeptBarChanges) PostApplyLocked();
}

void CProgressDlg::SetRange(int low, int high) { ChangeBar(kSetRange, low, high); }
void CProgressDlg::SetStep(int step) { ChangeBar(kSetStep, step); }
void CProgressDlg::SetPos(int pos) { ChangeBar(kSetPos, pos); }
void CProgressDlg::DeltaPos(int delta) { ChangeBar(kDeltaPos, delta); }
void CProgressDlg::StepIt() { ChangeBar(kStepIt, 1); }
void CProgressDlg::Pause() { Post(kPause); }
void CProgressDlg::Resume() { Post(kResume); }

void CProgressDlg::ApplyBar(std::uint32_t message, int a, int b) {
  auto* bar = Item<plat::ProgressBar>(IDC_PROGRESS_BAR);
  switch (message) {
    case kSetRange:
      range_low_ = a;
      range_high_ = b;
      if (bar) bar->SetRange(range_low_, range_high_);
      break;
    case kSetStep:
      step_ = a;
      if (bar) bar->SetStep(step_);
      break;
    case kSetPos:
      if (bar) bar->SetPos(a);
      break;
    case kDeltaPos:
      if (bar) bar->DeltaPos(a);
      break;
    case kStepIt:
      // a steps at once: the bar stops at its ends either way.
      if (bar) {
        const long long target = static_cast<long long>(bar->GetPos()) + static_cast<long long>(a) * bar->GetStep();
        bar->SetPos(static_cast<int>(std::clamp<long long>(target, INT32_MIN, INT32_MAX)));
      }
      break;
    default: break;
  }
}

CProgressDlg::HandOver CProgressDlg::TakeHandOverLocked() {
  HandOver taken;
  taken.lines = std::move(lines_shown_);
  lines_shown_.clear();
  if (line1_pending_) taken.lines.emplace_back(IDC_PROGRESS_LINE1, line1_);
  if (line2_pending_) taken.lines.emplace_back(IDC_PROGRESS_LINE2, line2_);
  line1_pending_ = line2_pending_ = false;
  taken.bar = std::move(bar_pending_);
  bar_pending_.clear();
  apply_posted_ = false;
  return taken;
}

// Outside the lock: the worker goes on while the controls change. What it
// hands over meanwhile comes with a later message, so the order holds.
void CProgressDlg::Apply(const HandOver& taken) {
  for (const auto& [item, text] : taken.lines) SetDlgItemText(item, text);
  for (const BarChange& change : taken.bar) ApplyBar(change.message, change.a, change.b);
}

void CProgressDlg::AllowShowing(bool allow) {
  // Posted whether or not progress is shown. Each message sets the window's
  // state whatever came between, so the same one again changes nothing.
  const std::uint32_t message = show_progress_ && allow ? kStartShowing : kStopShowing;
  if (showing_posted_.exchange(message) != message) plat::PostMessage(GetHwnd(), message);
}

void CProgressDlg::StopRunning() {
  Post(kApplyPending);  // what the hidden window kept, for whoever looks at it last
  running_ = false;
  plat::PostMessage(GetHwnd(), plat::msg::Null);
  plat::WakeThread(Thread());
}

void CProgressDlg::RunModalLoop() {
  plat::Message m;
  while (running_.load()) {
    if (!plat::GetMessage(m)) {
      plat::PostQuitMessage(static_cast<int>(m.wparam));  // the outer loop's to read
      break;
    }
    plat::DispatchMessage(m);
  }
}

void CProgressDlg::DrainModalLoop() { plat::PumpPendingMessages(); }

bool CProgressDlg::OnCommand(int id, int code) {
  if (id == plat::IdOk) return true;  // Enter never closes the window
  return plat::Dialog::OnCommand(id, code);
}

void CProgressDlg::OnCancel() {
  if (started_.load()) cancelled_ = true;
}

// The window shows at the first tick after showing was allowed, and after a
// pause only at the second tick after resuming.
void CProgressDlg::OnTimer(std::uintptr_t id) {
  if (started_.load() && show_pending_.load() && !paused_.load() && !IsVisible()) {
    HandOver taken;
    {
      std::lock_guard lock(pending_mutex_);
      taken = TakeHandOverLocked();
      visible_ = true;  // from now on every change is handed over at once
    }
    Apply(taken);
    ShowWindow(true);
  }
  show_pending_ = id == kShowTimer;
}

bool CProgressDlg::OnMessage(std::uint32_t message, plat::WParam /*wparam*/, plat::LParam /*lparam*/,
                             const std::string* /*text*/, plat::LResult& result) {
  auto* animation = Item<plat::Animation>(IDC_PROGRESS_ANIMATION);
  result = 0;
  switch (message) {
    case kApplyPending: {
      HandOver taken;
      {
        std::lock_guard lock(pending_mutex_);
        taken = TakeHandOverLocked();
      }
      Apply(taken);
      return true;
    }
    case kPause:
      paused_ = true;
      if (animation) animation->Stop();
      if (started_.load()) show_pending_ = false;
      return true;
    case kResume:
      paused_ = false;
      if (animation) animation->Play(0, -1, -1);
      return true;
    case kStartShowing:
      // Showing is allowed now; the window itself waits for the next tick.
      started_ = true;
      return true;
    case kStopShowing:
      started_ = false;
      {
        std::lock_guard lock(pending_mutex_);
        visible_ = false;  // changes are kept again
      }
      if (IsVisible()) ShowWindow(false);
      return true;
    default: return false;
  }
}
