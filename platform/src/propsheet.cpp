#include "platform/propsheet.h"

#include <algorithm>

#include "modal_loop.h"
#include "platform/controls.h"
#include "platform/message.h"

namespace plat {

// ---- PropertyPage ----

PropertyPage::PropertyPage(int template_id, std::string title)
    : Dialog(template_id), title_(std::move(title)) {}

std::string PropertyPage::Title() const {
  if (!title_.empty()) return title_;
  if (const DialogTemplate* t = Template()) return t->caption;
  if (auto t = FindDialogTemplate(TemplateId())) return t->caption;
  return {};
}

bool PropertyPage::CreatePage(PropertySheet* sheet) {
  sheet_ = sheet;
  if (!CreateFromTemplate(sheet, true)) return false;
  OnInitDialog();
  return true;
}

void PropertyPage::SetModified(bool modified) {
  {
    WindowStateLock state;
    modified_ = modified;
  }
  if (sheet_) sheet_->UpdateButtons();
}

bool PropertyPage::IsModified() const {
  WindowStateLock state;
  return modified_;
}

// ---- PropertySheet ----

PropertySheet::PropertySheet(std::string caption, Window* parent, int start_page)
    : parent_arg_(parent), start_page_(start_page) {
  SetText(std::move(caption));
}

// Page windows are children of the sheet's window and go with it; a page
// object destroyed first has already unlinked itself.
PropertySheet::~PropertySheet() { DestroyWindow(); }

int PropertySheet::TemplateId() const {
  const PropertyPage* page = GetActivePage();
  return page ? page->TemplateId() : 0;
}

void PropertySheet::AddPage(PropertyPage* page) {
  if (!page) return;
  page->sheet_ = this;
  pages_.push_back(page);
}

void PropertySheet::RemovePage(int index) {
  if (index < 0 || index >= GetPageCount()) return;
  PropertyPage* page = GetPage(index);
  page->DestroyWindow();
  pages_.erase(pages_.begin() + index);
  if (active_ == index) {
    active_ = -1;
    if (IsWindow() && !pages_.empty()) Activate(std::min(index, GetPageCount() - 1));
  } else if (active_ > index) {
    --active_;
  }
}

int PropertySheet::GetPageCount() const { return static_cast<int>(pages_.size()); }

PropertyPage* PropertySheet::GetPage(int index) const {
  return index >= 0 && index < GetPageCount() ? pages_[static_cast<std::size_t>(index)] : nullptr;
}

int PropertySheet::GetPageIndex(const PropertyPage* page) const {
  auto it = std::find(pages_.begin(), pages_.end(), page);
  return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

PropertyPage* PropertySheet::GetActivePage() const { return GetPage(GetActiveIndex()); }

int PropertySheet::GetActiveIndex() const {
  WindowStateLock state;
  return active_;
}

int PropertySheet::IndexOfTemplate(int template_id) const {
  for (int i = 0; i < GetPageCount(); ++i)
    if (GetPage(i)->TemplateId() == template_id) return i;
  return -1;
}

bool PropertySheet::Activate(int index) {
  PropertyPage* page = GetPage(index);
  if (!page) return false;
  if (!page->IsCreated() && !page->CreatePage(this)) return false;
  if (!page->OnSetActive()) return false;
  page->activated_ = true;
  PropertyPage* previous = GetActivePage();
  if (previous && previous != page) previous->SetStyle(previous->Style() & ~ws::Visible);
  page->SetStyle(page->Style() | ws::Visible);
  {
    WindowStateLock state;
    active_ = index;
  }
  UpdateButtons();
  AnnounceChange();
  return true;
}

bool PropertySheet::SetActivePage(int index) {
  if (!IsWindow()) {
    start_page_ = index;
    return index >= 0 && index < GetPageCount();
  }
  if (index == GetActiveIndex()) return true;
  if (PropertyPage* current = GetActivePage(); current && !current->OnKillActive()) return false;
  return Activate(index);
}

void PropertySheet::SetWizardButtons(unsigned buttons) {
  {
    WindowStateLock state;
    wizard_buttons_ = buttons;
  }
  UpdateButtons();
}

unsigned PropertySheet::WizardButtons() const {
  WindowStateLock state;
  return wizard_buttons_;
}

bool PropertySheet::CreateSheetWindow(Window* parent) {
  if (IsWindow() || pages_.empty()) return false;
  CreateWindowObject(nullptr, 0, Text(), ws::Popup | ws::Caption);
  SetOwner(parent ? parent->TopLevelWindow() : nullptr);
  struct Spec {
    int id;
    const char* text;
    std::uint32_t style;
  };
  std::vector<Spec> specs;
  if (wizard_)
    specs = {{IdWizBack, "< Back", bs::PushButton},
             {IdWizNext, "Next >", bs::DefPushButton},
             {IdWizFinish, "Finish", bs::PushButton},
             {IdCancel, "Cancel", bs::PushButton}};
  else
    specs = {{IdOk, "OK", bs::DefPushButton},
             {IdCancel, "Cancel", bs::PushButton},
             {IdApplyNow, "Apply", bs::PushButton}};
  if (flags_ & kSheetHasHelp) specs.push_back({IdHelp, "Help", bs::PushButton});
  buttons_.clear();
  for (const auto& spec : specs) {
    auto button = std::make_unique<Button>();
    button->CreateWindowObject(this, spec.id, spec.text, spec.style | ws::Child | ws::Visible);
    buttons_.push_back(std::move(button));
  }
  {
    WindowStateLock state;
    ended_ = false;
    result_ = 0;
    active_ = -1;
  }
  const int start = start_page_ >= 0 && start_page_ < GetPageCount() ? start_page_ : 0;
  if (!Activate(start)) {
    // A refused start page: the first page that accepts is shown instead.
    bool any = false;
    for (int i = 0; i < GetPageCount() && !any; ++i) any = i != start && Activate(i);
    if (!any) {
      DestroyWindow();
      return false;
    }
  }
  OnInitDialog();
  UpdateButtons();
  return true;
}

int PropertySheet::DoModal() {
  if (!CreateSheetWindow(parent_arg_)) return -1;
  modal_ = true;
  RunModal(*this);
  for (PropertyPage* page : pages_) page->DestroyWindow();
  DestroyWindow();
  modal_ = false;
  return Result();
}

bool PropertySheet::Create(Window* parent) {
  if (!CreateSheetWindow(parent ? parent : parent_arg_)) return false;
  modal_ = false;
  ShowWindow(true);
  return true;
}

void PropertySheet::EndDialog(int result) {
  WindowStateLock state;
  ended_ = true;
  result_ = result;
}

bool PropertySheet::EndModal(int result) {
  EndDialog(result);
  return true;
}

bool PropertySheet::Ended() const {
  WindowStateLock state;
  return ended_;
}

int PropertySheet::Result() const {
  WindowStateLock state;
  return result_;
}

bool PropertySheet::AnyModified() const {
  return std::any_of(pages_.begin(), pages_.end(),
                     [](const PropertyPage* p) { return p->IsCreated() && p->IsModified(); });
}

void PropertySheet::UpdateButtons() {
  if (!IsWindow()) return;
  auto enable = [this](int id, bool on) {
    if (Window* b = FindChild(id)) b->EnableWindow(on);
  };
  if (wizard_) {
    const unsigned flags = WizardButtons();
    enable(IdWizBack, (flags & wizb::Back) != 0);
    enable(IdWizNext, (flags & wizb::Next) != 0);
    enable(IdWizFinish, (flags & wizb::Finish) != 0 && (flags & wizb::DisabledFinish) == 0);
  } else {
    enable(IdApplyNow, AnyModified());
  }
}

bool PropertySheet::ApplyAll() {
  for (int i = 0; i < GetPageCount(); ++i) {
    PropertyPage* page = GetPage(i);
    if (!page->IsCreated()) continue;
    if (!page->OnApply()) {
      if (i != GetActiveIndex()) Activate(i);
      return false;
    }
  }
  for (PropertyPage* page : pages_)
    if (page->IsCreated()) page->SetModified(false);
  return true;
}

bool PropertySheet::PressOk() {
  if (PropertyPage* page = GetActivePage(); page && !page->OnKillActive()) return false;
  if (!ApplyAll()) return false;
  EndDialog(IdOk);
  return true;
}

bool PropertySheet::PressApply() {
  if (!AnyModified()) return false;
  if (PropertyPage* page = GetActivePage(); page && !page->OnKillActive()) return false;
  return ApplyAll();
}

void PropertySheet::PressCancel() {
  if (PropertyPage* page = GetActivePage(); page && !page->OnQueryCancel()) return;
  for (PropertyPage* page : pages_)
    if (page->IsCreated()) page->OnReset();
  EndDialog(IdCancel);
}

void PropertySheet::PressHelp() {
  if (PropertyPage* page = GetActivePage()) page->OnSheetHelp();
}

bool PropertySheet::PressBack() {
  PropertyPage* page = GetActivePage();
  if (!page || !(WizardButtons() & wizb::Back)) return false;
  const int r = page->OnWizardBack();
  if (r == -1) return false;
  const int target = r == 0 ? GetActiveIndex() - 1 : IndexOfTemplate(r);
  return target >= 0 && Activate(target);
}

bool PropertySheet::PressNext() {
  PropertyPage* page = GetActivePage();
  if (!page || !(WizardButtons() & wizb::Next)) return false;
  const int r = page->OnWizardNext();
  if (r == -1) return false;
  const int target = r == 0 ? GetActiveIndex() + 1 : IndexOfTemplate(r);
  if (target < 0 || target >= GetPageCount()) return false;
  if (!page->OnKillActive()) return false;
  return Activate(target);
}

bool PropertySheet::PressFinish() {
  PropertyPage* page = GetActivePage();
  const unsigned flags = WizardButtons();
  if (!page || !(flags & wizb::Finish) || (flags & wizb::DisabledFinish)) return false;
  if (!page->OnWizardFinish()) return false;
  EndDialog(IdWizFinish);
  return true;
}

LResult PropertySheet::WndProc(std::uint32_t message, WParam wparam, LParam lparam,
                               const std::string* text) {
  if (message == msg::Close) {
    PressCancel();
    return 0;
  }
  if (message == msg::Command && HighWord(wparam) == bn::Clicked) {
    switch (LowWord(wparam)) {
      case IdOk: return PressOk();
      case IdCancel: PressCancel(); return 1;
      case IdApplyNow: return PressApply();
      case IdHelp: PressHelp(); return 1;
      case IdWizBack: return PressBack();
      case IdWizNext: return PressNext();
      case IdWizFinish: return PressFinish();
      default: break;
    }
  }
  return Window::WndProc(message, wparam, lparam, text);
}

}  // namespace plat
