#pragma once
// The inner form of rvDisplayPropertySheet: what became of each name.
#include <string>
#include <vector>

namespace rvcmndlg {

struct SheetOutcome {
  enum class Kind { Ok, Cancel, Described, Failed };
  std::string name;
  Kind kind = Kind::Failed;
  std::string message;  // what the user was told of a failure
};

const char* OutcomeWord(SheetOutcome::Kind kind);

// Shows the names' sheets as rvDisplayPropertySheet does and returns once
// every sheet has closed, with one outcome per name in order.
std::vector<SheetOutcome> DisplayPropertySheets(const std::vector<std::string>& names, int pname,
                                                const std::string& tab, int direct);

// The page a one-name sheet opens on for a tab name: "configspec" the one
// before the last, "loadrules" and "activities" the second, else the first.
// An index outside the sheet gives the first page.
int StartPageForTab(const std::string& tab, int page_count);

}  // namespace rvcmndlg
