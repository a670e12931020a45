#include "ntcs.h"

#include "local/calllog.h"
#include "platform/sync.h"
#include "tbs.h"

using client_local::CallLog;

namespace {

plat::RecursiveLock& ClientLock() {
  static plat::RecursiveLock lock;
  return lock;
}

}  // namespace

// The lock cannot fail: an injected failure only adds its messages.
void nt_enter_critical_section() {
  ClientLock().Lock();
  CallLog::Call call("nt_enter_critical_section", {});
  call.Return(TBS_ST_OK);
}

int nt_leave_critical_section() {
  CallLog::Call call("nt_leave_critical_section", {});
  // Unlocking a lock another thread holds would break it for its owner.
  if (!ClientLock().HeldByCurrentThread()) return call.Return(TBS_ST_INVALID_ARG);
  ClientLock().Unlock();
  return call.Return(TBS_ST_OK);
}

int nt_critical_section_held() { return ClientLock().HeldByCurrentThread() ? 1 : 0; }

int nt_critical_section_depth() { return ClientLock().Depth(); }
