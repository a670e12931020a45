#include "platform/window.h"

#include <algorithm>
#include <functional>
#include <atomic>
#include <map>
#include <mutex>
#include <sstream>

#include "platform/message.h"
#include "platform/sync.h"
#include "platform/uihost.h"
#include "window_table.h"

namespace plat {

namespace {

std::recursive_mutex& StateMutex() {
  static auto* m = new std::recursive_mutex();
  return *m;
}

struct TableEntry {
  Window* window;
  ThreadId thread;
};

std::mutex g_table_mutex;
std::map<std::uint32_t, TableEntry>& Table() {
  static auto* table = new std::map<std::uint32_t, TableEntry>();
  return *table;
}
std::atomic<std::uint32_t> g_next_handle{0x100};

}  // namespace

WindowStateLock::WindowStateLock() { StateMutex().lock(); }
WindowStateLock::~WindowStateLock() { StateMutex().unlock(); }

Window* FromHandle(Hwnd hwnd) {
  std::lock_guard lock(g_table_mutex);
  auto it = Table().find(static_cast<std::uint32_t>(hwnd));
  return it == Table().end() ? nullptr : it->second.window;
}

ThreadId WindowThread(Hwnd hwnd) {
  std::lock_guard lock(g_table_mutex);
  auto it = Table().find(static_cast<std::uint32_t>(hwnd));
  return it == Table().end() ? 0 : it->second.thread;
}

Window::Window() = default;

Window::~Window() {
  // Derived parts are gone by now: unlink without calling OnDestroy.
  if (!IsWindow()) return;
  for (Window* child : Children()) child->DestroyWindow();
  KillWindowTimers(hwnd_, thread_);
  {
    std::lock_guard lock(g_table_mutex);
    Table().erase(static_cast<std::uint32_t>(hwnd_));
  }
  WindowStateLock state;
  if (parent_) std::erase(parent_->children_, this);
  parent_ = nullptr;
}

bool Window::CreateWindowObject(Window* parent, int control_id, std::string text,
                                std::uint32_t style) {
  if (IsWindow()) return false;
  EnsureThreadQueue();
  {
    WindowStateLock state;
    hwnd_ = static_cast<Hwnd>(g_next_handle.fetch_add(1));
    thread_ = CurrentThreadId();
    control_id_ = control_id;
    parent_ = parent;
    text_ = std::move(text);
    style_ = style;
    children_.clear();
    if (parent_) parent_->children_.push_back(this);
  }
  std::lock_guard lock(g_table_mutex);
  Table()[static_cast<std::uint32_t>(hwnd_)] = TableEntry{this, thread_};
  return true;
}

bool Window::CreateWindowObjectAfter(Window& sibling, int control_id, std::string text,
                                     std::uint32_t style) {
  Window* parent = sibling.IsWindow() ? sibling.Parent() : nullptr;
  if (!parent || !CreateWindowObject(parent, control_id, std::move(text), style)) return false;
  WindowStateLock state;
  auto& order = parent->children_;
  std::erase(order, this);
  const auto at = std::find(order.begin(), order.end(), &sibling);
  order.insert(at == order.end() ? at : at + 1, this);
  return true;
}

bool Window::IsWindow() const { return hwnd_ != Hwnd::Null && FromHandle(hwnd_) == this; }

void Window::DestroyWindow() {
  if (!IsWindow()) return;
  if (thread_ != CurrentThreadId()) {
    SendMessage(hwnd_, kDestroyRequest);
    return;
  }
  for (Window* child : Children()) child->DestroyWindow();
  if (IsVisible() && !IsModal() && !Parent()) CurrentUiHost()->WindowHidden(*this);
  OnDestroy();
  KillWindowTimers(hwnd_, thread_);
  {
    std::lock_guard lock(g_table_mutex);
    Table().erase(static_cast<std::uint32_t>(hwnd_));
  }
  WindowStateLock state;
  if (parent_) std::erase(parent_->children_, this);
  parent_ = nullptr;
  style_ &= ~ws::Visible;
}

Window* Window::Parent() const {
  WindowStateLock state;
  return parent_;
}

Window* Window::Owner() const {
  WindowStateLock state;
  return owner_;
}

void Window::SetOwner(Window* owner) {
  WindowStateLock state;
  owner_ = owner;
}

Window* Window::TopLevelWindow() {
  WindowStateLock state;
  Window* w = this;
  while (w->parent_ && (w->style_ & ws::Child)) w = w->parent_;
  return w;
}

Window* Window::TopLevelOwner() {
  WindowStateLock state;
  Window* w = this;
  while (w->parent_ && (w->style_ & ws::Child)) w = w->parent_;
  while (w->owner_ && w->owner_->IsWindow()) w = w->owner_;
  return w;
}

std::string Window::Text() const {
  WindowStateLock state;
  return text_;
}

void Window::SetText(std::string text) {
  {
    WindowStateLock state;
    if (text_ == text) return;
    text_ = std::move(text);
  }
  AnnounceChange();
}

std::uint32_t Window::Style() const {
  WindowStateLock state;
  return style_;
}

void Window::SetStyle(std::uint32_t style) {
  WindowStateLock state;
  style_ = style;
}

bool Window::IsEnabled() const { return (Style() & ws::Disabled) == 0; }

void Window::EnableWindow(bool enable) {
  WindowStateLock state;
  if (enable)
    style_ &= ~ws::Disabled;
  else
    style_ |= ws::Disabled;
}

bool Window::IsVisible() const { return (Style() & ws::Visible) != 0; }

void Window::ShowWindow(bool show) {
  bool was_visible;
  {
    WindowStateLock state;
    was_visible = (style_ & ws::Visible) != 0;
    if (show)
      style_ |= ws::Visible;
    else
      style_ &= ~ws::Visible;
  }
  if (was_visible == show || Parent() || IsModal() || !IsWindow()) return;
  if (show)
    CurrentUiHost()->WindowShown(*this, false);
  else
    CurrentUiHost()->WindowHidden(*this);
}

Font Window::GetFont() const {
  WindowStateLock state;
  return font_;
}

void Window::SetFont(const Font& font) {
  WindowStateLock state;
  font_ = font;
}

std::vector<Window*> Window::Children() const {
  WindowStateLock state;
  return children_;
}

Window* Window::FindChild(int control_id) const {
  WindowStateLock state;
  for (Window* child : children_)
    if (child->control_id_ == control_id) return child;
  return nullptr;
}

LResult Window::WndProc(std::uint32_t message, WParam, LParam lparam, const std::string* text) {
  switch (message) {
    case kDestroyRequest: DestroyWindow(); return 1;
    case kRunTask:
      if (lparam) (*reinterpret_cast<std::function<void()>*>(lparam))();
      return 1;
    case msg::SetText: SetText(text ? *text : std::string()); return 1;
    default: return 0;
  }
}

std::string Window::Describe() const {
  std::ostringstream out;
  out << ClassName();
  if (TemplateId()) out << " " << TemplateId();
  const std::string text = Text();
  if (!text.empty()) out << " \"" << text << "\"";
  if (control_id_) out << " (id " << control_id_ << ")";
  return out.str();
}

void Window::NotifyParentCommand(int code) {
  if (OnReflect(code)) return;
  Window* parent = Parent();
  if (!parent) return;
  SendMessage(parent->GetHwnd(), msg::Command, MakeWParam(control_id_, code),
              static_cast<LParam>(hwnd_));
}

void Window::SetFocus() {
  Window* top = TopLevelWindow();
  {
    WindowStateLock state;
    top->focus_ = hwnd_;
  }
  OnSetFocus();
  NotifyHeader header;
  header.code = nm::SetFocus;
  NotifyParent(header);
}

Window* Window::Focused() const {
  Window* top = const_cast<Window*>(this)->TopLevelWindow();
  Hwnd focus;
  {
    WindowStateLock state;
    focus = top->focus_;
  }
  return focus == Hwnd::Null ? nullptr : FromHandle(focus);
}

void Window::SetIcon(int icon_id) {
  WindowStateLock state;
  icon_id_ = icon_id;
}

int Window::IconId() const {
  WindowStateLock state;
  return icon_id_;
}

void Window::UserContextMenu() {
  if (OnContextMenu()) return;
  NotifyHeader header;
  header.code = nm::RClick;
  NotifyParent(header);
}

void Window::UserDoubleClick() {
  if (OnDoubleClick()) return;
  NotifyHeader header;
  header.code = nm::DblClk;
  NotifyParent(header);
}

namespace {
thread_local int t_wait_cursors = 0;
}

WaitCursor::WaitCursor() { ++t_wait_cursors; }
WaitCursor::~WaitCursor() { --t_wait_cursors; }
bool WaitCursor::Shown() { return t_wait_cursors > 0; }

LResult Window::NotifyParent(NotifyHeader& header) {
  Window* parent = Parent();
  if (!parent) return 0;
  header.from = hwnd_;
  header.id = control_id_;
  return SendMessage(parent->GetHwnd(), msg::Notify, static_cast<WParam>(control_id_),
                     reinterpret_cast<LParam>(&header));
}

void Window::AnnounceChange() {
  Window* top = this;
  for (Window* p = Parent(); p; p = p->Parent()) top = p;
  if (top->IsWindow() && top->IsVisible() && !top->IsModal() &&
      top->Thread() == CurrentThreadId())
    CurrentUiHost()->WindowUpdated(*top);
}

}  // namespace plat

namespace plat {

bool RunOnWindowThread(Window& window, const std::function<void()>& task) {
  if (!window.IsWindow()) return false;
  if (window.Thread() == CurrentThreadId()) {
    task();
    return true;
  }
  std::function<void()> copy = task;
  return SendMessage(window.GetHwnd(), kRunTask, 0, reinterpret_cast<LParam>(&copy)) != 0;
}

}  // namespace plat
