#pragma once
// The exported entries of the file operations.
#include <string>
#include <vector>

namespace plat {
class Window;
}

// Starts the command-line tool's graphical compare of each path (with its
// predecessor when pred is non-zero) and returns 0 at once; a failure to
// start is not reported.
int rvDiffFiles(const std::vector<std::string>& paths, int pred);

// Runs a product tool's command line behind an invisible modal dialog and
// waits for it: 0 when it ran, -1 when it could not be started.
int rvRunCommand(const std::string& command, plat::Window* parent);

// The command line rvDiffFiles starts (for tests and callers that log it).
std::string DiffCommandLine(const std::vector<std::string>& paths, int pred);
