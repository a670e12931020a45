#pragma once
// Internal: one framework window as a Qt dialog, built from its state. What
// a person does there comes out as actions; nothing here touches the
// framework's windows.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "platform/uihost.h"
#include "platform/window_state.h"

class QTabBar;

namespace plat::qt {

// Where a window's user input goes.
struct UserInput {
  std::function<void(const Action&)> act;
  std::function<void()> cancel;                 // Esc or the window manager's close button
  std::function<void(const std::string&)> fail;  // the window has something the host cannot show
};

// The font's dialog base units in pixels: its average character width and
// its height.
QSize BaseUnits(const QFont& font);
QRect ToPixels(const DluRect& rect, QSize base);

// The property that names a control's id on its widget.
inline constexpr const char* kControlId = "controlId";
// The property that names the framework window of a host window.
inline constexpr const char* kWindowHandle = "windowHandle";

// The host window that shows this framework window, or nullptr (GUI thread).
QWidget* FindHostWindow(Hwnd hwnd);

class HostWindow : public QDialog {
 public:
  HostWindow(const WindowState& state, UserInput input);
  // Shows the window's new state: in place when its controls are the same,
  // else rebuilt.
  void Show(const WindowState& state);

 protected:
  void reject() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Build();
  void Refresh();
  QWidget* MakeWidget(const ControlState& c, const ControlState* next);
  void Act(Action::Kind kind, int id, const std::string& value = {});

  WindowState state_;
  UserInput input_;
  QWidget* content_ = nullptr;
  QTabBar* tabs_ = nullptr;
  std::vector<QWidget*> widgets_;       // one per control of state_.controls
  std::vector<QWidget*> page_widgets_;  // one per control of state_.page_controls
  bool updating_ = false;               // the program, not the person, changes the widgets
};

}  // namespace plat::qt
