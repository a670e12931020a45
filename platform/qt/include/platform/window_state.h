#pragma once
// What a window shows, copied out of the framework on the window's thread so
// that another thread (the graphical host's) can draw it, and where each
// control goes in dialog units. Templates carry no positions: controls are
// stacked in template order, group boxes around their members, and the push
// buttons of a dialog in a row at the bottom.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/hosted_control.h"
#include "platform/types.h"

namespace plat {

// A rectangle in dialog units (a quarter of the font's average character
// width across, an eighth of its height down).
struct DluRect {
  int x = 0, y = 0, cx = 0, cy = 0;
  bool operator==(const DluRect&) const = default;
};

struct ControlState {
  int id = 0;
  std::string kind;  // the control's class name ("button", "edit", ...)
  std::string text;
  std::uint32_t style = 0;
  bool enabled = true, visible = true;
  int check = Unchecked;
  std::vector<ListItem> items;  // list and combo boxes; a tab control's titles
  int cur_sel = -1;
  std::vector<std::string> columns;  // list views
  std::vector<ListView::Row> rows;
  int low = 0, high = 100, pos = 0;  // progress bars
  bool playing = false;              // animations
  std::vector<HostedItem> tree;      // hosted controls: their items, depth first
  bool installed = true;             // hosted controls: an implementation was found
  std::string tooltip;
  DluRect rect;
};

struct WindowState {
  Hwnd hwnd = Hwnd::Null;
  Hwnd owner = Hwnd::Null;
  int template_id = 0;
  std::string caption;
  std::string icon;  // message boxes: "error", "question", "warning", "information"
  bool modal = false;
  bool sheet = false, wizard = false;
  std::vector<std::string> tabs;  // sheets: page titles
  int active = -1;
  int page_template = 0;
  std::vector<ControlState> controls;       // the window's own (a sheet's: its buttons)
  std::vector<ControlState> page_controls;  // a sheet's active page
  DluRect page_area;                        // where a sheet's page goes
  int cx = 0, cy = 0;                       // the window's client size
};

// Copies the window's state and lays it out (holds the window state lock).
WindowState CaptureWindow(const Window& window);
// Whether two states have the same controls (and page), so that the later
// one is shown by updating the earlier one's widgets where they stand.
bool SameShape(const WindowState& a, const WindowState& b);

}  // namespace plat
