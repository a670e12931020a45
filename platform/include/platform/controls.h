#pragma once
// The controls of dialogs. Changes a program makes do not notify the parent;
// the user's actions (through a UI host) do, as a real user's would.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/window.h"

namespace plat {

class Static : public Window {
 public:
  const char* ClassName() const override { return "static"; }
};

class Button : public Window {
 public:
  const char* ClassName() const override { return "button"; }
  std::uint32_t Kind() const { return Style() & bs::KindMask; }
  bool IsPushButton() const;
  bool IsCheckable() const;
  bool IsRadio() const;
  bool IsGroupBox() const { return Kind() == bs::GroupBox; }
  bool IsDefault() const { return Kind() == bs::DefPushButton; }
  int GetCheck() const;
  void SetCheck(int state);
  // The user clicks: an automatic check box toggles, an automatic radio button
  // checks itself and clears the others of its group, then the parent hears
  // of the click.
  void UserClick();

 private:
  int check_ = Unchecked;
};

class Edit : public Window {
 public:
  const char* ClassName() const override { return "edit"; }
  bool IsReadOnly() const { return (Style() & es::ReadOnly) != 0; }
  bool IsMultiLine() const { return (Style() & es::MultiLine) != 0; }
  void SetReadOnly(bool read_only);
  // The user replaces the text; the parent hears of the change.
  void UserType(std::string text);
};

// An item of a list-like control: its text and the program's data.
struct ListItem {
  std::string text;
  std::uintptr_t data = 0;
  bool selected = false;
};

class ListBox : public Window {
 public:
  const char* ClassName() const override { return "listbox"; }
  bool IsMultiSelect() const { return (Style() & (lbs::MultipleSel | lbs::ExtendedSel)) != 0; }
  int AddString(std::string text);  // sorted when the list is sorted; returns the index
  int InsertString(int index, std::string text);  // -1 appends
  bool DeleteString(int index);
  void ResetContent();
  int GetCount() const;
  std::string GetText(int index) const;
  int FindStringExact(const std::string& text, int start_after = -1) const;
  bool SetItemData(int index, std::uintptr_t data);
  std::uintptr_t GetItemData(int index) const;
  // Single selection lists.
  int GetCurSel() const;
  bool SetCurSel(int index);  // -1 clears
  // Multiple selection lists.
  bool GetSel(int index) const;
  bool SetSel(int index, bool selected);
  std::vector<int> GetSelItems() const;
  // The user picks an item (adds it to a multiple selection when add is set).
  bool UserSelect(int index, bool add = false);
  // The user double-clicks an item: it is picked alone, then the parent
  // hears lbn::DblClk.
  bool UserDoubleClickItem(int index);
  std::vector<ListItem> Items() const;
  // The first item shown (scrolling), the item with the focus rectangle and
  // the width in pixels the list scrolls across.
  int GetTopIndex() const;
  bool SetTopIndex(int index);
  int GetCaretIndex() const;
  bool SetCaretIndex(int index);
  int GetHorizontalExtent() const;
  void SetHorizontalExtent(int pixels);

 private:
  std::vector<ListItem> items_;
  int cur_sel_ = -1;
  int top_ = 0;
  int caret_ = 0;
  int extent_ = 0;
};

// A row of tabs over pages the dialog shows and hides itself. Choosing a tab
// as a user does notifies the parent with tcn::SelChange.
class TabControl : public Window {
 public:
  const char* ClassName() const override { return "tab"; }
  int InsertItem(int index, std::string title);  // -1 or past the end appends; returns the index
  void DeleteAllItems();
  int GetItemCount() const;
  std::string GetItemText(int index) const;
  std::vector<std::string> Titles() const;
  int GetCurSel() const;
  bool SetCurSel(int index);  // no notification
  bool UserSelect(int index);

 private:
  std::vector<std::string> titles_;
  int cur_sel_ = -1;
};

class ComboBox : public Window {
 public:
  const char* ClassName() const override { return "combobox"; }
  bool IsEditable() const { return (Style() & 0x3) == cbs::DropDown; }
  int AddString(std::string text);
  int InsertString(int index, std::string text);
  bool DeleteString(int index);
  void ResetContent();
  int GetCount() const;
  std::string GetLBText(int index) const;
  int FindStringExact(const std::string& text) const;
  bool SetItemData(int index, std::uintptr_t data);
  std::uintptr_t GetItemData(int index) const;
  int GetCurSel() const;
  bool SetCurSel(int index);  // also puts the item's text into the edit part
  std::vector<ListItem> Items() const;
  bool UserSelect(int index);
  // The user opens the list (the control and its parent hear of it first).
  void UserDropDown();
  // Typing into an editable combo box clears the selection.
  bool UserType(std::string text);

 private:
  std::vector<ListItem> items_;
  int cur_sel_ = -1;
};

class ProgressBar : public Window {
 public:
  const char* ClassName() const override { return "progress"; }
  void SetRange(int low, int high);
  void GetRange(int& low, int& high) const;
  void SetStep(int step);
  int GetStep() const;
  int SetPos(int pos);  // returns the previous position
  int DeltaPos(int delta);
  int StepIt();
  int GetPos() const;

 private:
  int Clamp(int pos) const;
  int low_ = 0, high_ = 100, step_ = 10, pos_ = 0;
};

// Plays an animation resource (frames are artwork; only the state matters).
class Animation : public Window {
 public:
  const char* ClassName() const override { return "animation"; }
  bool Open(int resource_id);  // false when no module of the chain has it
  void Close();
  bool Play(int from, int to, int repeat);  // repeat -1: without end
  void Stop();
  bool IsOpen() const;
  bool IsPlaying() const;
  int ResourceId() const;

 private:
  int resource_ = 0;
  bool playing_ = false;
};

// A report-style list view: columns and rows of sub-item texts.
struct ListViewNotify : NotifyHeader {
  int item = -1;
  bool old_selected = false, new_selected = false;
  bool old_checked = false, new_checked = false;
};

class ListView : public Window {
 public:
  struct Row {
    std::vector<std::string> texts;  // one per column; the first is the item text
    std::uintptr_t data = 0;
    int image = -1;
    bool selected = false;
    bool checked = false;
  };
  const char* ClassName() const override { return "listview"; }
  bool HasCheckBoxes() const { return (Style() & lvs::CheckBoxes) != 0; }
  bool IsSingleSelect() const { return (Style() & lvs::SingleSel) != 0; }
  int InsertColumn(int index, std::string heading, int width = 100);
  int GetColumnCount() const;
  std::vector<std::string> Columns() const;
  int InsertItem(int index, std::string text, int image = -1);  // -1 or past the end appends
  bool SetItemText(int index, int column, std::string text);
  std::string GetItemText(int index, int column) const;
  bool DeleteItem(int index);
  void DeleteAllItems();
  int GetItemCount() const;
  bool SetItemData(int index, std::uintptr_t data);
  std::uintptr_t GetItemData(int index) const;
  int FindItemByData(std::uintptr_t data) const;
  bool SetSelected(int index, bool selected);
  bool IsSelected(int index) const;
  std::vector<int> GetSelected() const;
  bool SetCheck(int index, bool checked);
  bool GetCheck(int index) const;
  std::vector<Row> Rows() const;
  // The user clicks an item (a single-selection list drops the others) or
  // ticks its check box; the parent hears of each change.
  bool UserSelect(int index);
  bool UserCheck(int index, bool checked);

 private:
  void NotifyChange(int index, const Row& before, const Row& after);
  std::vector<std::string> columns_;
  std::vector<Row> rows_;
};

// Creates the control for a template class name ("static", "button", "edit",
// "combobox", "listbox", "progress", "animation", "listview", "tab", or a class id
// "{...}" for a hosted control); nullptr for an unknown class.
std::unique_ptr<Window> MakeControl(const std::string& class_name);

}  // namespace plat
