#pragma once
// Resolution of what a user types: a pathname (through a view,
// "\\view\TAG\vob\dir\file" or "M:\TAG\vob\dir\file", or in a VOB,
// "\vob\dir\file"), an extended name ("file@@", "file@@\main",
// "file@@\main\3") or an object selector ("lbtype:REL1@\vob").
#include <cstddef>
#include <cstdint>

#include "vob.h"

struct cmd_resolve_result_s {
  std::uint32_t version = 1;
  vob_handle_t vob = 0;
  vob_dbid_t dbid = 0;
  std::uint32_t mtype = 0;
  char view[256] = {};  // the view the name went through, else empty
};

// A pathname through a view without extension names the version the view
// selects. 0; TBS_ST_NOT_FOUND when nothing is found; TBS_ST_INVALID_ARG for a null argument or text
// that is no name (empty, or longer than 1024 bytes).
int cmd_resolve_general(const char* name, cmd_resolve_result_s* result);
