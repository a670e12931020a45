#pragma once
// Command utilities of the client libraries.
#include <cstdint>

#include "cmd_checkout.h"
#include "stg.h"
#include "vob.h"

// Checks out an element (its branch "main"), a branch or a checked-in
// version (its branch) in the view: a checked-out version, successor of the
// branch's latest version and holding its contents, and a check-out record
// with the comment. A reserved check-out is refused (TBS_ST_ALREADY) while another
// view holds the branch reserved, and any check-out when the view already
// has the branch checked out. *version (may be null) gets the checked-out
// version.
int cmd_utl_checkout(vob_handle_t vob, vob_dbid_t dbid, const char* view, int reserved, const char* comment,
                     vob_dbid_t* version);

// ---- Making elements of view-private files and directories ----

// The stages the make-element command reports for each name it works on.
inline constexpr int CMD_UTL_MKELEM_MADE = 0;         // an element was made
inline constexpr int CMD_UTL_MKELEM_CHECKED_OUT = 1;  // an element was checked out
inline constexpr int CMD_UTL_MKELEM_CHECKED_IN = 2;   // an element was checked in
inline constexpr int CMD_UTL_MKELEM_FAILED = 3;       // the file could not be added

// Told of each stage with the name (a directory element, or the file being
// added), the stage and whether the name is a directory; a non-zero answer
// stops the command, which then changes nothing.
using cmd_utl_mkelem_progress_fn = int (*)(const char* path, int stage, int directory, void* context);

inline constexpr int CMD_UTL_MKELEM_COMMENT_GIVEN = 5;

// The block starts zeroed as its callers fill it: version 0.
struct cmd_utl_mkelem_args_s {
  std::uint32_t version = 0;
  stg_area_t area = STG_NULL_AREA;
  const char** pnames = nullptr;  // names through views
  std::uint32_t pname_count = 0;
  int checkin = 1;        // check the new element in: 1 - keep
  int preserve_time = 0;  // the file keeps its modification time
  int master = 0;         // new branches mastered by this replica (one replica here: no effect)
  int add_to_srcs = 1;    // always 1
  int directory = 0;      // the name is a directory
  int keep = 0;           // leave the new element checked out
  cmd_utl_mkelem_progress_fn progress = nullptr;
  void* progress_context = nullptr;
  const char* comment = nullptr;  // the creation and check-in comment
  int comment_mode = CMD_UTL_MKELEM_COMMENT_GIVEN;
};

// Makes each view-private name an element, in one store transaction:
// view-private directories between the VOB's root and the name become
// directory elements, every directory element a new element goes into is
// checked out in the view (unreserved when another view holds it reserved,
// nonmastered when another replica masters it) and left so, and the name
// becomes an element whose first version holds the file's bytes, checked in
// as \main\1 unless keep. The file stays where it is, read-only once checked
// in, writable while checked out. A directory's contents stay view-private.
// The confirmation callback is taken for the callers' sake; nothing is asked.
// 0; TBS_ST_INVALID_ARG for a bad block, a name through no view or a name
// the repository refuses; TBS_ST_NOT_FOUND when the file is missing or in
// no VOB; TBS_ST_ALREADY for an element; TBS_ST_WRONG_KIND for a symbolic
// link or special file; TBS_ST_INTERRUPTED when the progress callback stops
// it. A failure changes neither the repository nor the view's directory.
int cmd_utl_mkelem(cmd_utl_mkelem_args_s* args, cmd_checkout_confirm_fn callback, void* context);
