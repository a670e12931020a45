#include <iostream>

#include "stratatool.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return stratatool::Run(args, std::cout, std::cerr);
}
