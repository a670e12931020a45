#pragma once
// The exported entries of the file operations.
#include <string>
#include <vector>

#include "platform/types.h"

namespace plat {
class ObjectArray;
class Window;
}  // namespace plat

// Starts the command-line tool's graphical compare of each path (with its
// predecessor when pred is non-zero) and returns 0 at once; a failure to
// start is not reported.
int rvDiffFiles(const std::vector<std::string>& paths, int pred);

// Merges the contributors' changes into the target file (graphically) with
// the base as the common ancestor (empty: the repository finds it); flag is
// passed on to the merge (non-zero: record the merge only, the target stays
// as it is). Returns the merge's status: 0 merged, TBS_ST_INTERRUPTED stopped by the user,
// TBS_ST_NO_MEMORY when no storage area could be had (nothing else is done then); any
// other failure is shown in an error box with the merge's messages.
int rvMergeFiles(const std::string& target, const std::string& base, const std::vector<std::string>& contributors,
                 int flag);

// Runs a product tool's command line behind an invisible modal dialog and
// waits for it: 0 when it ran, -1 when it could not be started.
int rvRunCommand(const std::string& command, plat::Window* parent);

// The command line rvDiffFiles starts (for tests and callers that log it).
std::string DiffCommandLine(const std::vector<std::string>& paths, int pred);

// Undoes the check-out of every entry (confirmation and the ".keep" copy as
// the user options say) and returns how many succeeded.
int rvUncheckoutOp(plat::ObjectArray& entries, plat::Window* parent, int show_progress);
// The same with the caller's keep-file choice and no confirmation.
int rvUncheckoutWithOptionsOp(plat::ObjectArray& entries, int keep_file, plat::Window* parent, int show_progress);
// Reserves (reserve non-zero) or unreserves every entry's check-out.
int rvReserveOp(plat::ObjectArray& entries, int reserve, plat::Window* parent, int show_progress);

// For callers without a framework of their own: runs operation code on the
// paths (2 undo check-out, 3 reserve, 4 unreserve; the other codes arrive
// with their operations). Both return 0; the Ex form writes 1 into result
// slot i when path i succeeded, 0 otherwise, and no_ui runs without prompts
// or progress.
int rvRunFileOperation(const char* const* paths, int count, plat::Hwnd parent, int code);
int rvRunFileOperationEx(const char* const* paths, int* results, int count, plat::Hwnd parent, int code, int no_ui);
