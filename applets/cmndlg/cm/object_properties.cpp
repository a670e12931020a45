#include "cm/object_properties.h"

#include "fileops/entry_points.h"
#include "platform/dialog.h"
#include "platform/process.h"
#include "platform/resources.h"
#include "res/resource_ids.h"

using namespace rvcmndlg::res;

std::string DescribeCommandLine(const std::string& selector) { return "stratadescribe " + QuotedPath(selector); }

int ShowObjectProperties(const std::string& selector, plat::Window* owner) {
  plat::ProcessSpec spec;
  spec.command_line = DescribeCommandLine(selector);
  // Detached: the describe tool lives on after the dialog.
  const plat::StartResult started = plat::CurrentLauncher()->Start(spec);
  if (started) return 0;
  const int error = started.error().code;
  plat::MessageBox(owner, plat::FormatPrintf(plat::LoadString(IDS_CANNOT_EXECUTE), {spec.command_line, error}),
                   plat::AppName(), plat::mb::Ok | plat::mb::IconError);
  return error != 0 ? error : -1;
}
