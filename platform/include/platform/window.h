#pragma once
// Windows: a handle, a parent and an owner, a control id, text, style bits,
// enabled and visible state, and the thread that created it. A window's
// handlers run only on that thread; its state may be read from any thread.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace plat {

struct Font {
  std::string face;
  int tenths_of_point = 0;  // 88 is 8.8 points
};

// The header of a structured notification sent to a parent (msg::Notify with
// the header's address in lparam).
struct NotifyHeader {
  Hwnd from = Hwnd::Null;
  int id = 0;
  int code = 0;
};

class Window {
 public:
  Window();
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Makes this object a live window: gives it a handle, binds it to the
  // calling thread and links it under its parent. False when already live.
  bool CreateWindowObject(Window* parent, int control_id, std::string text, std::uint32_t style);
  // The same, under the sibling's parent and just after it in order (a
  // control made at run time in the place of another). False when the
  // sibling is not a live child window.
  bool CreateWindowObjectAfter(Window& sibling, int control_id, std::string text, std::uint32_t style);
  // Destroys the window and its children (children first see msg::Destroy).
  void DestroyWindow();
  bool IsWindow() const;

  Hwnd GetHwnd() const { return hwnd_; }
  ThreadId Thread() const { return thread_; }
  Window* Parent() const;
  Window* Owner() const;
  void SetOwner(Window* owner);
  // The top-level window that holds this one (itself when it is top-level).
  Window* TopLevelWindow();
  // That window's owner chain followed to its last owner.
  Window* TopLevelOwner();
  int ControlId() const { return control_id_; }

  std::string Text() const;
  void SetText(std::string text);
  std::uint32_t Style() const;
  void SetStyle(std::uint32_t style);
  bool IsEnabled() const;
  void EnableWindow(bool enable);
  bool IsVisible() const;
  // Shows or hides the window; a top-level window shown or hidden outside a
  // modal loop is announced to the UI host.
  void ShowWindow(bool show);
  Font GetFont() const;
  void SetFont(const Font& font);

  std::vector<Window*> Children() const;
  Window* FindChild(int control_id) const;

  // The keyboard focus: one control of each top-level window holds it.
  // SetFocus moves it here (the control hears OnSetFocus, its parent
  // nm::SetFocus); Focused is the control of this top-level window that has it.
  void SetFocus();
  Window* Focused() const;
  // The icon the window shows in its caption (a resource id; 0: none).
  void SetIcon(int icon_id);
  int IconId() const;

  // What a user's right-click and double-click do: the control hears them
  // first (true keeps them from its parent, which hears nm::RClick or
  // nm::DblClk).
  void UserContextMenu();
  void UserDoubleClick();

  // Modal windows end through this (dialogs, sheets, message boxes).
  virtual bool EndModal(int /*result*/) { return false; }
  virtual bool IsModal() const { return false; }
  virtual bool ModalEnded() const { return true; }
  // The dialog template the window was built from (0 when none).
  virtual int TemplateId() const { return 0; }
  // A short class name for rendering and diagnostics ("button", "dialog").
  virtual const char* ClassName() const { return "window"; }
  // The text a tooltip over the control shows now (empty: none). Hosts may
  // ask from any thread.
  virtual std::string TooltipText() const { return {}; }

  // Every message for this window arrives here on the window's thread.
  virtual LResult WndProc(std::uint32_t message, WParam wparam, LParam lparam,
                          const std::string* text);

  // A description naming the window for errors: caption, class and ids.
  std::string Describe() const;

 protected:
  virtual void OnDestroy() {}
  // A control sees its own command notification first; true keeps it from
  // the parent.
  virtual bool OnReflect(int /*code*/) { return false; }
  virtual void OnSetFocus() {}
  virtual bool OnContextMenu() { return false; }
  virtual bool OnDoubleClick() { return false; }
  // A child control's notification: msg::Command to the parent.
  void NotifyParentCommand(int code);
  LResult NotifyParent(NotifyHeader& header);
  // Tells the UI host that a visible modeless window changed what it shows.
  void AnnounceChange();

 private:
  Hwnd hwnd_ = Hwnd::Null;
  ThreadId thread_ = 0;
  int control_id_ = 0;
  Window* parent_ = nullptr;
  Window* owner_ = nullptr;
  std::vector<Window*> children_;
  std::string text_;
  std::uint32_t style_ = 0;
  Font font_;
  Hwnd focus_ = Hwnd::Null;  // a top-level window's focused control
  int icon_id_ = 0;
};

// While one lives, the thread's windows show the wait cursor (work that
// keeps the user waiting, such as filling a long list).
class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
  // Whether the calling thread shows it now.
  static bool Shown();
};

// Finds a live window by handle (nullptr when it no longer exists). The
// pointer may be used only on the window's own thread or while the caller
// knows the window stays alive.
Window* FromHandle(Hwnd hwnd);

// Runs a task on the window's own thread and waits for it (directly when
// called there). False when the window no longer exists.
bool RunOnWindowThread(Window& window, const std::function<void()>& task);

// The lock that guards every window's state. Readers that take a snapshot of
// several windows (the renderer) hold it across the snapshot.
class WindowStateLock {
 public:
  WindowStateLock();
  ~WindowStateLock();
  WindowStateLock(const WindowStateLock&) = delete;
  WindowStateLock& operator=(const WindowStateLock&) = delete;
};

}  // namespace plat
