#pragma once
// The graphical host: every window of the framework as a Qt Widgets window.
// Qt's windows live on the thread that makes the host (the process's main
// thread), which runs Qt's events whenever it waits for framework messages;
// framework windows live on any thread. A person's clicks, typing and
// choices become the same actions a script gives, done on the window's own
// thread; what the program changes in a window shows at once. Neither side
// ever waits for the other's work.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/uihost.h"

namespace plat {

// Why no graphical window can be shown here (no display), empty when one
// can. A Qt platform that needs no display (offscreen) always can.
std::string GuiUnavailableReason();

class QtHost : public UiHost {
 public:
  // Made and destroyed on the thread that shows Qt's windows; makes Qt's
  // application object when there is none yet.
  QtHost();
  ~QtHost() override;
  QtHost(const QtHost&) = delete;
  QtHost& operator=(const QtHost&) = delete;

  void WindowShown(Window& window, bool modal) override;
  void WindowHidden(Window& window) override;
  void WindowUpdated(Window& window) override;
  HostAnswer Interact(Window& window) override;
  int ChooseMenuItem(const Menu& menu, Window* owner) override;
  std::optional<std::vector<std::string>> ChooseFiles(const FileDialogSpec& spec,
                                                      Window* owner) override;

  // What went wrong: a control the host cannot show. Empty when all went well.
  std::vector<std::string> Failures() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace plat
