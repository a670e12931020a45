#pragma once
// The configuration service's boolean settings ("knobs"), by setting number
// and level. A value may be set at each level; the product's defaults
// (level 0) are fixed, the site-wide (1) and user (4) levels can be set and
// unset. Reading a setting's value in force takes the highest level set.
//
// Statuses: 0; TBS_ST_NOT_FOUND for an unknown setting or, at one level, a value not
// set there; TBS_ST_INVALID_ARG for a level other than 0, 1 or 4 or a null pointer; TBS_ST_PERMISSION
// for a change at level 0. Nothing changes on an error.

inline constexpr int NLBD_LEVEL_DEFAULT = 0;  // the product's defaults
inline constexpr int NLBD_LEVEL_SITE = 1;     // site-wide values
inline constexpr int NLBD_LEVEL_USER = 4;     // this user's own values

inline constexpr int NLBD_KNOB_INTEROP_TEXT_MODE = 4;   // new views use MS-DOS text mode
inline constexpr int NLBD_KNOB_CHECKIN_PRESERVE_TIME = 6;   // keep modification time on check-in
inline constexpr int NLBD_KNOB_CHECKOUT_PRESERVE_TIME = 7;  // keep modification time on check-out

// The value in force, looking at the levels from 4 down to `level` (0: all
// of them). TBS_ST_NOT_FOUND and *value 0 when none of those levels has one.
int nlbd_knob_get_boolean(int knob, int level, int* value);

// The value set at exactly that level. TBS_ST_NOT_FOUND and *value 0 when not set.
int nlbd_knoblet_get_boolean(int knob, int level, int* value);

// Sets the value (1 for any non-zero value) at level 1 or 4.
int nlbd_knoblet_set_boolean(int knob, int level, int flags, int value);

// Removes the value set at level 1 or 4 (0 also when none was set).
int nlbd_knoblet_unset_value(int knob, int level, int flags);
