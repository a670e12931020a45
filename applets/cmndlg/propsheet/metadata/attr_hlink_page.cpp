// The Custom page: the attributes and hyperlinks of any VOB object, and its
// single-list variants, the Attributes and Hyperlinks pages. Attributes are
// added, changed and removed at once from the context menu, after a box that
// says so; the page then reads the object again.
#include <memory>
#include <optional>
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
#include "rvl_attribute.h"
#include "rvl_hyperlink.h"
#include "rvl_resolve.h"
#include "tbs.h"

using namespace rvcmndlg::res;

namespace rvcmndlg {

// The pop-up of menu 832 at the index, or nothing when the menu lacks it.
std::optional<plat::Menu> PagePopup(int index) {
  const std::optional<plat::Menu> menu = plat::FindMenuResource(IDR_MENU_PAGE_CONTEXT);
  if (!menu || menu->items.size() <= static_cast<std::size_t>(index)) return std::nullopt;
  plat::Menu popup;
  popup.id = IDR_MENU_PAGE_CONTEXT;
  popup.items = menu->items[static_cast<std::size_t>(index)].submenu;
  return popup;
}

bool ConfirmNoUndo(plat::Window* owner, int format, std::initializer_list<std::string_view> args) {
  return plat::MessageBox(owner, plat::FormatMessage(plat::LoadString(format), args), std::string(),
                          plat::mb::OkCancel | plat::mb::IconQuestion) == plat::IdOk;
}

}  // namespace rvcmndlg

// "TYPE -> OTHER "TEXT"": the hyperlink's type and the end this object is
// not, with that end's text; "<Object Unavailable>" for an end that is gone.
std::string format_hyperlink_string(GCL_Status& status, const RVL_HyperlinkComposite& composite) {
  const RVL_Hyperlink hyperlink = composite.hyperlink();
  std::string type = plat::LoadString(IDS_TYPE_UNAVAILABLE);
  if (const GCL_String name = hyperlink.type_name(status); status.ok()) type = name.c_str();
  if (!status.ok()) return type;
  // The end this object is not, described from this object's side.
  const bool from_end = composite.arrow().from_end();
  const RVL_VobObject other = from_end ? hyperlink.to_object(status) : hyperlink.from_object(status);
  std::string end;
  if (status.ok()) end = std::string(from_end ? "-> " : "<- ") + other.display_name(status).c_str();
  if (status.code() == TBS_ST_NOT_FOUND) {
    status.make_ok();
    end = plat::LoadString(IDS_OBJECT_UNAVAILABLE);
  } else if (status.ok()) {
    const GCL_String text = from_end ? hyperlink.to_text(status) : hyperlink.from_text(status);
    if (status.ok() && text.length() > 0) end += std::string(" \"") + text.c_str() + "\"";
  }
  return type + " " + end;
}

namespace {

class CRvAttrHLinkPage : public CBasePropertyPage {
 public:
  explicit CRvAttrHLinkPage(int page_id = IDD_CUSTOM_PAGE) : CBasePropertyPage(page_id) { SetHelpTopic(kTopic); }

  static bool is_appropriate(const GCL_HandleBase& object) {
    return dynamic_cast<const RVL_VobObject*>(&object) != nullptr;
  }
  static CRvPropertyBase* construct() { return new CRvAttrHLinkPage; }

  void SetObject(GCL_Status& status, const GCL_HandleBase& object) override {
    rvcmndlg::KeepTypedObject(status, object, m_object);
  }

  bool first_set_active() override {
    auto* attributes = Item<plat::ListView>(IDC_CUSTOM_ATTRIBUTES);
    if (attributes && (attributes->InsertColumn(0, plat::LoadString(IDS_COLUMN_TYPE), 200) < 0 ||
                       attributes->InsertColumn(1, plat::LoadString(IDS_COLUMN_VALUE), 200) < 0))
      return false;
    if (auto* hyperlinks = Item<plat::ListView>(IDC_CUSTOM_HYPERLINKS)) hyperlinks->InsertColumn(0, "", -1);
    return true;
  }

  void fetch_data(GCL_Status& status) override {
    DiradoAccess lock;
    m_attributes.clear();
    m_hyperlinks.clear();
    const RVL_AttributeList attributes = m_object.attributes(status);
    if (!status.ok()) return;
    for (std::uint32_t i = 0; i < attributes.Length(); ++i)
      if (m_show_cm_attributes || !IsFLXAttributeType(attributes[i])) m_attributes.push_back(attributes[i]);
    for (const RVL_HyperlinkComposite& hyperlink : RVL_FindHyperlinks(status, m_object, GCL_String())) {
      if (!m_show_cm_hyperlinks && IsFLXHyperlink(hyperlink)) continue;
      const std::string row = format_hyperlink_string(status, hyperlink);
      if (!status.ok()) return;
      m_hyperlinks.push_back({hyperlink, row});
    }
  }

  // Set only by a caller of the single-list pages that shows the
  // change-management process's own attributes and hyperlinks.
  bool m_show_cm_attributes = false;
  bool m_show_cm_hyperlinks = false;

 protected:
  void DoDataExchange(plat::DataExchange& dx) override {
    if (!dx.saving()) FillLists();
  }

  bool OnSetActive() override {
    SetHelpTopic(kTopic);
    return CBasePropertyPage::OnSetActive();
  }

  plat::LResult OnNotify(plat::NotifyHeader& header) override {
    if (header.code == plat::nm::RClick) {
      if (header.id == IDC_CUSTOM_ATTRIBUTES) {
        OnAttributesMenu();
        return 0;
      }
      if (header.id == IDC_CUSTOM_HYPERLINKS) {
        OnHyperlinksMenu();
        return 0;
      }
    }
    return CBasePropertyPage::OnNotify(header);
  }

 private:
  static constexpr const char* kTopic = "stratadescribe/rvattrhlinkpage.htm";
  struct HyperlinkRow {
    RVL_HyperlinkComposite hyperlink;
    std::string text;
  };

  void FillLists() {
    if (auto* list = Item<plat::ListView>(IDC_CUSTOM_ATTRIBUTES)) {
      list->DeleteAllItems();
      for (std::size_t i = 0; i < m_attributes.size(); ++i) {
        GCL_Status status;
        std::string type, value;
        {
          DiradoAccess lock;
          type = m_attributes[i].type().name(status).c_str();
          value = m_attributes[i].value().text().c_str();
        }
        const int row = list->InsertItem(-1, type);
        list->SetItemText(row, 1, value);
        list->SetItemData(row, i);
      }
    }
    if (auto* list = Item<plat::ListView>(IDC_CUSTOM_HYPERLINKS)) {
      list->DeleteAllItems();
      for (std::size_t i = 0; i < m_hyperlinks.size(); ++i) list->SetItemData(list->InsertItem(-1, m_hyperlinks[i].text), i);
    }
  }

  // The selected row's index into the list of the last fetch, or -1.
  int Selected(int control, std::size_t count) {
    auto* list = Item<plat::ListView>(control);
    const std::vector<int> rows = list ? list->GetSelected() : std::vector<int>{};
    if (rows.empty()) return -1;
    const std::uintptr_t index = list->GetItemData(rows.front());
    return index < count ? static_cast<int>(index) : -1;
  }

  void Refetch() {
    GCL_Status status;
    fetch_data(status);
    if (!status.ok()) rvcmndlg::ShowStatusError(status);
    FillLists();
  }

  void OnAttributesMenu() {
    const std::optional<plat::Menu> popup = rvcmndlg::PagePopup(IDM_PAGE_MENU_ATTRIBUTES);
    if (!popup) return;
    switch (plat::TrackPopupMenu(*popup, this)) {
      case ID_ATTR_ADD: OnAddAttribute(); break;
      case ID_ATTR_CHANGE: OnChangeAttribute(); break;
      case ID_ATTR_REMOVE: OnRemoveAttribute(); break;
      case ID_ATTR_TYPE_PROPERTIES: OnTypeProperties(); break;
      default: break;
    }
  }

  void OnHyperlinksMenu() {
    std::optional<plat::Menu> popup = rvcmndlg::PagePopup(IDM_PAGE_MENU_HYPERLINKS);
    if (!popup) return;
    for (plat::MenuItem& item : popup->items)  // no command makes or removes a hyperlink here
      if (item.id == ID_HLINK_CREATE || item.id == ID_HLINK_REMOVE) item.enabled = false;
    const int command = plat::TrackPopupMenu(*popup, this);
    const int row = Selected(IDC_CUSTOM_HYPERLINKS, m_hyperlinks.size());
    if (row < 0) return;
    const RVL_HyperlinkComposite& composite = m_hyperlinks[static_cast<std::size_t>(row)].hyperlink;
    GCL_Status status;
    std::unique_ptr<RVL_VobObject> target;
    std::string name;
    {
      DiradoAccess lock;
      const RVL_Hyperlink hyperlink = composite.hyperlink();
      RVL_VobObject chosen;
      switch (command) {
        case ID_HLINK_OTHER_PROPERTIES:
          chosen = composite.arrow().from_end() ? hyperlink.to_object(status) : hyperlink.from_object(status);
          break;
        case ID_HLINK_PROPERTIES: chosen = hyperlink; break;
        case ID_HLINK_TYPE_PROPERTIES: chosen = hyperlink.type_object(status); break;
        default: return;
      }
      // The object as its own class, so that its sheet has its own pages.
      if (status.ok()) target = RVL_MakeObject(status, chosen.vob(), chosen.dbid(), 0, GCL_String());
      if (status.ok() && target) name = target->display_name(status).c_str();
    }
    if (!status.ok() || !target) {
      rvcmndlg::ShowCannotDisplay(m_hyperlinks[static_cast<std::size_t>(row)].text, status);
      return;
    }
    rvcmndlg::OpenRelatedSheet(*target, name);
  }

  // Adds or changes the attribute the prompt names, after the box that
  // says it cannot be undone; the list is read again either way.
  void WriteAttribute(CPromptAttribute& prompt, int confirm) {
    if (prompt.DoModal() != plat::IdOk) return;
    if (!rvcmndlg::ConfirmNoUndo(this, confirm, {prompt.m_type_name, prompt.m_value})) return;
    GCL_Status status;
    {
      DiradoAccess lock;
      const RVL_AttributeValue value =
          RVL_AttributeValue::parse(status, GCL_String(prompt.m_value_kind.c_str()), GCL_String(prompt.m_value.c_str()));
      if (status.ok()) m_object.add_attribute(status, GCL_String(prompt.m_type_name.c_str()), value);
    }
    if (!status.ok()) rvcmndlg::ShowStatusError(status);
    Refetch();
  }

  void OnAddAttribute() {
    CPromptAttribute prompt(this);
    prompt.m_vob = m_object.vob();
    WriteAttribute(prompt, IDS_CONFIRM_ADD_ATTRIBUTE);
  }

  void OnChangeAttribute() {
    const int row = Selected(IDC_CUSTOM_ATTRIBUTES, m_attributes.size());
    if (row < 0) return;
    CPromptAttribute prompt(this);
    prompt.m_vob = m_object.vob();
    prompt.m_change_mode = true;
    auto* list = Item<plat::ListView>(IDC_CUSTOM_ATTRIBUTES);
    const int item = list->GetSelected().front();
    prompt.m_type_name = list->GetItemText(item, 0);
    prompt.m_value = list->GetItemText(item, 1);
    WriteAttribute(prompt, IDS_CONFIRM_CHANGE_ATTRIBUTE);
  }

  void OnRemoveAttribute() {
    const int row = Selected(IDC_CUSTOM_ATTRIBUTES, m_attributes.size());
    if (row < 0) return;
    auto* list = Item<plat::ListView>(IDC_CUSTOM_ATTRIBUTES);
    const std::string type = list->GetItemText(list->GetSelected().front(), 0);
    if (!rvcmndlg::ConfirmNoUndo(this, IDS_CONFIRM_REMOVE_ATTRIBUTE, {type})) return;
    GCL_Status status;
    {
      DiradoAccess lock;
      m_object.drop_attribute(status, GCL_String(type.c_str()));
    }
    if (!status.ok()) rvcmndlg::ShowStatusError(status);
    Refetch();
  }

  void OnTypeProperties() {
    const int row = Selected(IDC_CUSTOM_ATTRIBUTES, m_attributes.size());
    if (row < 0) return;
    const RVL_AttributeType type = m_attributes[static_cast<std::size_t>(row)].type();
    GCL_Status status;
    std::string name;
    {
      DiradoAccess lock;
      name = type.display_name(status).c_str();
    }
    rvcmndlg::OpenRelatedSheet(type, name);
  }

  RVL_VobObject m_object;
  std::vector<RVL_Attribute> m_attributes;
  std::vector<HyperlinkRow> m_hyperlinks;
};

// The single-list variants; no sheet chooses them, callers construct them,
// and may show the change-management process's own items too.
class CRvAttributesPage : public CRvAttrHLinkPage {
 public:
  explicit CRvAttributesPage(bool show_change_management) : CRvAttrHLinkPage(IDD_ATTRIBUTES_PAGE) {
    m_show_cm_attributes = show_change_management;
  }
};
class CRvHyperlinksPage : public CRvAttrHLinkPage {
 public:
  explicit CRvHyperlinksPage(bool show_change_management) : CRvAttrHLinkPage(IDD_HYPERLINKS_PAGE) {
    m_show_cm_hyperlinks = show_change_management;
  }
};

}  // namespace

void rvcmndlg::RegisterAttrHLinkPage() { rvcmndlg::RegisterPageClass<CRvAttrHLinkPage>(); }
CRvPropertyBase* rvcmndlg::ConstructAttributesPage(bool show_change_management) {
  return new CRvAttributesPage(show_change_management);
}
CRvPropertyBase* rvcmndlg::ConstructHyperlinksPage(bool show_change_management) {
  return new CRvHyperlinksPage(show_change_management);
}
