// Internal errors of the object model.
#include "rvl_call.h"

#include "gcl_status.h"
#include "tbs.h"

void RVL_InternalError(GCL_Status& status, const char* module, int line, const char* text) {
  tbs_log_int_error("rvl", module, line, text);
  status.reset(TBS_ST_FAILURE);
  status.push_message(GCL_String(text));
}
