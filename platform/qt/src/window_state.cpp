// A window's state copied for the graphical host, and its layout in dialog
// units.
#include "platform/window_state.h"

#include <algorithm>

#include "platform/dialog.h"
#include "platform/propsheet.h"

namespace plat {

namespace {

constexpr int kMargin = 7;
constexpr int kGap = 4;
constexpr int kIndent = 6;
constexpr int kDialogWidth = 252;
constexpr int kMaxDialogWidth = 440;
constexpr int kLineHeight = 8;
constexpr int kCharWidth = 4;  // an average character is four dialog units wide
constexpr int kButtonHeight = 14;
constexpr int kMinButtonWidth = 50;
constexpr int kTabHeight = 14;
constexpr int kIconSize = 21;

ControlState CaptureControl(const Window& c) {
  ControlState s;
  s.id = c.ControlId();
  s.kind = c.ClassName();
  s.text = c.Text();
  s.style = c.Style();
  s.enabled = c.IsEnabled();
  s.visible = c.IsVisible();
  if (auto* b = dynamic_cast<const Button*>(&c)) s.check = b->GetCheck();
  if (auto* lb = dynamic_cast<const ListBox*>(&c)) {
    s.items = lb->Items();
    s.cur_sel = lb->GetCurSel();
  }
  if (auto* tabs = dynamic_cast<const TabControl*>(&c)) {
    for (auto& title : tabs->Titles()) s.items.push_back(ListItem{title, 0, false});
    s.cur_sel = tabs->GetCurSel();
  }
  if (auto* cb = dynamic_cast<const ComboBox*>(&c)) {
    s.items = cb->Items();
    s.cur_sel = cb->GetCurSel();
  }
  if (auto* lv = dynamic_cast<const ListView*>(&c)) {
    s.columns = lv->Columns();
    s.rows = lv->Rows();
  }
  if (auto* p = dynamic_cast<const ProgressBar*>(&c)) {
    p->GetRange(s.low, s.high);
    s.pos = p->GetPos();
  }
  if (auto* a = dynamic_cast<const Animation*>(&c)) s.playing = a->IsPlaying();
  if (auto* h = dynamic_cast<const HostedControl*>(&c)) {
    s.tree = h->Items();
    s.installed = h->IsInstalled();
  }
  s.tooltip = c.TooltipText();
  return s;
}

std::vector<ControlState> CaptureChildren(const Window& w) {
  std::vector<ControlState> out;
  for (const Window* c : w.Children())
    if (!dynamic_cast<const PropertyPage*>(c)) out.push_back(CaptureControl(*c));
  return out;
}

int TextWidth(const std::string& text) {
  int chars = 0;
  for (char ch : text)
    if (ch != '&' && (static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++chars;  // one per UTF-8 character
  return chars * kCharWidth;
}

// Lines the text takes at this width (each paragraph at least one).
int Lines(const std::string& text, int width) {
  int lines = 0;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    const int w = TextWidth(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    lines += std::max(1, (w + width - 1) / std::max(1, width));
    if (end == std::string::npos) return lines;
    start = end + 1;
  }
}

bool IsPush(const ControlState& c) {
  return c.kind == "button" && ((c.style & bs::KindMask) == bs::PushButton || (c.style & bs::KindMask) == bs::DefPushButton);
}
bool IsGroup(const ControlState& c) { return c.kind == "button" && (c.style & bs::KindMask) == bs::GroupBox; }

int ButtonWidth(const ControlState& c) { return std::max(kMinButtonWidth, TextWidth(c.text) + 10); }

int HeightOf(const ControlState& c, int width) {
  if (c.kind == "static") return Lines(c.text, width) * kLineHeight;
  if (c.kind == "button") return IsPush(c) ? kButtonHeight : Lines(c.text, width - 12) * 10;
  if (c.kind == "edit") return (c.style & es::MultiLine) ? 40 : 12;
  if (c.kind == "listbox") return 48;
  if (c.kind == "listview" || c.kind == "hosted") return 64;
  if (c.kind == "progress" || c.kind == "animation") return 10;
  if (c.kind == "tab") return 14;
  return 12;  // combo boxes and whatever else
}

// Stacks the controls from y down inside [x, x + width); push buttons go in
// the flow only when in_flow_buttons. Returns the bottom.
int Stack(std::vector<ControlState>& controls, int x, int y, int width, bool in_flow_buttons) {
  ControlState* group = nullptr;
  auto close_group = [&] {
    if (group) {
      group->rect.cy = y - group->rect.y + 2;
      y += 2 + kGap;
      group = nullptr;
    }
  };
  for (auto& c : controls) {
    if (IsPush(c) && !in_flow_buttons) continue;
    if (IsGroup(c)) {
      close_group();
      c.rect = DluRect{x, y, width, 0};
      group = &c;
      y += 12;
      continue;
    }
    const int indent = group ? kIndent : 0;
    const int w = IsPush(c) ? ButtonWidth(c) : width - 2 * indent;
    c.rect = DluRect{x + indent, y, w, HeightOf(c, w)};
    y += c.rect.cy + kGap;
  }
  close_group();
  return y;
}

// The push buttons in a row at the bottom, right-aligned. Returns the row's width.
int ButtonRow(std::vector<ControlState>& controls, int right, int y) {
  int width = 0;
  for (auto& c : controls)
    if (IsPush(c)) width += ButtonWidth(c) + kGap;
  int x = right - width + kGap;
  for (auto& c : controls) {
    if (!IsPush(c)) continue;
    c.rect = DluRect{x, y, ButtonWidth(c), kButtonHeight};
    x += c.rect.cx + kGap;
  }
  return width;
}

bool HasPush(const std::vector<ControlState>& controls) { return std::any_of(controls.begin(), controls.end(), IsPush); }

// A check box or radio button keeps its text on one line: the window widens
// for the longest, up to a limit.
int WidthFor(const std::vector<ControlState>& controls, int frame) {
  int width = kDialogWidth;
  for (const auto& c : controls)
    if (c.kind == "button" && !IsPush(c) && !IsGroup(c)) width = std::max(width, TextWidth(c.text) + 12 + kIndent * 2 + frame);
  return std::min(width, kMaxDialogWidth);
}

void LayOut(WindowState& s) {
  int width = s.sheet ? WidthFor(s.page_controls, 6 * kMargin) : WidthFor(s.controls, 2 * kMargin);
  for (int pass = 0; pass < 2; ++pass) {  // a second pass when the buttons need more room
    int y = kMargin;
    const int left = kMargin + (s.icon.empty() ? 0 : kIconSize + kMargin);
    if (s.sheet) {
      if (!s.wizard) y += kTabHeight;
      const int page_y = y;
      const int bottom = Stack(s.page_controls, kMargin * 2, y + kMargin, width - 4 * kMargin, true);
      s.page_area = DluRect{kMargin, page_y, width - 2 * kMargin, bottom - page_y + kMargin};
      y = s.page_area.y + s.page_area.cy + kMargin;
    } else {
      y = Stack(s.controls, left, y, width - left - kMargin, false);
      if (!s.icon.empty()) y = std::max(y, kMargin + kIconSize + kGap);
    }
    int row = 0;
    if (HasPush(s.controls)) {
      row = ButtonRow(s.controls, width - kMargin, y + kGap);
      y += kGap + kButtonHeight + kGap;
    }
    s.cx = width;
    s.cy = y + kMargin - kGap;
    if (row + 2 * kMargin <= width) return;
    width = row + 2 * kMargin;
  }
}

bool SameControls(const std::vector<ControlState>& a, const std::vector<ControlState>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].id != b[i].id || a[i].kind != b[i].kind ||
        (a[i].style & bs::KindMask) != (b[i].style & bs::KindMask) || a[i].columns != b[i].columns)
      return false;
  return true;
}

}  // namespace

WindowState CaptureWindow(const Window& window) {
  WindowStateLock state;
  WindowState s;
  s.hwnd = window.GetHwnd();
  if (const Window* owner = window.Owner()) s.owner = owner->GetHwnd();
  s.template_id = window.TemplateId();
  s.caption = window.Text();
  s.modal = window.IsModal();
  if (auto* box = dynamic_cast<const MessageBoxDialog*>(&window)) s.icon = box->IconName();
  s.controls = CaptureChildren(window);
  if (auto* sheet = dynamic_cast<const PropertySheet*>(&window)) {
    s.sheet = true;
    s.wizard = sheet->IsWizard();
    for (int i = 0; i < sheet->GetPageCount(); ++i) s.tabs.push_back(sheet->GetPage(i)->Title());
    s.active = sheet->GetActiveIndex();
    if (const PropertyPage* page = sheet->GetActivePage()) {
      s.page_template = page->TemplateId();
      s.page_controls = CaptureChildren(*page);
    }
  }
  LayOut(s);
  return s;
}

bool SameShape(const WindowState& a, const WindowState& b) {
  return a.sheet == b.sheet && a.wizard == b.wizard && a.tabs == b.tabs && a.page_template == b.page_template &&
         a.icon == b.icon && SameControls(a.controls, b.controls) &&
         SameControls(a.page_controls, b.page_controls);
}

}  // namespace plat
