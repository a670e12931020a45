#pragma once
// Capturing the client libraries' messages on a status for a stretch of
// code: the one form of begin_capture/end_capture. A scope may yield to an
// active message collector (the object model's repository calls do, so the
// collector gets their messages); the library's own scopes always capture.
#include <cstdint>

#include "gcl_status.h"

class GCL_CaptureScope {
 public:
  enum Mode { kAlways, kUnlessCollecting };

  explicit GCL_CaptureScope(GCL_Status& status, Mode mode = kAlways);
  ~GCL_CaptureScope() { End(); }
  GCL_CaptureScope(const GCL_CaptureScope&) = delete;
  GCL_CaptureScope& operator=(const GCL_CaptureScope&) = delete;

  // Ends the capture before the scope does; later calls do nothing.
  void End();

 private:
  GCL_Status& status_;
  bool capturing_;
};

// Runs one client call under a capture scope and leaves the call's code on
// the status (a code of 0 drops what was captured). Returns the code.
template <class Call>
int GCL_CapturedCall(GCL_Status& status, Call&& call, GCL_CaptureScope::Mode mode = GCL_CaptureScope::kAlways) {
  int code;
  {
    GCL_CaptureScope scope(status, mode);
    code = call();
  }
  status.set_code(static_cast<std::uint32_t>(code));
  return code;
}
