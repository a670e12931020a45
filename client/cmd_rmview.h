#pragma once
// Removing a view: its root (live or parked) with everything in it, its
// drives and logon entry, its registry object and tag, and what the store
// keeps of it. All or nothing.
#include <cstdint>

#include "stg.h"

struct cmd_rmview_args_s {
  std::uint32_t version = 3;  // the block's version
  stg_area_t area = STG_NULL_AREA;
  const char* pathname = nullptr;  // the view's root or a pathname through it, or
  const char* tag = nullptr;       // the view's tag (either one)
  std::uint32_t reserved[5] = {};  // zero
};

// 0; TBS_ST_INVALID_ARG for a bad block; TBS_ST_NOT_FOUND when the tag or
// pathname names no view; TBS_ST_ALREADY, after naming each one, when the
// view holds check-outs (nothing changes).
int cmd_rmview(cmd_rmview_args_s* args);
