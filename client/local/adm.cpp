#include "adm.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "local/local_call.h"
#include "local/store.h"
#include "tbs.h"

using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;

namespace {

// The driver's defaults: cache sizes and timeouts in the driver's own units;
// the last words are reserved and zero.
constexpr std::uint32_t kDefaults[ADM_RVFS_TUNABLE_COUNT] = {
    4096, 1024, 512, 256, 128, 30, 60, 3, 60, 1800, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
};

}  // namespace

int adm_rvfs_get_tunables(adm_rvfs_tunables_t* tunables) {
  return LocalCall("adm_rvfs_get_tunables", {}, NonNull(tunables), [&] {
    adm_rvfs_tunables_t result{};
    for (int i = 0; i < ADM_RVFS_TUNABLE_COUNT; ++i) result.words[i] = kDefaults[i];
    if (Store* store = client_local::CurrentStore()) {
      const int status = store->Command([&](Store& s) {
        Statement read(s, "SELECT number, value FROM rvfs_tunables");
        while (read.Step()) {
          const auto index = read.Int(0);
          if (index >= 0 && index < ADM_RVFS_TUNABLE_COUNT)
            result.words[index] = static_cast<std::uint32_t>(read.Int(1));
        }
        return TBS_ST_OK;
      });
      if (status) return status;
    }
    *tunables = result;
    return TBS_ST_OK;
  });
}

int adm_rvfs_set_tunable(int index, std::uint32_t value) {
  return LocalCall("adm_rvfs_set_tunable", {std::to_string(index), std::to_string(value)},
                   index >= 0 && index < ADM_RVFS_TUNABLE_COUNT, [&](Store& s) {
    Statement write(s, "INSERT INTO rvfs_tunables (number, value) VALUES (?1, ?2)"
                       " ON CONFLICT (number) DO UPDATE SET value = excluded.value");
    write.Bind(1, index).Bind(2, static_cast<std::int64_t>(value)).Run();
    return TBS_ST_OK;
  });
}

int adm_clnt_list_get(adm_clnt_list_t** list) {
  return LocalCall("adm_clnt_list_get", {}, NonNull(list), [&](Store& s) {
    *list = nullptr;
    std::vector<std::string> names;
    Statement read(s, "SELECT name FROM hosts UNION SELECT host FROM nlbd_ports ORDER BY 1 COLLATE NOCASE");
    while (read.Step()) names.push_back(read.Text(0));
    auto result = std::make_unique<adm_clnt_list_t>();
    result->names = new char*[names.size()]();
    for (const std::string& name : names) {
      result->names[result->count] = new char[name.size() + 1];
      std::memcpy(result->names[result->count++], name.c_str(), name.size() + 1);
    }
    *list = result.release();
    return TBS_ST_OK;
  });
}

void adm_clnt_list_free(adm_clnt_list_t* list) {
  if (!list) return;
  for (std::uint32_t i = 0; i < list->count; ++i) delete[] list->names[i];
  delete[] list->names;
  delete list;
}
