// rvdlg check: whether the store and the views' directories agree.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "commands.h"
#include "tbs.h"
#include "view_check.h"

namespace rvdlg {

namespace {

int Check(Context& context, bool repair) {
  view_check_result_t result;
  if (int rc = view_check_views(repair ? 1 : 0, &result); rc != TBS_ST_OK) {
    context.err << "rvdlg check: " << tbs_strerror(rc) << "\n";
    return 1;
  }
  long repaired = 0;
  for (const view_check_finding_t& finding : result.findings) {
    context.out << finding.view << " " << finding.path << ": " << view_check_kind_text(finding.kind);
    if (finding.repaired) {
      ++repaired;
      context.out << "; repaired";
    }
    context.out << "\n";
  }
  context.out << result.files << " files, " << result.findings.size() << " disagreements";
  if (repair) context.out << ", " << repaired << " repaired";
  context.out << "\n";
  return static_cast<std::size_t>(repaired) == result.findings.size() ? 0 : 1;
}

}  // namespace

void InstallCheckCommand(CLI::App& app, Runner& chosen) {
  auto* command = app.add_subcommand("check", "compare the store with every view's directory, file by file");
  auto repair = std::make_shared<bool>(false);
  command->add_flag("--repair", *repair, "write missing read-only copies again and make check-outs writable");
  command->callback([&chosen, repair] { chosen = [repair](Context& c) { return Check(c, *repair); }; });
}

}  // namespace rvdlg
