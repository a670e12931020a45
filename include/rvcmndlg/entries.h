#pragma once
// The library's exported entries, each declared here and only here. Statuses
// of the client libraries are those of rvcmndlg/status.h.
#include <string>
#include <vector>

#include "platform/export.h"
#include "platform/types.h"

namespace plat {
class ObjectArray;
class Window;
}  // namespace plat

// ---- Compare and merge ----

// Starts the command-line tool's graphical compare of each path (with its
// predecessor when pred is non-zero). Returns 0 at once; a failure to start
// is not reported.
RVCMNDLG_API int rvDiffFiles(const std::vector<std::string>& paths, int pred);

// Merges the contributors' changes into the target file (graphically) with
// the base as the common ancestor (empty: the repository finds it); a
// non-zero flag records the merge only and leaves the target as it is. Any
// failure is also shown in an error box with the merge's messages.
// Returns the merge's status: kOk merged, kInterrupted stopped by the user,
// kNoMemory when no storage area could be had (nothing else is done then).
RVCMNDLG_API int rvMergeFiles(const std::string& target, const std::string& base,
                              const std::vector<std::string>& contributors, int flag);

// Runs a product tool's command line behind an invisible modal dialog and
// waits for it. Returns 0 when it ran, -1 when it could not be started.
RVCMNDLG_API int rvRunCommand(const std::string& command, plat::Window* parent);

// ---- File operations over a file list (CFileOperationList or its entries) ----

// Checks in every entry: the comment prompt, use checkout info and preserve
// time come from the user options, the comment is empty and identical
// versions are refused. Returns how many entries succeeded.
RVCMNDLG_API int rvCheckinOp(plat::ObjectArray& entries, plat::Window* parent, int show_progress);
// The same with the caller's values (each flag counts when 1). Returns how
// many entries succeeded.
RVCMNDLG_API int rvCheckinWithOptionsOp(plat::ObjectArray& entries, const std::string& comment, int identical,
                                        int prompt, int use_checkout_info, plat::Window* parent, int preserve_time,
                                        int show_progress);
// Checks out every entry: the comment prompt, reserved, unreserved,
// nonmastered and preserve time come from the user options; version 1 checks
// out the version the view selects exactly, use_private 1 keeps a hijacked
// file as the check-out without asking. Returns how many entries succeeded.
RVCMNDLG_API int rvCheckoutOp(plat::ObjectArray& entries, plat::Window* parent, int version, int use_private,
                              int show_progress);
// The same with the caller's values and no comment prompt. Returns how many
// entries succeeded.
RVCMNDLG_API int rvCheckoutWithOptionsOp(plat::ObjectArray& entries, const std::string& comment, int reserved,
                                         int unreserved, int version, int use_private, plat::Window* parent,
                                         int preserve_time, int show_progress, int nonmastered);
// Undoes the check-out of every entry, confirming and keeping ".keep" copies
// as the user options say. Returns how many entries succeeded.
RVCMNDLG_API int rvUncheckoutOp(plat::ObjectArray& entries, plat::Window* parent, int show_progress);
// The same with the caller's keep-file choice and no confirmation. Returns
// how many entries succeeded.
RVCMNDLG_API int rvUncheckoutWithOptionsOp(plat::ObjectArray& entries, int keep_file, plat::Window* parent,
                                           int show_progress);
// Reserves (reserve non-zero) or unreserves every entry's check-out. Returns
// how many entries succeeded.
RVCMNDLG_API int rvReserveOp(plat::ObjectArray& entries, int reserve, plat::Window* parent, int show_progress);

// Makes every entry (a view-private file or directory) an element: the
// comment prompt, preserve time and mastership of new branches come from
// the user options. Returns how many entries succeeded.
RVCMNDLG_API int rvAddToSrcOp(plat::ObjectArray& entries, plat::Window* parent, int show_progress);
// The same with the caller's comment, keep-checked-out and preserve-time
// values and no comment prompt. Returns how many entries succeeded.
RVCMNDLG_API int rvAddToSrcWithOptionsOp(plat::ObjectArray& entries, const std::string& comment, int keep_checked_out,
                                         plat::Window* parent, int preserve_time, int show_progress);

// ---- Property sheets ----

// Shows the properties of each named object (a pathname, extended name,
// selector, "viewtag:TAG", "view:TAG" or a file in a view). One name: a
// modal sheet on the caller's thread, opened on the page the tab names
// ("configspec", "loadrules", "activities"); several: a sheet thread each,
// view tags to the describe tool (pname non-zero passes /pname), and the
// call returns when every sheet has closed. direct non-zero skips the
// Tracklane form of an activity. Failures are shown in boxes. Returns 0.
RVCMNDLG_API long rvDisplayPropertySheet(const std::vector<std::string>& names, int pname, const std::string& tab,
                                         int direct);
// Adds the library's resources to the caller's resource search chain.
RVCMNDLG_API void rvPropertiesAddToResourceChain();

// ---- For callers without a framework of their own ----

// The operation codes of rvRunFileOperation(Ex). Add and removing views run
// nothing yet (their operations are still to come).
inline constexpr int RV_FILEOP_CHECKIN = 0;
inline constexpr int RV_FILEOP_CHECKOUT = 1;
inline constexpr int RV_FILEOP_UNCHECKOUT = 2;
inline constexpr int RV_FILEOP_RESERVE = 3;
inline constexpr int RV_FILEOP_UNRESERVE = 4;
inline constexpr int RV_FILEOP_ADD_TO_SOURCE = 5;
inline constexpr int RV_FILEOP_REMOVE_VIEW = 6;  // rvRunFileOperationEx only: the first path names the view

// Runs the operation of `code` on the paths. Returns 0.
RVCMNDLG_API int rvRunFileOperation(const char* const* paths, int count, plat::Hwnd parent, int code);
// The same, writing 1 into results[i] when path i succeeded and 0 otherwise;
// no_ui runs without prompts or progress. Returns 0.
RVCMNDLG_API int rvRunFileOperationEx(const char* const* paths, int* results, int count, plat::Hwnd parent,
                                      int code, int no_ui);

// ---- Views ----

// The properties of a view. An empty pathname opens Edit View Properties
// and returns its result (IDOK or IDCANCEL); otherwise starts the describe
// tool on the view the pathname lies in (a snapshot view's root, else its
// tag) and returns the status of finding that view (0 found; nothing is
// started when it is not).
RVCMNDLG_API int rvConfigureViewOp(const std::string& pathname, plat::Window* parent);
// Start View: starts each dynamic view the user picks (the tags given are
// preselected), the only one picked on the drive chosen. Stop View: stops
// each one picked and drops its drives and logon entry. Each returns IDOK or
// IDCANCEL, or -1 after saying so when the versioning file system is not
// installed.
RVCMNDLG_API int rvStartViewOp(const std::vector<std::string>& tags, plat::Window* parent);
RVCMNDLG_API int rvStopViewOp(const std::vector<std::string>& tags, plat::Window* parent);
// Remove View. With dialog non-zero the user picks the views (the items given
// preselected) and the result is IDOK or IDCANCEL; else each item, a view tag
// or a pathname in a view, is removed once the user confirms (other items are
// skipped) and the result is 0. Failures are shown in boxes.
RVCMNDLG_API int rvRemoveViewOp(const std::vector<std::string>& items, int dialog, plat::Window* parent);

// ---- VOBs ----

// Mount: the VOBs of the default region not mounted on this host, the tags
// given selected; the picked VOBs are mounted, and registered to be mounted
// again at logon when the user leaves "Reconnect at Logon" ticked. Returns
// the dialog's result (IDOK or IDCANCEL), or -1 without the versioning file
// system (the user is told).
RVCMNDLG_API int rvMountVobOp(const std::vector<std::string>& tags, plat::Window* parent);
// Unmount: the same over the mounted VOBs, each of which is also no longer
// mounted at logon.
RVCMNDLG_API int rvUnmountVobOp(const std::vector<std::string>& tags, plat::Window* parent);
