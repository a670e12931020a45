// The Labels page of a version: one label type name a line. Labels are added
// (or moved from another version of the element) and removed at once from
// the context menu, after a box that says so; the page then reads the
// version again.
#include <string>
#include <vector>

#include "gcl_status.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/resources.h"
#include "propsheet/general/general_page_base.h"
#include "propsheet/metadata/metadata_pages.h"
#include "propsheet/metadata/prompt.h"
#include "propsheet/property_messages.h"
#include "res/resource_ids.h"
#include "rvl_version.h"
#include "tbs.h"

using namespace rvcmndlg::res;

namespace {

class CRvLabelsPage : public CBasePropertyPage {
 public:
  CRvLabelsPage() : CBasePropertyPage(IDD_LABELS_PAGE) { SetHelpTopic(kTopic); }

  static bool is_appropriate(const GCL_HandleBase& object) { return typeid(object) == typeid(RVL_Version); }
  static CRvPropertyBase* construct() { return new CRvLabelsPage; }

  void SetObject(GCL_Status& status, const GCL_HandleBase& object) override {
    rvcmndlg::KeepTypedObject(status, object, m_version);
  }

  void fetch_data(GCL_Status& status) override {
    DiradoAccess lock;
    m_labels = m_version.labels(status);
  }

 protected:
  void DoDataExchange(plat::DataExchange& dx) override {
    if (dx.saving()) return;
    auto* list = Item<plat::ListBox>(IDC_LABELS_LIST);
    if (!list) return;
    list->ResetContent();
    for (const GCL_String& label : m_labels) list->AddString(label.c_str());
  }

  bool OnSetActive() override {
    SetHelpTopic(kTopic);
    return CBasePropertyPage::OnSetActive();
  }

  plat::LResult OnNotify(plat::NotifyHeader& header) override {
    if (header.code == plat::nm::RClick && OnContextMenu()) return 0;
    return CBasePropertyPage::OnNotify(header);
  }

  bool OnContextMenu() override {
    const std::optional<plat::Menu> popup = rvcmndlg::PagePopup(IDM_PAGE_MENU_LABELS);
    if (!popup) return true;
    switch (plat::TrackPopupMenu(*popup, this)) {
      case ID_LABEL_ADD: OnAddLabel(); break;
      case ID_LABEL_REMOVE: OnRemoveLabel(); break;
      case ID_LABEL_TYPE_PROPERTIES: OnTypeProperties(); break;
      default: break;
    }
    return true;
  }

 private:
  static constexpr const char* kTopic = "stratadescribe/rvlabelspage.htm";

  std::string SelectedLabel() {
    auto* list = Item<plat::ListBox>(IDC_LABELS_LIST);
    const int selected = list ? list->GetCurSel() : -1;
    return selected < 0 ? std::string() : list->GetText(selected);
  }

  // The repository's state after a command, whether it succeeded or not.
  void Refetch() {
    GCL_Status status;
    fetch_data(status);
    if (!status.ok()) rvcmndlg::ShowStatusError(status);
    UpdateData(false);
  }

  void OnAddLabel() {
    CPromptLabelType prompt(this);
    prompt.m_vob = m_version.vob();
    if (prompt.DoModal() != plat::IdOk) return;
    if (!rvcmndlg::ConfirmNoUndo(this, IDS_CONFIRM_ADD_LABEL, {prompt.m_name})) return;
    GCL_Status status;
    {
      DiradoAccess lock;
      m_version.add_label(status, GCL_String(prompt.m_name.c_str()), prompt.m_move != 0);
    }
    if (!status.ok()) rvcmndlg::ShowStatusError(status);
    Refetch();
  }

  void OnRemoveLabel() {
    const std::string label = SelectedLabel();
    if (label.empty()) return;
    if (!rvcmndlg::ConfirmNoUndo(this, IDS_CONFIRM_REMOVE_LABEL, {label})) return;
    GCL_Status status;
    {
      DiradoAccess lock;
      m_version.drop_label(status, GCL_String(label.c_str()));
    }
    if (!status.ok()) rvcmndlg::ShowStatusError(status);
    Refetch();
  }

  void OnTypeProperties() {
    const std::string label = SelectedLabel();
    if (label.empty()) return;
    GCL_Status status;
    RVL_NamedObj type;
    {
      DiradoAccess lock;
      type = RVL_NamedObj(status, m_version.vob(), GCL_String(("lbtype:" + label).c_str()));
    }
    if (!status.ok()) {
      rvcmndlg::ShowCannotDisplay(label, status);
      return;
    }
    rvcmndlg::OpenRelatedSheet(type, label);
  }

  RVL_Version m_version;
  std::vector<GCL_String> m_labels;
};

}  // namespace

void rvcmndlg::RegisterLabelsPage() { rvcmndlg::RegisterPageClass<CRvLabelsPage>(); }
