// The General page of elements: name, kind, creation, description and the
// element type, whose own sheet the page opens.
#include "gcl_status.h"
#include "propsheet/general/general_page_base.h"
#include "res/resource_ids.h"
#include "rvl_filesysobj.h"
#include "rvl_namedobj.h"

using namespace rvcmndlg::res;

class CRvGeneralElementPage : public CRvGeneralPageBase {
 public:
  CRvGeneralElementPage()
      : CRvGeneralPageBase(IDD_GENERAL_ELEMENT_PAGE, "stratadescribe/rvgeneralelementpage.htm") {}

  static bool is_appropriate(const GCL_HandleBase& object) { return typeid(object) == typeid(RVL_Element); }
  static CRvPropertyBase* construct() { return new CRvGeneralElementPage; }

  void SetObject(GCL_Status& status, const GCL_HandleBase& object) override {
    KeepTyped(status, object, m_element);
  }

  void fetch_data(GCL_Status& status) override {
    FetchNameAndKind(status, m_element.pathname(status, true));
    if (status.ok()) KeepType(status, m_element.element_type(status));
    if (status.ok()) FetchEvent(status);
    if (status.ok()) m_dirty = 0;
  }

 protected:
  void DoDataExchange(plat::DataExchange& dx) override {
    CRvGeneralPageBase::DoDataExchange(dx);
    plat::DdxText(dx, IDC_GEN_ELEMENT_TYPE, m_type_name);
  }

 private:
  RVL_Element m_element;
};

void rvcmndlg::RegisterGeneralElementPage() {
  rvcmndlg::RegisterPageClass<CRvGeneralElementPage>();
}
