#include "res/cm_resources.h"

#include "res/resource_ids.h"

namespace rvcmndlg {

using namespace res;

void AddCmResources(plat::ResourceModule& module) {
  module.AddString(IDS_CONTROL_NOT_INSTALLED, "The %1 control is not installed, so it cannot be shown.");
  module.AddString(IDS_CTL_TIMELINE, "baseline timeline");
  module.AddString(IDS_CTL_BASELINE_TREE, "baseline tree");
  module.AddString(IDS_CTL_PROJECT_TREE, "project tree");
  module.AddString(IDS_CTL_DRAWTREE, "diagram");
  AddActivityResources(module);
}

}  // namespace rvcmndlg
