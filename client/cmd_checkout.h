#pragma once
// Checking out files of views: the version to check out is chosen among
// candidates (through the caller's callback), the view's file becomes the
// writable check-out, and a hijacked file is kept, merged or put aside.
#include <cstdint>

#include "stg.h"

// One version that may be checked out, as the callback sees it. Texts live in
// the block's storage area; flags are 1 or 0.
struct cmd_checkout_candidate_s {
  const char* name = nullptr;            // the version ("\vob\f.c@@\main\1")
  const char* branch = nullptr;          // its branch ("\main")
  const char* spare = nullptr;           // not used
  const char* creator = nullptr;         // who made the version
  const char* created = nullptr;         // when, as text
  const char* reserved_by = nullptr;     // the other view holding the branch reserved ("" when none)
  const char* master = nullptr;          // the replica that masters the branch
  int branch_exists = 0;                 // the config spec would make a branch that exists
  int not_allowed = 0;                   // cannot be checked out with these options
  int needs_hijack_merge = 0;            // the hijacked file would be merged into this version
  int unloaded_after_update = 0;         // an update of the view would load another version
  int not_latest = 0;                    // selected by the view but not the latest on its branch
  int not_loaded = 0;                    // not the version the view's file holds
  int reserved_elsewhere = 0;            // reserved check-out asked, another view holds the branch reserved
  int not_mastered_here = 0;             // another replica masters the branch
  int auto_merge = 0;                    // the element's type merges automatically
};

// The callback's answers besides an index into the candidates.
inline constexpr int CMD_CHECKOUT_NONE = -1;         // check out nothing
inline constexpr int CMD_CHECKOUT_NONMASTERED = -2;  // the first candidate, nonmastered

// Asked once per name that has candidates: the name, the candidates, a
// further word (0 here), whether the view's file is hijacked, and out: whether
// the hijacked file is to be kept as the check-out (1) or renamed (0).
using cmd_checkout_confirm_fn = int (*)(const char* name, std::uint32_t count,
                                        const cmd_checkout_candidate_s* candidates, int further, int hijacked,
                                        int* use_modified, void* context);

inline constexpr int CMD_CHECKOUT_COMMENT_NONE = 2;
inline constexpr int CMD_CHECKOUT_COMMENT_GIVEN = 5;

struct cmd_checkout_args_s {
  std::uint32_t version = 8;  // the block's version
  stg_area_t area = STG_NULL_AREA;
  const char** pnames = nullptr;  // names through views
  std::uint32_t pname_count = 0;
  int unreserved = 0;     // fall back to unreserved when another view holds the branch reserved
  int reserved = 0;       // a reserved check-out
  int preserve_time = 0;  // the file keeps its modification time
  int add_to_srcs = 0;    // 1: a directory checked out to add elements to it (no difference here)
  int version_flag = 0;   // 1: each name is NAME@@VERSION-ID, that version checked out exactly
  cmd_checkout_confirm_fn callback = nullptr;  // null: the first candidate
  void* context = nullptr;
  int nonmastered = 0;  // unreserved, nonmastered when another replica masters the branch
  const char* comment = nullptr;
  int comment_mode = CMD_CHECKOUT_COMMENT_NONE;
};

// 0, or the first failure (later names are not tried): TBS_ST_INVALID_ARG for
// a bad block or a name through no view; TBS_ST_ALREADY when the element is
// checked out in the view already, or the chosen version cannot be checked
// out with these options (with the repository's message); TBS_ST_INTERRUPTED
// when the callback chose nothing. A failure changes neither the repository
// nor the view's directory.
int cmd_checkout(cmd_checkout_args_s* args);
