#include "res/propsheet_resources.h"

#include "res/resource_ids.h"

namespace rvcmndlg {

void AddPropertySheetResources(plat::ResourceModule& module) {
  using namespace res;
  module.AddString(IDS_PAGE_INIT_FAILED,
                   "An error occurred while initializing the selected property page. Sorry, but the page is "
                   "unavailable at this time.");
  module.AddString(IDS_PAGE_FETCH_FAILED,
                   "The selected property page is currently unavailable because an error occurred while trying to "
                   "access Strata data.\n%1");
  module.AddString(IDS_CANNOT_DISPLAY_PROPERTIES, "Unable to display properties of \"%1\". %2");
  module.AddString(IDS_NO_PAGES_FOR_OBJECT, "No properties can be shown for this kind of object.");
  module.AddString(IDS_SHEET_CAPTION, "Properties of %1");
  module.AddString(IDS_NO_HELP_FOR_PAGE,
                   "No help is available for property page with id = %d, please submit a problem report.");
  AddGeneralPageResources(module);
  AddMetadataPageResources(module);
}

}  // namespace rvcmndlg
