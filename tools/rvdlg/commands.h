#pragma once
// rvdlg's commands. Each file of commands installs its subcommands into the
// command line; the one the user named runs after the hosts, the settings
// and the store are set up.
#include <functional>
#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace rvdlg {

struct Context {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  std::string home;
};

// What the chosen subcommand does; exit status 0 done, 1 failed.
using Runner = std::function<int(Context&)>;

// `rvdlg init`: makes the sample repository under the home; an existing one
// is kept (with a message, status 0) unless force. 0 done, 1 failed.
int MakeSampleRepository(Context& context, bool force);

void InstallSampleCommands(CLI::App& app, Runner& chosen);
void InstallMountCommands(CLI::App& app, Runner& chosen);
void InstallOptionsCommand(CLI::App& app, Runner& chosen);
void InstallDescribeCommand(CLI::App& app, Runner& chosen);

}  // namespace rvdlg
