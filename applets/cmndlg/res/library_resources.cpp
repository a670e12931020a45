#include "res/library_resources.h"

#include "res/cm_resources.h"
#include "res/fileops_resources.h"
#include "res/propsheet_resources.h"
#include "res/viewvob_resources.h"
#include "res/vobmount_resources.h"

namespace rvcmndlg {

plat::ResourceModule& LibraryResources() {
  // Created once and never freed: sheets on their own threads may still look
  // resources up while the process ends.
  static auto* module = [] {
    auto* m = new plat::ResourceModule("rvcmndlg");
    AddFileOpsResources(*m);
    AddCheckoutResources(*m);
    AddCheckinResources(*m);
    AddAddToSrcResources(*m);
    AddCmResources(*m);
    AddPropertySheetResources(*m);
    AddViewResources(*m);
    AddVobMountResources(*m);
    return m;
  }();
  return *module;
}

}  // namespace rvcmndlg
