// The automatic host: every window takes its default answer.
#include "platform/hosts.h"

#include <ostream>

#include "hosts_shared.h"
#include "platform/dialog.h"
#include "platform/render.h"

namespace plat {

void AutomaticHost::WindowShown(Window& window, bool modal) {
  if (out_ && modal) *out_ << RenderWindow(window) << std::flush;
}

void AutomaticHost::WindowHidden(Window& window) {
  std::lock_guard lock(mutex_);
  attempts_.erase(&window);
}

HostAnswer AutomaticHost::Interact(Window& window) {
  int attempt;
  {
    std::lock_guard lock(mutex_);
    attempt = ++attempts_[&window];
  }
  if (out_) *out_ << "> " << (attempt == 1 ? "default" : "cancel") << "\n" << std::flush;
  EndWindowSomehow(window, attempt);
  return HostAnswer::Acted;
}

int AutomaticHost::ChooseMenuItem(const Menu& menu, Window*) {
  if (out_) *out_ << MenuRendering(menu) << "> no choice\n" << std::flush;
  return 0;
}

std::optional<std::vector<std::string>> AutomaticHost::ChooseFiles(const FileDialogSpec& spec,
                                                                   Window*) {
  if (out_) *out_ << "+-- " << spec.title << " -- [open files]\n> cancel\n" << std::flush;
  return std::nullopt;
}

}  // namespace plat
