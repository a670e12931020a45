// Templates and strings of the view lists, Edit View Properties and the view browser.
#include "res/resource_ids.h"
#include "res/template_controls.h"
#include "res/viewvob_resources.h"

namespace rvcmndlg {

using namespace res;

namespace {

plat::ControlTemplate ViewList(int id, std::uint32_t selection) {
  return plat::ControlTemplate{"listbox", id, "", selection | plat::ws::TabStop};
}

}  // namespace

void AddViewResources(plat::ResourceModule& module) {
  module.AddString(IDS_PAGE_LOCAL, "Local");
  module.AddString(IDS_PAGE_RECENT, "Recent");
  module.AddString(IDS_PAGE_ALL, "All");
  module.AddString(IDS_PAGE_SNAPSHOT, "Snapshot");
  module.AddString(IDS_VIEW_PROPERTIES_FAILED, "Error displaying properties for view '%1'.");
  module.AddString(IDS_NO_DEFAULT_REGION,
                   "Cannot locate the default Strata registry region.\nDynamic view tags cannot be loaded.");
  plat::DialogTemplate properties;
  properties.id = IDD_VIEW_PROPERTIES;
  properties.caption = "Edit View Properties";
  // The four lists lie on top of each other; the chosen tab's shows.
  properties.controls = {plat::ControlTemplate{"tab", IDC_VIEW_TABS, "", plat::ws::TabStop},
                         ViewList(IDC_VIEW_LIST_LOCAL, plat::lbs::ExtendedSel),
                         ViewList(IDC_VIEW_LIST_RECENT, plat::lbs::ExtendedSel),
                         ViewList(IDC_VIEW_LIST_ALL, plat::lbs::ExtendedSel),
                         ViewList(IDC_VIEW_LIST_SNAPSHOT, plat::lbs::ExtendedSel),
                         Push(plat::IdOk, "OK", true),
                         Push(plat::IdCancel, "Cancel"),
                         Push(IDC_VIEW_PROPERTIES_HELP, "Help")};
  module.AddDialog(std::move(properties));
  plat::DialogTemplate browse;
  browse.id = IDD_BROWSE_VIEWS;
  browse.caption = "Select a View";
  browse.controls = {ViewList(IDC_BROWSE_VIEWS_LIST, 0), Push(plat::IdOk, "OK", true), Push(plat::IdCancel, "Cancel"),
                     Push(IDC_BROWSE_VIEWS_HELP, "&Help")};
  module.AddDialog(std::move(browse));
  module.AddString(IDS_BROWSE_DEVELOPMENT_VIEW, "Select a Development View");
  module.AddString(IDS_BROWSE_INTEGRATION_VIEW, "Select an Integration View");
  module.AddString(IDS_BROWSE_OTHER_OWNER,
                   "The selected view is owned by the user '%s'.\n\n"
                   "Are you sure you want to deliver your work to this view?");
}

}  // namespace rvcmndlg
