// Templates, menus and strings of the activity dialogs and the stream chooser.
#include "cmctls/class_ids.h"
#include "res/cm_resources.h"
#include "res/resource_ids.h"
#include "res/template_controls.h"

namespace rvcmndlg {

using namespace res;

namespace {

plat::DialogTemplate Dialog(int id, const char* caption, std::vector<plat::ControlTemplate> controls) {
  plat::DialogTemplate t;
  t.id = id;
  t.caption = caption;
  t.controls = std::move(controls);
  return t;
}

void AddActivityListResources(plat::ResourceModule& module) {
  module.AddString(IDS_ACT_COL_HEADLINE, "Headline");
  module.AddString(IDS_ACT_COL_OWNER, "Owner");
  module.AddString(IDS_NO_ACTIVITY, "<No Activity>");
  module.AddString(IDS_NO_ACTIVITY_PROPERTIES,
                   "The <No Activity> item can be used to clear the current activity for a view.\n\n"
                   "There are no further properties available.");
  module.AddString(IDS_CANNOT_EXECUTE, "Unable to execute the following command: %s \nError: %d\n");
  module.AddString(IDS_ACTLIST_COL_HEADLINE, "Headline");
  module.AddString(IDS_ACTLIST_COL_OWNER, "Owner");
  module.AddString(IDS_CANNOT_SHOW_PROPERTIES, "Unable to display properties for the selected item.");
  plat::Menu menu;
  menu.id = IDR_MENU_ACTIVITY;
  menu.items = {plat::MenuItem{ID_ACT_SHOW_CONTRIBS, "Show &Contributing Activities", true, false, {}},
                plat::MenuItem{ID_ACT_PROPERTIES, "P&roperties", true, false, {}}};
  module.AddMenu(std::move(menu));
}

void AddActivityDialogs(plat::ResourceModule& module) {
  module.AddDialog(Dialog(IDD_BROWSE_ACTIVITY, "Select Activity",
                          {Report(IDC_ACTIVITY_LIST), Push(IDC_ACTIVITY_PROPERTIES, "&Properties"),
                           Push(IDC_ACTIVITY_NEW, "&New..."), Check(IDC_SHOW_ALL_USERS, "Show all &users' activities"),
                           Push(plat::IdOk, "OK", true), Push(plat::IdCancel, "Cancel"), Push(plat::IdHelp, "Help")}));
  module.AddString(IDS_SELECT_AN_ACTIVITY, "You must first select an activity.");
  module.AddDialog(Dialog(IDD_NEW_ACTIVITY, "New Activity",
                          {Label("Activity Headline:"), EditField(IDC_NEW_ACT_HEADLINE),
                           Radio(IDC_NEW_ACT_AUTO_ID, "Auto-generate ID", true), Radio(IDC_NEW_ACT_USE_ID, "Use this ID:"),
                           EditField(IDC_NEW_ACT_ID), Push(plat::IdOk, "OK", true), Push(plat::IdCancel, "Cancel"),
                           Push(plat::IdHelp, "&Help")}));
  module.AddDialog(Dialog(IDD_ACT_CONTRIBS, "Contributing Activities",
                          {Label("The activities listed below contributed to the activity:"),
                           EditField(IDC_CONTRIBS_ACTIVITY, plat::es::ReadOnly), Report(IDC_CONTRIBS_LIST),
                           Push(plat::IdOk, "&OK", true), Push(IDC_CONTRIBS_HELP, "&Help")}));
  module.AddString(IDS_CONTRIBS_RUNNING,
                   "The specified integration activity is still in progress.\n\n"
                   "You cannot retrieve the contributor list until the operation completes.");
  module.AddString(IDS_CONTRIBS_PVARS_FAILED, "Unable to determine if deliver/rebase pvars exist for this activity.");
  module.AddString(IDS_CONTRIBS_NOT_INTEGRATION,
                   "This operation is only available for integration activities created\n"
                   "on Strata version 5.0 or greater.");
  module.AddString(IDS_CONTRIBS_FAILED, "Error retrieving contributors for the specified activity.");
}

void AddStreamChooserResources(plat::ResourceModule& module) {
  // The chooser hides "&Help", "Show all FLX VOBs." and the mode's extra
  // controls until its mode or its tree asks for them.
  module.AddDialog(Dialog(IDD_STREAM_CHOOSER, "",
                          {Label("Select a stream", IDC_CHOOSER_PROMPT), Label("", IDC_CHOOSER_MODE_TEXT),
                           plat::ControlTemplate{cmctls::kProjectTreeClass, IDC_CHOOSER_TREE, "", plat::ws::TabStop},
                           Push(plat::IdOk, "&OK", true), Push(IDC_CHOOSER_PROPERTIES, "&Properties"),
                           Push(plat::IdCancel, "&Cancel"), Check(IDC_CHOOSER_ALL_STREAMS, "Show all streams."),
                           Check(IDC_CHOOSER_ALL_VOBS, "Show all FLX VOBs."), Push(IDC_CHOOSER_HELP, "&Help"),
                           Label("", IDC_CHOOSER_DELIVER_EXTRA), Label("", IDC_CHOOSER_REBASE_EXTRA)}));
  module.AddIcon(IDI_CHOOSER_DELIVER);
  module.AddIcon(IDI_CHOOSER_REBASE);
  module.AddString(IDS_CHOOSER_BAD_SELECTOR, "Error: unable to resolve object selector: %s");
  module.AddString(IDS_CHOOSER_TO_DELIVER, "to deliver:");
  module.AddString(IDS_CHOOSER_TO_REBASE, "to rebase:");
  module.AddString(IDS_CHOOSER_TITLE_DELIVER, "Deliver from Stream");
  module.AddString(IDS_CHOOSER_TITLE_REBASE, "Rebase Stream");
  module.AddString(IDS_CHOOSER_TO_TARGET, "to set as the default deliver target:");
  module.AddString(IDS_CHOOSER_TITLE_CHOOSE, "Choose Stream");
  module.AddString(IDS_CHOOSER_NO_NAME, "Error retrieving name of selected item.");
  module.AddString(IDS_CHOOSER_NO_PROJECT, "Error: can not determine project for selected item.");
  module.AddString(IDS_CHOOSER_NO_INTEGRATION, "Error retrieving integration stream for selected item's project.");
  module.AddString(IDS_CHOOSER_NO_INTEGRATION_NAME, "Error retrieving name of integration stream.");
}

void AddTLActivityResources(plat::ResourceModule& module) {
  module.AddDialog(Dialog(IDD_BROWSE_TL_ACTIVITY, "Select Tracklane Record",
                          {Report(IDC_TL_RECORDS), Push(IDC_TL_NEW, "&New"), Push(IDC_TL_BROWSE, "&Browse"),
                           Push(IDC_TL_PROPERTIES, "&Properties"), Push(plat::IdOk, "OK", true),
                           Push(plat::IdCancel, "Cancel"), Push(plat::IdHelp, "Help")}));
  module.AddString(IDS_TL_SELECT_A_RECORD, "You must first select a record.");
}

}  // namespace

void AddActivityResources(plat::ResourceModule& module) {
  AddActivityListResources(module);
  AddActivityDialogs(module);
  AddStreamChooserResources(module);
  AddTLActivityResources(module);
}

}  // namespace rvcmndlg
