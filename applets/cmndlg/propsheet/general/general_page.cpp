// The General page of every other named object (types, pools, the VOB
// object, change-management objects outside a project VOB): its icon, name,
// kind, description and creation.
#include "flm.h"
#include "gcl_capture.h"
#include "gcl_status.h"
#include "propsheet/general/general_page_base.h"
#include "propsheet/property_messages.h"
#include "res/resource_ids.h"
#include "vob.h"

using namespace rvcmndlg::res;

namespace {

// The change-management kinds whose own pages take over in a project VOB.
bool IsProcessKind(std::uint32_t mtype) {
  return mtype == VOB_MTYPE_ACTIVITY || mtype == VOB_MTYPE_FOLDER || (mtype >= VOB_MTYPE_PROJECT && mtype <= 41);
}

// Whether the object's VOB is a project VOB (one with a root folder).
bool InProjectVob(GCL_Status& status, const RVL_VobObject& object) {
  FLM_Vob vob;
  FLM_Folder root;
  GCL_CaptureScope capture(status);
  int code = FLM_Vob::construct_from_handle(object.vob().handle(), &vob);
  if (code == 0) code = vob.root_folder(&root);
  status.set_code(static_cast<std::uint32_t>(code));
  return code == 0 && !root.is_null();
}

}  // namespace

class CRvGeneralPage : public CRvGeneralPageBase {
 public:
  CRvGeneralPage() : CRvGeneralPageBase(IDD_GENERAL_PAGE, "stratadescribe/default_topic.htm") {}

  static bool is_appropriate(const GCL_HandleBase& object) {
    const auto* named = dynamic_cast<const RVL_NamedObj*>(&object);
    if (!named) return false;
    GCL_Status status;
    bool applies = false;
    {
      DiradoAccess lock;
      const std::uint32_t mtype = named->mtype(status);
      applies = status.ok() && mtype != VOB_MTYPE_REPLICA;
      if (applies && IsProcessKind(mtype)) applies = !InProjectVob(status, *named) && status.ok();
    }
    if (!status.ok()) rvcmndlg::ShowStatusError(status);
    return applies;
  }
  static CRvPropertyBase* construct() { return new CRvGeneralPage; }

  void SetObject(GCL_Status& status, const GCL_HandleBase& object) override {
    KeepTyped(status, object, m_named);
  }

  void fetch_data(GCL_Status& status) override {
    FetchNameAndKind(status, m_named.name(status));
    if (status.ok()) m_mtype = m_named.mtype(status);
    if (status.ok()) FetchEvent(status);
    if (status.ok()) m_dirty = 0;
  }

 protected:
  void DoDataExchange(plat::DataExchange& dx) override {
    CRvGeneralPageBase::DoDataExchange(dx);
    // The class's icon from the meta-type images (the one it replaces goes).
    if (!dx.saving() && m_mtype < static_cast<std::uint32_t>(IDI_METATYPE_COUNT))
      GetDlgItem(IDC_GEN_ICON)->SetIcon(IDI_METATYPE_FIRST + static_cast<int>(m_mtype));
  }

 private:
  RVL_NamedObj m_named;
  std::uint32_t m_mtype = 0;
};

void rvcmndlg::RegisterGeneralPage() {
  rvcmndlg::RegisterPageClass<CRvGeneralPage>();
}
