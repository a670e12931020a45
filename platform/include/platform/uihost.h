#pragma once
// The UI host: where a user meets the library's windows. Every modal dialog,
// property sheet, wizard, message box, popup menu and file dialog, and every
// modeless window shown or hidden, is announced to the host in force on the
// thread that shows it. The host answers as the user would.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/export.h"

namespace plat {

class Window;
struct Menu;
struct FileDialogSpec;

enum class HostAnswer {
  Acted,  // the host did something; the window's loop runs on
  Wait,   // nothing more to do now; the loop waits for the window to end
};

class RVCMNDLG_API UiHost {
 public:
  virtual ~UiHost() = default;
  virtual void WindowShown(Window& window, bool modal) = 0;
  virtual void WindowHidden(Window& window) = 0;
  // A visible modeless window changed what it shows (progress lines, bars).
  virtual void WindowUpdated(Window&) {}
  // A modal window is idle and waiting for its user.
  virtual HostAnswer Interact(Window& window) = 0;
  // How long a modal window may wait after the host said Wait (real time,
  // milliseconds; negative: for ever).
  virtual long WaitTimeoutMs() const { return -1; }
  // The wait ran out: the default ends the window with Cancel.
  virtual void WaitTimedOut(Window& window);
  virtual int ChooseMenuItem(const Menu& menu, Window* owner) = 0;
  virtual std::optional<std::vector<std::string>> ChooseFiles(const FileDialogSpec& spec,
                                                              Window* owner) = 0;
};

// The host in force; the automatic host when none was set.
RVCMNDLG_API std::shared_ptr<UiHost> CurrentUiHost();
RVCMNDLG_API void SetUiHost(std::shared_ptr<UiHost> host);

// One thing a user does to a window. Controls are named by id, by their own
// text ("OK", "&Reserved" without the ampersand) or by the text of the label
// just before them ("Comment:").
struct Action {
  enum class Kind {
    Click,      // press a button, tick a check box, choose a radio button
    Type,       // replace the text of an edit or editable combo box
    Check,      // make a check box ticked (clicks only when it is not)
    Uncheck,    // make a check box clear (clicks only when it is ticked)
    Select,     // choose an item of a list, combo box, list view or hosted control, by
                // text, #index or (hosted trees) a path "top/child"
    Open,       // open the list of a combo box without choosing
    Add,        // add an item to a multiple selection
    Tick,       // tick the check box of a list view item
    Untick,     // clear the check box of a list view item
    Page,       // switch a property sheet, or a dialog's tab control, to a page, by
                // title or #index
    Default,    // the window's default answer
    Context,    // right-click a control (a list view's item, when named, is
                // selected first); the popup menu it opens is answered by `menu`
    DoubleClick,  // double-click a control (a list box's or list view's item,
                  // when named, is selected first)
    Focus,      // move the keyboard focus to a control (as the Tab key does)
    Help,       // press F1 ("f1"): the window is asked for its help
  };
  Kind kind = Kind::Default;
  std::string control;
  std::string value;
};

// Parses "click OK", "type 1001 some text", "select Views #2", "page General",
// "check Keep", "default" ... Quotes group words: type "Comment:" "a b".
RVCMNDLG_API std::optional<Action> ParseAction(std::string_view line, std::string* error = nullptr);
RVCMNDLG_API std::string FormatAction(const Action& action);

// Does the action on a modal or modeless top-level window, on the window's
// thread, through the same notifications a real user's action causes.
// Returns an error text naming the window and control, empty on success. A
// disabled or hidden control cannot be used.
RVCMNDLG_API std::string ApplyAction(Window& window, const Action& action);
// The window's default answer: its default button (OK), or for a message box
// its default button.
RVCMNDLG_API std::string ApplyDefault(Window& window);
// Ends a modal window with its cancel answer (Cancel, No or the last button).
RVCMNDLG_API void CancelWindow(Window& window);

// For tests and scripts on another thread: runs the action on the window's
// own thread and waits for it.
RVCMNDLG_API std::string ApplyActionFromAnyThread(Window& window, const Action& action);

}  // namespace plat
