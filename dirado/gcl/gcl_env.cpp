// Environment settings, read once and kept under one lock.
#include "gcl_env.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>

namespace {

std::mutex g_mutex;
std::optional<GCL_EnvFlags> g_flags;
std::optional<GCL_IndentSettings> g_indent;

bool IsSet(const char* name) { return std::getenv(name) != nullptr; }

void ReadIndent(const char* name, std::string& value) {
  const char* found = std::getenv(name);
  if (found) {
    value = found;
    std::printf("Got %s: %s\n", name, found);
  } else {
    std::printf("Did not find %s environment variable\n", name);
  }
  std::fflush(stdout);
}

}  // namespace

GCL_EnvFlags GCL_GetEnvFlags() {
  std::lock_guard lock(g_mutex);
  if (!g_flags) {
    GCL_EnvFlags flags;
    const char* copy = std::getenv("GCL_STATUS_IMSG_COPY");
    flags.status_imsg_copy = copy && (std::strcmp(copy, "true") == 0 || std::strcmp(copy, "TRUE") == 0);
    const char* lost = std::getenv("IMSG_LOST_OUTPUT");
    flags.lost_output = lost && *lost;
    flags.assert_continue = IsSet("GCL_ASSERT_CONTINUE");
    flags.assert_dont_log = IsSet("GCL_ASSERT_DONT_LOG");
    g_flags = flags;
  }
  return *g_flags;
}

GCL_IndentSettings GCL_GetIndentSettings() {
  std::lock_guard lock(g_mutex);
  if (!g_indent) {
    GCL_IndentSettings settings;
    ReadIndent("GCL_INDENT_STRING", settings.indent);
    ReadIndent("GCL_INDENT_HEADER_FORMAT", settings.header_format);
    ReadIndent("GCL_INDENT_FOOTER_FORMAT", settings.footer_format);
    g_indent = settings;
  }
  return *g_indent;
}

void GCL_RereadEnvironment() {
  std::lock_guard lock(g_mutex);
  g_flags.reset();
  g_indent.reset();
}
