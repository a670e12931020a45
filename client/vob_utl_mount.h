#pragma once
// What the file-system driver has mounted, and the VOB a storage holds.
#include "stg.h"
#include "tbs_uuid.h"

// Non-zero when a VOB is mounted under the pathname (a tag), exactly as
// given; 0 otherwise (also for null).
int vob_utl_is_mounted_vob_pname(const char* pathname);

// The mounted pathnames, in the order they were mounted, as a null-terminated
// array of texts allocated in the area. 0; TBS_ST_INVALID_ARG for a null argument or an
// unknown area; TBS_ST_NO_MEMORY when the area has no room.
int vob_utl_get_mounted_vob_pnames(stg_area_t area, char*** pathnames);

// The UUID of the VOB whose storage is at the pathname (the object entry of
// the registry with that global or host-local pathname). 0; TBS_ST_NOT_FOUND when no
// VOB's storage is there; TBS_ST_INVALID_ARG for a null argument.
int vob_ob_stg_pname_to_replica_uuid(const char* pathname, tbs_uuid_t* uuid);
