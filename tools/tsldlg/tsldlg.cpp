// tsldlg's mastership requests.
#include "tsldlg.h"

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>

#include "imsg_redirect_scope.h"
#include "local/store.h"
#include "platform/pathmap.h"
#include "tbs.h"
#include "tsl.h"

namespace tsldlg {

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage = "usage: tsldlg [--home DIR] /reqmaster /objects OBJ... /RFMProgress";

int Usage(std::ostream& err, const std::string& why) {
  err << "tsldlg: " << why << "\n" << kUsage << "\n";
  return 2;
}

// Sends each request; 1 when an object names no branch.
int RequestAll(const std::vector<std::string>& objects, std::ostream& out, std::ostream& err) {
  int status = 0;
  imsg_redirect_scope quiet([](void*, int, const char*) {}, nullptr);  // one line of the tool's own per object
  for (const std::string& object : objects) {
    char replica[300];
    if (tsl_request_mastership(object.c_str(), replica, sizeof replica) != TBS_ST_OK) {
      err << "tsldlg: \"" << object << "\" names no branch: no mastership requested\n";
      status = 1;
      continue;
    }
    out << "tsldlg: mastership of " << object << " requested from replica " << replica << "\n";
  }
  return status;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string home = plat::DefaultHome();
  std::size_t i = 0;
  while (i < args.size() && args[i] == "--home") {
    if (i + 1 >= args.size() || args[i + 1].empty()) return Usage(err, "--home needs a directory");
    home = args[i + 1];
    i += 2;
  }
  if (i >= args.size() || args[i] != "/reqmaster") return Usage(err, "only /reqmaster is provided here");
  if (++i >= args.size() || args[i] != "/objects") return Usage(err, "/reqmaster needs /objects");
  std::vector<std::string> objects;
  for (++i; i < args.size() && args[i] != "/RFMProgress"; ++i) objects.push_back(args[i]);
  if (i + 1 != args.size()) return Usage(err, "the objects end with /RFMProgress, the last argument");
  if (objects.empty()) return Usage(err, "no object given");
  const fs::path database = fs::path(home) / "rvdlg.db";
  std::error_code error;
  if (!fs::is_regular_file(database, error)) {
    err << "tsldlg: there is no repository in " << home << " ('rvdlg init' makes one)\n";
    return 1;
  }
  std::string why;
  auto store = plat::SetHome(home) ? client_local::Store::OpenFile(database, &why) : nullptr;
  if (!store) {
    err << "tsldlg: " << (why.empty() ? "cannot use the home directory '" + home + "'" : why) << "\n";
    return 1;
  }
  client_local::UseStore(std::move(store));
  const int status = RequestAll(objects, out, err);
  out << std::flush;
  client_local::UseStore(nullptr);
  return status;
}

}  // namespace tsldlg
