#pragma once
// rvdlg's commands. Each file of commands installs its subcommands into the
// command line; the one the user named runs after the hosts, the settings
// and the store are set up.
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

class CFileOperationList;

namespace rvdlg {

class ToolLauncher;

struct Context {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  std::string home;
  // The launcher in force for the run: it keeps the processes the library
  // starts so that a command can wait for them.
  ToolLauncher* tools = nullptr;
};

// What the chosen subcommand does; exit status 0 done, 1 failed.
using Runner = std::function<int(Context&)>;

// `rvdlg init`: makes the sample repository under the home; an existing one
// is kept (with a message, status 0) unless force. 0 done, 1 failed.
int MakeSampleRepository(Context& context, bool force);

// Shared by the commands and the demonstration.
int RunCmControls(Context& context, const std::string& stream_selector);
int ShowSettings(std::ostream& out);
int PrintOutcomes(const CFileOperationList& list, std::ostream& out);
// The files as library pathnames into the list; false (with a line on err)
// when one names nothing the library can reach.
bool AddFiles(CFileOperationList& list, const std::vector<std::string>& files, const char* command, Context& c);
// One line of outcome: the name and "succeeded" (0), "failed" (1) or "not
// processed" (2), then the messages indented.
void PrintOutcome(std::ostream& out, const std::string& name, int outcome, const std::string& messages);

void InstallSampleCommands(CLI::App& app, Runner& chosen);
void InstallInitCommand(CLI::App& app, Runner& chosen);
void InstallMountCommands(CLI::App& app, Runner& chosen);
void InstallOptionsCommand(CLI::App& app, Runner& chosen);
void InstallDescribeCommand(CLI::App& app, Runner& chosen);
void InstallDiffCommands(CLI::App& app, Runner& chosen);
void InstallFileOpCommands(CLI::App& app, Runner& chosen);
void InstallMergeCommand(CLI::App& app, Runner& chosen);
void InstallTracklaneCommand(CLI::App& app, Runner& chosen);
void InstallCmCommands(CLI::App& app, Runner& chosen);
void InstallRegistryCommands(CLI::App& app, Runner& chosen);
void InstallActivityCommands(CLI::App& app, Runner& chosen);
// `rvdlg add`.
void InstallAddCommand(CLI::App& app, Runner& chosen);
// `rvdlg mountvob` and `unmountvob`.
void InstallVobMountCommands(CLI::App& app, Runner& chosen);

// `rvdlg describe` of a change-management object named by its selector
// ("stream:hello_dev@\projects"): false when the name is none; else the
// object's fields or the failure are printed and *status is its status.
bool DescribeChangeObject(Context& context, const std::string& name, int* status);

// `rvdlg registry list tags|objects|regions|hosts` and `rvdlg registry show
// NAME...`, for the demonstration too. 0 done, 1 refused.
int ListRegistry(Context& context, const std::string& what);
int ShowRegistry(Context& context, const std::vector<std::string>& names);

void InstallPropertiesCommand(CLI::App& app, Runner& chosen);
// `rvdlg views`, `viewprops`, `browseviews` and `rvfs`.
void InstallViewCommands(CLI::App& app, Runner& chosen);
// `rvdlg startview`, `stopview` and `rmview`; `rvdlg logon [--show]`.
void InstallViewOpCommands(CLI::App& app, Runner& chosen);
void InstallLogonCommand(CLI::App& app, Runner& chosen);
// The logon step that starts the views of the logon entries on their drives
// (after dropping the drives no entry keeps), a line for each. 0 when every
// view started.
int RestartViewsAtLogon(Context& context);

// `rvdlg check [--repair]`: the store against every view's directory.
void InstallCheckCommand(CLI::App& app, Runner& chosen);

// Waits for the programs the library started; false (with a line on err)
// when one could not start or ended with a failure.
bool WaitForStarted(Context& context, const char* command);

// The library's pathname of a file named on the command line: a library
// pathname (\\view\TAG\..., X:\...) as it is, else a host path inside a
// view's directory (or a drive's) under the home. Empty when it has none.
std::string LibraryPathname(const std::string& name);

}  // namespace rvdlg
