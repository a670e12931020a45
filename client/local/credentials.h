#pragma once
// Who runs the calls, as the local implementation sees it.
#include <string>

namespace client_local {

// Whether the user may do anything: the system's administrators.
bool IsPrivilegedUser(const std::string& user);

}  // namespace client_local
