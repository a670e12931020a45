#include "platform/dialog.h"

#include <mutex>
#include <charconv>

#include "platform/controls.h"
#include "platform/message.h"
#include "platform/uihost.h"
#include "modal_loop.h"

namespace plat {

Dialog::Dialog(int template_id, Window* parent) : template_id_(template_id), parent_arg_(parent) {}

Dialog::Dialog(DialogTemplate dialog_template, Window* parent)
    : template_id_(dialog_template.id), template_(std::move(dialog_template)), parent_arg_(parent) {}

Dialog::~Dialog() { DestroyWindow(); }

bool Dialog::LoadTemplate() {
  if (!template_) template_ = FindDialogTemplate(template_id_);
  return template_.has_value();
}

bool Dialog::CreateFromTemplate(Window* parent, bool child) {
  if (IsWindow()) return false;
  if (!template_) template_ = FindDialogTemplate(template_id_);
  if (!template_) return false;
  std::vector<std::unique_ptr<Window>> controls;
  for (const auto& c : template_->controls) {
    auto control = MakeControl(c.class_name);
    if (!control) return false;
    controls.push_back(std::move(control));
  }
  std::uint32_t style = template_->style & ~ws::Visible;
  style |= child ? ws::Child : ws::Popup;
  CreateWindowObject(child ? parent : nullptr, 0, template_->caption, style);
  // A dialog is owned by the top-level window that holds its parent.
  if (!child) SetOwner(parent ? parent->TopLevelWindow() : nullptr);
  SetFont(Font{template_->font_face, template_->point_size * 10});
  controls_ = std::move(controls);
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const auto& c = template_->controls[i];
    controls_[i]->CreateWindowObject(this, c.id, c.text, c.style | ws::Child | ws::Visible);
    controls_[i]->SetFont(GetFont());
  }
  WindowStateLock state;
  ended_ = false;
  result_ = 0;
  return true;
}

bool Dialog::SubclassDlgItem(int id, Window& control) {
  Window* old = GetDlgItem(id);
  if (!old || control.IsWindow()) return false;
  if (!control.CreateWindowObjectAfter(*old, id, old->Text(), old->Style())) return false;
  control.SetFont(old->GetFont());
  old->DestroyWindow();
  std::erase_if(controls_, [old](const std::unique_ptr<Window>& c) { return c.get() == old; });
  return true;
}

int Dialog::DoModal() {
  if (!CreateFromTemplate(parent_arg_, false)) return -1;
  modal_ = true;
  RunModal(*this, [this] { OnInitDialog(); }, !invisible_);
  DestroyWindow();
  modal_ = false;
  return Result();
}

bool Dialog::Create(Window* parent) {
  if (!CreateFromTemplate(parent, false)) return false;
  modal_ = false;
  OnInitDialog();
  if (template_->style & ws::Visible) ShowWindow(true);
  return true;
}

void Dialog::EndDialog(int result) {
  WindowStateLock state;
  result_ = result;
  ended_ = true;
}

bool Dialog::EndModal(int result) {
  EndDialog(result);
  return true;
}

bool Dialog::Ended() const {
  WindowStateLock state;
  return ended_;
}

int Dialog::Result() const {
  WindowStateLock state;
  return result_;
}

std::string Dialog::GetDlgItemText(int id) const {
  Window* item = GetDlgItem(id);
  return item ? item->Text() : std::string();
}

void Dialog::SetDlgItemText(int id, std::string text) {
  if (Window* item = GetDlgItem(id)) item->SetText(std::move(text));
}

int Dialog::DefaultButtonId() const {
  for (Window* child : Children())
    if (auto* b = dynamic_cast<Button*>(child); b && b->IsDefault()) return b->ControlId();
  return IdOk;
}

bool Dialog::UpdateData(bool save_and_validate) {
  DataExchange dx(*this, save_and_validate);
  DoDataExchange(dx);
  return !dx.failed();
}

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

bool Dialog::OnCommand(int id, int code) {
  if (code != bn::Clicked) return false;
  switch (id) {
    case IdOk: OnOK(); return true;
    case IdCancel: OnCancel(); return true;
    case IdHelp: OnHelp(); return true;
    default: return false;
  }
}

LResult Dialog::OnNotify(NotifyHeader&) { return 0; }

void Dialog::OnOK() {
  if (UpdateData(true)) EndDialog(IdOk);
}

void Dialog::OnCancel() { EndDialog(IdCancel); }

bool Dialog::OnMessage(std::uint32_t, WParam, LParam, const std::string*, LResult&) { return false; }

LResult Dialog::WndProc(std::uint32_t message, WParam wparam, LParam lparam,
                        const std::string* text) {
  switch (message) {
    case msg::Command: return OnCommand(LowWord(wparam), HighWord(wparam)) ? 1 : 0;
    case msg::Notify:
      return lparam ? OnNotify(*reinterpret_cast<NotifyHeader*>(lparam)) : 0;
    case msg::Timer: OnTimer(wparam); return 0;
    case msg::Close: OnCancel(); return 0;
    default: break;
  }
  LResult result = 0;
  if (OnMessage(message, wparam, lparam, text, result)) return result;
  return Window::WndProc(message, wparam, lparam, text);
}

// ---- data exchange ----

void DataExchange::Fail(int control_id, const std::string& why) {
  failed_ = true;
  (void)control_id;
  MessageBox(&dialog_, why, std::string(), mb::Ok | mb::IconWarning);
}

void DdxText(DataExchange& dx, int id, std::string& value) {
  if (dx.failed()) return;
  if (dx.saving())
    value = dx.dialog().GetDlgItemText(id);
  else
    dx.dialog().SetDlgItemText(id, value);
}

void DdxText(DataExchange& dx, int id, int& value) {
  if (dx.failed()) return;
  if (!dx.saving()) {
    dx.dialog().SetDlgItemText(id, std::to_string(value));
    return;
  }
  std::string text = dx.dialog().GetDlgItemText(id);
  const auto first = text.find_first_not_of(" \t");
  const auto last = text.find_last_not_of(" \t");
  text = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
  int parsed = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
    dx.Fail(id, "Please enter an integer.");
    return;
  }
  value = parsed;
}

void DdxCheck(DataExchange& dx, int id, int& value) {
  if (dx.failed()) return;
  auto* button = dx.dialog().Item<Button>(id);
  if (!button) return;
  if (dx.saving())
    value = button->GetCheck();
  else
    button->SetCheck(value);
}

void DdxRadio(DataExchange& dx, int first_id, int& value) {
  if (dx.failed()) return;
  std::vector<Button*> group;
  bool in_group = false;
  for (Window* child : dx.dialog().Children()) {
    auto* radio = dynamic_cast<Button*>(child);
    if (!in_group) {
      if (child->ControlId() != first_id) continue;
      in_group = true;
    } else if (!radio || !radio->IsRadio() || (child->Style() & ws::Group)) {
      break;
    }
    if (radio && radio->IsRadio()) group.push_back(radio);
  }
  if (dx.saving()) {
    value = -1;
    for (std::size_t i = 0; i < group.size(); ++i)
      if (group[i]->GetCheck() == Checked) value = static_cast<int>(i);
  } else {
    for (std::size_t i = 0; i < group.size(); ++i)
      group[i]->SetCheck(static_cast<int>(i) == value ? Checked : Unchecked);
  }
}

void DdxCbIndex(DataExchange& dx, int id, int& value) {
  if (dx.failed()) return;
  auto* combo = dx.dialog().Item<ComboBox>(id);
  if (!combo) return;
  if (dx.saving())
    value = combo->GetCurSel();
  else
    combo->SetCurSel(value);
}

void DdxCbString(DataExchange& dx, int id, std::string& value) {
  if (dx.failed()) return;
  auto* combo = dx.dialog().Item<ComboBox>(id);
  if (!combo) return;
  if (dx.saving()) {
    value = combo->Text();
  } else {
    const int index = combo->FindStringExact(value);
    if (index >= 0)
      combo->SetCurSel(index);
    else if (combo->IsEditable())
      combo->SetText(value);
  }
}

void DdxLbIndex(DataExchange& dx, int id, int& value) {
  if (dx.failed()) return;
  auto* list = dx.dialog().Item<ListBox>(id);
  if (!list) return;
  if (dx.saving())
    value = list->GetCurSel();
  else
    list->SetCurSel(value);
}

// ---- message boxes ----

namespace {

struct ButtonSpec {
  int id;
  const char* text;
};

std::vector<ButtonSpec> ButtonsFor(std::uint32_t flags) {
  switch (flags & mb::ButtonsMask) {
    case mb::OkCancel: return {{IdOk, "OK"}, {IdCancel, "Cancel"}};
    case mb::AbortRetryIgnore: return {{IdAbort, "Abort"}, {IdRetry, "Retry"}, {IdIgnore, "Ignore"}};
    case mb::YesNoCancel: return {{IdYes, "Yes"}, {IdNo, "No"}, {IdCancel, "Cancel"}};
    case mb::YesNo: return {{IdYes, "Yes"}, {IdNo, "No"}};
    case mb::RetryCancel: return {{IdRetry, "Retry"}, {IdCancel, "Cancel"}};
    default: return {{IdOk, "OK"}};
  }
}

inline constexpr int kMessageTextId = 0xFFFF;

}  // namespace

MessageBoxDialog::MessageBoxDialog(Window* owner, std::string text, std::string caption,
                                   std::uint32_t flags)
    : Dialog(MakeTemplate(text, caption, flags), owner), text_(std::move(text)), flags_(flags) {}

DialogTemplate MessageBoxDialog::MakeTemplate(const std::string& text, const std::string& caption,
                                              std::uint32_t flags) {
  DialogTemplate t;
  t.id = 0;
  t.caption = caption.empty() ? AppName() : caption;
  if (t.caption.empty()) t.caption = "Error";
  t.controls.push_back(ControlTemplate{"static", kMessageTextId, text, 0});
  const auto buttons = ButtonsFor(flags);
  const std::size_t def = ((flags & mb::DefButtonMask) >> 8) < buttons.size()
                              ? ((flags & mb::DefButtonMask) >> 8)
                              : 0;
  for (std::size_t i = 0; i < buttons.size(); ++i)
    t.controls.push_back(ControlTemplate{"button", buttons[i].id, buttons[i].text,
                                         i == def ? bs::DefPushButton : bs::PushButton});
  return t;
}

std::string MessageBoxDialog::IconName() const {
  switch (flags_ & mb::IconMask) {
    case mb::IconError: return "error";
    case mb::IconQuestion: return "question";
    case mb::IconWarning: return "warning";
    case mb::IconInformation: return "information";
    default: return std::string();
  }
}

bool MessageBoxDialog::OnCommand(int id, int code) {
  if (code != bn::Clicked) return false;
  if (id == IdCancel && !GetDlgItem(IdCancel)) {
    // Escape closes a box with a single OK button as OK, and nothing else.
    if ((flags_ & mb::ButtonsMask) == mb::Ok) EndDialog(IdOk);
    return true;
  }
  if (GetDlgItem(id)) EndDialog(id);
  return true;
}

int MessageBox(Window* owner, const std::string& text, const std::string& caption,
               std::uint32_t flags) {
  MessageBoxDialog box(owner, text, caption, flags);
  return box.DoModal();
}

// ---- menus and file dialogs ----

namespace {
bool MenuHasEnabledItem(const std::vector<MenuItem>& items, int id) {
  for (const auto& item : items) {
    if (item.id == id && !item.IsSeparator() && item.submenu.empty()) return item.enabled;
    if (!item.submenu.empty() && item.enabled && MenuHasEnabledItem(item.submenu, id)) return true;
  }
  return false;
}
}  // namespace

int TrackPopupMenu(const Menu& menu, Window* owner) {
  const int chosen = CurrentUiHost()->ChooseMenuItem(menu, owner);
  return chosen != 0 && MenuHasEnabledItem(menu.items, chosen) ? chosen : 0;
}

std::optional<std::vector<std::string>> GetOpenFileNames(const FileDialogSpec& spec,
                                                         Window* owner) {
  auto chosen = CurrentUiHost()->ChooseFiles(spec, owner);
  if (chosen && (chosen->empty() || (!spec.allow_multiple && chosen->size() > 1)))
    return std::nullopt;
  return chosen;
}

// ---- application name ----

namespace {
std::mutex g_app_mutex;
std::string& AppNameStorage() {
  static auto* name = new std::string();
  return *name;
}
}  // namespace

std::string AppName() {
  std::lock_guard lock(g_app_mutex);
  return AppNameStorage();
}

void SetAppName(std::string name) {
  std::lock_guard lock(g_app_mutex);
  AppNameStorage() = std::move(name);
}

TransientApp::TransientApp(std::string name) {
  std::lock_guard lock(g_app_mutex);
  if (AppNameStorage().empty()) {
    AppNameStorage() = std::move(name);
    set_ = true;
  }
}

TransientApp::~TransientApp() {
  if (!set_) return;
  std::lock_guard lock(g_app_mutex);
  AppNameStorage().clear();
}

}  // namespace plat
