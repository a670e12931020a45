#include "gu.h"

#include <atomic>
#include <string>

#include "local/calllog.h"
#include "tbs.h"

using client_local::CallLog;

namespace {
std::atomic<gu_help_proc_t> g_help_proc{nullptr};
}  // namespace

gu_help_proc_t gu_set_help_proc(gu_help_proc_t proc) { return g_help_proc.exchange(proc); }

int gu_help(plat::Hwnd window, const char* topic, int command, int data) {
  CallLog::Call call("gu_help", {std::to_string(static_cast<std::uint32_t>(window)), topic ? topic : "(null)",
                                 std::to_string(command), std::to_string(data)});
  if (call.Failed()) return call.Status();
  if (!topic || !*topic) return call.Return(TBS_ST_INVALID_ARG);
  if (gu_help_proc_t proc = g_help_proc.load()) proc(topic);
  return call.Return(TBS_ST_OK);
}
