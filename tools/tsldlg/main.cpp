#include <iostream>

#include "tsldlg.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return tsldlg::Run(args, std::cout, std::cerr);
}
