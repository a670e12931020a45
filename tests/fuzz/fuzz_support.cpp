// What the fuzz targets share: the registry of targets and the scratch store.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "fuzz_store.h"
#include "fuzz_target.h"
#include "local/store.h"
#include "platform/pathmap.h"
#include "view.h"
#include "vob.h"

namespace rv_fuzz {

std::map<std::string, Target>& Targets() {
  static auto* targets = new std::map<std::string, Target>();
  return *targets;
}

bool Register(const char* name, Target target) {
  Targets()[name] = target;
  return true;
}

void UseScratchStore() {
  static const bool made = [] {
    const auto home = std::filesystem::temp_directory_path() / ("rv-fuzz-home-" + std::to_string(::getpid()));
    std::filesystem::create_directories(home);
    static const std::filesystem::path removed = home;
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(removed, ignored);
    });
    RV_FUZZ_CHECK(plat::SetHome(home));
    client_local::UseStore(client_local::Store::OpenMemory());
    vob_handle_t vob = 0;
    vob_dbid_t dbid = 0;
    RV_FUZZ_CHECK(vob_create("\\fz", "", &vob) == 0);
    RV_FUZZ_CHECK(vob_mkelem(vob, "\\src", 1, "", &dbid) == 0);
    RV_FUZZ_CHECK(vob_mkelem(vob, "\\src\\a.c", 0, "", &dbid) == 0);
    RV_FUZZ_CHECK(vob_mktype(vob, VOB_MTYPE_LBTYPE, "REL1", "", &dbid) == 0);
    RV_FUZZ_CHECK(view_create("fz_view", 0, "") == 0);
    return true;
  }();
  (void)made;
}

}  // namespace rv_fuzz
