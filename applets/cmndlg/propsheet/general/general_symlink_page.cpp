// The General page of VOB symbolic links: name, kind, creation, description
// and the link's target.
#include "gcl_status.h"
#include "propsheet/general/general_page_base.h"
#include "res/resource_ids.h"
#include "rvl_filesysobj.h"

using namespace rvcmndlg::res;

class CRvGeneralSymlinkPage : public CRvGeneralPageBase {
 public:
  CRvGeneralSymlinkPage()
      : CRvGeneralPageBase(IDD_GENERAL_SYMLINK_PAGE, "stratadescribe/rvgeneralsymlinkpage.htm") {}

  static bool is_appropriate(const GCL_HandleBase& object) { return typeid(object) == typeid(RVL_VobSymlink); }
  static CRvPropertyBase* construct() { return new CRvGeneralSymlinkPage; }

  void SetObject(GCL_Status& status, const GCL_HandleBase& object) override {
    KeepTyped(status, object, m_link);
  }

  void fetch_data(GCL_Status& status) override {
    FetchNameAndKind(status, m_link.pathname(status));
    if (status.ok()) m_target = m_link.target(status).c_str();
    if (status.ok()) FetchEvent(status);
    if (status.ok()) m_dirty = 0;
  }

 protected:
  void DoDataExchange(plat::DataExchange& dx) override {
    CRvGeneralPageBase::DoDataExchange(dx);
    plat::DdxText(dx, IDC_GEN_LINK_TARGET, m_target);
  }

 private:
  RVL_VobSymlink m_link;
  std::string m_target;
};

void rvcmndlg::RegisterGeneralSymlinkPage() {
  rvcmndlg::RegisterPageClass<CRvGeneralSymlinkPage>();
}
