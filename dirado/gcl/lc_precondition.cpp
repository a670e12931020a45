// Reporting violated container preconditions.
#include "lc_precondition.h"

#include <string>

#include "gcl_env.h"
#include "tbs.h"

namespace {
thread_local LC_Violation t_last;
}

void LC_ReportViolation(const char* name, const char* label, const char* message) {
  t_last = LC_Violation{name, label, message};
  if (GCL_GetEnvFlags().assert_dont_log) return;
  const std::string text = std::string(name) + " in " + label + ": " + message;
  tbs_log_int_error("gcl", __FILE__, __LINE__, text.c_str());
}

LC_Violation LC_LastViolation() { return t_last; }

void LC_ClearViolation() { t_last = LC_Violation{}; }
