// The scripted host: answer files and tests say what the user does.
#include "platform/hosts.h"

#include <climits>
#include <sstream>

#include "hosts_shared.h"
#include "platform/dialog.h"
#include "platform/render.h"
#include "platform/text.h"

namespace plat {

ScriptedHost::Builder& ScriptedHost::Builder::Do(Action action) {
  std::lock_guard lock(host_.mutex_);
  host_.expectations_[index_].actions.push_back(std::move(action));
  return *this;
}

ScriptedHost::Builder& ScriptedHost::Builder::Set(Action::Kind kind, const std::string& control) {
  return Do(Action{kind, control, {}});
}

ScriptedHost::Builder& ScriptedHost::Builder::Click(const std::string& control) {
  return Set(Action::Kind::Click, control);
}

ScriptedHost::Builder& ScriptedHost::Builder::Type(int id, const std::string& text) {
  return Type(std::to_string(id), text);
}

ScriptedHost::Builder& ScriptedHost::Builder::Type(const std::string& control, const std::string& text) {
  return Do(Action{Action::Kind::Type, control, text});
}

ScriptedHost::Builder& ScriptedHost::Builder::Select(int id, const std::string& item) {
  return Do(Action{Action::Kind::Select, std::to_string(id), item});
}

ScriptedHost::Builder& ScriptedHost::Builder::Tick(int id, const std::string& item) {
  return Do(Action{Action::Kind::Tick, std::to_string(id), item});
}

ScriptedHost::Builder& ScriptedHost::Builder::Page(const std::string& page) {
  return Do(Action{Action::Kind::Page, page, {}});
}

ScriptedHost::Builder& ScriptedHost::Builder::Default() { return Do(Action{}); }

ScriptedHost::Builder& ScriptedHost::Builder::Times(int times) {
  std::lock_guard lock(host_.mutex_);
  host_.expectations_[index_].times = times;
  return *this;
}

ScriptedHost::Builder& ScriptedHost::Builder::Optional() {
  std::lock_guard lock(host_.mutex_);
  host_.expectations_[index_].optional = true;
  return *this;
}

std::size_t ScriptedHost::Add(Expectation expectation) {
  std::lock_guard lock(mutex_);
  expectations_.push_back(std::move(expectation));
  return expectations_.size() - 1;
}

ScriptedHost::Builder ScriptedHost::OnTemplate(int template_id) {
  Expectation e;
  e.key = Expectation::Key::Template;
  e.template_id = template_id;
  return Builder(*this, Add(std::move(e)));
}

ScriptedHost::Builder ScriptedHost::OnCaption(const std::string& caption) {
  Expectation e;
  e.key = Expectation::Key::Caption;
  e.text = caption;
  return Builder(*this, Add(std::move(e)));
}

ScriptedHost::Builder ScriptedHost::OnMessage(const std::string& text_part) {
  Expectation e;
  e.key = Expectation::Key::Message;
  e.text = text_part;
  return Builder(*this, Add(std::move(e)));
}

void ScriptedHost::OnMenu(const std::string& choice) {
  Expectation e;
  e.key = Expectation::Key::Menu;
  e.menu_choice = choice;
  Add(std::move(e));
}

void ScriptedHost::OnFiles(std::optional<std::vector<std::string>> files) {
  Expectation e;
  e.key = Expectation::Key::Files;
  e.files = std::move(files);
  Add(std::move(e));
}

bool ScriptedHost::LoadAnswers(const std::string& text, std::string* error) {
  std::vector<Expectation> parsed;
  std::istringstream in(text);
  std::string raw;
  int number = 0;
  auto fail = [&](const std::string& why) {
    if (error) *error = "line " + std::to_string(number) + ": " + why;
    return false;
  };
  while (std::getline(in, raw)) {
    ++number;
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == '#') continue;
    const bool indented = raw[0] == ' ' || raw[0] == '\t';
    const auto words = Words(line);
    const std::string head = AsciiLowerCopy(words[0]);
    if (indented) {
      if (parsed.empty()) return fail("an action outside a window");
      if (head == "optional" && words.size() == 1) {
        parsed.back().optional = true;
        continue;
      }
      if (parsed.back().key == Expectation::Key::Menu || parsed.back().key == Expectation::Key::Files)
        return fail("an action outside a window");
      if (head == "times" && words.size() == 2) {
        const auto times = ParseDecimal(words[1], INT_MAX);
        if (!times) return fail("times takes a number");
        if (*times < 1) return fail("times takes a number above 0");
        parsed.back().times = static_cast<int>(*times);
        continue;
      }
      if (head == "always" && words.size() == 1) {
        parsed.back().times = -1;
        continue;
      }
      std::string why;
      auto action = ParseAction(line, &why);
      if (!action) return fail(why);
      parsed.back().actions.push_back(*action);
      continue;
    }
    Expectation e;
    if (head == "window" && words.size() == 2) {
      e.key = Expectation::Key::Template;
      const auto id = ParseDecimal(words[1], INT_MAX);
      if (!id) return fail("window takes a template number");
      e.template_id = static_cast<int>(*id);
    } else if (head == "caption" && words.size() == 2) {
      e.key = Expectation::Key::Caption;
      e.text = words[1];
    } else if (head == "message" && words.size() == 2) {
      e.key = Expectation::Key::Message;
      e.text = words[1];
    } else if (head == "menu" && words.size() == 2) {
      e.key = Expectation::Key::Menu;
      e.menu_choice = IEquals(words[1], "none") ? std::string() : words[1];
    } else if (head == "files" && words.size() >= 2) {
      e.key = Expectation::Key::Files;
      if (!(words.size() == 2 && IEquals(words[1], "none")))
        e.files = std::vector<std::string>(words.begin() + 1, words.end());
    } else {
      return fail("expected window, caption, message, menu or files, found \"" + words[0] + "\"");
    }
    parsed.push_back(std::move(e));
  }
  std::lock_guard lock(mutex_);
  for (auto& e : parsed) expectations_.push_back(std::move(e));
  return true;
}

std::vector<std::string> ScriptedHost::Transcript() const {
  std::lock_guard lock(mutex_);
  return transcript_;
}

std::string ScriptedHost::TranscriptText() const {
  std::string out;
  for (const auto& line : Transcript()) out += line + (line.empty() || line.back() != '\n' ? "\n" : "");
  return out;
}

std::vector<std::string> ScriptedHost::Failures() const {
  std::lock_guard lock(mutex_);
  return failures_;
}

std::vector<std::string> ScriptedHost::Unmet() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> out;
  for (const auto& e : expectations_) {
    if (e.optional || (e.times < 0 ? e.used > 0 : e.used >= e.times)) continue;
    switch (e.key) {
      case Expectation::Key::Template: out.push_back("window " + std::to_string(e.template_id)); break;
      case Expectation::Key::Caption: out.push_back("caption \"" + e.text + "\""); break;
      case Expectation::Key::Message: out.push_back("message \"" + e.text + "\""); break;
      case Expectation::Key::Menu: out.push_back("menu \"" + e.menu_choice + "\""); break;
      case Expectation::Key::Files: out.push_back("files"); break;
    }
  }
  return out;
}

std::vector<std::string> ScriptedHost::Finish() const {
  std::vector<std::string> problems = Failures();
  for (const auto& unmet : Unmet()) problems.push_back("not shown: " + unmet);
  return problems;
}

void ScriptedHost::Fail(const std::string& failure) {
  std::lock_guard lock(mutex_);
  failures_.push_back(failure);
  transcript_.push_back("!! " + failure);
}

void ScriptedHost::Log(const std::string& line) {
  std::lock_guard lock(mutex_);
  transcript_.push_back(line);
}

int ScriptedHost::Match(Window& window) {
  const auto* box = dynamic_cast<const MessageBoxDialog*>(&window);
  const std::string caption = window.Text();
  std::lock_guard lock(mutex_);
  for (std::size_t i = 0; i < expectations_.size(); ++i) {
    auto& e = expectations_[i];
    if (e.times >= 0 && e.used >= e.times) continue;
    bool hit = false;
    switch (e.key) {
      case Expectation::Key::Template: hit = window.TemplateId() != 0 && window.TemplateId() == e.template_id; break;
      case Expectation::Key::Caption: hit = caption == e.text; break;
      case Expectation::Key::Message: hit = box && box->MessageText().find(e.text) != std::string::npos; break;
      default: break;
    }
    if (hit) {
      ++e.used;
      return static_cast<int>(i);
    }
  }
  return -1;
}

void ScriptedHost::WindowShown(Window& window, bool modal) {
  const std::string drawn = RenderWindow(window);
  Log(drawn);
  if (!modal) return;
  const int match = Match(window);
  {
    std::lock_guard lock(mutex_);
    bindings_[&window] = Binding{match, 0, drawn};
  }
  if (match < 0) Fail("unexpected window: " + window.Describe());
}

void ScriptedHost::WindowHidden(Window& window) {
  std::lock_guard lock(mutex_);
  bindings_.erase(&window);
  transcript_.push_back("(closed " + window.Describe() + ")");
}

HostAnswer ScriptedHost::Interact(Window& window) {
  Action action;
  bool unexpected = false;
  {
    std::lock_guard lock(mutex_);
    auto it = bindings_.find(&window);
    if (it == bindings_.end() || it->second.expectation < 0) {
      unexpected = true;
    } else {
      const auto& actions = expectations_[static_cast<std::size_t>(it->second.expectation)].actions;
      if (it->second.next_action >= actions.size()) return HostAnswer::Wait;
      action = actions[it->second.next_action++];
    }
  }
  if (unexpected) {
    CancelWindow(window);
    return HostAnswer::Acted;
  }
  Log("> " + FormatAction(action));
  const std::string error = ApplyAction(window, action);
  if (!error.empty()) {
    Fail(error);
    CancelWindow(window);
  } else if (window.IsWindow() && !window.ModalEnded()) {
    const std::string drawn = RenderWindow(window);
    std::lock_guard lock(mutex_);
    auto it = bindings_.find(&window);
    if (it != bindings_.end() && it->second.last_drawn != drawn) {
      it->second.last_drawn = drawn;
      transcript_.push_back(drawn);
    }
  }
  return HostAnswer::Acted;
}

void ScriptedHost::WaitTimedOut(Window& window) {
  Fail("timed out waiting for " + window.Describe() + " to close after its actions");
  CancelWindow(window);
}

int ScriptedHost::ChooseMenuItem(const Menu& menu, Window*) {
  Log(MenuRendering(menu));
  std::string choice;
  bool found = false;
  {
    std::lock_guard lock(mutex_);
    for (auto& e : expectations_) {
      if (e.key != Expectation::Key::Menu || (e.times >= 0 && e.used >= e.times)) continue;
      ++e.used;
      choice = e.menu_choice;
      found = true;
      break;
    }
  }
  if (!found) {
    Fail("unexpected menu " + std::to_string(menu.id));
    return 0;
  }
  if (choice.empty()) return 0;
  const int id = FindMenuChoice(menu.items, choice);
  if (!id) Fail("no menu item \"" + choice + "\" in menu " + std::to_string(menu.id));
  Log("> choose " + choice);
  return id;
}

std::optional<std::vector<std::string>> ScriptedHost::ChooseFiles(const FileDialogSpec& spec, Window*) {
  Log("+-- " + spec.title + " -- [open files]");
  std::lock_guard lock(mutex_);
  for (auto& e : expectations_) {
    if (e.key != Expectation::Key::Files || (e.times >= 0 && e.used >= e.times)) continue;
    ++e.used;
    return e.files;
  }
  failures_.push_back("unexpected file dialog \"" + spec.title + "\"");
  return std::nullopt;
}

}  // namespace plat
