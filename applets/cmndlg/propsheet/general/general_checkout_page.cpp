// The General page of versions, checked out or not: name, kind, creation,
// description and predecessor; for a check-out also its view and whether it
// is reserved; the activity whose change set holds the version.
#include "flm.h"
#include "gcl_capture.h"
#include "gcl_status.h"
#include "platform/controls.h"
#include "platform/resources.h"
#include "propsheet/general/general_page_base.h"
#include "res/resource_ids.h"
#include "rvcmndlg/entries.h"
#include "rvl_infostg.h"
#include "rvl_version.h"
#include "rvl_view.h"
#include "tbs.h"

using namespace rvcmndlg::res;

namespace {

constexpr int kCheckoutControls[] = {IDC_GEN_PREDECESSOR_LABEL, IDC_GEN_PREDECESSOR, IDC_GEN_IN_VIEW_LABEL,
                                     IDC_GEN_IN_VIEW, IDC_GEN_RESERVED};
constexpr int kActivityControls[] = {IDC_GEN_ACTIVITY_GROUP, IDC_GEN_ACTIVITY, IDC_GEN_ACTIVITY_PROPERTIES};

// A version that is not (or no longer) checked out: the record's answer.
bool NotCheckedOut(const GCL_Status& status) {
  return status.code() == static_cast<std::uint32_t>(TBS_ST_NOT_FOUND) ||
         status.code() == static_cast<std::uint32_t>(TBS_ST_WRONG_KIND);
}

std::string OrEmpty(const char* text) { return text ? text : ""; }

}  // namespace

class CRvGeneralCheckoutPage : public CRvGeneralPageBase {
 public:
  CRvGeneralCheckoutPage()
      : CRvGeneralPageBase(IDD_GENERAL_CHECKOUT_PAGE, "stratadescribe/rvgeneralcheckoutpage.htm") {}

  static bool is_appropriate(const GCL_HandleBase& object) { return typeid(object) == typeid(RVL_Version); }
  static CRvPropertyBase* construct() { return new CRvGeneralCheckoutPage; }

  void SetObject(GCL_Status& status, const GCL_HandleBase& object) override {
    KeepTyped(status, object, m_version);
  }

  void fetch_data(GCL_Status& status) override {
    FetchNameAndKind(status, m_version.pathname(status));
    if (status.ok()) FetchPredecessor(status);
    if (status.ok()) FetchCheckout(status);
    if (status.ok()) FetchEvent(status);
    if (status.ok()) FetchActivity(status);
    if (status.ok()) m_dirty = 0;
  }

 protected:
  void DoDataExchange(plat::DataExchange& dx) override {
    CRvGeneralPageBase::DoDataExchange(dx);
    plat::DdxText(dx, IDC_GEN_PREDECESSOR, m_predecessor);
    plat::DdxText(dx, IDC_GEN_IN_VIEW, m_in_view);
    plat::DdxCheck(dx, IDC_GEN_RESERVED, m_reserved);
    plat::DdxText(dx, IDC_GEN_ACTIVITY, m_activity_title);
    if (dx.saving()) return;
    for (int id : kCheckoutControls) GetDlgItem(id)->ShowWindow(m_checked_out);
    for (int id : kActivityControls) GetDlgItem(id)->ShowWindow(!m_activity_selector.empty());
  }

  bool OnCommand(int id, int code) override {
    if (id == IDC_GEN_RESERVED && code == plat::bn::Clicked) {  // OnCheckReserved
      m_reserved = Item<plat::Button>(IDC_GEN_RESERVED)->GetCheck();
      m_dirty |= kReservedChanged;
      SetModified();
      return true;
    }
    if (id == IDC_GEN_ACTIVITY_PROPERTIES && code == plat::bn::Clicked) {  // OnActivityProperties
      if (!m_activity_selector.empty()) rvDisplayPropertySheet({m_activity_selector}, 0, std::string(), 0);
      return true;
    }
    return CRvGeneralPageBase::OnCommand(id, code);
  }

  bool OnApply() override {
    GCL_Status status;
    {
      DiradoAccess lock;
      ApplyDescription(status);
      // The reserved state only once the description is written.
      if (status.ok() && (m_dirty & kReservedChanged)) ApplyReserved(status);
    }
    return FinishApply(status);
  }

 private:
  void FetchPredecessor(GCL_Status& status) {
    const RVL_Version predecessor = m_version.predecessor(status);
    if (status.code() == static_cast<std::uint32_t>(TBS_ST_NOT_FOUND)) status.make_ok();
    m_predecessor = status.ok() && !predecessor.is_null() ? predecessor.display_name(status).c_str() : "";
  }

  void FetchCheckout(GCL_Status& status) {
    RVL_InfoStg<vob_ckout_info_s> info;
    m_version.checkout_info(status, info);
    m_checked_out = status.ok();
    if (NotCheckedOut(status)) {
      status.make_ok();
      return;
    }
    if (!status.ok()) return;
    const vob_ckout_info_s& record = info.record();
    m_kind = plat::LoadString(IDS_CHECKEDOUT_PREFIX) + m_kind;
    m_reserved = record.reserved ? plat::Checked : plat::Unchecked;
    m_in_view = InView(record);
  }

  // The tag of the check-out's view; a view without a tag (removed since)
  // is named by its host and storage path, and the failed look-up forgotten.
  static std::string InView(const vob_ckout_info_s& record) {
    GCL_Status lookup;
    const RVL_ViewTag tag = RVL_ViewTag::from_uuid(lookup, GCL_String(OrEmpty(record.view_uuid).c_str()));
    if (lookup.ok() && !tag.is_null()) return tag.name().c_str();
    return plat::FormatPrintf(plat::LoadString(IDS_HOST_COLON_PATH), {OrEmpty(record.view_host), OrEmpty(record.view_path)});
  }

  void FetchActivity(GCL_Status& status) {
    m_activity_selector.clear();
    m_activity_title.clear();
    FLM_Vob vob;
    FLM_Activity activity;
    GCL_CaptureScope capture(status);
    int code = FLM_Vob::construct_from_handle(m_version.vob().handle(), &vob);
    if (code == 0) code = FLM_Version(vob.handle(), m_version.dbid()).activity(&activity);
    if (code == 0 && !activity.is_null()) code = activity.title(&m_activity_title);
    if (code == 0 && !activity.is_null()) code = activity.selector(&m_activity_selector);
    status.set_code(static_cast<std::uint32_t>(code == TBS_ST_NOT_FOUND ? 0 : code));
  }

  void ApplyReserved(GCL_Status& status) {
    RVL_InfoStg<vob_ckout_info_s> info;
    m_version.checkout_info(status, info);
    if (NotCheckedOut(status)) {
      // Checked in meanwhile: nothing is left to change.
      status.make_ok();
      m_dirty &= ~kReservedChanged;
      return;
    }
    if (!status.ok()) return;
    if (m_reserved == plat::Checked) m_version.reserve(status);
    else m_version.unreserve(status);
    if (status.ok()) m_dirty &= ~kReservedChanged;
  }

  RVL_Version m_version;
  std::string m_predecessor, m_in_view, m_activity_title, m_activity_selector;
  int m_reserved = plat::Unchecked;
  bool m_checked_out = false;
};

void rvcmndlg::RegisterGeneralCheckoutPage() {
  rvcmndlg::RegisterPageClass<CRvGeneralCheckoutPage>();
}
