#include "clp.h"

#include <mutex>

#include "local/local_call.h"
#include "local/store.h"
#include "local/usage.h"
#include "tbs.h"

using client_local::LocalCall;
using client_local::NonNull;
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

// Usage data goes into the store when one is in force, else into memory.
int Append(UsageRecord record) {
  if (client_local::Store* store = client_local::CurrentStore()) {
    return store->Command([&](client_local::Store& s) {
      client_local::Statement insert(s, "INSERT INTO usage (event, is_text, number, text) VALUES (?1, ?2, ?3, ?4)");
      insert.Bind(1, record.event).Bind(2, record.is_text ? 1 : 0).Bind(3, record.number).Bind(4, record.text).Run();
      return TBS_ST_OK;
    });
  }
  Usage& usage = TheUsage();
  std::lock_guard lock(usage.mutex);
  usage.log.push_back(std::move(record));
  return TBS_ST_OK;
}

}  // namespace

int clp_collectdatai(const char* event, long value) {
  return LocalCall("clp_collectdatai", {event ? event : "(null)", std::to_string(value)},
                   NonNull(event) && *event, [&] {
    return Append(UsageRecord{event, false, value, {}});
  });
}

int clp_collectdatas(const char* event, const char* value) {
  return LocalCall("clp_collectdatas", {event ? event : "(null)", value ? value : "(null)"},
                   NonNull(event, value) && *event, [&] {
    return Append(UsageRecord{event, true, 0, value});
  });
}

namespace client_local {

std::vector<UsageRecord> UsageLog() {
  if (Store* store = CurrentStore()) {
    std::vector<UsageRecord> out;
    store->Command([&](Store& s) {
      Statement read(s, "SELECT event, is_text, number, text FROM usage ORDER BY id");
      while (read.Step()) out.push_back(UsageRecord{read.Text(0), read.Int(1) != 0, static_cast<long>(read.Int(2)), read.Text(3)});
      return TBS_ST_OK;
    });
    return out;
  }
  Usage& usage = TheUsage();
  std::lock_guard lock(usage.mutex);
  return usage.log;
}

void ClearUsageLog() {
  if (Store* store = CurrentStore()) store->Command([](Store& s) {
      s.Exec("DELETE FROM usage");
      return TBS_ST_OK;
    });
  Usage& usage = TheUsage();
  std::lock_guard lock(usage.mutex);
  usage.log.clear();
}

}  // namespace client_local
