// stratadescribe [/tab TAB] [/pname] NAME...: the describe output of each
// name, as rvdlg describe prints it. With /tab or /pname (what property
// sheets pass for view tags) a first line names what was asked for. Exit 0,
// 1 when a name names nothing, 2 on bad usage.
#include <iostream>
#include <string>
#include <vector>

#include "app.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string tab;
  bool pname = false;
  std::vector<std::string> names;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "/tab" && i + 1 < args.size()) {
      tab = args[++i];
    } else if (args[i] == "/pname") {
      pname = true;
    } else {
      names.push_back(args[i]);
    }
  }
  if (names.empty()) {
    std::cerr << "usage: stratadescribe [/tab TAB] [/pname] NAME...\n";
    return 2;
  }
  if (!tab.empty() || pname) {
    for (const std::string& name : names)
      std::cout << "stratadescribe: " << name << (tab.empty() ? "" : " (tab " + tab + ")") << (pname ? " (pname)" : "")
                << "\n";
  }
  std::vector<std::string> describe{"describe"};
  describe.insert(describe.end(), names.begin(), names.end());
  return rvdlg::Run(describe, std::cin, std::cout, std::cerr) == 0 ? 0 : 1;
}
