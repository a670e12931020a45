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
// Removes the sample view and every VOB of the store (for --force).
int RemoveSampleRepository(std::string* what);

}  // namespace rvdlg
