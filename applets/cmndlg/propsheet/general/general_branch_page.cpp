// The General page of branches: name, kind, creation, description and the
// branch type, whose own sheet the page opens.
#include "gcl_status.h"
#include "propsheet/general/general_page_base.h"
#include "res/resource_ids.h"
#include "rvl_namedobj.h"
#include "rvl_version.h"

using namespace rvcmndlg::res;

class CRvGeneralBranchPage : public CRvGeneralPageBase {
 public:
  CRvGeneralBranchPage() : CRvGeneralPageBase(IDD_GENERAL_BRANCH_PAGE, "stratadescribe/rvgeneralbranchpage.htm") {}

  static bool is_appropriate(const GCL_HandleBase& object) { return typeid(object) == typeid(RVL_Branch); }
  static CRvPropertyBase* construct() { return new CRvGeneralBranchPage; }

  void SetObject(GCL_Status& status, const GCL_HandleBase& object) override {
    KeepTyped(status, object, m_branch);
  }

  void fetch_data(GCL_Status& status) override {
    FetchNameAndKind(status, m_branch.pathname(status));
    if (status.ok()) KeepType(status, m_branch.branch_type(status));
    if (status.ok()) FetchEvent(status);
    if (status.ok()) m_dirty = 0;
  }

 protected:
  void DoDataExchange(plat::DataExchange& dx) override {
    CRvGeneralPageBase::DoDataExchange(dx);
    plat::DdxText(dx, IDC_GEN_BRANCH_TYPE, m_type_name);
  }
  bool OnCommand(int id, int code) override {
    if (id != IDC_GEN_TYPE_PROPERTIES || code != plat::bn::Clicked) return CRvGeneralPageBase::OnCommand(id, code);
    OpenTypeProperties();  // OnTypeProperties
    return true;
  }

 private:
  RVL_Branch m_branch;
};

void rvcmndlg::RegisterGeneralBranchPage() {
  rvcmndlg::RegisterPageClass<CRvGeneralBranchPage>();
}
