#pragma once
// Merging files: the changes of one or more contributors are merged into a
// target file of a view, line by line, and the merge is recorded in the
// repository as merge arrows.
//
// The target is a file through a view ("\\view\TAG\vob\dir\file" or
// "M:\TAG\vob\dir\file", no version extension): normally the view's
// check-out of an element, else a view-private file. A checked-in or
// hijacked copy of a version is refused (check it out first).
//
// A contributor is a file through a view (the view's file as it is on disk),
// or a version by its extended name, through a view or in a VOB
// ("\vob\dir\file@@\main\dev\2", "...@@\main\LATEST", "...@@\main\REL1").
//
// The base of each contributor is the common ancestor of its changes and the
// target's: the base named in the block (for every contributor), or, when
// none is named and target and contributor are versions of the same
// element, the closest common ancestor version, found by walking back from
// both along predecessors and merge arrows. Without a base the merge is
// two-way: every place where target and contributor differ is a conflict,
// since nothing tells an addition from a deletion.
//
// Where only one side changed a region, its change is taken; where both made
// the same change, it is taken once; where they made different changes, the
// region is a conflict. A merge with a conflict changes nothing: the target
// file and the repository stay as they were, and the status is TBS_ST_FAILURE with a
// message naming the conflicting lines of the target. Graphical merges meet
// the same rule (no merge tool can be shown here), and their message also
// shows each conflict with its target, base and contributor lines, so the
// user can resolve it in the target by hand and then record the merge with
// record_only.
//
// A merge that succeeds writes the merged text into the target file (its
// permissions kept) and records a "Merge" hyperlink from each contributor
// version to the target's checked-out version, unless that arrow is already
// there. Merge arrows are recorded only between elements' versions.
//
// The whole merge is one transaction of the store: when it fails at any
// point, neither the target file nor the repository is changed.
#include <cstdint>

#include "stg.h"

// How a merge meets the user; the graphical flag is what the local merge
// goes by, the mode travels with it.
inline constexpr int CMD_MERGE_MODE_GRAPHICAL = 10;
inline constexpr int CMD_MERGE_MODE_TEXT = 12;

struct cmd_merge_args_s {
  std::uint32_t version = 5;  // the block's version
  stg_area_t area = STG_NULL_AREA;  // the caller's storage area for the command
  const char** contributors = nullptr;
  std::uint32_t contributor_count = 0;
  const char* target = nullptr;
  const char* base = nullptr;  // null or empty: the repository finds it
  int graphical = 0;
  // Non-zero: the contributors' changes are already in the target (merged by
  // hand): only the merge arrows are recorded; the target file stays as it is.
  int record_only = 0;
  int mode = CMD_MERGE_MODE_TEXT;  // CMD_MERGE_MODE_GRAPHICAL when graphical
};

// 0 when merged (no contributor: nothing to do); TBS_ST_INVALID_ARG for a bad block
// (another version, no area, no target, a count without contributors or a
// null contributor) or a name that is not through a view; TBS_ST_NOT_FOUND for a target
// or contributor that is not there or a target that is not checked out in
// its view; TBS_ST_WRONG_KIND for a directory; TBS_ST_FAILURE for conflicts or a file that cannot
// be read or written. Nothing changes on any failure.
int cmd_merge(cmd_merge_args_s* args);
