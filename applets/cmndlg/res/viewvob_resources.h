#pragma once
#include "platform/resources.h"

namespace rvcmndlg {

// Adds the view lists' and view dialogs' strings and templates to the library's module.
void AddViewResources(plat::ResourceModule& module);
// Start View, Stop View and Remove View (AddViewResources adds them).
void AddViewOpResources(plat::ResourceModule& module);

}  // namespace rvcmndlg
