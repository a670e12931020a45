#pragma once
// The file operations' exported entries (declared in rvcmndlg/entries.h) and
// what their tests and callers inside the library also use.
#include <string>
#include <vector>

#include "rvcmndlg/entries.h"

// The command line rvDiffFiles starts (for tests and callers that log it).
std::string DiffCommandLine(const std::vector<std::string>& paths, int pred);
