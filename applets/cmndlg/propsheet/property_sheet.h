#pragma once
// Property sheets: the object side of a page (CRvPropertyBase) with the
// class-wide page registry, the window side (CBasePropertyPage), the sheet
// that owns its pages (CRvPropertySheet) and the user-interface thread that
// runs one sheet (CRvPropertyThread). Objects come as object-model handles;
// the classes are not exported yet, since the installed library keeps the
// object model's types to itself.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/propsheet.h"
#include "platform/sync.h"

class GCL_HandleBase;
class RVL_Attribute;
class RVL_HyperlinkComposite;
class GCL_Status;
class GCL_String;
class CPropertySheetFont;

class CRvPropertyBase {
 public:
  // One registered page class: whether it applies to an object, and its
  // factory (a page on the heap, owned by whoever adds it to a sheet).
  struct SubclassInfo {
    bool (*is_appropriate)(const GCL_HandleBase& object) = nullptr;
    CRvPropertyBase* (*construct)() = nullptr;
  };
  static constexpr std::size_t m_subclass_info_growth = 8;

  CRvPropertyBase() = default;
  CRvPropertyBase(const CRvPropertyBase&) = delete;
  CRvPropertyBase& operator=(const CRvPropertyBase&) = delete;
  virtual ~CRvPropertyBase();

  // Remembers the object (pages keep their own typed copy).
  virtual void SetObject(GCL_Status& status, const GCL_HandleBase& object);
  // A page's activation: first_set_active on the first, the data fetched
  // once, the controls filled. False refuses the page (the box was shown).
  virtual bool base_set_active(plat::PropertyPage* page, bool first);
  // Reads the object; the default reads nothing.
  virtual void fetch_data(GCL_Status& status);
  virtual bool first_set_active() { return true; }
  bool data_fetched() const { return m_data_fetched; }

  // Adds a page class at the end of the registry.
  static void register_page_subclass(const SubclassInfo& info);
  // The registry in registration order (the library's pages are registered
  // once, before the first look).
  static std::vector<SubclassInfo> registered_subclasses();
  static std::size_t subclass_info_alloc();

  // The client library's process-wide lock around object-model calls.
  static void begin_dirado_access();
  static void end_dirado_access();
  class DiradoAccess {
   public:
    DiradoAccess() { begin_dirado_access(); }
    ~DiradoAccess() { end_dirado_access(); }
    DiradoAccess(const DiradoAccess&) = delete;
    DiradoAccess& operator=(const DiradoAccess&) = delete;
  };

 private:
  bool m_data_fetched = false;
};

class CBasePropertyPage : public plat::PropertyPage, public CRvPropertyBase {
 public:
  explicit CBasePropertyPage(int page_id);
  ~CBasePropertyPage() override;

  bool OnSetActive() override;
  bool OnInitDialog() override;
  void OnSheetHelp() override;
  bool IsPageActive() const;
  void SetPageReadOnly() { m_read_only = true; }
  bool IsPageReadOnly() const { return m_read_only; }
  // Edits become read-only, other controls disabled; group boxes, statics
  // and the controls that are never touched (7136, 7137, 7006) keep their state.
  void DisableControls(bool disable);
  bool InConsole() const { return m_in_console; }
  int PageId() const { return m_page_id; }

  // The console's help topic of a page id; an unknown id says so in a box
  // and answers kNoHelp.
  static std::string GetHtmlHelpTopic(int page_id);
  // "rv_mmc.chm::/TOPIC.htm" (".htm" added only when missing).
  static std::string ConsoleHelpPath(const std::string& topic);
  static constexpr const char* kNoHelp = "No help available.";
  static const int m_nIgnoreCtrls[];

  // Whether the hyperlink's or the attribute's type belongs to the
  // change-management process (by its well-known-object code); a type whose
  // code cannot be read does not. Called under the client lock.
  static bool IsFLXHyperlink(const RVL_HyperlinkComposite& hyperlink);
  static bool IsFLXAttributeType(const RVL_Attribute& attribute);

 protected:
  // The page's describe topic ("stratadescribe/NAME.htm"), set by the page.
  void SetHelpTopic(const char* topic) { m_help_topic = topic; }

 private:
  static bool IsIgnored(int control_id);
  void DisableOneControl(plat::Window& control, bool disable);

  static std::atomic<int> m_nActiveID;
  const int m_page_id;
  const bool m_in_console;
  bool m_read_only = false;
  bool m_disabled = false;
  const char* m_help_topic = nullptr;
  std::unique_ptr<CPropertySheetFont> m_font;
};

class CRvPropertySheet : public plat::PropertySheet, public CRvPropertyBase {
 public:
  explicit CRvPropertySheet(std::string caption = {}, plat::Window* parent = nullptr, int first_page = 0);
  ~CRvPropertySheet() override;

  // Adds the object's pages in registration order and gives each the
  // object, stopping at the first failure. No page for the object is
  // TBS_ST_WRONG_KIND with a message saying so.
  void SetObject(GCL_Status& status, const GCL_HandleBase& object) override;
  void SetObject(GCL_Status& status, const GCL_HandleBase& object, const GCL_String& name);
  // Resolves the name under the client lock, then the three-argument SetObject.
  virtual void SetObjectByName(GCL_Status& status, const GCL_String& name);
  void SetTitleByObject(GCL_Status& status, const GCL_HandleBase& object, const GCL_String& name);
  // Removes and deletes the pages, last to first.
  void RemovePages();

 protected:
  void OnInitDialog() override;

 private:
  void AddPages(const GCL_HandleBase& object);
  std::vector<std::unique_ptr<CRvPropertyBase>> m_pages;
  std::unique_ptr<CPropertySheetFont> m_font;
};

// One sheet on its own user-interface thread. Made through CreateObject,
// handed to Start, which runs it; the thread object ends with its sheet.
class CRvPropertyThread : public plat::UiThread {
 public:
  static std::unique_ptr<CRvPropertyThread> CreateObject();
  ~CRvPropertyThread() override;

  void SetObject(GCL_Status& status, const GCL_HandleBase& object);
  void SetObject(GCL_Status& status, const GCL_HandleBase& object, const GCL_String& name);
  void SetObjectByName(GCL_Status& status, const GCL_String& name);
  void SetActivePage(int index);
  CRvPropertySheet& Sheet() { return m_sheet; }
  // The sheet's result (IdOk, IdCancel) once it has closed; 0 before.
  std::shared_ptr<std::atomic<int>> ResultCell() const { return m_result; }

  static void Start(std::unique_ptr<CRvPropertyThread> thread);
  // Returns when no property thread is alive (at once when none is).
  static void WaitWhileActive();
  static int ActiveCount();

 protected:
  CRvPropertyThread();
  bool InitInstance() override;

 private:
  // Counts the thread while alive; the first member, so the count falls
  // only once the sheet and its pages are gone.
  struct Counted {
    Counted();
    ~Counted();
    Counted(const Counted&) = delete;
    Counted& operator=(const Counted&) = delete;
  };
  Counted m_counted;
  CRvPropertySheet m_sheet;
  std::shared_ptr<std::atomic<int>> m_result = std::make_shared<std::atomic<int>>(0);
};
