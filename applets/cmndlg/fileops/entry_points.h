#pragma once
// The file operations' exported entries (declared in rvcmndlg/entries.h) and
// what their tests and callers inside the library also use.
#include <string>
#include <vector>

#include "rvcmndlg/entries.h"

// The command line rvDiffFiles starts (for tests and callers that log it).
std::string DiffCommandLine(const std::vector<std::string>& paths, int pred);

// An argument in double quotes that can never add an argument: quotes inside
// are escaped and the backslashes before a quote, or before the closing
// quote, are doubled. One already in quotes keeps them. Every command line
// the library composes quotes its names with it.
std::string QuotedPath(const std::string& path);
