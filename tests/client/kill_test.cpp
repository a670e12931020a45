// Crash consistency: a child process runs a check-out, a check-in of edited
// files or an undo check-out keeping the edits, over many files of a home on
// disk, and is killed with SIGKILL at a seeded random moment. Afterwards the
// store and the view's directory agree and every edit is still there, in the
// view's file or its ".keep" copy. RV_KILL_FILES (100), RV_KILL_MOMENTS (10)
// and RV_KILL_SEED (1) set the run; the full run is 1000 files, 20 moments.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "cmd_checkout.h"
#include "local/store.h"
#include "platform/pathmap.h"
#include "rgy.h"
#include "stg.h"
#include "support/message_capture.h"
#include "support/repository.h"
#include "support/scratch_home.h"
#include "view.h"
#include "view_check.h"

namespace {

namespace fs = std::filesystem;
using client_local::Store;

int Setting(const char* name, int fallback) {
  const char* text = std::getenv(name);
  return text && std::atoi(text) > 0 ? std::atoi(text) : fallback;
}

std::string Name(int i) { return "\\\\view\\v1\\public\\kill\\f" + std::to_string(i) + ".c"; }
std::string Edit(int i) { return "edit of " + std::to_string(i) + "\n"; }

// The store of a home in force while alive, and the home its files map into.
class HomeInUse {
 public:
  explicit HomeInUse(const fs::path& home) {
    plat::SetHome(home);
    std::string error;
    auto store = Store::OpenFile(home / "rvdlg.db", &error, 5000);
    EXPECT_TRUE(store) << error;
    previous_ = client_local::UseStore(std::move(store));
  }
  ~HomeInUse() { client_local::UseStore(std::move(previous_)); }
  HomeInUse(const HomeInUse&) = delete;
  HomeInUse& operator=(const HomeInUse&) = delete;

 private:
  std::unique_ptr<Store> previous_;
};

struct Operation {
  const char* name;
  bool edits;  // the files start checked out with edits
};

class KillTest : public ::testing::Test {
 protected:
  // The sample and COUNT files in the view v1, checked out with edits when asked.
  void MakeHome(const fs::path& home, int count, bool edits) {
    fs::create_directories(home);
    HomeInUse use(home);
    Store& store = *client_local::CurrentStore();
    store.Exec("PRAGMA synchronous = OFF");  // only the child is killed, never the machine
    ASSERT_EQ(rgy_add_region("test", "test region"), 0);
    ASSERT_EQ(rgy_set_default_region("test"), 0);
    rv_test::SampleRepository sample;
    sample.Build();
    ASSERT_EQ(view_create("v1", 0, "killed"), 0);
    ASSERT_EQ(store.Begin(), 0);
    rv_test::RepositoryBuilder build(sample.vob);
    build.Element("\\kill", true);
    for (int i = 0; i < count; ++i)
      build.Version(build.Element("\\kill\\f" + std::to_string(i) + ".c"), "\\public\\kill\\f" + std::to_string(i) + ".c",
                    "version of " + std::to_string(i) + "\n");
    ASSERT_EQ(store.End(true), 0);
    view_handle_t view = 0;
    ASSERT_EQ(view_get_handle_by_tag("v1", &view), 0);
    ASSERT_EQ(view_inval_view(view), 0);
    view_free_handle(view);
    if (!edits) return;
    std::vector<std::string> names;
    std::vector<const char*> pnames;
    for (int i = 0; i < count; ++i) names.push_back(Name(i));
    for (const auto& name : names) pnames.push_back(name.c_str());
    const stg_area_t area = stg_create_area(0);
    cmd_checkout_args_s args;
    args.area = area;
    args.pnames = pnames.data();
    args.pname_count = static_cast<std::uint32_t>(pnames.size());
    args.reserved = 1;
    rv_test::MessageCapture quiet;
    ASSERT_EQ(cmd_checkout(&args), 0) << quiet.Text();
    stg_delete_area(area);
    for (int i = 0; i < count; ++i) rv_test::WriteFile(File(home, i), Edit(i));
  }

  static fs::path File(const fs::path& home, int i) {
    return home / "views" / "v1" / "public" / "kill" / ("f" + std::to_string(i) + ".c");
  }

  // Runs the child on the home; kills it after the delay (none: lets it end).
  static int RunChild(const fs::path& home, const char* op, int count, std::chrono::microseconds delay,
                      bool kill_it) {
    const std::string count_text = std::to_string(count), home_text = home.string();
    const pid_t pid = ::fork();
    if (pid == 0) {
      // The notices of a thousand files stay out of the test's output.
      const int quiet = ::open("/dev/null", O_WRONLY);
      if (quiet >= 0) ::dup2(quiet, STDOUT_FILENO);
      ::execl(RV_KILL_CHILD, RV_KILL_CHILD, home_text.c_str(), op, count_text.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    if (kill_it) {
      std::this_thread::sleep_for(delay);
      ::kill(pid, SIGKILL);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
  }

  // What is wrong with the home after the child: disagreements, lost edits.
  static std::vector<std::string> Problems(const fs::path& home, int count, bool edits) {
    std::vector<std::string> problems;
    HomeInUse use(home);
    view_check_result_t check;
    if (view_check_views(0, &check) != 0) problems.push_back("the check did not run");
    for (const auto& d : check.findings) problems.push_back(d.path + ": " + view_check_kind_text(d.kind));
    for (int i = 0; edits && i < count; ++i) {
      const fs::path file = File(home, i), keep = fs::path(file.string() + ".keep");
      if (rv_test::ReadFile(file) != Edit(i) && !(fs::exists(keep) && rv_test::ReadFile(keep) == Edit(i)))
        problems.push_back(file.filename().string() + ": the edit is lost");
    }
    return problems;
  }

  rv_test::ScratchHome scratch_{"rv-kill"};
};

TEST_F(KillTest, AKilledOperationLeavesTheStoreAndTheViewAgreeingAndNoEditLost) {
  const int count = Setting("RV_KILL_FILES", 100);
  const int moments = Setting("RV_KILL_MOMENTS", 10);
  std::mt19937 random(static_cast<std::mt19937::result_type>(Setting("RV_KILL_SEED", 1)));
  const Operation operations[] = {{"checkout", false}, {"checkin", true}, {"uncheckout", true}};
  for (const Operation& op : operations) {
    SCOPED_TRACE(op.name);
    const fs::path start = scratch_.Path() / (std::string(op.name) + "-start");
    MakeHome(start, count, op.edits);
    if (HasFatalFailure()) return;
    // A clean run first: it must end well, and its length bounds the moments.
    const fs::path clean = scratch_.Path() / (std::string(op.name) + "-clean");
    fs::copy(start, clean, fs::copy_options::recursive);
    const auto began = std::chrono::steady_clock::now();
    const int status = RunChild(clean, op.name, count, {}, false);
    const auto length =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - began);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the clean run ended with " << status;
    EXPECT_EQ(Problems(clean, count, op.edits), std::vector<std::string>{});
    int killed = 0, agreed = 0;
    std::uniform_int_distribution<long> when(0, static_cast<long>(length.count()));
    for (int m = 0; m < moments; ++m) {
      const fs::path home = scratch_.Path() / (std::string(op.name) + "-" + std::to_string(m));
      fs::copy(start, home, fs::copy_options::recursive);
      const std::chrono::microseconds delay(when(random));
      const int ended = RunChild(home, op.name, count, delay, true);
      killed += WIFSIGNALED(ended) ? 1 : 0;
      const auto problems = Problems(home, count, op.edits);
      agreed += problems.empty() ? 1 : 0;
      EXPECT_EQ(problems, std::vector<std::string>{}) << "killed after " << delay.count() << " us";
      fs::remove_all(home);
    }
    std::printf("kill: %s: %d files, %d moments (%d killed mid-run), %d agreed, clean run %ld ms\n", op.name,
                count, moments, killed, agreed, static_cast<long>(length.count() / 1000));
  }
}

}  // namespace
