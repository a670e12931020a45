// The capture scope of repository calls, and internal errors.
#include "rvl_call.h"

#include "gcl_imsg_collector.h"
#include "gcl_status.h"
#include "tbs.h"

RVL_CaptureScope::RVL_CaptureScope(GCL_Status& status) : status_(status), capturing_(!GCL_ImsgCollectorSwitch()) {
  if (capturing_) status_.begin_capture();
}

RVL_CaptureScope::~RVL_CaptureScope() {
  if (capturing_) status_.end_capture();
}

void RVL_InternalError(GCL_Status& status, const char* module, int line, const char* text) {
  tbs_log_int_error("rvl", module, line, text);
  status.reset(TBS_ST_FAILURE);
  status.push_message(GCL_String(text));
}
