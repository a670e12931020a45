#pragma once
// The strings of the property sheets.
#include "platform/resources.h"

namespace rvcmndlg {

void AddPropertySheetResources(plat::ResourceModule& module);

}  // namespace rvcmndlg
