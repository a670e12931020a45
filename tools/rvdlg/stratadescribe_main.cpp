// stratadescribe [/tab TAB] [/pname] NAME: the describe tool that property
// sheets start for view tags. It names what it was asked for, then prints
// the describe output of rvdlg's describe command (in RVDLG_HOME).
#include <iostream>
#include <string>
#include <vector>

#include "app.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string tab;
  bool pname = false;
  std::string name;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "/tab" && i + 1 < args.size()) {
      tab = args[++i];
    } else if (args[i] == "/pname") {
      pname = true;
    } else if (name.empty()) {
      name = args[i];
    } else {
      name.clear();
      break;
    }
  }
  if (name.empty()) {
    std::cerr << "usage: stratadescribe [/tab TAB] [/pname] NAME\n";
    return 2;
  }
  std::cout << "stratadescribe: " << name << (tab.empty() ? "" : " (tab " + tab + ")") << (pname ? " (pname)" : "")
            << "\n";
  return rvdlg::Run({"describe", name}, std::cin, std::cout, std::cerr) == 0 ? 0 : 1;
}
