#pragma once
#include "platform/resources.h"

namespace rvcmndlg {

// Adds the Mount and Unmount dialogs' templates and strings to the library's module.
void AddVobMountResources(plat::ResourceModule& module);

}  // namespace rvcmndlg
