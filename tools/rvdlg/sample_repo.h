#pragma once
// The sample repository of `rvdlg init`: the VOB \public with a small tree,
// the VOB \private, and the view sample_view of them.
#include <string>

namespace rvdlg {

inline constexpr const char* kSampleView = "sample_view";
// The file the sample leaves checked out in the view.
inline constexpr const char* kSampleCheckedOut = "\\\\view\\sample_view\\public\\src\\util.c";

// Makes the VOBs and their contents in the store in force (their tags must
// be free). 0, or the status of the first call that failed, with what it
// was doing in *what.
int BuildSampleVobs(std::string* what);
// Makes the view with its root filled and checks out the sample file in it.
int BuildSampleView(std::string* what);
// The view that shows release 1, and the replica of \private elsewhere.
inline constexpr const char* kRel1View = "rel1_view";
inline constexpr const char* kRemoteReplica = "remote";
// Makes the view rel1_view (element * CHECKEDOUT, element * REL1, element *
// \main\LATEST) holding \public\doc\README.txt checked out reserved, and
// the replica remote of \private mastering \private\notes.txt@@\main; this
// site may request mastership.
int BuildRel1ViewAndReplica(std::string* what);
// Removes the sample views and every VOB of the store (for --force).
int RemoveSampleRepository(std::string* what);

}  // namespace rvdlg
