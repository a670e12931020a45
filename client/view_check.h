#pragma once
// Whether the store and the views' directories agree, file by file: every
// file the store records in a view's root is there as recorded (a checked-in
// copy with the bytes of the version it was loaded from (read-only, or
// writable still when a command was stopped before protecting it), a
// check-out writable), and every check-out the view's rules select has its
// writable file. A file the store does not know is view-private and agrees.
#include <string>
#include <vector>

inline constexpr int VIEW_CHECK_MISSING = 1;            // a checked-in copy is not there
inline constexpr int VIEW_CHECK_HIJACKED = 2;           // a checked-in copy changed by hand
inline constexpr int VIEW_CHECK_CHECKOUT_MISSING = 3;   // a check-out's file is not there
inline constexpr int VIEW_CHECK_CHECKOUT_READ_ONLY = 4; // a check-out's file is read-only
inline constexpr int VIEW_CHECK_NOT_CHECKED_OUT = 5;    // the file is recorded as a check-out the VOB has not
inline constexpr int VIEW_CHECK_NOT_RECORDED = 6;       // a check-out whose file is not recorded as one

struct view_check_finding_t {
  std::string view;
  std::string path;  // relative to the view's root, '/' separated
  int kind = 0;      // VIEW_CHECK_*
  bool repaired = false;
};

struct view_check_result_t {
  long files = 0;  // files looked at: those in the roots and those recorded but missing
  std::vector<view_check_finding_t> findings;
};

// Checks every view whose root directory is there. With repair, brings back
// what the store says where no one's work can be lost: a missing checked-in
// copy is written again and a read-only check-out is made writable; nothing
// else is touched (a hijacked file stays as it is). 0; TBS_ST_INVALID_ARG for
// a null result.
int view_check_views(int repair, view_check_result_t* result);

// "hijacked (changed by hand)" and the like: what a finding's kind means.
const char* view_check_kind_text(int kind);
