#pragma once
// Checking in files of views: the view's check-out of each file becomes the
// branch's next version, holding the file's contents, and the view's file
// becomes read-only.
#include <cstdint>

#include "stg.h"

inline constexpr int CMD_CHECKIN_COMMENT_NONE = 2;
inline constexpr int CMD_CHECKIN_COMMENT_GIVEN = 5;

struct cmd_checkin_args_s {
  std::uint32_t version = 3;  // the block's version
  stg_area_t area = STG_NULL_AREA;
  const char** pnames = nullptr;  // names through views, no version extension
  std::uint32_t pname_count = 0;
  int one = 1;            // always 1
  int preserve_time = 0;  // the file keeps its modification time (else: the check-in time)
  int identical = 0;      // check in even when the contents equal the latest version's
  const char* comment = nullptr;
  int comment_mode = CMD_CHECKIN_COMMENT_NONE;
};

// 0, or the first failure (later names are not tried), each with the
// repository's message: TBS_ST_INVALID_ARG for a bad block or a name through
// no view; the lookup's status for a name that is no element; TBS_ST_NOT_FOUND
// when the element is not checked out in the view; TBS_ST_FAILURE when a
// later version is on the branch and was not merged into the check-out, or
// when the contents equal the latest version's and identical is 0 (never so
// for a directory). One store transaction per name: a failure changes
// neither the repository nor the view's file.
int cmd_checkin(cmd_checkin_args_s* args);
