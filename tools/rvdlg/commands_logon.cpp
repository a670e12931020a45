// `rvdlg logon [--show]`: what happens when the user logs on, one step after
// another; `--show` prints the logon entries of views and the VOBs mounted
// at logon, and changes nothing.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"
#include "logon_vobs.h"
#include "flm.h"
#include "flm_imsg_redirector.h"
#include "tbs.h"
#include "view.h"

namespace rvdlg {

namespace {

using LogonStep = int (*)(Context&);

// The steps of a logon, in order, one a line.
constexpr LogonStep kLogonSteps[] = {
    RestartViewsAtLogon,
    ReconnectVobsAtLogon,
};

std::string DriveOf(const view_logon_entry_s& entry) { return entry.drive.empty() ? "-:" : entry.drive; }

int Logon(Context& c, bool show) {
  if (show) {
    std::vector<view_logon_entry_s> entries;
    if (view_get_logon_entries(&entries) != 0) {
      c.err << "rvdlg: logon: the logon entries cannot be read\n";
      return 1;
    }
    for (const view_logon_entry_s& entry : entries) c.out << DriveOf(entry) << " " << entry.tag << "\n";
    return ShowLogonVobs(c);
  }
  int status = 0;
  for (LogonStep step : kLogonSteps)
    if (step(c) != 0) status = 1;
  return status;
}

}  // namespace

int RestartViewsAtLogon(Context& c) {
  std::vector<view_logon_entry_s> entries;
  if (view_drop_transient_mappings() != 0 || view_get_logon_entries(&entries) != 0) {
    c.err << "rvdlg: logon: the drives of views cannot be read\n";
    return 1;
  }
  int status = 0;
  for (const view_logon_entry_s& entry : entries) {
    FLM_ImsgRedirector collected;
    FLM_View view;
    int rc = FLM_View::construct_from_tag(entry.tag.c_str(), &view);
    if (rc == 0) rc = view.start();
    if (rc == 0 && !entry.drive.empty()) rc = view_add_mapping(entry.tag.c_str(), entry.drive.c_str(), 1);
    std::string messages;
    for (const std::string& message : collected.messages()) messages += message + "\n";
    if (rc != 0 && messages.empty()) messages = tbs_strerror(rc);
    PrintOutcome(c.out, DriveOf(entry) + " " + entry.tag, rc == 0 ? 0 : 1, messages);
    if (rc != 0) status = 1;
  }
  return status;
}

void InstallLogonCommand(CLI::App& app, Runner& chosen) {
  auto* logon = app.add_subcommand("logon", "start the views of the logon entries on their drives");
  auto show = std::make_shared<bool>(false);
  logon->add_flag("--show", *show, "print the logon entries and change nothing");
  logon->callback([&chosen, show] { chosen = [show](Context& c) { return Logon(c, *show); }; });
}

}  // namespace rvdlg
