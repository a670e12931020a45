#pragma once
// Property sheets and their pages, including wizard mode. Pages are created
// the first time they are activated; Apply and OK go to every created page in
// order and stop at the first that refuses, which keeps the sheet open.
#include <atomic>
#include <string>
#include <vector>

#include "platform/dialog.h"

namespace plat {

class PropertySheet;

class PropertyPage : public Dialog {
 public:
  explicit PropertyPage(int template_id, std::string title = {});
  const char* ClassName() const override { return "page"; }
  // The tab title: the one given, else the template's caption.
  std::string Title() const;
  PropertySheet* Sheet() const { return sheet_; }
  bool IsCreated() const { return IsWindow(); }
  void SetModified(bool modified = true);
  bool IsModified() const;
  // Page flags (has-help is 0x20), kept for the caller's use.
  std::uint32_t Flags() const { return flags_; }
  void SetFlags(std::uint32_t flags) { flags_ = flags; }
  // True until the page has once accepted an activation, so OnSetActive can
  // tell its first showing from later ones.
  bool IsFirstActivation() const { return !activated_; }

  // Notifications from the sheet, each with the desktop's default answer.
  virtual bool OnSetActive() { return true; }    // false refuses the activation
  virtual bool OnKillActive() { return UpdateData(true); }  // false keeps the page
  virtual bool OnApply() { return true; }        // false keeps the sheet open here
  virtual void OnReset() {}
  virtual bool OnQueryCancel() { return true; }
  // Wizard moves: 0 goes to the neighbouring page, -1 stays, any other value
  // goes to the page built from that template id.
  virtual int OnWizardBack() { return 0; }
  virtual int OnWizardNext() { return 0; }
  virtual bool OnWizardFinish() { return true; }
  // The sheet's Help button: the help notification to the page.
  virtual void OnSheetHelp() { OnHelp(); }

 private:
  friend class PropertySheet;
  bool CreatePage(PropertySheet* sheet);
  PropertySheet* sheet_ = nullptr;
  std::string title_;
  bool modified_ = false;
  bool activated_ = false;
  std::uint32_t flags_ = 0;
};

inline constexpr std::uint32_t kSheetHasHelp = 0x200;
inline constexpr std::uint32_t kPageHasHelp = 0x20;

namespace wizb {
inline constexpr unsigned Back = 0x1;
inline constexpr unsigned Next = 0x2;
inline constexpr unsigned Finish = 0x4;
inline constexpr unsigned DisabledFinish = 0x8;
}  // namespace wizb

class PropertySheet : public Window {
 public:
  explicit PropertySheet(std::string caption, Window* parent = nullptr, int start_page = 0);
  ~PropertySheet() override;
  const char* ClassName() const override { return "sheet"; }
  // A sheet is known by the template of the page it shows.
  int TemplateId() const override;

  // Pages are not owned; they must outlive the sheet's window.
  void AddPage(PropertyPage* page);
  void RemovePage(int index);
  int GetPageCount() const;
  PropertyPage* GetPage(int index) const;
  int GetPageIndex(const PropertyPage* page) const;
  PropertyPage* GetActivePage() const;
  int GetActiveIndex() const;
  bool SetActivePage(int index);
  void SetStartPage(int index) { start_page_ = index; }
  void SetTitle(std::string title) { SetText(std::move(title)); }

  std::uint32_t Flags() const { return flags_; }
  void SetFlags(std::uint32_t flags) { flags_ = flags; }
  void SetWizardMode() { wizard_ = true; }
  bool IsWizard() const { return wizard_; }
  void SetWizardButtons(unsigned buttons);
  unsigned WizardButtons() const;

  int DoModal();                   // IdOk, IdCancel or IdWizFinish; -1 on failure
  bool Create(Window* parent = nullptr);  // modeless
  void EndDialog(int result);
  bool EndModal(int result) override;
  bool IsModal() const override { return modal_; }
  bool Ended() const;
  bool ModalEnded() const override { return Ended(); }
  int Result() const;

  // What the sheet's buttons do; hosts press the buttons, which call these.
  bool PressOk();
  bool PressApply();
  void PressCancel();
  void PressHelp();
  bool PressBack();
  bool PressNext();
  bool PressFinish();
  // True when some created page is marked modified (the Apply button's state).
  bool AnyModified() const;
  void UpdateButtons();

  LResult WndProc(std::uint32_t message, WParam wparam, LParam lparam,
                  const std::string* text) override;

 protected:
  // Called once the sheet's window, buttons and first page exist.
  virtual void OnInitDialog() {}

 private:
  bool CreateSheetWindow(Window* parent);
  bool ApplyAll();
  bool Activate(int index);
  int IndexOfTemplate(int template_id) const;

  std::vector<PropertyPage*> pages_;
  std::vector<std::unique_ptr<Window>> buttons_;
  Window* parent_arg_;
  int start_page_;
  int active_ = -1;
  std::uint32_t flags_ = 0;
  bool wizard_ = false;
  unsigned wizard_buttons_ = wizb::Back | wizb::Next;
  std::atomic<bool> modal_{false};
  bool ended_ = false;
  int result_ = 0;
};

}  // namespace plat
