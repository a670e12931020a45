// The General page of derived objects: name, kind, owner, group and creation
// time. Nothing on it can be changed.
#include "gcl_status.h"
#include "propsheet/general/general_page_base.h"
#include "res/resource_ids.h"
#include "rvl_filesysobj.h"

using namespace rvcmndlg::res;

class CRvGeneralDerivedObjPage : public CRvGeneralPageBase {
 public:
  CRvGeneralDerivedObjPage()
      : CRvGeneralPageBase(IDD_GENERAL_DERIVEDOBJ_PAGE, "stratadescribe/rvgeneralderivedobjpage.htm", false) {}

  static bool is_appropriate(const GCL_HandleBase& object) {
    return dynamic_cast<const RVL_DerivedObject*>(&object) != nullptr;
  }
  static CRvPropertyBase* construct() { return new CRvGeneralDerivedObjPage; }

  void SetObject(GCL_Status& status, const GCL_HandleBase& object) override {
    KeepTyped(status, object, m_derived);
  }

  void fetch_data(GCL_Status& status) override {
    FetchNameAndKind(status, m_derived.pathname(status));
    GCL_OSUser owner;
    GCL_OSGroup group;
    if (status.ok()) m_derived.owner_and_group(status, owner, group);
    m_owner = owner.c_str();
    m_group = group.c_str();
    if (status.ok()) FetchEvent(status);
    if (status.ok()) m_dirty = 0;
  }

 protected:
  void DoDataExchange(plat::DataExchange& dx) override {
    CRvGeneralPageBase::DoDataExchange(dx);
    plat::DdxText(dx, IDC_GEN_OWNER, m_owner);
    plat::DdxText(dx, IDC_GEN_GROUP, m_group);
  }

 private:
  RVL_DerivedObject m_derived;
  std::string m_owner, m_group;
};

void rvcmndlg::RegisterGeneralDerivedObjPage() {
  rvcmndlg::RegisterPageClass<CRvGeneralDerivedObjPage>();
}
