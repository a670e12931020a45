#pragma once
#include "platform/resources.h"

namespace rvcmndlg {

// Adds the file operations' dialog templates to the library's module.
void AddFileOpsResources(plat::ResourceModule& module);
// Adds the check-out dialogs and texts.
void AddCheckoutResources(plat::ResourceModule& module);
// Adds the check-in dialogs and texts.
void AddCheckinResources(plat::ResourceModule& module);
// Adds the add-to-source dialogs and texts.
void AddAddToSrcResources(plat::ResourceModule& module);

}  // namespace rvcmndlg
