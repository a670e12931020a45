#pragma once
// How the object model calls the repository: each call runs inside a
// message-capture scope on the caller's status, so the repository's messages
// end up there (unless a message collector is active: the collector gets
// them), and the call's code is stored on the status (0 drops the
// messages).
#include "gcl_capture.h"

// Runs one repository call under a capture scope that yields to an active
// message collector, and stores its code on the status. Returns the code.
template <class Call>
int RVL_Call(GCL_Status& status, Call&& call) {
  return GCL_CapturedCall(status, call, GCL_CaptureScope::kUnlessCollecting);
}

// Logs an internal error of the object model at a source module and puts
// TBS_ST_FAILURE on the status.
void RVL_InternalError(GCL_Status& status, const char* module, int line, const char* text);
