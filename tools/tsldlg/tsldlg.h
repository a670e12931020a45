#pragma once
// tsldlg: the replication add-on's dialog tool as the local environment
// provides it. `tsldlg [--home DIR] /reqmaster /objects OBJ... /RFMProgress`
// records a request for the mastership of each branch OBJ
// ("\vob\f.c@@\main") from the replica that masters it, and says so. The
// home is --home, else $RVDLG_HOME, else ~/.rvdlg, as for rvdlg.
#include <iosfwd>
#include <string>
#include <vector>

namespace tsldlg {

// Runs the tool with the arguments after the program name. Exit status: 0
// done, 1 an object names no branch (one line each on err) or there is no
// repository, 2 bad usage.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tsldlg
