// Comparing files with their predecessors, and running a product tool's
// command: `rvdlg diff [--pred] FILE...` and `rvdlg run COMMAND...`.
#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"
#include "fileops/entry_points.h"
#include "platform/pathmap.h"
#include "platform/process.h"
#include "tool_launcher.h"

namespace rvdlg {

std::string LibraryPathname(const std::string& name) {
  if (name.empty() || name.find('\0') != std::string::npos) return {};
  const bool drive = name.size() >= 2 && name[1] == ':' &&
                     ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
  if (name[0] == '\\' || drive) return name;
  return plat::FromHostPath(name).value_or(std::string());
}

namespace {

std::string Shown(const std::string& name) { return name.size() > 200 ? name.substr(0, 200) + "..." : name; }

}  // namespace

bool WaitForStarted(Context& c, const char* command) {
  bool ok = true;
  if (!c.tools) return ok;
  for (const std::string& failure : c.tools->TakeStartFailures()) {
    c.err << "rvdlg: " << command << ": " << failure << "\n";
    ok = false;
  }
  for (const int code : c.tools->WaitAll())
    if (code != 0) ok = false;
  return ok;
}

namespace {

int Diff(Context& c, const std::vector<std::string>& files, bool pred) {
  std::vector<std::string> names;
  for (const std::string& file : files) {
    const std::string name = LibraryPathname(file);
    if (name.empty()) {
      c.err << "rvdlg: diff: " << Shown(file) << ": not a library pathname nor a file inside a view's directory under "
            << plat::Home().string() << "\n";
      return 1;
    }
    names.push_back(name);
  }
  c.out << std::flush;  // the compare writes to the same terminal
  rvDiffFiles(names, pred ? 1 : 0);
  return WaitForStarted(c, "diff") ? 0 : 1;
}

int RunCommand(Context& c, const std::vector<std::string>& words) {
  // One word is a whole command line; several are joined as separate words.
  const std::optional<std::string> command = words.size() == 1 ? words.front() : plat::JoinCommandLine(words);
  if (words.empty()) {
    c.err << "rvdlg: run: a command is required\n";
    return 2;
  }
  if (!command || command->empty()) {
    c.err << "rvdlg: run: the command cannot be written as a command line\n";
    return 2;
  }
  c.out << std::flush;
  const int result = rvRunCommand(*command, nullptr);
  // rvRunCommand has waited, and said so in a box when the start failed.
  if (c.tools) {
    c.tools->TakeStartFailures();
    c.tools->WaitAll();
  }
  c.out << (result == 0 ? "run: done" : "run: failed") << "\n";
  return result == 0 ? 0 : 1;
}

}  // namespace

void InstallDiffCommands(CLI::App& app, Runner& chosen) {
  auto files = std::make_shared<std::vector<std::string>>();
  auto pred = std::make_shared<bool>(false);
  auto* diff = app.add_subcommand("diff", "compare files with their predecessor versions (stratatool diff)");
  diff->add_flag("--pred", *pred, "compare with the predecessor version");
  diff->add_option("FILE", *files, "a pathname (\\\\view\\TAG\\...) or a file inside a view's directory")->required();
  diff->callback([&chosen, files, pred] { chosen = [files, pred](Context& c) { return Diff(c, *files, *pred); }; });

  // Everything after "run" is the command, options of the tool included.
  auto* run = app.add_subcommand("run", "run a product tool's command line and wait for it: run COMMAND...");
  run->prefix_command();
  run->callback([&chosen, run] {
    auto words = std::make_shared<std::vector<std::string>>(run->remaining());
    chosen = [words](Context& c) { return RunCommand(c, *words); };
  });
}

}  // namespace rvdlg
