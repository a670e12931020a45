// Merging files: `rvdlg merge [--base BASE] [--flag N] TARGET CONTRIBUTOR...`
// runs the library's merge entry and prints the merge's status.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"
#include "fileops/entry_points.h"
#include "tbs.h"

namespace rvdlg {

namespace {

struct MergeArgs {
  std::string target;
  std::vector<std::string> contributors;
  std::string base;
  int flag = 0;
};

// A library pathname for a name of the command line, or an extended name
// (\vob\dir\file@@\main\2) as it is; false (with a line on err) when the
// name reaches nothing.
bool ToLibraryName(Context& c, const std::string& name, std::string* out) {
  *out = LibraryPathname(name);
  if (!out->empty()) return true;
  c.err << "rvdlg: merge: " << (name.size() > 200 ? name.substr(0, 200) + "..." : name)
        << ": not a library pathname nor a file inside a view's directory\n";
  return false;
}

int Merge(Context& c, const MergeArgs& args) {
  std::string target, base;
  std::vector<std::string> contributors;
  if (!ToLibraryName(c, args.target, &target)) return 1;
  if (!args.base.empty() && !ToLibraryName(c, args.base, &base)) return 1;
  for (const std::string& contributor : args.contributors) {
    std::string name;
    if (!ToLibraryName(c, contributor, &name)) return 1;
    contributors.push_back(name);
  }
  c.out << std::flush;
  const int status = rvMergeFiles(target, base, contributors, args.flag);
  c.out << "merge: status " << status;
  if (status != 0) c.out << " (" << tbs_strerror(status) << ")";
  c.out << "\n";
  return status == 0 ? 0 : 1;
}

}  // namespace

void InstallMergeCommand(CLI::App& app, Runner& chosen) {
  auto args = std::make_shared<MergeArgs>();
  auto* merge = app.add_subcommand("merge", "merge the contributors' changes into a file of a view");
  merge->add_option("--base", args->base, "the common ancestor (default: found by the repository)");
  merge->add_option("--flag", args->flag, "passed to the merge: non-zero records the merge without merging");
  merge->add_option("TARGET", args->target, "the file of a view to merge into (normally checked out)")->required();
  merge->add_option("CONTRIBUTOR", args->contributors, "a file of a view or a version (FILE@@\\main\\dev\\1)")
      ->required();
  merge->callback([&chosen, args] { chosen = [args](Context& c) { return Merge(c, *args); }; });
}

}  // namespace rvdlg
