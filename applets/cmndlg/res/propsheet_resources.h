#pragma once
// The strings of the property sheets.
#include "platform/resources.h"

namespace rvcmndlg {

void AddPropertySheetResources(plat::ResourceModule& module);
// The General pages' templates, strings, menu and icons.
void AddGeneralPageResources(plat::ResourceModule& module);
// The lock and protection pages' templates and strings, and the name prompt.
void AddMetadataPageResources(plat::ResourceModule& module);

}  // namespace rvcmndlg
