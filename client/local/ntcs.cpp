#include "ntcs.h"

#include "local/local_call.h"
#include "platform/sync.h"
#include "tbs.h"

using client_local::LocalCall;

namespace {

plat::RecursiveLock& ClientLock() {
  static plat::RecursiveLock lock;
  return lock;
}

}  // namespace

// The lock cannot fail: an injected failure only adds its messages (and
// its status to the log).
void nt_enter_critical_section() {
  ClientLock().Lock();
  LocalCall("nt_enter_critical_section", {}, true, [] { return TBS_ST_OK; });
}

int nt_leave_critical_section() {
  // Unlocking a lock another thread holds would break it for its owner.
  const bool held = ClientLock().HeldByCurrentThread();
  LocalCall("nt_leave_critical_section", {}, held, [] { return TBS_ST_OK; });
  if (!held) return TBS_ST_INVALID_ARG;
  ClientLock().Unlock();
  return TBS_ST_OK;
}

int nt_critical_section_held() { return ClientLock().HeldByCurrentThread() ? 1 : 0; }

int nt_critical_section_depth() { return ClientLock().Depth(); }
