#pragma once
// rvdlg's command line, runnable in-process so tests can drive it with
// streams of their own.
#include <iosfwd>
#include <string>
#include <vector>

namespace rvdlg {

// Runs rvdlg with the arguments after the program name. Exit status: 0 done,
// 1 the command failed, 2 bad usage.
int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err);

}  // namespace rvdlg
