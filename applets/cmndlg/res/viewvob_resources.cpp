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

// Four lists of views on top of each other behind tabs; the chosen tab's shows.
plat::DialogTemplate ViewPagesTemplate(int id, const char* caption) {
  plat::DialogTemplate pages;
  pages.id = id;
  pages.caption = caption;
  pages.controls = {plat::ControlTemplate{"tab", IDC_VIEW_TABS, "", plat::ws::TabStop},
                    ViewList(IDC_VIEW_LIST_LOCAL, plat::lbs::ExtendedSel),
                    ViewList(IDC_VIEW_LIST_RECENT, plat::lbs::ExtendedSel),
                    ViewList(IDC_VIEW_LIST_ALL, plat::lbs::ExtendedSel),
                    ViewList(IDC_VIEW_LIST_SNAPSHOT, plat::lbs::ExtendedSel),
                    Push(plat::IdOk, "OK", true),
                    Push(plat::IdCancel, "Cancel"),
                    Push(IDC_VIEW_PROPERTIES_HELP, "Help")};
  return pages;
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
  module.AddDialog(ViewPagesTemplate(IDD_VIEW_PROPERTIES, "Edit View Properties"));
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
  AddViewOpResources(module);
}

void AddViewOpResources(plat::ResourceModule& module) {
  module.AddString(IDS_DRIVE_NONE, "{none}");
  module.AddString(IDS_ASSIGN_DRIVE_FAILED, "Unable to assign drive to view: error %d.");
  module.AddString(IDS_START_VIEW_FAILED, "Error starting view '%1'.");
  module.AddString(IDS_STOP_VIEW_FAILED, "Error stopping view '%1'.");
  module.AddString(IDS_REMOVE_VIEW_QUESTION,
                   "If you remove the view, '%1', you will permanently remove the view's contents, including all "
                   "view-private files and derived objects.\nDo you want to continue?\n");
  module.AddString(IDS_REMOVE_VIEW_FAILED, "Error removing view '%1'.");
  module.AddString(IDS_CANNOT_ACCESS_VIEW, "Cannot access the view '%s'.");
  plat::DialogTemplate start;
  start.id = IDD_START_VIEW;
  start.caption = "Start View";
  start.controls = {plat::ControlTemplate{"tab", IDC_VIEW_TABS, "", plat::ws::TabStop},
                    ViewList(IDC_VIEW_LIST_LOCAL, plat::lbs::ExtendedSel),
                    ViewList(IDC_VIEW_LIST_RECENT, plat::lbs::ExtendedSel),
                    ViewList(IDC_VIEW_LIST_ALL, plat::lbs::ExtendedSel),
                    Label("&Connect To Drive:", IDC_DRIVE_LABEL),
                    plat::ControlTemplate{"combobox", IDC_DRIVE_BOX, "",
                                          plat::cbs::DropDownList | plat::cbs::Sort | plat::ws::TabStop},
                    Check(IDC_RESTART_AT_LOGON, "&Restart at Logon"),
                    Push(plat::IdOk, "OK", true),
                    Push(plat::IdCancel, "Cancel"),
                    Push(IDC_VIEW_PROPERTIES_HELP, "Help")};
  module.AddDialog(std::move(start));
  plat::DialogTemplate stop;
  stop.id = IDD_STOP_VIEW;
  stop.caption = "Stop View";
  stop.controls = {Label("&Select the views to stop:"), ViewList(IDC_STOP_VIEW_LIST, plat::lbs::ExtendedSel),
                   Push(plat::IdOk, "OK", true), Push(plat::IdCancel, "Cancel"),
                   Push(IDC_VIEW_PROPERTIES_HELP, "Help")};
  module.AddDialog(std::move(stop));
  module.AddDialog(ViewPagesTemplate(IDD_REMOVE_VIEW, "Remove View"));
}

}  // namespace rvcmndlg
