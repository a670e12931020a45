#pragma once
// Dialogs built from templates, modal or modeless, with data exchange; message
// boxes, popup menus and the file-open dialog. Each reaches the user through
// the UI host in force.
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/resources.h"
#include "platform/window.h"

namespace plat {

class Button;
class DataExchange;

class Dialog : public Window {
 public:
  // A dialog built from the template with this id (searched in the resources).
  explicit Dialog(int template_id, Window* parent = nullptr);
  // A dialog built from a template the program made itself.
  explicit Dialog(DialogTemplate dialog_template, Window* parent = nullptr);
  ~Dialog() override;

  // Finds the template now, in the resources current on this thread, and
  // keeps it: a library makes its dialogs inside its own resource scope and
  // shows them later from wherever. False when no module has it.
  bool LoadTemplate();

  // An invisible dialog runs its modal loop without ever reaching the user
  // (it waits for work its own threads do).
  void SetInvisible(bool invisible) { invisible_ = invisible; }

  // Runs the dialog modally on the calling thread: the owner is disabled, a
  // nested message loop runs until EndDialog, the owner is enabled again.
  // Returns the EndDialog result, or -1 when the dialog could not be created.
  int DoModal();
  // Creates the dialog modelessly on the calling thread; false on failure.
  bool Create(Window* parent = nullptr);
  void EndDialog(int result);
  bool EndModal(int result) override;
  bool IsModal() const override { return modal_; }
  bool Ended() const;
  bool ModalEnded() const override { return Ended(); }
  int Result() const;
  int TemplateId() const override { return template_id_; }
  const char* ClassName() const override { return "dialog"; }

  Window* GetDlgItem(int id) const { return FindChild(id); }
  // Puts a control object of the program's own (a class that adds behaviour
  // to a template's control) in the place of the template's control with
  // this id: same id, text, style, font and place. The program keeps owning
  // it. False when there is no such control or the object is already live.
  bool SubclassDlgItem(int id, Window& control);
  template <typename T>
  T* Item(int id) const {
    return dynamic_cast<T*>(GetDlgItem(id));
  }
  std::string GetDlgItemText(int id) const;
  void SetDlgItemText(int id, std::string text);
  // The default push button's id (IdOk when the template names none).
  int DefaultButtonId() const;

  // What the Cancel button and the Escape key do.
  void PressCancel() { OnCancel(); }

  // Moves values between fields and controls; false when a value was refused.
  bool UpdateData(bool save_and_validate = true);

  LResult WndProc(std::uint32_t message, WParam wparam, LParam lparam,
                  const std::string* text) override;

 protected:
  virtual bool OnInitDialog();
  virtual void DoDataExchange(DataExchange&) {}
  // A command from a control or a button; true when handled.
  virtual bool OnCommand(int id, int code);
  virtual LResult OnNotify(NotifyHeader& header);
  virtual void OnOK();
  virtual void OnCancel();
  virtual void OnHelp() {}
  virtual void OnTimer(std::uintptr_t) {}
  // Any other message (user messages and the like); return true when handled.
  virtual bool OnMessage(std::uint32_t message, WParam wparam, LParam lparam,
                         const std::string* text, LResult& result);

  // Builds the window and its controls from the template; false when the
  // template does not exist or names an unknown control class.
  bool CreateFromTemplate(Window* parent, bool child);
  const DialogTemplate* Template() const { return template_ ? &*template_ : nullptr; }

 private:
  int template_id_;
  std::optional<DialogTemplate> template_;
  Window* parent_arg_;
  std::vector<std::unique_ptr<Window>> controls_;
  std::atomic<bool> modal_{false};
  bool invisible_ = false;
  bool ended_ = false;
  int result_ = 0;
};

// Data exchange between a dialog's controls and its fields.
class DataExchange {
 public:
  DataExchange(Dialog& dialog, bool save) : dialog_(dialog), save_(save) {}
  Dialog& dialog() const { return dialog_; }
  bool saving() const { return save_; }
  bool failed() const { return failed_; }
  // Refuses the exchange: tells the user why and marks the exchange failed.
  void Fail(int control_id, const std::string& why);

 private:
  Dialog& dialog_;
  const bool save_;
  bool failed_ = false;
};

void DdxText(DataExchange& dx, int id, std::string& value);
void DdxText(DataExchange& dx, int id, int& value);  // refuses text that is not a number
void DdxCheck(DataExchange& dx, int id, int& value);
// The index of the checked radio button of the group that starts at first_id.
void DdxRadio(DataExchange& dx, int first_id, int& value);
void DdxCbIndex(DataExchange& dx, int id, int& value);
void DdxCbString(DataExchange& dx, int id, std::string& value);
void DdxLbIndex(DataExchange& dx, int id, int& value);

// A message box owned by a window (its top-level owner is disabled while it is
// up). Returns the id of the button pressed.
int MessageBox(Window* owner, const std::string& text, const std::string& caption,
               std::uint32_t flags);
// The dialog behind a message box, for hosts and renderers.
class MessageBoxDialog : public Dialog {
 public:
  MessageBoxDialog(Window* owner, std::string text, std::string caption, std::uint32_t flags);
  const char* ClassName() const override { return "messagebox"; }
  const std::string& MessageText() const { return text_; }
  std::uint32_t Flags() const { return flags_; }
  std::string IconName() const;

 protected:
  bool OnCommand(int id, int code) override;

 private:
  static DialogTemplate MakeTemplate(const std::string& text, const std::string& caption,
                                     std::uint32_t flags);
  std::string text_;
  std::uint32_t flags_;
};

// Shows a popup menu at the owner and returns the chosen command id, or 0.
int TrackPopupMenu(const Menu& menu, Window* owner);

struct FileDialogSpec {
  std::string title;
  std::string filter;  // "Text files|*.txt|All files|*.*"
  std::string initial_dir;
  bool allow_multiple = false;
};
// The file-open dialog: the chosen names, or nothing when cancelled.
std::optional<std::vector<std::string>> GetOpenFileNames(const FileDialogSpec& spec, Window* owner);

// The application's name (the caption of message boxes that name none).
std::string AppName();
void SetAppName(std::string name);

// For callers without an application object of their own: sets an
// application name for the call's duration when none is set.
class TransientApp {
 public:
  explicit TransientApp(std::string name);
  ~TransientApp();
  TransientApp(const TransientApp&) = delete;
  TransientApp& operator=(const TransientApp&) = delete;

 private:
  bool set_ = false;
};

// Standard ids of the buttons of property sheets and wizards.
inline constexpr int IdApplyNow = 0x3021;
inline constexpr int IdWizBack = 0x3023;
inline constexpr int IdWizNext = 0x3024;
inline constexpr int IdWizFinish = 0x3025;

}  // namespace plat
