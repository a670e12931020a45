#pragma once
// The one shape of a call of the local implementation:
//
//   return LocalCall("vob_get_uuid", {Num(vob)}, NonNull(uuid), [&](Store& s) { ... });
//
// opens the call's entry in the call log, returns an injected failure, refuses
// arguments that fail the check with TBS_ST_INVALID_ARG, then runs the work
// and records the status it returns. Work that takes a Store runs in one
// command of the store in force (TBS_ST_FAILURE without one); work that takes
// nothing does not need the store, or opens its commands itself (InStore).
// A call whose result is not a status hands it out through a variable the
// work sets.
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "local/calllog.h"
#include "local/store.h"
#include "tbs.h"

namespace client_local {

// Whether every pointer is set: the usual argument check of a call.
template <class... Pointers>
constexpr bool NonNull(const Pointers*... pointers) {
  return ((pointers != nullptr) && ...);
}

template <class Work>
int LocalCall(const char* name, std::vector<std::string> args, bool args_valid, Work&& work) {
  CallLog::Call call(name, std::move(args));
  if (call.Failed()) return call.Status();
  if (!args_valid) return call.Return(TBS_ST_INVALID_ARG);
  if constexpr (std::is_invocable_v<Work&, Store&>)
    return call.Return(InStore(work));
  else
    return call.Return(work());
}

}  // namespace client_local
