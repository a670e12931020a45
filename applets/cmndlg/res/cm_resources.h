#pragma once
#include "platform/resources.h"

namespace rvcmndlg {

// Adds the change-management dialogs' strings and templates to the library's module.
void AddCmResources(plat::ResourceModule& module);
// The activity dialogs' and the stream chooser's, which AddCmResources adds.
void AddActivityResources(plat::ResourceModule& module);

}  // namespace rvcmndlg
