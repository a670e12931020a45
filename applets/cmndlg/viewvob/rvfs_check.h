#pragma once
// The view and VOB entries that need the versioning file system (starting
// and stopping views, mounting and unmounting VOBs) ask it first.

namespace plat {
class Window;
}

// True, after telling the user, when the file system is not installed (or
// cannot say that it is): the entry then returns -1 and does nothing else.
bool RvfsNotInstalled(plat::Window* parent);

// Whether the file system is installed (and says so), telling nobody.
bool RvfsInstalled();
