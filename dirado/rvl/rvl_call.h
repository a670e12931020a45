#pragma once
// How the object model calls the repository: each call runs inside a
// message-capture scope on the caller's status, so the repository's messages
// end up there (unless a message collector is active: the collector gets
// them), and the call's code is stored on the status (0 drops the
// messages).
#include <cstdint>

class GCL_Status;

class RVL_CaptureScope {
 public:
  explicit RVL_CaptureScope(GCL_Status& status);
  ~RVL_CaptureScope();
  RVL_CaptureScope(const RVL_CaptureScope&) = delete;
  RVL_CaptureScope& operator=(const RVL_CaptureScope&) = delete;

 private:
  GCL_Status& status_;
  bool capturing_;
};

// Runs one repository call under a capture scope and stores its code on the
// status. Returns the code.
template <class Call>
int RVL_Call(GCL_Status& status, Call&& call);

// Logs an internal error of the object model at a source module and puts
// 1001 on the status.
void RVL_InternalError(GCL_Status& status, const char* module, int line, const char* text);

#include "gcl_status.h"

template <class Call>
int RVL_Call(GCL_Status& status, Call&& call) {
  int code;
  {
    RVL_CaptureScope scope(status);
    code = call();
  }
  status.set_code(static_cast<std::uint32_t>(code));
  return code;
}
