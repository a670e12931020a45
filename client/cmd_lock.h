#pragma once
// Locking and unlocking objects by name: pathnames, extended names and object
// selectors (cmd_resolve.h). Each call is one command of the repository: all
// its names are locked (unlocked), or none is.
#include <cstdint>

#include "stg.h"

struct cmd_lock_args_s {
  std::uint32_t version = 1;  // the block's version
  stg_area_t area = STG_NULL_AREA;
  const char** names = nullptr;  // in the area
  std::uint32_t name_count = 0;
  int obsolete = 0;  // the objects become obsolete; the lock then excludes no one
  // Null: no comment (a lock that is replaced keeps its own).
  const char* comment = nullptr;
  const char** excluded_users = nullptr;  // user names the lock lets through
  std::uint32_t excluded_count = 0;
};

struct cmd_unlock_args_s {
  std::uint32_t version = 1;
  stg_area_t area = STG_NULL_AREA;
  const char** names = nullptr;
  std::uint32_t name_count = 0;
  const char* comment = nullptr;
};

// Locks each object, or replaces its lock. 0; TBS_ST_INVALID_ARG for a bad
// block or user name, TBS_ST_NOT_FOUND for a name that names nothing,
// TBS_ST_PERMISSION for an object the user may not lock. Messages name the
// object.
int cmd_lock(cmd_lock_args_s* args);
// Unlocks each object; TBS_ST_NOT_FOUND also for an object that is not locked.
int cmd_unlock(cmd_unlock_args_s* args);
