#pragma once
// The environment settings of the foundation, read once per process:
//   GCL_STATUS_IMSG_COPY   "true" or "TRUE": captured messages are also
//                          written to the standard error stream
//   IMSG_LOST_OUTPUT       set and not empty: a collector that ends with
//                          messages left prints them to standard output
//   GCL_ASSERT_CONTINUE    set: a failed hard assertion does not end the
//                          process
//   GCL_ASSERT_DONT_LOG    set: failed checks are not logged
//   GCL_INDENT_STRING, GCL_INDENT_HEADER_FORMAT, GCL_INDENT_FOOTER_FORMAT
//                          the describe indentation (gcl_indent.h)
// The trace settings (NORVANE_GCL_DEBUG, NORVANE_GCL_DEBUG_FILE) are read
// whenever the trace context is created (gcl_trace.h).
#include <string>

struct GCL_EnvFlags {
  bool status_imsg_copy = false;
  bool lost_output = false;
  bool assert_continue = false;
  bool assert_dont_log = false;
};

struct GCL_IndentSettings {
  std::string indent = " ";
  std::string header_format = "BEGIN %s";
  std::string footer_format = "END %s";
};

// The flags, read from the environment at the first call.
GCL_EnvFlags GCL_GetEnvFlags();

// The indentation settings, read at the first call; that first reading
// reports each setting on standard output ("Got GCL_INDENT_STRING: ..." or
// "Did not find GCL_INDENT_STRING environment variable").
GCL_IndentSettings GCL_GetIndentSettings();

// For tests: forget what was read, so that the next call reads the
// environment again.
void GCL_RereadEnvironment();
