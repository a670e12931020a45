#include "platform/uihost.h"

#include <algorithm>
#include <climits>
#include <mutex>
#include <sstream>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/hosted_control.h"
#include "platform/hosts.h"
#include "platform/message.h"
#include "platform/propsheet.h"
#include "platform/sync.h"
#include "platform/text.h"

namespace plat {

namespace {

std::mutex g_host_mutex;
std::shared_ptr<UiHost>& HostStorage() {
  static auto* host = new std::shared_ptr<UiHost>();
  return *host;
}

struct KindName {
  Action::Kind kind;
  const char* name;
};
constexpr KindName kKindNames[] = {
    {Action::Kind::Click, "click"},   {Action::Kind::Type, "type"},
    {Action::Kind::Check, "check"},   {Action::Kind::Uncheck, "uncheck"},
    {Action::Kind::Select, "select"}, {Action::Kind::Add, "add"},
    {Action::Kind::Tick, "tick"},     {Action::Kind::Untick, "untick"},
    {Action::Kind::Page, "page"},     {Action::Kind::Default, "default"},
    {Action::Kind::Open, "open"},     {Action::Kind::Context, "context"},
    {Action::Kind::DoubleClick, "dblclick"}, {Action::Kind::Focus, "focus"},
    {Action::Kind::Help, "f1"},
};

// A control's text as a user reads it: no accelerator ampersands, no
// surrounding blanks, no trailing colon, any case.
std::string Normalise(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') out += text[++i];
      continue;
    }
    out += text[i];
  }
  const auto first = out.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  out = out.substr(first, out.find_last_not_of(" \t") - first + 1);
  if (!out.empty() && out.back() == ':') out.pop_back();
  return AsciiLowerCopy(out);
}

// Splits a line into words; double quotes group words, \" is a quote.
bool SplitWords(std::string_view line, std::vector<std::string>& words, std::string* error) {
  std::string word;
  bool in_word = false, quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
        word += line[++i];
      } else if (c == '"') {
        quoted = false;
      } else {
        word += c;
      }
    } else if (c == '"') {
      quoted = in_word = true;
    } else if (c == ' ' || c == '\t') {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (quoted) {
    if (error) *error = "unterminated quote";
    return false;
  }
  if (in_word) words.push_back(std::move(word));
  return true;
}

std::string Quote(const std::string& s) {
  if (!s.empty() && s.find_first_of(" \t\"\\") == std::string::npos) return s;
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

// The digits of a control id written as a number ("1001", "-1"); empty when
// the name is not one.
std::string_view IdDigits(std::string_view name, bool& negative) {
  negative = name.size() > 1 && name[0] == '-';
  const std::string_view digits = name.substr(negative ? 1 : 0);
  return !digits.empty() && std::all_of(digits.begin(), digits.end(), IsDecimalDigit) ? digits
                                                                                      : std::string_view();
}

// The controls a user can reach in a window: its own, and for a property
// sheet its buttons first, then the active page's.
std::vector<Window*> Reachable(Window& window) {
  std::vector<Window*> out;
  for (Window* child : window.Children())
    if (!dynamic_cast<PropertyPage*>(child)) out.push_back(child);
  if (auto* sheet = dynamic_cast<PropertySheet*>(&window))
    if (PropertyPage* page = sheet->GetActivePage())
      for (Window* child : page->Children()) out.push_back(child);
  return out;
}

Window* FindControl(Window& window, const std::string& name) {
  const auto controls = Reachable(window);
  bool negative = false;
  if (const std::string_view digits = IdDigits(name, negative); !digits.empty()) {
    const auto id = ParseDecimal(digits, INT_MAX);  // a larger number names no control
    for (Window* c : controls)
      if (id && c->ControlId() == (negative ? -static_cast<int>(*id) : static_cast<int>(*id))) return c;
    return nullptr;
  }
  const std::string key = Normalise(name);
  for (Window* c : controls)  // a control's own text first
    if (!dynamic_cast<Static*>(c) && !dynamic_cast<Edit*>(c) && Normalise(c->Text()) == key) return c;
  for (std::size_t i = 0; i < controls.size(); ++i)  // then the control after a label
    if (dynamic_cast<Static*>(controls[i]) && Normalise(controls[i]->Text()) == key &&
        i + 1 < controls.size())
      return controls[i + 1];
  return nullptr;
}

int FindItem(const std::vector<std::string>& texts, const std::string& value) {
  if (value.size() > 1 && value[0] == '#') {
    bool negative = false;
    if (const std::string_view digits = IdDigits(std::string_view(value).substr(1), negative); !digits.empty()) {
      const auto index = ParseDecimal(digits);
      return !negative && index && *index < texts.size() ? static_cast<int>(*index) : -1;
    }
  }
  for (std::size_t i = 0; i < texts.size(); ++i)
    if (texts[i] == value) return static_cast<int>(i);
  for (std::size_t i = 0; i < texts.size(); ++i)
    if (IEquals(texts[i], value)) return static_cast<int>(i);
  return -1;
}

template <typename Items>
std::vector<std::string> TextsOf(const Items& items) {
  std::vector<std::string> out;
  for (const auto& item : items) out.push_back(item.text);
  return out;
}

std::vector<std::string> FirstColumn(const ListView& list) {
  std::vector<std::string> out;
  for (const auto& row : list.Rows()) out.push_back(row.texts.empty() ? std::string() : row.texts[0]);
  return out;
}

// A user can use a control that is enabled and shown, inside windows that are
// enabled and shown (the top-level window itself may be hidden: a host acts
// on it as it appears).
bool Usable(Window* control) {
  for (Window* w = control; w; w = w->Parent()) {
    if (!w->IsEnabled()) return false;
    if (w->Parent() && !w->IsVisible()) return false;
  }
  return true;
}

// A dialog's pages behind a tab control: the user clicks the tab.
std::string ChooseTab(Window& window, const std::string& title) {
  const std::string where = " in " + window.Describe();
  for (Window* control : Reachable(window)) {
    auto* tabs = dynamic_cast<TabControl*>(control);
    if (!tabs) continue;
    if (!Usable(tabs)) return tabs->Describe() + where + " is disabled or hidden";
    const int index = FindItem(tabs->Titles(), title);
    if (index < 0) return "no page \"" + title + "\"" + where;
    tabs->UserSelect(index);
    return {};
  }
  return "no pages" + where;
}

std::string ApplyOnThread(Window& window, const Action& action) {
  const std::string where = " in " + window.Describe();
  if (action.kind == Action::Kind::Default) return ApplyDefault(window);
  if (action.kind == Action::Kind::Help) {
    SendMessage(window.GetHwnd(), msg::Help);
    return {};
  }
  if (action.kind == Action::Kind::Page) {
    auto* sheet = dynamic_cast<PropertySheet*>(&window);
    if (!sheet) return ChooseTab(window, action.control);
    std::vector<std::string> titles;
    for (int i = 0; i < sheet->GetPageCount(); ++i) titles.push_back(sheet->GetPage(i)->Title());
    const int index = FindItem(titles, action.control);
    if (index < 0) return "no page \"" + action.control + "\"" + where;
    // A page that refuses to show is what the user sees (the sheet stays on
    // its page), not an action that could not be done.
    (void)sheet->SetActivePage(index);
    return {};
  }
  Window* control = FindControl(window, action.control);
  if (!control) return "no control \"" + action.control + "\"" + where;
  const std::string what = control->Describe() + where;
  if (!Usable(control)) return what + " is disabled or hidden";

  switch (action.kind) {
    case Action::Kind::Click:
    case Action::Kind::Check:
    case Action::Kind::Uncheck: {
      auto* button = dynamic_cast<Button*>(control);
      if (!button || button->IsGroupBox()) return what + " is not a button";
      if (action.kind != Action::Kind::Click) {
        if (!button->IsCheckable() && !button->IsRadio()) return what + " cannot be ticked";
        const bool want = action.kind == Action::Kind::Check;
        if ((button->GetCheck() == Checked) == want) return {};
      }
      button->UserClick();
      return {};
    }
    case Action::Kind::Type: {
      if (auto* edit = dynamic_cast<Edit*>(control)) {
        if (edit->IsReadOnly()) return what + " is read-only";
        edit->UserType(action.value);
        return {};
      }
      if (auto* combo = dynamic_cast<ComboBox*>(control); combo && combo->UserType(action.value))
        return {};
      return what + " does not take typing";
    }
    case Action::Kind::Select:
    case Action::Kind::Add: {
      if (auto* list = dynamic_cast<ListBox*>(control)) {
        const int index = FindItem(TextsOf(list->Items()), action.value);
        if (index < 0) return "no item \"" + action.value + "\" in " + what;
        list->UserSelect(index, action.kind == Action::Kind::Add);
        return {};
      }
      if (auto* combo = dynamic_cast<ComboBox*>(control)) {
        combo->UserDropDown();  // a person opens the list before choosing
        const int index = FindItem(TextsOf(combo->Items()), action.value);
        if (index < 0) return "no item \"" + action.value + "\" in " + what;
        combo->UserSelect(index);
        return {};
      }
      if (auto* view = dynamic_cast<ListView*>(control)) {
        const int index = FindItem(FirstColumn(*view), action.value);
        if (index < 0) return "no item \"" + action.value + "\" in " + what;
        view->UserSelect(index);
        return {};
      }
      if (auto* hosted = dynamic_cast<HostedControl*>(control)) {
        const int index = FindHostedItem(hosted->Items(), action.value);
        if (index < 0) return "no item \"" + action.value + "\" in " + what;
        if (!hosted->UserPick(static_cast<std::size_t>(index)))
          return "item \"" + action.value + "\" cannot be chosen in " + what;
        return {};
      }
      return what + " has no items";
    }
    case Action::Kind::Open: {
      auto* combo = dynamic_cast<ComboBox*>(control);
      if (!combo) return what + " has no list to open";
      combo->UserDropDown();
      return {};
    }
    case Action::Kind::Tick:
    case Action::Kind::Untick: {
      auto* view = dynamic_cast<ListView*>(control);
      if (!view || !view->HasCheckBoxes()) return what + " has no check boxes";
      const int index = FindItem(FirstColumn(*view), action.value);
      if (index < 0) return "no item \"" + action.value + "\" in " + what;
      view->UserCheck(index, action.kind == Action::Kind::Tick);
      return {};
    }
    case Action::Kind::Context:
    case Action::Kind::DoubleClick: {
      // A list box's item is double-clicked as a whole: selected, then told.
      if (auto* list = dynamic_cast<ListBox*>(control); list && action.kind == Action::Kind::DoubleClick) {
        const int index = action.value.empty() ? list->GetCurSel() : FindItem(TextsOf(list->Items()), action.value);
        if (index < 0) return "no item \"" + action.value + "\" in " + what;
        list->UserDoubleClickItem(index);
        return {};
      }
      if (!action.value.empty()) {
        auto* view = dynamic_cast<ListView*>(control);
        if (!view) return what + " has no items";
        const int index = FindItem(FirstColumn(*view), action.value);
        if (index < 0) return "no item \"" + action.value + "\" in " + what;
        view->UserSelect(index);
      }
      if (action.kind == Action::Kind::Context)
        control->UserContextMenu();
      else
        control->UserDoubleClick();
      return {};
    }
    case Action::Kind::Focus: control->SetFocus(); return {};
    default: return "unknown action" + where;
  }
}

Button* DefaultButtonOf(Window& window) {
  for (Window* c : window.Children())
    if (auto* b = dynamic_cast<Button*>(c); b && b->IsDefault()) return b;
  return nullptr;
}

}  // namespace

void UiHost::WaitTimedOut(Window& window) { CancelWindow(window); }

std::shared_ptr<UiHost> CurrentUiHost() {
  std::lock_guard lock(g_host_mutex);
  if (!HostStorage()) HostStorage() = std::make_shared<AutomaticHost>();
  return HostStorage();
}

void SetUiHost(std::shared_ptr<UiHost> host) {
  std::lock_guard lock(g_host_mutex);
  HostStorage() = std::move(host);
}

std::optional<Action> ParseAction(std::string_view line, std::string* error) {
  std::vector<std::string> words;
  if (!SplitWords(line, words, error)) return std::nullopt;
  if (words.empty()) {
    if (error) *error = "empty action";
    return std::nullopt;
  }
  const std::string verb = AsciiLowerCopy(words[0]);
  const auto* entry = std::find_if(std::begin(kKindNames), std::end(kKindNames),
                                   [&](const KindName& k) { return verb == k.name; });
  if (entry == std::end(kKindNames)) {
    if (error) *error = "unknown action \"" + words[0] + "\"";
    return std::nullopt;
  }
  Action action;
  action.kind = entry->kind;
  const bool needs_value = action.kind == Action::Kind::Type || action.kind == Action::Kind::Select ||
                           action.kind == Action::Kind::Add || action.kind == Action::Kind::Tick ||
                           action.kind == Action::Kind::Untick;
  const bool whole_window = action.kind == Action::Kind::Default || action.kind == Action::Kind::Help;
  const std::size_t needed = whole_window ? 1 : needs_value ? 3 : 2;
  // A right-click or double-click names the item it falls on, or none.
  const bool may_take_value = action.kind == Action::Kind::Context || action.kind == Action::Kind::DoubleClick;
  if (words.size() < needed || (!needs_value && !may_take_value && words.size() > needed)) {
    if (error) *error = "\"" + verb + "\" takes " + std::to_string(needed - 1) + " word(s)";
    return std::nullopt;
  }
  if (needed >= 2) action.control = words[1];
  if (needs_value || may_take_value) {
    // Everything after the control is the value: type 1001 two words
    for (std::size_t i = 2; i < words.size(); ++i) action.value += (i > 2 ? " " : "") + words[i];
  }
  return action;
}

std::string FormatAction(const Action& action) {
  std::string out;
  for (const auto& k : kKindNames)
    if (k.kind == action.kind) out = k.name;
  if (action.kind == Action::Kind::Default || action.kind == Action::Kind::Help) return out;
  out += " " + Quote(action.control);
  switch (action.kind) {
    case Action::Kind::Type:
    case Action::Kind::Select:
    case Action::Kind::Add:
    case Action::Kind::Tick:
    case Action::Kind::Untick: out += " " + Quote(action.value); break;
    case Action::Kind::Context:
    case Action::Kind::DoubleClick:
      if (!action.value.empty()) out += " " + Quote(action.value);
      break;
    default: break;
  }
  return out;
}

std::string ApplyAction(Window& window, const Action& action) {
  if (!window.IsWindow()) return "the window is gone: " + window.Describe();
  if (window.Thread() != CurrentThreadId()) return ApplyActionFromAnyThread(window, action);
  return ApplyOnThread(window, action);
}

std::string ApplyActionFromAnyThread(Window& window, const Action& action) {
  std::string result = "the window is gone";
  RunOnWindowThread(window, [&] { result = ApplyOnThread(window, action); });
  return result;
}

std::string ApplyDefault(Window& window) {
  if (auto* sheet = dynamic_cast<PropertySheet*>(&window)) {
    if (!sheet->IsWizard()) {
      if (!sheet->PressOk()) return "OK was refused in " + window.Describe();
      return {};
    }
    for (int id : {IdWizFinish, IdWizNext}) {
      Window* b = sheet->FindChild(id);
      if (b && b->IsEnabled()) {
        const bool moved = id == IdWizFinish ? sheet->PressFinish() : sheet->PressNext();
        return moved ? std::string() : b->Text() + " was refused in " + window.Describe();
      }
    }
    return "no way forward in " + window.Describe();
  }
  if (auto* dialog = dynamic_cast<Dialog*>(&window)) {
    Button* button = DefaultButtonOf(*dialog);
    if (!button) button = dynamic_cast<Button*>(dialog->GetDlgItem(IdOk));
    if (!button) {
      dialog->EndDialog(IdOk);
      return {};
    }
    if (!Usable(button)) return button->Describe() + " is disabled in " + window.Describe();
    button->UserClick();
    return {};
  }
  return "no default answer for " + window.Describe();
}

void CancelWindow(Window& window) {
  auto run = [&] {
    if (auto* sheet = dynamic_cast<PropertySheet*>(&window)) {
      sheet->PressCancel();
    } else if (auto* box = dynamic_cast<MessageBoxDialog*>(&window)) {
      Window* chosen = box->GetDlgItem(IdCancel);
      if (!chosen) chosen = box->GetDlgItem(IdNo);
      if (!chosen) {
        auto children = box->Children();
        if (!children.empty()) chosen = children.back();
      }
      if (auto* b = dynamic_cast<Button*>(chosen)) b->UserClick();
    } else if (auto* dialog = dynamic_cast<Dialog*>(&window)) {
      dialog->PressCancel();
    }
    if (window.IsModal() && !window.ModalEnded()) window.EndModal(IdCancel);
  };
  RunOnWindowThread(window, run);
}

}  // namespace plat
