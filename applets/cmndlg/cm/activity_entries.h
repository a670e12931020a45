#pragma once
// The entries of the activity and stream dialogs. They take the
// change-management model's values, which are not part of the installed
// interface, so they are the library's own for now (not exported).
namespace plat {
class Window;
}
class FLM_Activity;
class FLM_Stream;
class FLM_TLEntityID;
class FLM_Vob;

// "Select Activity": the stream's activities (the user's own, or every
// user's); allow_new offers "New...", show_no_activity adds "<No Activity>"
// (chosen, it gives a null activity). The activity comes in as the one to
// preselect and goes out as the choice. Returns 0 on OK, else -1.
int rvBrowseForActivity(const FLM_Stream& stream, FLM_Activity& activity, plat::Window* parent,
                        int allow_new, int show_no_activity);
// "Contributing Activities" of a deliver or rebase. Returns 0 on OK, else -1.
int rvActContribs(const FLM_Activity& activity, plat::Window* parent);
// The Tracklane records of the stream's project; the record comes in as the
// one to preselect and goes out as the choice. Returns 0 on OK, else -1.
int rvBrowseForTLActivity(const FLM_Stream& stream, FLM_TLEntityID& record, plat::Window* parent);

// What rvStreamChooser chooses a stream for.
inline constexpr int RV_STREAM_CHOOSER_DELIVER = 1;
inline constexpr int RV_STREAM_CHOOSER_REBASE = 2;
inline constexpr int RV_STREAM_CHOOSER_BASELINE = 3;
inline constexpr int RV_STREAM_CHOOSER_DELIVER_TARGET = 4;
// A stream picked from the tree of the VOB's projects (vob may be null).
// Returns 0 on OK (the stream then holds the choice), else -1, also without
// a dialog for a mode that is none of the above.
int rvStreamChooser(const FLM_Vob& vob, FLM_Stream& stream, int mode, plat::Window* parent);
