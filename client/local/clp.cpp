#include "clp.h"

#include <mutex>

#include "local/calllog.h"
#include "local/usage.h"
#include "tbs.h"

using client_local::CallLog;
using client_local::UsageRecord;

namespace {

struct Usage {
  std::mutex mutex;
  std::vector<UsageRecord> log;
};

Usage& TheUsage() {
  static Usage usage;
  return usage;
}

int Append(UsageRecord record) {
  Usage& usage = TheUsage();
  std::lock_guard lock(usage.mutex);
  usage.log.push_back(std::move(record));
  return TBS_ST_OK;
}

}  // namespace

int clp_collectdatai(const char* event, long value) {
  CallLog::Call call("clp_collectdatai", {event ? event : "(null)", std::to_string(value)});
  if (call.Failed()) return call.Status();
  if (!event || !*event) return call.Return(TBS_ST_INVALID_ARG);
  return call.Return(Append(UsageRecord{event, false, value, {}}));
}

int clp_collectdatas(const char* event, const char* value) {
  CallLog::Call call("clp_collectdatas", {event ? event : "(null)", value ? value : "(null)"});
  if (call.Failed()) return call.Status();
  if (!event || !*event || !value) return call.Return(TBS_ST_INVALID_ARG);
  return call.Return(Append(UsageRecord{event, true, 0, value}));
}

namespace client_local {

std::vector<UsageRecord> UsageLog() {
  Usage& usage = TheUsage();
  std::lock_guard lock(usage.mutex);
  return usage.log;
}

void ClearUsageLog() {
  Usage& usage = TheUsage();
  std::lock_guard lock(usage.mutex);
  usage.log.clear();
}

}  // namespace client_local
