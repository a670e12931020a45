#include <iostream>

#include "app.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return rvdlg::Run(args, std::cin, std::cout, std::cerr);
}
