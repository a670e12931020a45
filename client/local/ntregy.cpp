#include "ntregy.h"

#include <cstring>
#include <string>

#include "local/local_call.h"
#include "local/store.h"
#include "tbs.h"

using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;

const char* ntregy_get_common_key() { return "\\Software\\Norvane\\Strata"; }

int ntregy_get_param(int param, char* buffer, std::size_t size) {
  return LocalCall("ntregy_get_param", {std::to_string(param), std::to_string(size)},
                   NonNull(buffer) && size != 0, [&] {
    Store* store = client_local::CurrentStore();
    if (!store) return TBS_ST_NOT_FOUND;
    std::string value;
    bool found = false;
    const int status = store->Command([&](Store& s) {
      Statement read(s, "SELECT value FROM params WHERE number = ?1");
      read.Bind(1, param);
      found = read.Step();
      if (found) value = read.Text(0);
      return TBS_ST_OK;
    });
    if (status != TBS_ST_OK) return status;
    if (!found) return TBS_ST_NOT_FOUND;
    if (value.size() + 1 > size) return TBS_ST_FAILURE;
    std::memcpy(buffer, value.c_str(), value.size() + 1);
    return TBS_ST_OK;
  });
}

int ntregy_set_param(int param, const char* value) {
  return LocalCall("ntregy_set_param", {std::to_string(param), value ? value : "(null)"}, NonNull(value),
                   [&](Store& s) {
    Statement write(s, "INSERT INTO params (number, value) VALUES (?1, ?2)"
                       " ON CONFLICT (number) DO UPDATE SET value = excluded.value");
    write.Bind(1, param).Bind(2, value).Run();
    return TBS_ST_OK;
  });
}

namespace {

bool IsTag(const char* tag) { return tag && *tag; }

}  // namespace

int ntregy_add_persistent_vob(const char* tag) {
  return LocalCall("ntregy_add_persistent_vob", {tag ? tag : "(null)"}, IsTag(tag), [&](Store& s) {
    Statement(s, "INSERT OR IGNORE INTO persistent_vobs (tag) VALUES (?1)").Bind(1, tag).Run();
    return TBS_ST_OK;
  });
}

int ntregy_remove_persistent_vob(const char* tag) {
  return LocalCall("ntregy_remove_persistent_vob", {tag ? tag : "(null)"}, IsTag(tag), [&](Store& s) {
    Statement(s, "DELETE FROM persistent_vobs WHERE tag = ?1").Bind(1, tag).Run();
    return TBS_ST_OK;
  });
}

int ntregy_get_persistent_vobs(std::vector<std::string>* tags) {
  return LocalCall("ntregy_get_persistent_vobs", {}, NonNull(tags), [&](Store& s) {
    std::vector<std::string> found;
    Statement read(s, "SELECT tag FROM persistent_vobs ORDER BY rowid");
    while (read.Step()) found.push_back(read.Text(0));
    *tags = std::move(found);
    return TBS_ST_OK;
  });
}
