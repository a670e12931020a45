// Opening a home: the pathname mapping, the settings and the store.
#include "rvcmndlg/home.h"

#include <atomic>
#include <filesystem>
#include <system_error>

#include "local/store.h"
#include "platform/pathmap.h"
#include "platform/registry.h"

namespace rvcmndlg {

namespace {
std::atomic<bool> g_open{false};
}  // namespace

std::unique_ptr<Home> Home::Open(const std::string& directory, std::string* error) {
  std::string ignored;
  if (!error) error = &ignored;
  if (directory.empty()) {
    *error = "no home directory was given";
    return nullptr;
  }
  if (g_open.exchange(true)) {
    *error = "another home is open in this process";
    return nullptr;
  }
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(directory, ec);
  if (ec) {
    *error = "cannot use the home directory '" + directory + "': " + ec.message();
    g_open = false;
    return nullptr;
  }
  auto store = client_local::Store::OpenFile(fs::path(directory) / "rvdlg.db", error);
  if (!store) {
    g_open = false;
    return nullptr;
  }
  if (auto status = plat::Registry::UseDirectory(fs::path(directory) / "config"); !status) {
    *error = status.message;
    g_open = false;
    return nullptr;
  }
  plat::SetHome(directory);
  client_local::UseStore(std::move(store));
  return std::unique_ptr<Home>(new Home(directory));
}

Home::~Home() {
  client_local::UseStore(nullptr);
  g_open = false;
}

}  // namespace rvcmndlg
