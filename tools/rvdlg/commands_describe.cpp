// rvdlg describe: the describe output of VOB objects named by pathname,
// extended name or selector.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"
#include "gcl_status.h"
#include "rvl_resolve.h"
#include "rvl_vobobject.h"
#include "tbs.h"

namespace rvdlg {

namespace {

int Describe(Context& context, const std::vector<std::string>& names) {
  int result = 0;
  for (const std::string& name : names) {
    GCL_Status status;
    const std::unique_ptr<RVL_VobObject> object = RVL_ResolveName(status, GCL_String(name.c_str()));
    if (!object || !status.ok()) {
      context.err << "rvdlg: describe: " << name << ": " << tbs_strerror(static_cast<int>(status.code())) << "\n";
      const GCL_String messages = status.messages();
      if (!messages.is_null()) context.err << messages;
      result = 1;
      continue;
    }
    context.out << name << ":\n";
    object->describe(context.out);
  }
  return result;
}

}  // namespace

void InstallDescribeCommand(CLI::App& app, Runner& chosen) {
  auto* command = app.add_subcommand("describe", "print the describe output of VOB objects");
  auto names = std::make_shared<std::vector<std::string>>();
  command->add_option("NAME", *names, "pathname, extended name or selector")->required();
  command->callback([&chosen, names] { chosen = [names](Context& c) { return Describe(c, *names); }; });
}

}  // namespace rvdlg
