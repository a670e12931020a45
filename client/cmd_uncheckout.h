#pragma once
// Undoing check-outs: the view's file goes back to the version the view
// selects, read-only, and the check-out leaves the repository.
#include <cstdint>

#include "stg.h"

struct cmd_uncheckout_args_s {
  std::uint32_t version = 2;  // the block's version
  stg_area_t area = STG_NULL_AREA;
  const char** pnames = nullptr;  // in the area
  std::uint32_t pname_count = 0;
  int keep = 0;  // save the edited file first as FILE.keep (then .keep.1, .keep.2, ...)
  int rm = 1;    // 1 - keep
};

// 0; the first failure otherwise (later files are not tried): TBS_ST_INVALID_ARG for a
// bad block, the lookup's status for a name that is no element of a view,
// TBS_ST_NOT_FOUND when the element is not checked out in the view.
int cmd_uncheckout(cmd_uncheckout_args_s* args);
