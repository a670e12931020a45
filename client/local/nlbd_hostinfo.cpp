// Host information: this host from the machine facts, others from the store.
#include "nlbd_hostinfo.h"

#include <cstring>
#include <string>
#include <vector>

#include "local/local_call.h"
#include "local/vob_repo.h"
#include "platform/machine.h"
#include "platform/text.h"
#include "sysutl.h"

using client_local::InStore;
using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;
using client_local::repo::Text;

namespace {

char* Dup(const std::string& text) {
  char* copy = new char[text.size() + 1];
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}


}  // namespace

int sysutl_myhostname(char* out, std::size_t size) {
  if (!out || size == 0) return TBS_ST_INVALID_ARG;
  const std::string name = plat::MachineHostName();
  if (name.empty()) {
    out[0] = '\0';
    return TBS_ST_NOT_FOUND;
  }
  return client_local::repo::CopyOut(name, out, size);
}

int nlbd_hostinfo(const char* host, nlbd_hostinfo_t** info) {
  return LocalCall("nlbd_hostinfo", {Text(host)}, NonNull(host, info) && *host, [&] {
    *info = nullptr;
    const plat::MachineProfile machine = plat::MachineInfo();
    if (plat::IEquals(host, machine.host_name)) {
      auto* record = new nlbd_hostinfo_t;
      record->host = Dup(machine.host_name);
      record->os_name = Dup(machine.os_name.empty() ? "Linux" : machine.os_name);
      record->os_version = Dup(std::to_string(machine.os_major) + "." + std::to_string(machine.os_minor) + "." +
                               std::to_string(machine.os_build));
      record->options = Dup("");
      *info = record;
      return TBS_ST_OK;
    }
    return InStore([&](Store& s) {
      Statement read(s, "SELECT name, os, os_version, options FROM hosts WHERE name = ?1 COLLATE NOCASE");
      read.Bind(1, std::string(host));
      if (!read.Step()) return TBS_ST_NOT_FOUND;
      auto* record = new nlbd_hostinfo_t;
      record->host = Dup(read.Text(0));
      record->os_name = Dup(read.Text(1));
      record->os_version = Dup(read.Text(2));
      record->options = Dup(read.Text(3));
      *info = record;
      return TBS_ST_OK;
    });
  });
}

void nlbd_hostinfo_free(nlbd_hostinfo_t* info) {
  if (!info) return;
  delete[] info->host;
  delete[] info->os_name;
  delete[] info->os_version;
  delete[] info->options;
  delete info;
}

int nlbd_hostinfo_parse_opts(const nlbd_hostinfo_t* info, nlbd_hostinfo_opts_t** opts) {
  return LocalCall("nlbd_hostinfo_parse_opts", {}, NonNull(info, opts), [&] {
    *opts = nullptr;
    std::vector<std::pair<std::string, std::string>> pairs;
    const std::string all = info->options ? info->options : "";
    std::size_t start = 0;
    while (start <= all.size()) {
      std::size_t end = all.find(',', start);
      if (end == std::string::npos) end = all.size();
      const std::string option = all.substr(start, end - start);
      start = end + 1;
      if (option.empty()) continue;
      const std::size_t equals = option.find('=');
      const std::string key = option.substr(0, equals);
      if (key.empty()) return TBS_ST_INVALID_ARG;
      pairs.emplace_back(key, equals == std::string::npos ? "" : option.substr(equals + 1));
    }
    auto* result = new nlbd_hostinfo_opts_t;
    result->count = static_cast<std::uint32_t>(pairs.size());
    result->opts = new nlbd_hostinfo_opt_t[pairs.size() ? pairs.size() : 1];
    for (std::size_t i = 0; i < pairs.size(); ++i) {
      result->opts[i].key = Dup(pairs[i].first);
      result->opts[i].value = Dup(pairs[i].second);
    }
    *opts = result;
    return TBS_ST_OK;
  });
}

void nlbd_hostinfo_free_opts(nlbd_hostinfo_opts_t* opts) {
  if (!opts) return;
  for (std::uint32_t i = 0; i < opts->count; ++i) {
    delete[] opts->opts[i].key;
    delete[] opts->opts[i].value;
  }
  delete[] opts->opts;
  delete opts;
}

int nlbd_hostinfo_register(const char* host, const char* os_name, const char* os_version, const char* options) {
  return LocalCall("nlbd_hostinfo_register", {Text(host), Text(os_name), Text(os_version), Text(options)},
                   NonNull(host, os_name, os_version, options) && *host, [&] {
    if (plat::IEquals(host, plat::MachineHostName())) return TBS_ST_PERMISSION;
    return InStore([&](Store& s) {
      Statement write(s, "INSERT OR REPLACE INTO hosts (name, os, os_version, options) VALUES (?1, ?2, ?3, ?4)");
      write.Bind(1, std::string(host)).Bind(2, std::string(os_name)).Bind(3, std::string(os_version));
      write.Bind(4, std::string(options)).Run();
      return TBS_ST_OK;
    });
  });
}
