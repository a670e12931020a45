// The terminal host: windows drawn as text, answers read a line at a time.
#include "platform/hosts.h"

#include <istream>
#include <ostream>

#include "hosts_shared.h"
#include "platform/dialog.h"
#include "platform/render.h"

namespace plat {

bool TerminalHost::ReadLine(std::string& line) {
  if (input_ended_ || !std::getline(in_, line)) {
    if (!input_ended_) out_ << "\n(end of input: default answers from here on)\n";
    input_ended_ = true;
    return false;
  }
  if (echo_) out_ << line << "\n";
  return true;
}

void TerminalHost::WindowShown(Window& window, bool) {
  const std::string drawn = RenderWindow(window);
  std::lock_guard lock(mutex_);
  last_drawn_[&window] = drawn;
  out_ << drawn << std::flush;
}

void TerminalHost::WindowHidden(Window& window) {
  std::lock_guard lock(mutex_);
  last_drawn_.erase(&window);
  defaults_taken_.erase(&window);
}

void TerminalHost::WindowUpdated(Window& window) {
  const std::string line = RenderProgressLine(window);
  std::lock_guard lock(mutex_);
  auto& last = last_drawn_[&window];
  if (line == last) return;
  last = line;
  out_ << "   " << line << "\n" << std::flush;
}

HostAnswer TerminalHost::Interact(Window& window) {
  std::string line;
  bool take_default = false;
  int attempt = 0;
  {
    std::lock_guard lock(mutex_);
    const std::string drawn = RenderWindow(window);
    if (last_drawn_[&window] != drawn) {
      out_ << drawn;
      last_drawn_[&window] = drawn;
    }
    out_ << "> " << std::flush;
    if (!ReadLine(line)) {
      take_default = true;
    } else {
      line = Trim(line);
      if (line == "?" || line == "help") {
        out_ << "actions: click CONTROL | type CONTROL TEXT | check CONTROL | uncheck CONTROL |\n"
                "         select CONTROL ITEM|#N | add CONTROL ITEM | tick CONTROL ITEM |\n"
                "         untick CONTROL ITEM | dblclick CONTROL ITEM | page TITLE|#N |\n"
                "         default (or an empty line)\n"
                "CONTROL is an id, a button's text or the label before a field.\n";
        return HostAnswer::Acted;
      }
      take_default = line.empty() || line == "default";
    }
    if (take_default) {
      attempt = ++defaults_taken_[&window];
      if (input_ended_) out_ << (attempt == 1 ? "default\n" : "cancel\n") << std::flush;
    }
  }
  if (take_default) {
    EndWindowSomehow(window, attempt);
    return HostAnswer::Acted;
  }
  std::string error;
  auto action = ParseAction(line, &error);
  if (action) error = ApplyAction(window, *action);
  if (!error.empty()) {
    std::lock_guard lock(mutex_);
    out_ << "?? " << error << "\n" << std::flush;
  }
  return HostAnswer::Acted;
}

int TerminalHost::ChooseMenuItem(const Menu& menu, Window*) {
  std::lock_guard lock(mutex_);
  out_ << MenuRendering(menu) << "menu> " << std::flush;
  std::string line;
  if (!ReadLine(line) || Trim(line).empty()) return 0;
  const int id = FindMenuChoice(menu.items, Trim(line));
  if (!id) out_ << "?? no item \"" << Trim(line) << "\"\n";
  return id;
}

std::optional<std::vector<std::string>> TerminalHost::ChooseFiles(const FileDialogSpec& spec, Window*) {
  std::lock_guard lock(mutex_);
  out_ << "+-- " << spec.title << " -- [open files]\nfiles> " << std::flush;
  std::string line;
  if (!ReadLine(line) || Trim(line).empty()) return std::nullopt;
  return Words(Trim(line));
}

}  // namespace plat
