// The Protection page of elements: owner, group and the permission bits.
// Apply writes what changed in one repository call, so the three change
// together or not at all.
#include <cstdint>
#include <string>

#include "gcl_osuser.h"
#include "gcl_status.h"
#include "platform/dialog.h"
#include "propsheet/general/general_page_base.h"
#include "propsheet/metadata/metadata_pages.h"
#include "propsheet/property_messages.h"
#include "res/resource_ids.h"
#include "rvl_filesysobj.h"
#include "rvl_update.h"
#include "tbs.h"

using namespace rvcmndlg::res;

namespace {

struct ModeBox {
  int id;
  std::uint32_t bit;
};
constexpr ModeBox kBoxes[] = {
    {7027, 0x100}, {7028, 0x80}, {7029, 0x40}, {7030, 0x800}, {7036, 0x20}, {7037, 0x10},
    {7038, 0x8},   {7039, 0x400}, {7040, 0x4}, {7041, 0x2},  {7042, 0x1},
};

}  // namespace

class CRvProtectionPage : public CBasePropertyPage {
 public:
  static constexpr std::uint32_t kOwnerChanged = 1u << 0;
  static constexpr std::uint32_t kGroupChanged = 1u << 1;
  static constexpr std::uint32_t kModeChanged = 1u << 2;

  CRvProtectionPage() : CBasePropertyPage(IDD_PROTECTION_PAGE) { SetHelpTopic(kTopic); }

  static bool is_appropriate(const GCL_HandleBase& object) { return typeid(object) == typeid(RVL_Element); }
  static CRvPropertyBase* construct() { return new CRvProtectionPage; }

  void SetObject(GCL_Status& status, const GCL_HandleBase& object) override {
    rvcmndlg::KeepTypedObject(status, object, m_element);
  }

  void fetch_data(GCL_Status& status) override {
    GCL_OSUser owner;
    GCL_OSGroup group;
    {
      DiradoAccess lock;
      m_element.protection(status, owner, group, m_mode);
    }
    if (!status.ok()) return;
    m_owner = owner.c_str();
    m_group = group.c_str();
    m_dirty = 0;
  }

 protected:
  void DoDataExchange(plat::DataExchange& dx) override {
    plat::DdxText(dx, IDC_PROT_OWNER, m_owner);
    plat::DdxText(dx, IDC_PROT_GROUP, m_group);
    for (const ModeBox& box : kBoxes) {
      int checked = (m_mode & box.bit) ? 1 : 0;
      plat::DdxCheck(dx, box.id, checked);
      if (dx.saving()) m_mode = checked ? (m_mode | box.bit) : (m_mode & ~box.bit);
    }
  }

  bool OnSetActive() override {
    SetHelpTopic(kTopic);
    return CBasePropertyPage::OnSetActive();
  }

  bool OnCommand(int id, int code) override {
    if (id == IDC_PROT_OWNER && code == plat::en::Change) {  // OnChangeOwner
      m_owner = GetDlgItemText(IDC_PROT_OWNER);
      return Changed(kOwnerChanged);
    }
    if (id == IDC_PROT_GROUP && code == plat::en::Change) {  // OnChangeGroup
      m_group = GetDlgItemText(IDC_PROT_GROUP);
      return Changed(kGroupChanged);
    }
    for (const ModeBox& box : kBoxes)
      if (id == box.id && code == plat::bn::Clicked) {
        UpdateData(true);
        return Changed(kModeChanged);
      }
    return CBasePropertyPage::OnCommand(id, code);
  }

  bool OnApply() override {
    if (m_dirty == 0) return CBasePropertyPage::OnApply();
    GCL_Status status;
    {
      // Owner, group and mode in one call: a refusal leaves all three.
      DiradoAccess lock;
      RVL_VobObjectUpdate update;
      if (m_dirty & kOwnerChanged) update.set_owner(GCL_OSUser(m_owner.c_str()));
      if (m_dirty & kGroupChanged) update.set_group(GCL_OSGroup(m_group.c_str()));
      if (m_dirty & kModeChanged) update.set_mode(m_mode);
      m_element.apply(status, update);
    }
    if (!status.ok()) {
      rvcmndlg::ShowStatusError(status);
      return false;
    }
    m_dirty = 0;
    return CBasePropertyPage::OnApply();
  }

 private:
  static constexpr const char* kTopic = "stratadescribe/rvprotectionpage.htm";

  bool Changed(std::uint32_t bit) {
    m_dirty |= bit;
    SetModified();
    return true;
  }

  RVL_Element m_element;
  std::string m_owner, m_group;
  std::uint32_t m_mode = 0;  // bits without a box (the sticky bit) stay as read
  std::uint32_t m_dirty = 0;
};

void rvcmndlg::RegisterProtectionPage() { rvcmndlg::RegisterPageClass<CRvProtectionPage>(); }
