#pragma once
// How the file operations and the pages tell the user what the repository
// said: a status that reports itself, the change-management message handler,
// and the shared message boxes.
#include <string>

#include "flm_imsg_redirector.h"
#include "gcl_imsg_collector.h"

namespace plat {
class Window;
}

class CCommonStatus : public GCL_StatusBase {
 public:
  using GCL_StatusBase::GCL_StatusBase;
  // Shows the status box with no introduction.
  void Report(plat::Window* owner = nullptr) const;
  // A failure, or a warning collected.
  bool HasSomethingToReport() const;
};

class CErrorMsgHandler : public FLM_ImsgRedirector {
 public:
  // Every collected message, in order, as one text.
  std::string AllMessages() const;
};

// The introduction (and a line break), then what the status collected;
// shown only when there is collected text or a failure; information icon
// when the status is clean, error icon otherwise.
void ShowStatusBox(plat::Window* owner, const std::string& intro, const GCL_Status& status);
void ShowStatusBox(plat::Window* owner, const std::string& intro, const GCL_StatusBase& status);
// What the redirector collected; nothing when it is empty and error is 0.
void ShowRedirectorBox(plat::Window* owner, int error, const FLM_ImsgRedirector& redirector);
// A text as given, OK only.
void ShowPlainBox(plat::Window* owner, const std::string& text);

// The text without the client's style marks.
std::string StripStyle(std::string text);
