// stratadescribe NAME...: the describe output of each name, as rvdlg
// describe prints it; exit 0, 1 when a name names nothing, 2 without names.
#include <iostream>
#include <string>
#include <vector>

#include "app.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: stratadescribe NAME...\n";
    return 2;
  }
  std::vector<std::string> args{"describe"};
  args.insert(args.end(), argv + 1, argv + argc);
  return rvdlg::Run(args, std::cin, std::cout, std::cerr);
}
