#pragma once
// stratatool: the version-control client's command-line tool as the local
// environment provides it. `stratatool [--home DIR] diff [-graphical] [-pred]
// FILE...` writes a unified diff of each file of a view against its
// predecessor version: the version the file was loaded from, or for the
// view's check-out the version it was checked out from. FILE is a library
// pathname through a view (\\view\TAG\vob\dir\file) or a host path inside a
// view's directory under the home. The home is --home, else $RVDLG_HOME, else
// ~/.rvdlg, as for rvdlg.
#include <iosfwd>
#include <string>
#include <vector>

namespace stratatool {

// Runs the tool with the arguments after the program name. Exit status: 0
// done, 1 a file could not be compared (one line each on err), 2 bad usage.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace stratatool
