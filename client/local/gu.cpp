#include "gu.h"

#include <atomic>
#include <string>

#include "local/local_call.h"
#include "tbs.h"

using client_local::LocalCall;
using client_local::NonNull;

namespace {
std::atomic<gu_help_proc_t> g_help_proc{nullptr};
}  // namespace

gu_help_proc_t gu_set_help_proc(gu_help_proc_t proc) { return g_help_proc.exchange(proc); }

int gu_help(plat::Hwnd window, const char* topic, int command, int data) {
  return LocalCall("gu_help",
                   {std::to_string(static_cast<std::uint32_t>(window)), topic ? topic : "(null)",
                    std::to_string(command), std::to_string(data)},
                   NonNull(topic) && *topic, [&] {
    if (gu_help_proc_t proc = g_help_proc.load()) proc(topic);
    return TBS_ST_OK;
  });
}
