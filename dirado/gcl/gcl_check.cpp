// Internal consistency checks.
#include "gcl_check.h"

#include <cstdlib>

#include "gcl_env.h"
#include "gcl_status.h"
#include "tbs.h"

void GCL_CheckFailed(const char* file, int line, const char* text, GCL_Status* status) {
  if (!GCL_GetEnvFlags().assert_dont_log) tbs_log_int_error("gcl", file, line, text);
  if (status) status->set_code(TBS_ST_FAILURE);
}

void GCL_AssertFailed(const char* file, int line, const char* text, GCL_Status* status) {
  GCL_CheckFailed(file, line, text, status);
  if (!GCL_GetEnvFlags().assert_continue) std::abort();
}
