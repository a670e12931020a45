#include "gu.h"

#include <string>

#include "local/calllog.h"
#include "tbs.h"

using client_local::CallLog;

int gu_help(plat::Hwnd window, const char* topic, int command, int data) {
  CallLog::Call call("gu_help", {std::to_string(static_cast<std::uint32_t>(window)), topic ? topic : "(null)",
                                 std::to_string(command), std::to_string(data)});
  if (call.Failed()) return call.Status();
  if (!topic || !*topic) return call.Return(TBS_ST_INVALID_ARG);
  return call.Return(TBS_ST_OK);
}
