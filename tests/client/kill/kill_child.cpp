// The child the crash test kills: opens the home on disk and runs one
// operation over the files \public\kill\f0.c ... of the view v1.
//   kill_child HOME checkout|checkin|uncheckout COUNT
// Exit status: 0 done, 1 the operation failed, 2 bad usage or no store.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cmd_checkin.h"
#include "cmd_checkout.h"
#include "cmd_uncheckout.h"
#include "local/store.h"
#include "platform/pathmap.h"
#include "stg.h"

namespace {

// An argument block of the operation over the names.
template <typename Args>
Args Over(stg_area_t area, std::vector<const char*>& pnames) {
  Args args;
  args.area = area;
  args.pnames = pnames.data();
  args.pname_count = static_cast<std::uint32_t>(pnames.size());
  return args;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: kill_child HOME checkout|checkin|uncheckout COUNT\n");
    return 2;
  }
  plat::SetHome(argv[1]);
  std::string error;
  auto store = client_local::Store::OpenFile(std::filesystem::path(argv[1]) / "rvdlg.db", &error, 5000);
  if (!store) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  client_local::UseStore(std::move(store));
  const int count = std::atoi(argv[3]);
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back("\\\\view\\v1\\public\\kill\\f" + std::to_string(i) + ".c");
  std::vector<const char*> pnames;
  for (const auto& name : names) pnames.push_back(name.c_str());
  const stg_area_t area = stg_create_area(0);
  const std::string op = argv[2];
  int status = 2;
  if (op == "checkout") {
    auto args = Over<cmd_checkout_args_s>(area, pnames);
    args.reserved = 1;
    args.comment = "killed";
    args.comment_mode = CMD_CHECKOUT_COMMENT_GIVEN;
    status = cmd_checkout(&args) == 0 ? 0 : 1;
  } else if (op == "checkin") {
    auto args = Over<cmd_checkin_args_s>(area, pnames);
    args.comment = "killed";
    args.comment_mode = CMD_CHECKIN_COMMENT_GIVEN;
    status = cmd_checkin(&args) == 0 ? 0 : 1;
  } else if (op == "uncheckout") {
    auto args = Over<cmd_uncheckout_args_s>(area, pnames);
    args.keep = 1;
    args.rm = 0;
    status = cmd_uncheckout(&args) == 0 ? 0 : 1;
  }
  stg_delete_area(area);
  client_local::UseStore(nullptr);
  return status;
}
