#pragma once
// The library's own resources (string table, dialog templates, animations,
// icons) and the switch every exported entry makes to them.
#include "platform/resources.h"

namespace rvcmndlg {

// The library's module, filled on first use.
plat::ResourceModule& LibraryResources();

// Made at the top of every exported entry: the library's resources are
// current for the call and the caller's come back on every return path.
class EntryScope {
 public:
  EntryScope() : scope_(LibraryResources()) {}

 private:
  plat::ResourceScope scope_;
};

}  // namespace rvcmndlg
