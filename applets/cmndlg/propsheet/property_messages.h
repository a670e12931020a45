#pragma once
// The boxes of the property sheets. None is shown while the calling thread
// holds the client lock: callers leave it first.
#include <string>

class GCL_Status;

namespace rvcmndlg {

// What a status says: its collected messages, else the text of its code.
std::string StatusText(const GCL_Status& status);

// 742 "Unable to display properties of ..." with the name and the status text.
std::string CannotDisplayText(const std::string& name, const GCL_Status& status);
void ShowCannotDisplay(const std::string& name, const GCL_Status& status);
// 735: a page could not be initialised.
void ShowPageUnavailable();
// 736: a page's data could not be read.
void ShowPageFetchFailed(const GCL_Status& status);
// The status text alone, as an error box.
void ShowStatusError(const GCL_Status& status);

}  // namespace rvcmndlg
