#pragma once
// The pathname prefix map: the storage pathnames the file-system driver may
// reach. A global pathname is registered before a mount uses it and
// unregistered after; registrations are counted, so each register is undone
// by one unregister and two users of one pathname do not disturb each other.
//
// Converting gives the pathname by which this machine reaches a registered
// global pathname: "\\HOST\X$\rest", for this machine's host name (in any
// case), is "X:\rest"; a drive name ("X:\rest") or a view name is itself.
#include <cstddef>

// 0; TBS_ST_INVALID_ARG for a null name; TBS_ST_NOT_FOUND for a name that is not absolute ("X:\..." or
// "\\server\share...").
int ntpfxmap_register(const char* pathname);

// 0; TBS_ST_NOT_FOUND when the name is not registered; TBS_ST_INVALID_ARG for null.
int ntpfxmap_unregister(const char* pathname);

// The local form of a pathname into out (size bytes, terminated). 0; TBS_ST_PNAME_CONVERSION
// for another machine's pathname or a name that is not absolute; TBS_ST_INVALID_ARG for a
// null argument or a buffer too small (out left empty).
int ntpfxmap_convert(const char* pathname, char* out, std::size_t size);
