// rvdlg add: view-private files and directories become elements, one line
// of outcome per file.
#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "rvcmndlg/file_operation_list.h"

namespace rvdlg {

namespace {

struct AddArgs {
  std::vector<std::string> files;
  std::string comment;
  bool keep = false, preserve_time = false;
};

}  // namespace

// Without an option the plain entry runs (the user options and the comment
// prompt); with any, the with-options entry and no prompt, the new elements
// left checked out only with --keep.
void InstallAddCommand(CLI::App& app, Runner& chosen) {
  auto args = std::make_shared<AddArgs>();
  auto* add = app.add_subcommand("add", "put view-private files and directories under source control");
  add->add_option("FILE", args->files, "files and directories of a view")->required();
  auto* comment = add->add_option("--comment", args->comment, "the creation comment");
  auto* keep = add->add_flag("--keep", args->keep, "leave the new elements checked out");
  auto* ptime = add->add_flag("--ptime", args->preserve_time, "keep each file's modification time");
  const std::vector<CLI::Option*> options = {comment, keep, ptime};
  add->callback([&chosen, args, options] {
    bool with_options = false;
    for (const CLI::Option* option : options) with_options = with_options || option->count() > 0;
    chosen = [args, with_options](Context& c) {
      CFileOperationList list;
      if (!AddFiles(list, args->files, "add", c)) return 1;
      if (with_options) {
        list.SetATSComment(args->comment);
        list.SetATSKeepCheckedOut(args->keep ? 1 : 0);
        list.SetATSPreserveTime(args->preserve_time ? 1 : 0);
        list.AddToSrcWithOptions();
      } else {
        list.AddToSrc();
      }
      return PrintOutcomes(list, c.out);
    };
  });
}

}  // namespace rvdlg
