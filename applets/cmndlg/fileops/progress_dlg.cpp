#include "fileops/progress_dlg.h"

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

void CProgressDlg::Post(std::uint32_t message, plat::WParam wparam, plat::LParam lparam, std::string text) {
  if (show_progress_) plat::PostMessage(GetHwnd(), message, wparam, lparam, std::move(text));
}

void CProgressDlg::SetLine1(const std::string& text) {
  {
    std::lock_guard lock(text_mutex_);
    line1_ = text;
  }
  Post(kSetLine1, 0, 0, text);
}

void CProgressDlg::SetLine2(const std::string& text) {
  {
    std::lock_guard lock(text_mutex_);
    line2_ = text;
  }
  Post(kSetLine2, 0, 0, text);
}

std::string CProgressDlg::Line1() const {
  std::lock_guard lock(text_mutex_);
  return line1_;
}

std::string CProgressDlg::Line2() const {
  std::lock_guard lock(text_mutex_);
  return line2_;
}

void CProgressDlg::SetRange(int low, int high) {
  Post(kSetRange, static_cast<plat::WParam>(low), static_cast<plat::LParam>(high));
}
void CProgressDlg::SetStep(int step) { Post(kSetStep, static_cast<plat::WParam>(step)); }
void CProgressDlg::SetPos(int pos) { Post(kSetPos, static_cast<plat::WParam>(pos)); }
void CProgressDlg::DeltaPos(int delta) { Post(kDeltaPos, static_cast<plat::WParam>(delta)); }
void CProgressDlg::StepIt() { Post(kStepIt); }
void CProgressDlg::Pause() { Post(kPause); }
void CProgressDlg::Resume() { Post(kResume); }

void CProgressDlg::AllowShowing(bool allow) {
  // Posted whether or not progress is shown.
  plat::PostMessage(GetHwnd(), show_progress_ && allow ? kStartShowing : kStopShowing);
}

void CProgressDlg::StopRunning() {
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
  if (started_.load() && show_pending_.load() && !paused_.load() && !IsVisible()) ShowWindow(true);
  show_pending_ = id == kShowTimer;
}

bool CProgressDlg::OnMessage(std::uint32_t message, plat::WParam wparam, plat::LParam lparam,
                             const std::string* text, plat::LResult& result) {
  auto* bar = Item<plat::ProgressBar>(IDC_PROGRESS_BAR);
  auto* animation = Item<plat::Animation>(IDC_PROGRESS_ANIMATION);
  const int value = static_cast<int>(static_cast<plat::LParam>(wparam));
  result = 0;
  switch (message) {
    case kSetLine1: SetDlgItemText(IDC_PROGRESS_LINE1, text ? *text : std::string()); return true;
    case kSetLine2: SetDlgItemText(IDC_PROGRESS_LINE2, text ? *text : std::string()); return true;
    case kSetRange:
      range_low_ = value;
      range_high_ = static_cast<int>(lparam);
      if (bar) bar->SetRange(range_low_, range_high_);
      return true;
    case kSetStep:
      step_ = value;
      if (bar) bar->SetStep(step_);
      return true;
    case kSetPos:
      if (bar) bar->SetPos(value);
      return true;
    case kDeltaPos:
      if (bar) bar->DeltaPos(value);
      return true;
    case kStepIt:
      if (bar) bar->StepIt();
      return true;
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
      if (IsVisible()) ShowWindow(false);
      return true;
    default: return false;
  }
}
