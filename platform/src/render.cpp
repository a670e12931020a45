#include "platform/render.h"

#include <algorithm>
#include <sstream>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/hosted_control.h"
#include "platform/propsheet.h"

namespace plat {

namespace {

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      continue;
    else
      out += c;
  }
  return out + "\"";
}

std::string Id(const Window& w) { return "[" + std::to_string(w.ControlId()) + "] "; }

std::string Items(const std::vector<ListItem>& items, int cur, bool multi) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i) out += " | ";
    const bool selected = multi ? items[i].selected : static_cast<int>(i) == cur;
    out += selected ? ">" + items[i].text + "<" : items[i].text;
  }
  return "{" + out + "}";
}

// One line for a control, or nothing for push buttons (collected apart).
std::string ControlLine(const Window& c, std::string& buttons) {
  const std::string state = c.IsEnabled() ? "" : "  (disabled)";
  if (auto* b = dynamic_cast<const Button*>(&c)) {
    const std::string text = WithoutAmpersands(b->Text());
    if (b->IsPushButton()) {
      buttons += (buttons.empty() ? "" : "  ") + Id(c) + "<" + text + ">" + (b->IsDefault() ? "*" : "") +
                 (c.IsEnabled() ? "" : "(disabled)");
      return {};
    }
    if (b->IsGroupBox()) return "-- " + text + " --";
    const int check = b->GetCheck();
    const std::string mark = b->IsRadio() ? (check == Checked ? "(o) " : "( ) ")
                                          : (check == Checked ? "[x] " : check == Indeterminate ? "[-] " : "[ ] ");
    return Id(c) + mark + text + state;
  }
  if (auto* e = dynamic_cast<const Edit*>(&c))
    return Id(c) + "edit" + (e->IsReadOnly() ? " (read-only)" : "") + ": " + Quoted(e->Text()) + state;
  if (auto* cb = dynamic_cast<const ComboBox*>(&c))
    return Id(c) + "combo: " + Quoted(cb->Text()) + " " + Items(cb->Items(), cb->GetCurSel(), false) + state;
  if (auto* lb = dynamic_cast<const ListBox*>(&c))
    return Id(c) + "list: " + Items(lb->Items(), lb->GetCurSel(), lb->IsMultiSelect()) + state;
  if (auto* tabs = dynamic_cast<const TabControl*>(&c)) {
    std::string line = Id(c) + "tabs:";
    const auto titles = tabs->Titles();
    for (std::size_t i = 0; i < titles.size(); ++i)
      line += " " + (static_cast<int>(i) == tabs->GetCurSel() ? "[" + titles[i] + "]" : titles[i]);
    return line + state;
  }
  if (auto* p = dynamic_cast<const ProgressBar*>(&c)) {
    int low = 0, high = 0;
    p->GetRange(low, high);
    return Id(c) + "progress " + std::to_string(p->GetPos() - low) + "/" + std::to_string(high - low);
  }
  if (auto* a = dynamic_cast<const Animation*>(&c))
    return Id(c) + "animation " + std::to_string(a->ResourceId()) + (a->IsPlaying() ? " playing" : " stopped");
  if (auto* lv = dynamic_cast<const ListView*>(&c)) {
    std::ostringstream out;
    out << Id(c) << "table";
    for (const auto& col : lv->Columns()) out << " | " << col;
    for (const auto& row : lv->Rows()) {
      out << "\n|      " << (row.selected ? ">" : " ");
      if (lv->HasCheckBoxes()) out << (row.checked ? "[x] " : "[ ] ");
      for (std::size_t i = 0; i < row.texts.size(); ++i) out << (i ? " | " : "") << row.texts[i];
    }
    return out.str() + state;
  }
  if (auto* h = dynamic_cast<const HostedControl*>(&c)) {
    if (!h->IsInstalled()) return Id(c) + "control " + h->ClassId() + " (not installed)";
    std::ostringstream out;
    out << Id(c) << "control";
    for (const auto& item : h->Items())
      out << "\n|      " << std::string(static_cast<std::size_t>(2 * std::max(item.depth, 0)), ' ')
          << (item.selected ? ">" : " ") << item.text;
    return out.str() + state;
  }
  if (dynamic_cast<const Static*>(&c)) return WithoutAmpersands(c.Text()) + state;
  return Id(c) + c.ClassName() + " " + Quoted(c.Text()) + state;
}

void RenderControls(const Window& w, std::ostringstream& out, std::string& buttons) {
  for (const Window* c : w.Children()) {
    if (!c->IsVisible() || dynamic_cast<const PropertyPage*>(c)) continue;
    std::string line = ControlLine(*c, buttons);
    if (line.empty()) continue;
    if (const std::string tip = c->TooltipText(); !tip.empty()) line += "  (tip: " + Quoted(tip) + ")";
    // Multi-line texts keep the frame on every line.
    std::string framed;
    for (char ch : line) {
      if (ch == '\r') continue;  // line breaks show as new lines of the frame
      framed += ch;
      if (ch == '\n') framed += "|  ";
    }
    out << "|  " << framed << "\n";
  }
}

}  // namespace

std::string WithoutAmpersands(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size() && text[i + 1] != '&') continue;
    if (text[i] == '&') ++i;
    out += text[i];
  }
  return out;
}

std::string RenderWindow(const Window& window) {
  WindowStateLock state;
  std::ostringstream out;
  std::string kind = window.ClassName();
  if (auto* box = dynamic_cast<const MessageBoxDialog*>(&window)) {
    kind = "message box";
    if (!box->IconName().empty()) kind += ", " + box->IconName();
  } else if (window.TemplateId()) {
    kind += " " + std::to_string(window.TemplateId());
  }
  out << "+-- " << window.Text() << " -- [" << kind << "]\n";
  std::string buttons;
  if (auto* sheet = dynamic_cast<const PropertySheet*>(&window)) {
    out << "|  tabs:";
    for (int i = 0; i < sheet->GetPageCount(); ++i) {
      const std::string title = sheet->GetPage(i)->Title();
      out << " " << (i == sheet->GetActiveIndex() ? "[" + title + "]" : title);
    }
    out << "\n";
    std::string page_buttons;
    if (const PropertyPage* page = sheet->GetActivePage()) {
      out << "|  -- page " << page->TemplateId() << " --\n";
      RenderControls(*page, out, page_buttons);
      if (!page_buttons.empty()) out << "|  " << page_buttons << "\n";
    }
  }
  RenderControls(window, out, buttons);
  if (!buttons.empty()) out << "|  " << buttons << "\n";
  out << "+--\n";
  return out.str();
}

std::string RenderProgressLine(const Window& window) {
  WindowStateLock state;
  std::string texts, bar;
  for (const Window* c : window.Children()) {
    if (auto* p = dynamic_cast<const ProgressBar*>(c)) {
      int low = 0, high = 0;
      p->GetRange(low, high);
      const int span = high > low ? high - low : 1;
      const int filled = (p->GetPos() - low) * 20 / span;
      bar = "[" + std::string(static_cast<std::size_t>(filled), '#') +
            std::string(static_cast<std::size_t>(20 - filled), ' ') + "] " +
            std::to_string(p->GetPos() - low) + "/" + std::to_string(span);
    } else if (dynamic_cast<const Static*>(c) && !c->Text().empty()) {
      texts += (texts.empty() ? "" : " - ") + c->Text();
    }
  }
  std::string line = window.Text();
  if (!bar.empty()) line += (line.empty() ? "" : " ") + bar;
  if (!texts.empty()) line += (line.empty() ? "" : " ") + texts;
  return line;
}

}  // namespace plat
