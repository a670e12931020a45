// Templates, strings, the page context menu and the meta-type icons of the
// General pages.
#include "res/propsheet_resources.h"
#include "res/resource_ids.h"
#include "res/template_controls.h"

namespace rvcmndlg {

using namespace res;

namespace {

constexpr const char* kGeneral = "General";

plat::ControlTemplate ReadOnly(int id) { return EditField(id, plat::es::ReadOnly); }
plat::ControlTemplate Description() { return EditField(IDC_GEN_DESCRIPTION, plat::es::MultiLine); }

plat::DialogTemplate Page(int id, std::vector<plat::ControlTemplate> controls) {
  plat::DialogTemplate t;
  t.id = id;
  t.caption = kGeneral;
  t.controls = std::move(controls);
  return t;
}

// Name, Kind, Created by, Created on and Description, as most pages start.
std::vector<plat::ControlTemplate> CommonFields() {
  return {Label("Name:"),       ReadOnly(IDC_GEN_NAME),       Label("Kind:"),        ReadOnly(IDC_GEN_KIND),
          Label("Created by:"), ReadOnly(IDC_GEN_CREATED_BY), Label("Created on:"),  ReadOnly(IDC_GEN_CREATED_ON),
          Label("Description:"), Description()};
}

std::vector<plat::ControlTemplate> With(std::vector<plat::ControlTemplate> first,
                                        std::initializer_list<plat::ControlTemplate> more) {
  first.insert(first.end(), more);
  return first;
}

void AddTemplates(plat::ResourceModule& module) {
  module.AddDialog(Page(IDD_GENERAL_ELEMENT_PAGE,
                        With(CommonFields(), {Label("Element type:"), ReadOnly(IDC_GEN_ELEMENT_TYPE),
                                              Label("", IDC_GEN_ICON)})));
  module.AddDialog(Page(
      IDD_GENERAL_CHECKOUT_PAGE,
      With(CommonFields(),
           {Label("Predecessor:", IDC_GEN_PREDECESSOR_LABEL), ReadOnly(IDC_GEN_PREDECESSOR),
            Label("In view:", IDC_GEN_IN_VIEW_LABEL), ReadOnly(IDC_GEN_IN_VIEW), Check(IDC_GEN_RESERVED, "&Reserved"),
            plat::ControlTemplate{"button", IDC_GEN_ACTIVITY_GROUP, "Activity", plat::bs::GroupBox},
            ReadOnly(IDC_GEN_ACTIVITY), Push(IDC_GEN_ACTIVITY_PROPERTIES, "&Properties")})));
  module.AddDialog(Page(IDD_GENERAL_BRANCH_PAGE,
                        With(CommonFields(), {Label("Branch type:"), ReadOnly(IDC_GEN_BRANCH_TYPE),
                                              Push(IDC_GEN_TYPE_PROPERTIES, "&Type Properties")})));
  module.AddDialog(Page(IDD_GENERAL_DERIVEDOBJ_PAGE,
                        {Label("Name:"), ReadOnly(IDC_GEN_NAME), Label("Kind:"), ReadOnly(IDC_GEN_KIND),
                         Label("Owner:"), ReadOnly(IDC_GEN_OWNER), Label("Group:"), ReadOnly(IDC_GEN_GROUP),
                         Label("Created on:"), ReadOnly(IDC_GEN_CREATED_ON)}));
  module.AddDialog(Page(IDD_GENERAL_SYMLINK_PAGE,
                        With(CommonFields(), {Label("Link target:"), ReadOnly(IDC_GEN_LINK_TARGET)})));
  module.AddDialog(Page(IDD_GENERAL_PAGE,
                        {Label("", IDC_GEN_ICON), Label("Name:"), ReadOnly(IDC_GEN_NAME), Label("Kind:"),
                         ReadOnly(IDC_GEN_KIND), Label("Description:"), Description(), Label("Created by:"),
                         ReadOnly(IDC_GEN_CREATED_BY), Label("Created on:"), ReadOnly(IDC_GEN_CREATED_ON)}));
}

plat::MenuItem Popup(const char* text, std::vector<plat::MenuItem> items) {
  return plat::MenuItem{0, text, true, false, std::move(items)};
}

plat::MenuItem Item(int id, const char* text) { return plat::MenuItem{id, text, true, false, {}}; }

// The pages' context menu: one pop-up per kind of list a page has.
void AddContextMenu(plat::ResourceModule& module) {
  plat::Menu menu;
  menu.id = IDR_MENU_PAGE_CONTEXT;
  menu.items = {
      Popup("Attributes", {Item(7248, "Add Attribute..."), Item(7249, "Change Value..."),
                           Item(7250, "Remove Attribute"), Item(7251, "Type Properties...")}),
      Popup("Hyperlinks", {Item(7253, "Create Hyperlink..."), Item(7254, "Remove Hyperlink"),
                           Item(7255, "Other Object Properties..."), Item(7243, "Hyperlink Properties..."),
                           Item(7244, "Type Properties...")}),
      Popup("Labels", {Item(7245, "Add Label..."), Item(7246, "Remove Label"), Item(7247, "Type Properties...")}),
      Popup("Lock", {Item(ID_LOCK_ADD_ME, "Add Me"), Item(ID_LOCK_ADD_USER, "Add User..."),
                     Item(ID_LOCK_REMOVE_USER, "Remove User"), Item(ID_LOCK_REMOVE_ALL, "Remove All")}),
      Popup("Triggers", {Item(7257, "Add Trigger..."), Item(7258, "Remove Trigger"), Item(7259, "Type Properties...")}),
      Popup("TypeName", {Item(ID_TYPENAME_TYPE_PROPERTIES, "Type Properties...")}),
      Popup("AtValueType", {Item(7260, "Add Value"), Item(7261, "Remove Value")}),
  };
  module.AddMenu(std::move(menu));
}

}  // namespace

void AddGeneralPageResources(plat::ResourceModule& module) {
  AddTemplates(module);
  AddContextMenu(module);
  module.AddString(IDS_CHECKEDOUT_PREFIX, "Checkedout ");
  module.AddString(IDS_HOST_COLON_PATH, "%s:%s");
  for (int mtype = 0; mtype < IDI_METATYPE_COUNT; ++mtype) module.AddIcon(IDI_METATYPE_FIRST + mtype);
}

}  // namespace rvcmndlg
