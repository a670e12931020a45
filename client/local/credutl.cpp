#include "credutl.h"

#include <cctype>
#include <string>

#include "local/calllog.h"
#include "platform/machine.h"
#include "tbs.h"

using client_local::CallLog;

int credutl_is_privileged(int* privileged) {
  CallLog::Call call("credutl_is_privileged", {});
  if (call.Failed()) return call.Status();
  if (!privileged) return call.Return(TBS_ST_INVALID_ARG);
  *privileged = 0;
  const std::string user = plat::MachineInfo().user_name;
  if (user.empty()) return call.Return(TBS_ST_NOT_FOUND);
  std::string lower;
  for (char c : user) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  *privileged = user == "root" || lower == "administrator" ? 1 : 0;
  return call.Return(TBS_ST_OK);
}
