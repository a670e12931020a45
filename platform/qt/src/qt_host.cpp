// The graphical host: Qt's side on the GUI thread, the framework's on any
// thread, and the hand-over between them (queued both ways, never waited for).
#include "platform/qt_host.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QMenu>
#include <QTimer>
#include <QWindow>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <mutex>

#include "platform/dialog.h"
#include "platform/message.h"
#include "platform/pathmap.h"
#include "platform/render.h"
#include "platform/sync.h"
#include "platform/window.h"
#include "platform/window_state.h"
#include "qt_window.h"

namespace plat {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// What framework threads share with the GUI thread: how to hand work over,
// what each window showed when last handed over, and the host's faults. No
// widget is reached from here but on the GUI thread.
struct Bridge : std::enable_shared_from_this<Bridge> {
  ThreadId gui_thread = 0;
  std::mutex mutex;
  QObject* context = nullptr;  // the GUI thread's receiver; null once the host is gone
  std::function<void(const WindowState&)> show;  // set once; called on the GUI thread
  std::function<void(Hwnd)> hide;
  std::map<Hwnd, std::string> drawn;
  std::vector<std::string> failures;

  // Runs the task on the GUI thread: at once there, else queued. False when
  // the host is gone.
  bool ToGui(std::function<void()> task) {
    if (CurrentThreadId() == gui_thread) {
      if (!context) return false;  // written only on this thread
      task();
      return true;
    }
    std::lock_guard lock(mutex);
    if (!context) return false;
    QMetaObject::invokeMethod(context, std::move(task), Qt::QueuedConnection);
    return true;
  }

  // Hands the window's state to the GUI thread, when it changed or always.
  void Publish(Window& window, bool always) {
    if (!window.IsWindow() || !window.IsVisible()) return;
    WindowState state = CaptureWindow(window);
    std::string rendering = RenderWindow(window);
    {
      std::lock_guard lock(mutex);
      std::string& last = drawn[state.hwnd];
      if (!always && last == rendering) return;
      last = std::move(rendering);
    }
    ToGui([self = shared_from_this(), state = std::move(state)] { self->show(state); });
  }

  void Forget(Hwnd hwnd) {
    {
      std::lock_guard lock(mutex);
      drawn.erase(hwnd);
    }
    ToGui([self = shared_from_this(), hwnd] { self->hide(hwnd); });
  }

  // A person's action, done on the window's own thread as a script's would be.
  // One the framework refuses (the program disabled the control meanwhile)
  // changes nothing; the window is shown again as it is.
  void Act(Hwnd hwnd, std::function<void(Window&)> deed) {
    PostTask(hwnd, [self = shared_from_this(), hwnd, deed = std::move(deed)] {
      if (Window* w = FromHandle(hwnd)) deed(*w);
      if (Window* w = FromHandle(hwnd)) self->Publish(*w, true);
    });
  }

  void Fail(const std::string& failure) {
    std::cerr << "graphical host: " << failure << std::endl;
    std::lock_guard lock(mutex);
    failures.push_back(failure);
  }
};

void AddMenuItems(QMenu* menu, const std::vector<MenuItem>& items) {
  for (const auto& item : items) {
    if (item.IsSeparator()) {
      menu->addSeparator();
    } else if (!item.submenu.empty()) {
      AddMenuItems(menu->addMenu(Q(item.text)), item.submenu);
    } else {
      QAction* action = menu->addAction(Q(item.text));
      action->setData(item.id);
      action->setEnabled(item.enabled);
      action->setCheckable(item.checked);
      action->setChecked(item.checked);
    }
  }
}

int RunMenu(const Menu& menu) {
  QMenu popup;
  AddMenuItems(&popup, menu.items);
  const QAction* chosen = popup.exec(QCursor::pos());
  return chosen ? chosen->data().toInt() : 0;
}

// "Text files|*.txt|All files|*.*" as Qt's name filters.
QStringList NameFilters(const std::string& filter) {
  const QStringList parts = Q(filter).split('|');
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) out << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
  return out;
}

std::optional<std::vector<std::string>> RunFileDialog(const FileDialogSpec& spec) {
  QFileDialog dialog(nullptr, Q(spec.title));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(spec.allow_multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  if (!spec.initial_dir.empty())
    if (auto dir = ToHostPath(spec.initial_dir)) dialog.setDirectory(Q(dir->string()));
  if (const QStringList filters = NameFilters(spec.filter); !filters.isEmpty()) dialog.setNameFilters(filters);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  // Only files the library can name are given back.
  std::vector<std::string> names;
  for (const QString& file : dialog.selectedFiles())
    if (auto name = FromHostPath(std::filesystem::path(file.toStdString()))) names.push_back(*name);
  if (names.empty()) return std::nullopt;
  return names;
}

}  // namespace

std::string GuiUnavailableReason() {
  auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : std::string();
  };
  const std::string platform = set("QT_QPA_PLATFORM");
  if (!platform.empty() && platform.rfind("xcb", 0) != 0 && platform.rfind("wayland", 0) != 0) return {};
  if (!set("DISPLAY").empty() || !set("WAYLAND_DISPLAY").empty()) return {};
  return "no display: neither DISPLAY nor WAYLAND_DISPLAY is set";
}

class QtHost::Impl : public ThreadWaiter {
 public:
  Impl() {
    if (!QApplication::instance()) app_ = std::make_unique<QApplication>(argc_, argv_);
    bridge_->gui_thread = CurrentThreadId();
    bridge_->context = &context_;
    bridge_->show = [this](const WindowState& state) { Show(state); };
    bridge_->hide = [this](Hwnd hwnd) { windows_.erase(hwnd); };
    dispatcher_ = QAbstractEventDispatcher::instance();
    previous_waiter_ = SetThreadWaiter(this);
  }
  ~Impl() override {
    SetThreadWaiter(previous_waiter_);
    {
      std::lock_guard lock(bridge_->mutex);
      bridge_->context = nullptr;
    }
    windows_.clear();
  }
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  // While this thread waits for framework messages, Qt's events run.
  void Wait(long timeout_ms) override {
    QTimer timer;
    if (timeout_ms >= 0) {
      timer.setSingleShot(true);
      timer.start(static_cast<int>(std::min<long>(timeout_ms, INT_MAX)));
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  void Wake() override { dispatcher_->wakeUp(); }

  // Asks the person on the GUI thread; a framework thread keeps handling
  // its own messages until the answer comes.
  template <typename T>
  T Ask(std::function<T()> ask, T none) {
    if (CurrentThreadId() == bridge_->gui_thread) return ask();
    struct Answer {
      std::mutex mutex;
      std::optional<T> value;
    };
    auto answer = std::make_shared<Answer>();
    const ThreadId asker = CurrentThreadId();
    if (!bridge_->ToGui([answer, ask, asker] {
          T value = ask();
          {
            std::lock_guard lock(answer->mutex);
            answer->value = std::move(value);
          }
          WakeThread(asker);
        }))
      return none;
    for (;;) {
      {
        std::lock_guard lock(answer->mutex);
        if (answer->value) return std::move(*answer->value);
      }
      Message m;
      bool timed_out = false;
      if (GetMessageTimeout(m, 100, timed_out)) {
        DispatchMessage(m);
      } else if (!timed_out) {
        PostQuitMessage(static_cast<int>(m.wparam));  // for the outer loop
        return none;
      }
    }
  }

  std::shared_ptr<Bridge> bridge_ = std::make_shared<Bridge>();

 private:
  void Show(const WindowState& state) {
    if (auto it = windows_.find(state.hwnd); it != windows_.end()) {
      it->second->Show(state);
      return;
    }
    const Hwnd hwnd = state.hwnd;
    qt::UserInput input{
        [bridge = bridge_, hwnd](const Action& action) {
          bridge->Act(hwnd, [action](Window& w) { ApplyAction(w, action); });
        },
        [bridge = bridge_, hwnd] { bridge->Act(hwnd, [](Window& w) { CancelWindow(w); }); },
        [bridge = bridge_](const std::string& failure) { bridge->Fail(failure); },
    };
    auto window = std::make_unique<qt::HostWindow>(state, std::move(input));
    if (auto owner = windows_.find(state.owner); owner != windows_.end()) {
      window->winId();  // makes the native windows, so one can stand over the other
      owner->second->winId();
      window->windowHandle()->setTransientParent(owner->second->windowHandle());
      if (state.modal) window->setWindowModality(Qt::WindowModal);
    }
    window->show();
    windows_.emplace(hwnd, std::move(window));
  }

  int argc_ = 1;
  char name_[6] = "rvdlg";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
  QObject context_;
  QAbstractEventDispatcher* dispatcher_ = nullptr;
  ThreadWaiter* previous_waiter_ = nullptr;
  std::map<Hwnd, std::unique_ptr<qt::HostWindow>> windows_;
};

QtHost::QtHost() : impl_(std::make_unique<Impl>()) {}
QtHost::~QtHost() = default;

void QtHost::WindowShown(Window& window, bool) { impl_->bridge_->Publish(window, true); }
void QtHost::WindowHidden(Window& window) { impl_->bridge_->Forget(window.GetHwnd()); }
void QtHost::WindowUpdated(Window& window) { impl_->bridge_->Publish(window, false); }

HostAnswer QtHost::Interact(Window& window) {
  impl_->bridge_->Publish(window, false);
  return HostAnswer::Wait;
}

int QtHost::ChooseMenuItem(const Menu& menu, Window*) {
  return impl_->Ask<int>([menu] { return RunMenu(menu); }, 0);
}

std::optional<std::vector<std::string>> QtHost::ChooseFiles(const FileDialogSpec& spec, Window*) {
  using Names = std::optional<std::vector<std::string>>;
  return impl_->Ask<Names>([spec] { return RunFileDialog(spec); }, std::nullopt);
}

std::vector<std::string> QtHost::Failures() const {
  std::lock_guard lock(impl_->bridge_->mutex);
  return impl_->bridge_->failures;
}

}  // namespace plat
