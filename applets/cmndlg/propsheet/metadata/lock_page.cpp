// The Lock page: whether an object is unlocked, locked or obsolete, who locked
// it when and why, and which users the lock lets through. Apply locks,
// replaces the lock or unlocks by the object's name, in one repository
// command.
#include <string>
#include <vector>

#include "cmd_lock.h"
#include "gcl_imsg_collector.h"
#include "gcl_osuser.h"
#include "gcl_status.h"
#include "gcl_time.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/resources.h"
#include "propsheet/general/general_page_base.h"
#include "propsheet/metadata/metadata_pages.h"
#include "propsheet/metadata/prompt.h"
#include "propsheet/property_messages.h"
#include "res/resource_ids.h"
#include "rvl_infostg.h"
#include "rvl_vobobject.h"
#include "stg.h"
#include "tbs.h"
#include "vob.h"

using namespace rvcmndlg::res;

namespace {

// The objects whose sheets have a Lock page: the VOB, elements, branches,
// versions, pools and types.
bool Lockable(std::uint32_t mtype) {
  switch (mtype) {
    case VOB_MTYPE_VOB:
    case VOB_MTYPE_DIR_ELEMENT:
    case VOB_MTYPE_FILE_ELEMENT:
    case VOB_MTYPE_BRANCH:
    case VOB_MTYPE_DIR_VERSION:
    case VOB_MTYPE_VERSION:
    case VOB_MTYPE_POOL:
      return true;
    default:
      return mtype >= VOB_MTYPE_ELTYPE && mtype <= VOB_MTYPE_TRTYPE;
  }
}

// The messages a repository command prints, kept for the box that reports
// its failure.
std::string CollectedText(const GCL_ImsgCollector& collector) {
  LC_TDynamicCollection<GCL_String, LC_CUnmanaged> messages(8);
  collector.copy_messages(messages);
  std::string text;
  for (std::uint32_t i = 0; i < messages.Length(); ++i) text += messages[i].c_str();
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

}  // namespace

class CRvLockPage : public CBasePropertyPage {
 public:
  enum State { kUnlocked = 0, kLocked = 1, kObsolete = 2 };
  static constexpr std::uint32_t kLockChanged = 1u << 0;

  CRvLockPage() : CBasePropertyPage(IDD_LOCK_PAGE) { SetHelpTopic(kTopic); }

  static bool is_appropriate(const GCL_HandleBase& object) {
    const auto* vob_object = dynamic_cast<const RVL_VobObject*>(&object);
    if (!vob_object) return false;
    GCL_Status status;
    DiradoAccess lock;
    const std::uint32_t mtype = vob_object->mtype(status);
    return status.ok() && Lockable(mtype);
  }
  static CRvPropertyBase* construct() { return new CRvLockPage; }

  void SetObject(GCL_Status& status, const GCL_HandleBase& object) override {
    rvcmndlg::KeepTypedObject(status, object, m_object);
  }

  void fetch_data(GCL_Status& status) override {
    DiradoAccess lock;
    m_name = m_object.display_name(status).c_str();
    if (!status.ok()) return;
    RVL_InfoStg<vob_lock_info_s> info;
    m_object.lock_info(status, info);
    m_state = kUnlocked;
    m_locked_by.clear();
    m_locked_on.clear();
    m_description.clear();
    m_excluded.clear();
    if (status.code() == TBS_ST_NOT_FOUND) {
      status.make_ok();  // not locked
    } else if (status.ok()) {
      const vob_lock_info_s& record = info.record();
      auto text = [](const char* s) { return std::string(s ? s : ""); };
      m_state = record.obsolete ? kObsolete : kLocked;
      m_locked_by = text(record.user) + "." + text(record.group);
      m_locked_on = GCL_Time(record.time.secs, record.time.usecs).long_date_time().c_str();
      m_description = text(record.comment);
      for (std::uint32_t i = 0; i < record.excluded_count; ++i) m_excluded.push_back(text(record.excluded[i]));
    }
    ResetMembers();
  }

  // True when the state, the description or the excluded users differ from
  // the last fetch or Apply.
  bool SomethingChanged() const {
    return m_state != m_base_state || m_description != m_base_description || m_excluded != m_base_excluded;
  }
  std::uint32_t DirtyBits() const { return m_dirty; }

 protected:
  void DoDataExchange(plat::DataExchange& dx) override {
    plat::DdxRadio(dx, IDC_LOCK_UNLOCKED, m_state);
    plat::DdxText(dx, IDC_LOCK_LOCKED_BY, m_locked_by);
    plat::DdxText(dx, IDC_LOCK_LOCKED_ON, m_locked_on);
    plat::DdxText(dx, IDC_LOCK_DESCRIPTION, m_description);
    if (!dx.saving()) FillList();
  }

  bool OnSetActive() override {
    SetHelpTopic(kTopic);
    if (!CBasePropertyPage::OnSetActive()) return false;
    EnableWindows();
    return true;
  }

  bool OnCommand(int id, int code) override {
    if ((id == IDC_LOCK_UNLOCKED || id == IDC_LOCK_LOCKED || id == IDC_LOCK_OBSOLETE) &&
        code == plat::bn::Clicked) {  // OnRadio
      UpdateData(true);
      EnableWindows();
      Changed();
      return true;
    }
    if (id == IDC_LOCK_DESCRIPTION && code == plat::en::Change) {  // OnChangeComment
      m_description = GetDlgItemText(IDC_LOCK_DESCRIPTION);
      Changed();
      return true;
    }
    return CBasePropertyPage::OnCommand(id, code);
  }

  bool OnContextMenu() override {
    const std::optional<plat::Menu> menu = plat::FindMenuResource(IDR_MENU_PAGE_CONTEXT);
    if (!menu || menu->items.size() <= static_cast<std::size_t>(IDM_PAGE_MENU_LOCK)) return true;
    plat::Menu popup;
    popup.id = IDR_MENU_PAGE_CONTEXT;
    popup.items = menu->items[IDM_PAGE_MENU_LOCK].submenu;
    switch (plat::TrackPopupMenu(popup, this)) {
      case ID_LOCK_ADD_ME: OnAddMe(); break;
      case ID_LOCK_ADD_USER: OnAddUser(); break;
      case ID_LOCK_REMOVE_USER: OnRemoveUser(); break;
      case ID_LOCK_REMOVE_ALL: OnRemoveAll(); break;
      default: break;
    }
    return true;
  }
  plat::LResult OnNotify(plat::NotifyHeader& header) override {
    if (header.code == plat::nm::RClick && OnContextMenu()) return 0;
    return CBasePropertyPage::OnNotify(header);
  }

  bool OnApply() override {
    if (!SomethingChanged()) return CBasePropertyPage::OnApply();
    int code = TBS_ST_OK;
    std::string messages;
    {
      DiradoAccess lock;
      GCL_ImsgCollector collector;
      const stg_area_t area = stg_create_area(1012);
      if (area == STG_NULL_AREA) {
        code = TBS_ST_NO_MEMORY;
      } else {
        code = Command(area);
        stg_delete_area(area);
      }
      messages = CollectedText(collector);
      if (messages.empty() && code != TBS_ST_OK) messages = tbs_strerror(code);
    }
    if (code != TBS_ST_OK) {
      const int format = m_state == kUnlocked ? IDS_UNABLE_TO_UNLOCK : IDS_UNABLE_TO_LOCK;
      plat::MessageBox(nullptr, plat::FormatPrintf(plat::LoadString(format), {m_name, messages}), std::string(),
                       plat::mb::Ok | plat::mb::IconError);
      return false;  // the page stays modified with the user's choices
    }
    m_dirty &= ~kLockChanged;
    ResetMembers();
    return CBasePropertyPage::OnApply();
  }

 private:
  static constexpr const char* kTopic = "stratadescribe/rvlockpage.htm";

  // The lock or unlock command for the page's choices.
  int Command(stg_area_t area) const {
    const char* names[] = {m_name.c_str()};
    if (m_state == kUnlocked) {
      cmd_unlock_args_s args;
      args.area = area;
      args.names = names;
      args.name_count = 1;
      args.comment = m_description.c_str();
      return cmd_unlock(&args);
    }
    // Only Locked lets users through: the list is kept for the user, not passed.
    std::vector<const char*> excluded;
    if (m_state == kLocked)
      for (const std::string& user : m_excluded) excluded.push_back(user.c_str());
    cmd_lock_args_s args;
    args.area = area;
    args.names = names;
    args.name_count = 1;
    args.obsolete = m_state == kObsolete ? 1 : 0;
    const bool new_comment = !m_description.empty() && m_description != m_base_description;
    args.comment = new_comment ? m_description.c_str() : nullptr;
    args.excluded_users = excluded.data();
    args.excluded_count = static_cast<std::uint32_t>(excluded.size());
    return cmd_lock(&args);
  }

  void ResetMembers() {
    m_base_state = m_state;
    m_base_description = m_description;
    m_base_excluded = m_excluded;
  }

  void EnableWindows() {
    if (auto* description = GetDlgItem(IDC_LOCK_DESCRIPTION)) description->EnableWindow(m_state != kUnlocked);
    for (int id : {IDC_LOCK_EXCLUDED, IDC_LOCK_EXCLUDED_LABEL})
      if (auto* control = GetDlgItem(id)) control->EnableWindow(m_state == kLocked);
  }

  void FillList() {
    auto* list = Item<plat::ListBox>(IDC_LOCK_EXCLUDED);
    if (!list) return;
    list->ResetContent();
    for (const std::string& user : m_excluded) list->AddString(user);
  }

  void Changed() {
    m_dirty |= kLockChanged;
    SetModified(SomethingChanged());
  }
  void ListChanged() {
    FillList();
    Changed();
  }

  void OnAddMe() {
    GCL_Status status;
    GCL_OSUser me;
    {
      DiradoAccess lock;
      me = GCL_OSUser::current(status);
    }
    if (!status.ok()) {
      rvcmndlg::ShowStatusError(status);
      return;
    }
    m_excluded.push_back(me.c_str());
    ListChanged();
  }
  void OnAddUser() {
    CPrompt prompt(this, plat::LoadString(IDS_ADD_USER_CAPTION), plat::LoadString(IDS_ADD_USER_PROMPT));
    if (prompt.DoModal() != plat::IdOk || prompt.m_text.empty()) return;
    m_excluded.push_back(prompt.m_text);
    ListChanged();
  }
  void OnRemoveUser() {
    auto* list = Item<plat::ListBox>(IDC_LOCK_EXCLUDED);
    const int selected = list ? list->GetCurSel() : -1;
    if (selected < 0 || static_cast<std::size_t>(selected) >= m_excluded.size()) return;
    m_excluded.erase(m_excluded.begin() + selected);
    ListChanged();
  }
  void OnRemoveAll() {
    m_excluded.clear();
    ListChanged();
  }

  RVL_VobObject m_object;
  std::string m_name;
  int m_state = kUnlocked;
  std::string m_locked_by, m_locked_on, m_description;
  std::vector<std::string> m_excluded;
  int m_base_state = kUnlocked;
  std::string m_base_description;
  std::vector<std::string> m_base_excluded;
  std::uint32_t m_dirty = 0;
};

void rvcmndlg::RegisterLockPage() { rvcmndlg::RegisterPageClass<CRvLockPage>(); }
