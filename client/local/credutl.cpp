#include "credutl.h"

#include <string>

#include "local/credentials.h"
#include "local/local_call.h"
#include "platform/machine.h"
#include "platform/text.h"
#include "tbs.h"

using client_local::LocalCall;
using client_local::NonNull;

int credutl_is_privileged(int* privileged) {
  return LocalCall("credutl_is_privileged", {}, NonNull(privileged), [&] {
    *privileged = 0;
    const std::string user = plat::MachineUserName();
    if (user.empty()) return TBS_ST_NOT_FOUND;
    *privileged = client_local::IsPrivilegedUser(user) ? 1 : 0;
    return TBS_ST_OK;
  });
}

bool client_local::IsPrivilegedUser(const std::string& user) {
  return user == "root" || plat::IEquals(user, "administrator");
}
