// The capture scope.
#include "gcl_capture.h"

#include "gcl_imsg_collector.h"

GCL_CaptureScope::GCL_CaptureScope(GCL_Status& status, Mode mode)
    : status_(status), capturing_(mode == kAlways || !GCL_ImsgCollectorSwitch()) {
  if (capturing_) status_.begin_capture();
}

void GCL_CaptureScope::End() {
  if (!capturing_) return;
  capturing_ = false;
  status_.end_capture();
}
