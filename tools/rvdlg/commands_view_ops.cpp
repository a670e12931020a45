// `rvdlg startview [TAG...]`, `rvdlg stopview [TAG...]` and `rvdlg rmview
// [--no-dialog] [NAME...]`: Start View, Stop View and Remove View, a line of
// outcome for each view.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"
#include "platform/types.h"
#include "viewvob/view_ops_dlg.h"

namespace rvdlg {

namespace {

// 0 when the dialog was confirmed (or there was none) and every view succeeded.
int Report(Context& c, const char* command, int result, bool dialog, const ViewOutcomes& outcomes) {
  bool all = true;
  for (const ViewOutcome& outcome : outcomes) {
    PrintOutcome(c.out, outcome.name, outcome.result, outcome.messages);
    all = all && outcome.result == ViewOutcome::kSucceeded;
  }
  if (dialog && result == plat::IdCancel) c.err << "rvdlg: " << command << ": cancelled\n";
  return all && (!dialog || result == plat::IdOk) ? 0 : 1;
}

void InstallOne(CLI::App& app, Runner& chosen, const char* command, const char* help,
                int (*op)(const std::vector<std::string>&, plat::Window*, ViewOutcomes*)) {
  auto* sub = app.add_subcommand(command, help);
  auto tags = std::make_shared<std::vector<std::string>>();
  sub->add_option("TAG", *tags, "view tags to select at first");
  sub->callback([&chosen, tags, command, op] {
    chosen = [tags, command, op](Context& c) {
      ViewOutcomes outcomes;
      const int result = op(*tags, nullptr, &outcomes);
      return Report(c, command, result, true, outcomes);
    };
  });
}

}  // namespace

void InstallViewOpCommands(CLI::App& app, Runner& chosen) {
  InstallOne(app, chosen, "startview", "Start View: start views, one of them on a drive", StartViewOp);
  InstallOne(app, chosen, "stopview", "Stop View: stop views and drop their drives", StopViewOp);

  auto* rm = app.add_subcommand("rmview", "Remove View: remove views with everything in them");
  auto names = std::make_shared<std::vector<std::string>>();
  auto no_dialog = std::make_shared<bool>(false);
  rm->add_flag("--no-dialog", *no_dialog, "remove the views named, asking only to confirm each");
  rm->add_option("NAME", *names, "a view tag, a pathname in a view or a file inside a view's directory");
  rm->callback([&chosen, names, no_dialog] {
    chosen = [names, no_dialog](Context& c) {
      std::vector<std::string> items;
      for (const std::string& name : *names) {
        const std::string pathname = LibraryPathname(name);
        items.push_back(pathname.empty() ? name : pathname);
      }
      ViewOutcomes outcomes;
      const int result = RemoveViewOp(items, *no_dialog ? 0 : 1, nullptr, &outcomes);
      return Report(c, "rmview", result, !*no_dialog, outcomes);
    };
  });
}

}  // namespace rvdlg
