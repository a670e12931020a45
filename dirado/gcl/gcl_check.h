#pragma once
// Internal consistency checks. A failed check logs an internal error of the
// facility "gcl" with the source file and line (tbs_log_int_error; not when
// GCL_ASSERT_DONT_LOG is set) and, when a status is given, sets its code to
// TBS_ST_FAILURE. The hard form then ends the process, unless GCL_ASSERT_CONTINUE is
// set.
class GCL_Status;

void GCL_CheckFailed(const char* file, int line, const char* text, GCL_Status* status = nullptr);
void GCL_AssertFailed(const char* file, int line, const char* text, GCL_Status* status = nullptr);

// True when the condition holds; otherwise reports and answers false.
#define GCL_CHECK(condition, status) \
  ((condition) ? true : (GCL_CheckFailed(__FILE__, __LINE__, #condition, (status)), false))

#define GCL_ASSERT(condition)                                         \
  do {                                                                \
    if (!(condition)) GCL_AssertFailed(__FILE__, __LINE__, #condition); \
  } while (0)
