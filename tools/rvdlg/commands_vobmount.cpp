// `rvdlg mountvob [TAG...]` and `rvdlg unmountvob [TAG...]`: the Mount and
// Unmount dialogs with the tags selected, and what became of each VOB.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"
#include "platform/types.h"
#include "viewvob/mount_vob_dlg.h"

namespace rvdlg {

namespace {

int RunVobDialog(Context& c, const char* command, const std::vector<std::string>& tags, bool mount) {
  std::vector<VobOutcome> outcomes;
  const int result = mount ? MountVobs(tags, nullptr, &outcomes) : UnmountVobs(tags, nullptr, &outcomes);
  bool all = result == plat::IdOk;
  for (const VobOutcome& outcome : outcomes) {
    PrintOutcome(c.out, outcome.tag, outcome.status, outcome.messages);
    all = all && outcome.status == VobOutcome::kSucceeded;
  }
  if (result == plat::IdCancel) c.err << "rvdlg: " << command << ": cancelled\n";
  return all ? 0 : 1;
}

}  // namespace

void InstallVobMountCommands(CLI::App& app, Runner& chosen) {
  for (const bool mount : {true, false}) {
    const char* name = mount ? "mountvob" : "unmountvob";
    auto* command = app.add_subcommand(name, mount ? "mount VOBs picked in the Mount dialog"
                                                   : "unmount VOBs picked in the Unmount dialog");
    auto tags = std::make_shared<std::vector<std::string>>();
    command->add_option("TAG", *tags, "VOB tags to select, e.g. \\public");
    command->callback([&chosen, tags, name, mount] {
      chosen = [tags, name, mount](Context& c) { return RunVobDialog(c, name, *tags, mount); };
    });
  }
}

}  // namespace rvdlg
