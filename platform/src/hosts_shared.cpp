// The pieces the UI hosts share: menus, answer words, ending a window.
#include "hosts_shared.h"

#include <sstream>

#include "platform/resources.h"
#include "platform/text.h"
#include "platform/uihost.h"

namespace plat {

namespace {

std::string MenuText(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != '&') out += c;
  return AsciiLowerCopy(Trim(out));
}

void RenderMenu(const std::vector<MenuItem>& items, std::ostream& out, const std::string& indent) {
  for (const auto& item : items) {
    if (item.IsSeparator()) {
      out << indent << "----\n";
      continue;
    }
    out << indent << "[" << item.id << "] " << (item.checked ? "* " : "") << item.text
        << (item.enabled ? "" : "  (disabled)") << "\n";
    RenderMenu(item.submenu, out, indent + "    ");
  }
}

}  // namespace

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

int FindMenuChoice(const std::vector<MenuItem>& items, const std::string& choice) {
  for (const auto& item : items) {
    if (!item.submenu.empty()) {
      if (int id = FindMenuChoice(item.submenu, choice)) return id;
      continue;
    }
    if (item.IsSeparator()) continue;
    if (std::to_string(item.id) == choice || MenuText(item.text) == MenuText(choice)) return item.id;
  }
  return 0;
}

std::string MenuRendering(const Menu& menu) {
  std::ostringstream out;
  out << "+-- menu " << menu.id << "\n";
  RenderMenu(menu.items, out, "|  ");
  out << "+--\n";
  return out.str();
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false, quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '\\' && i + 1 < line.size()) {
      word += line[++i];
    } else if (c == '"') {
      quoted = !quoted;
      in_word = true;
    } else if (!quoted && (c == ' ' || c == '\t')) {
      if (in_word) words.push_back(word);
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word) words.push_back(word);
  return words;
}

void EndWindowSomehow(Window& window, int attempt) {
  if (attempt == 1 && ApplyDefault(window).empty()) return;
  if (attempt <= 2) {
    CancelWindow(window);
    return;
  }
  window.EndModal(IdCancel);
}

}  // namespace plat
