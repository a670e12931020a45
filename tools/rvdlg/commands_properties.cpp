// `rvdlg properties [--tab TAB] [--pname] [--direct] NAME...`: one property
// sheet per name, answered by the host in force; then each name's outcome.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "commands.h"
#include "platform/pathmap.h"
#include "propsheet/display_property_sheet.h"
#include "res/library_resources.h"
#include "propsheet/property_sheet.h"

namespace rvdlg {

namespace {

// Selectors and library pathnames go as they are; a file inside a view's
// directory under the home becomes its library pathname.
std::string SheetName(const std::string& name) {
  if (name.find(':') != std::string::npos || name.empty() || name[0] == '\\') return name;
  return plat::FromHostPath(name).value_or(name);
}

int Properties(Context& c, const std::vector<std::string>& given, const std::string& tab, bool pname, bool direct) {
  std::vector<std::string> names;
  for (const std::string& name : given) names.push_back(SheetName(name));
  c.out << std::flush;  // the describe tool writes to the same terminal
  std::vector<rvcmndlg::SheetOutcome> outcomes;
  {
    rvcmndlg::EntryScope resources;
    outcomes = rvcmndlg::DisplayPropertySheets(names, pname ? 1 : 0, tab, direct ? 1 : 0);
  }
  // Sheets opened from pages and the describe tools may still be running.
  CRvPropertyThread::WaitWhileActive();
  bool ok = WaitForStarted(c, "properties");
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    const auto& outcome = outcomes[i];
    c.out << given[i] << ": " << rvcmndlg::OutcomeWord(outcome.kind) << "\n";
    std::istringstream lines(outcome.message);
    for (std::string line; std::getline(lines, line);) c.out << "    " << line << "\n";
    if (outcome.kind == rvcmndlg::SheetOutcome::Kind::Failed) ok = false;
  }
  return ok ? 0 : 1;
}

}  // namespace

void InstallPropertiesCommand(CLI::App& app, Runner& chosen) {
  auto* command = app.add_subcommand("properties", "show the property sheet of each named object");
  auto names = std::make_shared<std::vector<std::string>>();
  auto tab = std::make_shared<std::string>();
  auto pname = std::make_shared<bool>(false);
  auto direct = std::make_shared<bool>(false);
  command->add_option("--tab", *tab, "the page to open first: configspec, loadrules or activities");
  command->add_flag("--pname", *pname, "pass /pname to the describe tool");
  command->add_flag("--direct", *direct, "open the sheet even for a Tracklane activity");
  command
      ->add_option("NAME", *names,
                   "pathname, extended name, selector, viewtag:TAG, view:TAG or a file inside a view's directory")
      ->required();
  command->callback([&chosen, names, tab, pname, direct] {
    chosen = [=](Context& c) { return Properties(c, *names, *tab, *pname, *direct); };
  });
}

}  // namespace rvdlg
