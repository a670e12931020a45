#pragma once
// Removing a VOB from the store.
#include "vob.h"

// Removes the VOB with everything in it, and whatever views had loaded of
// it (their files stay where they are as view-private files: never lost).
// 0; TBS_ST_NOT_FOUND for an unknown VOB.
int vob_rmvob(vob_handle_t vob);
