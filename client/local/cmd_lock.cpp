#include "cmd_lock.h"

#include <string>
#include <vector>

#include "cmd_resolve.h"
#include "imsg.h"
#include "local/local_call.h"
#include "local/vob_repo.h"

using client_local::InStore;
using client_local::LocalCall;
using client_local::NonNull;
using client_local::Store;
using namespace client_local::repo;

namespace {

struct Named {
  std::string name;
  vob_handle_t vob = 0;
  vob_dbid_t dbid = 0;
};

// The objects of the names, or the status of the first that names nothing.
int ResolveAll(const char* const* names, std::uint32_t count, std::vector<Named>* out) {
  for (std::uint32_t i = 0; i < count; ++i) {
    if (!names[i]) return TBS_ST_INVALID_ARG;
    cmd_resolve_result_s found;
    if (int status = cmd_resolve_general(names[i], &found)) {
      imsg_print(IMSG_ERROR, "Cannot find \"%s\".\n", std::string(names[i]));
      return status;
    }
    out->push_back(Named{names[i], found.vob, found.dbid});
  }
  return TBS_ST_OK;
}

std::string First(const char* const* names, std::uint32_t count) {
  return names && count && names[0] ? names[0] : "(none)";
}

}  // namespace

int cmd_lock(cmd_lock_args_s* args) {
  return LocalCall("cmd_lock",
                   {args ? First(args->names, args->name_count) : "(null)",
                    args ? std::to_string(args->obsolete) : "(null)", args ? Text(args->comment) : "(null)",
                    args ? First(args->excluded_users, args->excluded_count) : "(null)"},
                   NonNull(args) && args->version == 1 && args->names && args->name_count != 0 &&
                       (args->excluded_count == 0 || args->excluded_users),
                   [&] {
    std::vector<std::string> excluded;
    for (std::uint32_t i = 0; i < args->excluded_count; ++i) {
      if (!args->excluded_users[i]) return TBS_ST_INVALID_ARG;
      excluded.push_back(args->excluded_users[i]);
    }
    std::vector<Named> objects;
    if (int status = ResolveAll(args->names, args->name_count, &objects)) return status;
    const int status = InStore([&](Store& s) {
      for (const Named& named : objects) Lock(s, NeedObject(s, named.vob, named.dbid), args->obsolete != 0,
                                              args->comment, excluded);
      return TBS_ST_OK;
    });
    if (status == TBS_ST_OK)
      for (const Named& named : objects) imsg_print(IMSG_NOTICE, "Locked \"%s\".\n", named.name);
    return status;
  });
}

int cmd_unlock(cmd_unlock_args_s* args) {
  return LocalCall("cmd_unlock",
                   {args ? First(args->names, args->name_count) : "(null)", args ? Text(args->comment) : "(null)"},
                   NonNull(args) && args->version == 1 && args->names && args->name_count != 0, [&] {
    std::vector<Named> objects;
    if (int status = ResolveAll(args->names, args->name_count, &objects)) return status;
    const int status = InStore([&](Store& s) {
      for (const Named& named : objects)
        if (!Unlock(s, NeedObject(s, named.vob, named.dbid), args->comment ? args->comment : ""))
          throw client_local::StoreError{TBS_ST_NOT_FOUND, "\"" + named.name + "\" is not locked."};
      return TBS_ST_OK;
    });
    if (status == TBS_ST_OK)
      for (const Named& named : objects) imsg_print(IMSG_NOTICE, "Unlocked \"%s\".\n", named.name);
    return status;
  });
}
