// `rvdlg tracklane [install|uninstall]`: installs or removes the Tracklane
// stand-in on this machine, then says whether it is installed and lists its
// records ("SAMPL00000002 Enhancement Submitted "Add a farewell"").
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>

#include "commands.h"
#include "flm_imsg_redirector.h"
#include "kelp.h"
#include "tbs.h"

namespace rvdlg {

namespace {

int Tracklane(Context& c, const std::string& action) {
  FLM_ImsgRedirector messages;
  if (!action.empty() && kelp_set_installed(action == "install") != TBS_ST_OK) {
    c.err << "rvdlg: tracklane: " << action << " failed\n";
    for (const std::string& message : messages.messages()) c.err << message;
    return 1;
  }
  if (!kelp_is_installed()) {
    c.out << "Tracklane: not installed\n";
    return 0;
  }
  c.out << "Tracklane: installed\n";
  FLM_List<kelp_record_s> records;
  if (int status = kelp_get_records(&records)) {
    c.err << "rvdlg: tracklane: " << tbs_strerror(status) << "\n";
    for (const std::string& message : messages.messages()) c.err << message;
    return 1;
  }
  for (const kelp_record_s& record : records)
    c.out << record.id.display_name() << " " << record.type << " " << record.state << " \"" << record.headline
          << "\"\n";
  return 0;
}

}  // namespace

void InstallTracklaneCommand(CLI::App& app, Runner& chosen) {
  auto action = std::make_shared<std::string>();
  auto* command = app.add_subcommand("tracklane", "install or remove Tracklane, and list its records");
  command->add_option("ACTION", *action, "install or uninstall")->check(CLI::IsMember({"install", "uninstall"}));
  command->callback([&chosen, action] { chosen = [action](Context& c) { return Tracklane(c, *action); }; });
}

}  // namespace rvdlg
