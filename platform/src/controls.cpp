#include "platform/controls.h"

#include <algorithm>

#include "platform/hosted_control.h"
#include "platform/message.h"
#include "platform/resources.h"
#include "platform/text.h"

namespace plat {

namespace {

// An index already checked with ValidIndex, as a subscript.
std::size_t At(int index) { return static_cast<std::size_t>(index); }

bool ValidIndex(int index, std::size_t size) {
  return index >= 0 && static_cast<std::size_t>(index) < size;
}

// Sorted insertion point for a sorted list (case-insensitive, like the
// desktop's list controls).
int SortedPosition(const std::vector<ListItem>& items, const std::string& text) {
  const std::string key = AsciiLowerCopy(text);
  int pos = 0;
  for (const auto& item : items) {
    if (AsciiLowerCopy(item.text) > key) break;
    ++pos;
  }
  return pos;
}

int InsertInto(std::vector<ListItem>& items, int index, std::string text) {
  if (index < 0 || static_cast<std::size_t>(index) > items.size())
    index = static_cast<int>(items.size());
  items.insert(items.begin() + index, ListItem{std::move(text), 0, false});
  return index;
}

}  // namespace

// ---- Button ----

bool Button::IsPushButton() const {
  const auto k = Kind();
  return k == bs::PushButton || k == bs::DefPushButton;
}

bool Button::IsCheckable() const {
  const auto k = Kind();
  return k == bs::CheckBox || k == bs::AutoCheckBox || k == bs::ThreeState ||
         k == bs::AutoThreeState;
}

bool Button::IsRadio() const {
  const auto k = Kind();
  return k == bs::RadioButton || k == bs::AutoRadioButton;
}

int Button::GetCheck() const {
  WindowStateLock state;
  return check_;
}

void Button::SetCheck(int state_value) {
  {
    WindowStateLock state;
    if (check_ == state_value) return;
    check_ = state_value;
  }
  AnnounceChange();
}

void Button::UserClick() {
  const auto k = Kind();
  if (k == bs::AutoCheckBox) {
    SetCheck(GetCheck() == Checked ? Unchecked : Checked);
  } else if (k == bs::AutoThreeState) {
    SetCheck((GetCheck() + 1) % 3);
  } else if (k == bs::AutoRadioButton) {
    // The group runs from the last sibling with the group style up to the next.
    if (Window* parent = Parent()) {
      auto siblings = parent->Children();
      auto self = std::find(siblings.begin(), siblings.end(), this);
      auto first = self;
      while (first != siblings.begin() && !((*first)->Style() & ws::Group)) --first;
      for (auto it = first; it != siblings.end(); ++it) {
        if (it != first && ((*it)->Style() & ws::Group)) break;
        if (auto* radio = dynamic_cast<Button*>(*it); radio && radio->IsRadio() && radio != this)
          radio->SetCheck(Unchecked);
      }
    }
    SetCheck(Checked);
  }
  NotifyParentCommand(bn::Clicked);
}

// ---- Edit ----

void Edit::SetReadOnly(bool read_only) {
  SetStyle(read_only ? (Style() | es::ReadOnly) : (Style() & ~es::ReadOnly));
}

void Edit::UserType(std::string text) {
  SetText(std::move(text));
  NotifyParentCommand(en::Change);
}

// ---- ListBox ----

int ListBox::AddString(std::string text) {
  WindowStateLock state;
  const int at = (Style() & lbs::Sort) ? SortedPosition(items_, text) : -1;
  const int index = InsertInto(items_, at, std::move(text));
  if (cur_sel_ >= index) ++cur_sel_;
  return index;
}

int ListBox::InsertString(int index, std::string text) {
  WindowStateLock state;
  const int at = InsertInto(items_, index, std::move(text));
  if (cur_sel_ >= at) ++cur_sel_;
  return at;
}

bool ListBox::DeleteString(int index) {
  WindowStateLock state;
  if (!ValidIndex(index, items_.size())) return false;
  items_.erase(items_.begin() + index);
  if (cur_sel_ == index)
    cur_sel_ = -1;
  else if (cur_sel_ > index)
    --cur_sel_;
  return true;
}

void ListBox::ResetContent() {
  WindowStateLock state;
  items_.clear();
  cur_sel_ = -1;
  top_ = caret_ = 0;  // the extent stays: the owner sets it for what it appends
}

int ListBox::GetCount() const {
  WindowStateLock state;
  return static_cast<int>(items_.size());
}

std::string ListBox::GetText(int index) const {
  WindowStateLock state;
  return ValidIndex(index, items_.size()) ? items_[At(index)].text : std::string();
}

int ListBox::FindStringExact(const std::string& text, int start_after) const {
  WindowStateLock state;
  for (std::size_t i = start_after < 0 ? 0 : At(start_after) + 1; i < items_.size(); ++i)
    if (items_[i].text == text) return static_cast<int>(i);
  return -1;
}

bool ListBox::SetItemData(int index, std::uintptr_t data) {
  WindowStateLock state;
  if (!ValidIndex(index, items_.size())) return false;
  items_[At(index)].data = data;
  return true;
}

std::uintptr_t ListBox::GetItemData(int index) const {
  WindowStateLock state;
  return ValidIndex(index, items_.size()) ? items_[At(index)].data : 0;
}

int ListBox::GetCurSel() const {
  WindowStateLock state;
  return cur_sel_;
}

bool ListBox::SetCurSel(int index) {
  {
    WindowStateLock state;
    if (index != -1 && !ValidIndex(index, items_.size())) return false;
    cur_sel_ = index;
    if (!IsMultiSelect())
      for (std::size_t i = 0; i < items_.size(); ++i) items_[i].selected = static_cast<int>(i) == index;
  }
  AnnounceChange();
  return true;
}

bool ListBox::GetSel(int index) const {
  WindowStateLock state;
  return ValidIndex(index, items_.size()) && items_[At(index)].selected;
}

bool ListBox::SetSel(int index, bool selected) {
  WindowStateLock state;
  if (index == -1) {
    for (auto& item : items_) item.selected = selected;
    return true;
  }
  if (!ValidIndex(index, items_.size())) return false;
  items_[At(index)].selected = selected;
  if (selected) cur_sel_ = index;
  return true;
}

std::vector<int> ListBox::GetSelItems() const {
  WindowStateLock state;
  std::vector<int> out;
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i].selected) out.push_back(static_cast<int>(i));
  return out;
}

bool ListBox::UserSelect(int index, bool add) {
  if (index < 0 || index >= GetCount()) return false;
  if (IsMultiSelect()) {
    if (!add) SetSel(-1, false);
    SetSel(index, true);
  } else {
    SetCurSel(index);
  }
  NotifyParentCommand(lbn::SelChange);
  return true;
}

bool ListBox::UserDoubleClickItem(int index) {
  if (!UserSelect(index)) return false;
  NotifyParentCommand(lbn::DblClk);
  return true;
}

std::vector<ListItem> ListBox::Items() const {
  WindowStateLock state;
  return items_;
}

int ListBox::GetTopIndex() const {
  WindowStateLock state;
  return top_;
}

bool ListBox::SetTopIndex(int index) {
  WindowStateLock state;
  if (!ValidIndex(index, items_.size())) return false;
  top_ = index;
  return true;
}

int ListBox::GetCaretIndex() const {
  WindowStateLock state;
  return caret_;
}

bool ListBox::SetCaretIndex(int index) {
  WindowStateLock state;
  if (!ValidIndex(index, items_.size())) return false;
  caret_ = index;
  return true;
}

int ListBox::GetHorizontalExtent() const {
  WindowStateLock state;
  return extent_;
}

void ListBox::SetHorizontalExtent(int pixels) {
  WindowStateLock state;
  extent_ = std::max(pixels, 0);
}

// ---- TabControl ----

int TabControl::InsertItem(int index, std::string title) {
  int at = 0;
  {
    WindowStateLock state;
    at = index < 0 || static_cast<std::size_t>(index) > titles_.size() ? static_cast<int>(titles_.size()) : index;
    titles_.insert(titles_.begin() + at, std::move(title));
    if (cur_sel_ >= at) ++cur_sel_;
    if (cur_sel_ < 0) cur_sel_ = 0;  // the first tab is chosen
  }
  AnnounceChange();
  return at;
}

void TabControl::DeleteAllItems() {
  {
    WindowStateLock state;
    titles_.clear();
    cur_sel_ = -1;
  }
  AnnounceChange();
}

int TabControl::GetItemCount() const {
  WindowStateLock state;
  return static_cast<int>(titles_.size());
}

std::string TabControl::GetItemText(int index) const {
  WindowStateLock state;
  return ValidIndex(index, titles_.size()) ? titles_[At(index)] : std::string();
}

std::vector<std::string> TabControl::Titles() const {
  WindowStateLock state;
  return titles_;
}

int TabControl::GetCurSel() const {
  WindowStateLock state;
  return cur_sel_;
}

bool TabControl::SetCurSel(int index) {
  {
    WindowStateLock state;
    if (!ValidIndex(index, titles_.size())) return false;
    cur_sel_ = index;
  }
  AnnounceChange();
  return true;
}

bool TabControl::UserSelect(int index) {
  if (!SetCurSel(index)) return false;
  NotifyHeader header;
  header.code = tcn::SelChange;
  NotifyParent(header);
  return true;
}

// ---- ComboBox ----

int ComboBox::AddString(std::string text) {
  WindowStateLock state;
  const int at = (Style() & cbs::Sort) ? SortedPosition(items_, text) : -1;
  const int index = InsertInto(items_, at, std::move(text));
  if (cur_sel_ >= index) ++cur_sel_;
  return index;
}

int ComboBox::InsertString(int index, std::string text) {
  WindowStateLock state;
  const int at = InsertInto(items_, index, std::move(text));
  if (cur_sel_ >= at) ++cur_sel_;
  return at;
}

bool ComboBox::DeleteString(int index) {
  WindowStateLock state;
  if (!ValidIndex(index, items_.size())) return false;
  items_.erase(items_.begin() + index);
  if (cur_sel_ == index)
    cur_sel_ = -1;
  else if (cur_sel_ > index)
    --cur_sel_;
  return true;
}

void ComboBox::ResetContent() {
  {
    WindowStateLock state;
    items_.clear();
    cur_sel_ = -1;
  }
  SetText({});
}

int ComboBox::GetCount() const {
  WindowStateLock state;
  return static_cast<int>(items_.size());
}

std::string ComboBox::GetLBText(int index) const {
  WindowStateLock state;
  return ValidIndex(index, items_.size()) ? items_[At(index)].text : std::string();
}

int ComboBox::FindStringExact(const std::string& text) const {
  WindowStateLock state;
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i].text == text) return static_cast<int>(i);
  return -1;
}

bool ComboBox::SetItemData(int index, std::uintptr_t data) {
  WindowStateLock state;
  if (!ValidIndex(index, items_.size())) return false;
  items_[At(index)].data = data;
  return true;
}

std::uintptr_t ComboBox::GetItemData(int index) const {
  WindowStateLock state;
  return ValidIndex(index, items_.size()) ? items_[At(index)].data : 0;
}

int ComboBox::GetCurSel() const {
  WindowStateLock state;
  return cur_sel_;
}

bool ComboBox::SetCurSel(int index) {
  std::string text;
  {
    WindowStateLock state;
    if (index != -1 && !ValidIndex(index, items_.size())) return false;
    cur_sel_ = index;
    if (index >= 0) text = items_[At(index)].text;
  }
  SetText(std::move(text));
  return true;
}

std::vector<ListItem> ComboBox::Items() const {
  WindowStateLock state;
  return items_;
}

bool ComboBox::UserSelect(int index) {
  if (!SetCurSel(index) || index < 0) return false;
  NotifyParentCommand(cbn::SelChange);
  return true;
}

void ComboBox::UserDropDown() { NotifyParentCommand(cbn::DropDown); }

bool ComboBox::UserType(std::string text) {
  if (!IsEditable()) return false;
  {
    WindowStateLock state;
    cur_sel_ = -1;
  }
  SetText(std::move(text));
  NotifyParentCommand(cbn::EditChange);
  return true;
}

// ---- ProgressBar ----

int ProgressBar::Clamp(int pos) const { return std::clamp(pos, low_, std::max(low_, high_)); }

void ProgressBar::SetRange(int low, int high) {
  {
    WindowStateLock state;
    low_ = low;
    high_ = high;
    pos_ = Clamp(pos_);
  }
  AnnounceChange();
}

void ProgressBar::GetRange(int& low, int& high) const {
  WindowStateLock state;
  low = low_;
  high = high_;
}

void ProgressBar::SetStep(int step) {
  WindowStateLock state;
  step_ = step;
}

int ProgressBar::GetStep() const {
  WindowStateLock state;
  return step_;
}

int ProgressBar::SetPos(int pos) {
  int previous;
  {
    WindowStateLock state;
    previous = pos_;
    pos_ = Clamp(pos);
  }
  AnnounceChange();
  return previous;
}

int ProgressBar::DeltaPos(int delta) { return SetPos(GetPos() + delta); }

int ProgressBar::StepIt() { return SetPos(GetPos() + GetStep()); }

int ProgressBar::GetPos() const {
  WindowStateLock state;
  return pos_;
}

// ---- Animation ----

bool Animation::Open(int resource_id) {
  if (!FindAnimation(resource_id)) return false;
  WindowStateLock state;
  resource_ = resource_id;
  playing_ = false;
  return true;
}

void Animation::Close() {
  WindowStateLock state;
  resource_ = 0;
  playing_ = false;
}

bool Animation::Play(int, int, int) {
  WindowStateLock state;
  if (!resource_) return false;
  playing_ = true;
  return true;
}

void Animation::Stop() {
  WindowStateLock state;
  playing_ = false;
}

bool Animation::IsOpen() const {
  WindowStateLock state;
  return resource_ != 0;
}

bool Animation::IsPlaying() const {
  WindowStateLock state;
  return playing_;
}

int Animation::ResourceId() const {
  WindowStateLock state;
  return resource_;
}

// ---- ListView ----

int ListView::InsertColumn(int index, std::string heading, int) {
  WindowStateLock state;
  if (index < 0 || static_cast<std::size_t>(index) > columns_.size())
    index = static_cast<int>(columns_.size());
  columns_.insert(columns_.begin() + index, std::move(heading));
  for (auto& row : rows_)
    if (static_cast<std::size_t>(index) <= row.texts.size())
      row.texts.insert(row.texts.begin() + index, std::string());
  return index;
}

int ListView::GetColumnCount() const {
  WindowStateLock state;
  return static_cast<int>(columns_.size());
}

std::vector<std::string> ListView::Columns() const {
  WindowStateLock state;
  return columns_;
}

int ListView::InsertItem(int index, std::string text, int image) {
  {
    WindowStateLock state;
    if (index < 0 || static_cast<std::size_t>(index) > rows_.size())
      index = static_cast<int>(rows_.size());
    Row row;
    row.texts.assign(std::max<std::size_t>(1, columns_.size()), std::string());
    row.texts[0] = std::move(text);
    row.image = image;
    rows_.insert(rows_.begin() + index, std::move(row));
  }
  AnnounceChange();
  return index;
}

bool ListView::SetItemText(int index, int column, std::string text) {
  {
    WindowStateLock state;
    if (!ValidIndex(index, rows_.size()) || column < 0) return false;
    auto& texts = rows_[At(index)].texts;
    if (static_cast<std::size_t>(column) >= texts.size()) texts.resize(At(column) + 1);
    texts[At(column)] = std::move(text);
  }
  AnnounceChange();
  return true;
}

std::string ListView::GetItemText(int index, int column) const {
  WindowStateLock state;
  if (!ValidIndex(index, rows_.size()) || !ValidIndex(column, rows_[At(index)].texts.size())) return {};
  return rows_[At(index)].texts[At(column)];
}

bool ListView::DeleteItem(int index) {
  WindowStateLock state;
  if (!ValidIndex(index, rows_.size())) return false;
  rows_.erase(rows_.begin() + index);
  return true;
}

void ListView::DeleteAllItems() {
  WindowStateLock state;
  rows_.clear();
}

int ListView::GetItemCount() const {
  WindowStateLock state;
  return static_cast<int>(rows_.size());
}

bool ListView::SetItemData(int index, std::uintptr_t data) {
  WindowStateLock state;
  if (!ValidIndex(index, rows_.size())) return false;
  rows_[At(index)].data = data;
  return true;
}

std::uintptr_t ListView::GetItemData(int index) const {
  WindowStateLock state;
  return ValidIndex(index, rows_.size()) ? rows_[At(index)].data : 0;
}

int ListView::FindItemByData(std::uintptr_t data) const {
  WindowStateLock state;
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].data == data) return static_cast<int>(i);
  return -1;
}

bool ListView::SetSelected(int index, bool selected) {
  WindowStateLock state;
  if (!ValidIndex(index, rows_.size())) return false;
  if (selected && IsSingleSelect())
    for (auto& row : rows_) row.selected = false;
  rows_[At(index)].selected = selected;
  return true;
}

bool ListView::IsSelected(int index) const {
  WindowStateLock state;
  return ValidIndex(index, rows_.size()) && rows_[At(index)].selected;
}

std::vector<int> ListView::GetSelected() const {
  WindowStateLock state;
  std::vector<int> out;
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].selected) out.push_back(static_cast<int>(i));
  return out;
}

bool ListView::SetCheck(int index, bool checked) {
  WindowStateLock state;
  if (!ValidIndex(index, rows_.size())) return false;
  rows_[At(index)].checked = checked;
  return true;
}

bool ListView::GetCheck(int index) const {
  WindowStateLock state;
  return ValidIndex(index, rows_.size()) && rows_[At(index)].checked;
}

std::vector<ListView::Row> ListView::Rows() const {
  WindowStateLock state;
  return rows_;
}

void ListView::NotifyChange(int index, const Row& before, const Row& after) {
  ListViewNotify n;
  n.code = lvn::ItemChanged;
  n.item = index;
  n.old_selected = before.selected;
  n.new_selected = after.selected;
  n.old_checked = before.checked;
  n.new_checked = after.checked;
  NotifyParent(n);
}

bool ListView::UserSelect(int index) {
  std::vector<Row> before;
  {
    WindowStateLock state;
    if (!ValidIndex(index, rows_.size())) return false;
    before = rows_;
    // A click selects the item alone, as on the desktop.
    for (auto& row : rows_) row.selected = false;
    rows_[At(index)].selected = true;
  }
  const auto after = Rows();
  for (std::size_t i = 0; i < after.size() && i < before.size(); ++i)
    if (before[i].selected != after[i].selected) NotifyChange(static_cast<int>(i), before[i], after[i]);
  return true;
}

bool ListView::UserCheck(int index, bool checked) {
  Row before, after;
  {
    WindowStateLock state;
    if (!ValidIndex(index, rows_.size()) || !HasCheckBoxes()) return false;
    before = rows_[At(index)];
    rows_[At(index)].checked = checked;
    after = rows_[At(index)];
  }
  if (before.checked != after.checked) NotifyChange(index, before, after);
  return true;
}

std::unique_ptr<Window> MakeControl(const std::string& class_name) {
  if (class_name == "static") return std::make_unique<Static>();
  if (class_name == "button") return std::make_unique<Button>();
  if (class_name == "edit") return std::make_unique<Edit>();
  if (class_name == "combobox") return std::make_unique<ComboBox>();
  if (class_name == "listbox") return std::make_unique<ListBox>();
  if (class_name == "progress") return std::make_unique<ProgressBar>();
  if (class_name == "animation") return std::make_unique<Animation>();
  if (class_name == "listview") return std::make_unique<ListView>();
  if (class_name == "tab") return std::make_unique<TabControl>();
  if (IsClassId(class_name)) return std::make_unique<HostedControl>(class_name);
  return nullptr;
}

}  // namespace plat
