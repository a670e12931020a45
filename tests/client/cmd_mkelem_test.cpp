// The make-element command: what a view-private file or directory becomes,
// the stages it reports, the directories it checks out on the way, and
// every refusal or failure leaving the repository and the view as they were.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "cmd_checkout.h"
#include "cmd_utl.h"
#include "local/calllog.h"
#include "stg.h"
#include "flm.h"
#include "flm_admin.h"
#include "support/flm_sample.h"
#include "support/message_capture.h"
#include "support/repository.h"
#include "tbs.h"
#include "view.h"
#include "view_ws.h"
#include "vob.h"
#include "vob_ob.h"

namespace {

namespace fs = std::filesystem;
using client_local::CallLog;

struct Stage {
  std::string path;
  int stage;
  int directory;
  bool operator==(const Stage&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Stage& s) {
  return os << s.path << " " << s.stage << (s.directory ? " dir" : "");
}

struct Stages {
  std::vector<Stage> seen;
  int stop_at = -1;  // stop the command at this report

  static int Report(const char* path, int stage, int directory, void* context) {
    auto* self = static_cast<Stages*>(context);
    self->seen.push_back({path, stage, directory});
    return static_cast<int>(self->seen.size()) - 1 == self->stop_at ? 1 : 0;
  }
};

int MakeElement(stg_area_t area, const std::string& name, bool directory, int keep = 0, int preserve_time = 0,
                Stages* stages = nullptr) {
  const char* names[] = {name.c_str()};
  cmd_utl_mkelem_args_s args;
  args.area = area;
  args.pnames = names;
  args.pname_count = 1;
  args.checkin = 1 - keep;
  args.keep = keep;
  args.preserve_time = preserve_time;
  args.directory = directory ? 1 : 0;
  args.comment = "new work";
  if (stages) {
    args.progress = Stages::Report;
    args.progress_context = stages;
  }
  return cmd_utl_mkelem(&args, nullptr, nullptr);
}

class MakeElementCommand : public rv_test::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    area = stg_create_area(0);
  }
  void TearDown() override {
    stg_delete_area(area);
    ViewTest::TearDown();
  }

  int Make(const std::string& relative, int keep = 0, int preserve_time = 0, Stages* stages = nullptr) {
    return MakeElement(area, ViewName(relative), fs::is_directory(fs::symlink_status(File(relative))), keep,
                       preserve_time, stages);
  }
  static vob_dbid_t CheckedOut(const std::string& relative) { return CheckedOutAt(ViewName(relative)); }
  // The element's version the name selects, by its extended name.
  std::string Selected(const std::string& relative) {
    char tag[300];
    vob_handle_t found = 0;
    vob_dbid_t version = 0;
    if (view_ws_lookup_pn(ViewName(relative).c_str(), tag, sizeof tag, &found, &version) != 0) return "";
    char path[1100];
    return vob_obj_to_pname_flags(found, version, 0, path, sizeof path) == 0 ? path : "";
  }

  stg_area_t area = STG_NULL_AREA;
};

TEST_F(MakeElementCommand, AFileBecomesMain1WithItsBytesAndItsDirectoryStaysCheckedOut) {
  struct Case {
    const char* relative;
    int keep, preserve_time;
  };
  const std::string bytes = std::string("line 1\r\nbinary \0\xff end", 22);
  for (const Case& c : {Case{"public/src/extra.c", 0, 1}, Case{"public/src/kept.c", 1, 0},
                        Case{"public/src/has blank caf\xc3\xa9.c", 0, 0}}) {
    SCOPED_TRACE(c.relative);
    WritePrivate(c.relative, bytes);
    const auto old_time = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(File(c.relative), old_time);
    Stages stages;
    rv_test::MessageCapture messages;
    ASSERT_EQ(Make(c.relative, c.keep, c.preserve_time, &stages), 0) << messages.Text();
    EXPECT_EQ(Read(File(c.relative)), bytes);
    EXPECT_EQ(Writable(File(c.relative)), c.keep == 1);
    EXPECT_EQ(fs::last_write_time(File(c.relative)) == old_time, c.preserve_time == 1);
    EXPECT_EQ(State(ViewName(c.relative)), c.keep ? VIEW_FILE_CHECKED_OUT : VIEW_FILE_CHECKED_IN);
    const std::string element = "\\public\\src\\" + fs::path(c.relative).filename().string();
    EXPECT_EQ(Selected(c.relative), element + (c.keep ? "@@\\main\\CHECKEDOUT" : "@@\\main\\1"));
    EXPECT_NE(CheckedOut("public/src"), 0u);
    std::vector<Stage> expected;
    if (stages.seen.front().stage == 1) expected.push_back({"\\\\view\\v1\\public\\src", 1, 1});
    expected.push_back({ViewName(c.relative), 0, 0});
    expected.push_back({ViewName(c.relative), 1, 0});
    if (!c.keep) expected.push_back({ViewName(c.relative), 2, 0});
    EXPECT_EQ(stages.seen, expected);
  }
  // Only the first file found \src not checked out.
  ASSERT_EQ(vob_utl_uncheckout(vob, "\\src", "v1"), TBS_ST_OK);
}

TEST_F(MakeElementCommand, PrivateDirectoriesOnTheWayBecomeCheckedOutDirectoryElements) {
  WritePrivate("public/tools/sub/build.sh", "echo\n");
  WritePrivate("public/tools/other.txt", "stays private\n");
  Stages stages;
  rv_test::MessageCapture messages;
  ASSERT_EQ(Make("public/tools/sub/build.sh", 0, 0, &stages), 0) << messages.Text();
  const std::vector<Stage> expected = {
      {"\\\\view\\v1\\public", 1, 1},           {"\\\\view\\v1\\public\\tools", 0, 1},
      {"\\\\view\\v1\\public\\tools", 1, 1},    {"\\\\view\\v1\\public\\tools\\sub", 0, 1},
      {"\\\\view\\v1\\public\\tools\\sub", 1, 1}, {ViewName("public/tools/sub/build.sh"), 0, 0},
      {ViewName("public/tools/sub/build.sh"), 1, 0}, {ViewName("public/tools/sub/build.sh"), 2, 0},
  };
  EXPECT_EQ(stages.seen, expected);
  EXPECT_NE(CheckedOut("public/tools"), 0u);
  EXPECT_NE(CheckedOut("public/tools/sub"), 0u);
  EXPECT_EQ(State(ViewName("public/tools/sub/build.sh")), VIEW_FILE_CHECKED_IN);
  EXPECT_EQ(State(ViewName("public/tools/other.txt")), VIEW_FILE_PRIVATE);
  // A directory itself, holding a private file that stays so.
  WritePrivate("public/doc/drafts/one.txt", "draft\n");
  ASSERT_EQ(Make("public/doc/drafts"), 0);
  EXPECT_EQ(Selected("public/doc/drafts"), "\\public\\doc\\drafts@@\\main\\1");
  EXPECT_EQ(State(ViewName("public/doc/drafts/one.txt")), VIEW_FILE_PRIVATE);
}

TEST_F(MakeElementCommand, AParentReservedInAnotherViewIsCheckedOutUnreserved) {
  MakeView("v2", "element * CHECKEDOUT\nelement * \\main\\LATEST\n");
  ASSERT_EQ(cmd_utl_checkout(vob, src, "v2", 1, "", nullptr), 0);
  WritePrivate("public/src/extra.c", "x\n");
  ASSERT_EQ(Make("public/src/extra.c"), 0);
  vob_ckout_info_s info;
  ASSERT_EQ(vob_ver_get_ckout_info(vob, CheckedOut("public/src"), area, &info), 0);
  EXPECT_EQ(info.reserved, 0);
}

TEST_F(MakeElementCommand, RefusalsAndFailuresChangeNothing) {
  WritePrivate("public/src/extra.c", "extra\n");
  WritePrivate("top.txt", "outside every VOB\n");
  WritePrivate("public/src/a:b.c", "bad name\n");
  Write(home / "outside.txt", "not in the view\n");
  fs::create_symlink(home / "outside.txt", File("public/src/link.c"));
  ASSERT_EQ(::mkfifo(File("public/src/pipe").c_str(), 0644), 0);
  fs::permissions(File("public/src/hello.c"), fs::perms::owner_write, fs::perm_options::add);
  Write(File("public/src/hello.c"), "hijacked\n");
  struct Case {
    const char* relative;
    const char* fail;  // a call made to fail, or null
    int status;
    const char* message;
  };
  const Case cases[] = {
      {"public/src/util.c", nullptr, TBS_ST_ALREADY, "is already an element"},
      {"public/src/hello.c", nullptr, TBS_ST_ALREADY, "is already an element"},
      {"public/src/missing.c", nullptr, TBS_ST_NOT_FOUND, "Unable to find"},
      {"public/src/link.c", nullptr, TBS_ST_WRONG_KIND, "symbolic link"},
      {"public/src/pipe", nullptr, TBS_ST_WRONG_KIND, "special file"},
      {"top.txt", nullptr, TBS_ST_NOT_FOUND, "is in no VOB"},
      {"public/src/a:b.c", nullptr, TBS_ST_INVALID_ARG, "is not a valid element name"},
      {"public/src/extra.c", "view_inval_obj", TBS_ST_FAILURE, "injected"},
      {"public/src/extra.c", "vob_mkelem", TBS_ST_FAILURE, "injected"},
  };
  const auto old_time = fs::last_write_time(File("public/src/extra.c"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.relative);
    if (c.fail) CallLog::InjectFailure(c.fail, rv_test::Failing(TBS_ST_FAILURE, "injected"));
    Stages stages;
    rv_test::MessageCapture messages;
    EXPECT_EQ(Make(c.relative, 0, 0, &stages), c.status);
    EXPECT_NE(messages.Text().find(c.message), std::string::npos) << messages.Text();
    CallLog::ClearFailures();
    ASSERT_FALSE(stages.seen.empty());
    EXPECT_EQ(stages.seen.back(), (Stage{ViewName(c.relative), 3, 0}));
    EXPECT_EQ(CheckedOut("public/src"), 0u);
    EXPECT_EQ(Read(home / "outside.txt"), "not in the view\n");
  }
  EXPECT_EQ(State(ViewName("public/src/extra.c")), VIEW_FILE_PRIVATE);
  EXPECT_TRUE(Writable(File("public/src/extra.c")));
  EXPECT_EQ(fs::last_write_time(File("public/src/extra.c")), old_time);
  EXPECT_EQ(State(ViewName("public/src/hello.c")), VIEW_FILE_HIJACKED);
}

TEST_F(MakeElementCommand, StoppingAtAnyStageLeavesNothing) {
  WritePrivate("public/tools/build.sh", "echo\n");
  for (int stop_at = 0; stop_at < 6; ++stop_at) {
    SCOPED_TRACE(stop_at);
    Stages stages;
    stages.stop_at = stop_at;
    EXPECT_EQ(Make("public/tools/build.sh", 0, 0, &stages), TBS_ST_INTERRUPTED);
    EXPECT_EQ(CheckedOut("public"), 0u);
    EXPECT_EQ(State(ViewName("public/tools/build.sh")), VIEW_FILE_PRIVATE);
    EXPECT_TRUE(Writable(File("public/tools/build.sh")));
  }
}

TEST_F(MakeElementCommand, ABadBlockIsRefused) {
  WritePrivate("public/src/extra.c", "x\n");
  const std::string name = ViewName("public/src/extra.c");
  const char* names[] = {name.c_str()};
  cmd_utl_mkelem_args_s good;
  good.area = area;
  good.pnames = names;
  good.pname_count = 1;
  cmd_utl_mkelem_args_s bad[4] = {good, good, good, good};
  bad[0].version = 8;
  bad[1].area = STG_NULL_AREA;
  bad[2].pname_count = 0;
  bad[3].comment_mode = 7;
  for (auto& args : bad) EXPECT_EQ(cmd_utl_mkelem(&args, nullptr, nullptr), TBS_ST_INVALID_ARG);
  EXPECT_EQ(cmd_utl_mkelem(nullptr, nullptr, nullptr), TBS_ST_INVALID_ARG);
  EXPECT_EQ(State(name), VIEW_FILE_PRIVATE);
}

// In a stream view the new element's versions and its directory's check-out
// join the view's current activity; with none current nothing is made.
class StreamViewAdd : public rv_test::FlmSampleTest {};

TEST_F(StreamViewAdd, TheNewVersionsJoinTheCurrentActivityOrWithoutOneNothingIsMade) {
  const stg_area_t area = stg_create_area(0);
  rv_test::MessageCapture messages;
  Write(File("public/src/extra.c"), "x\n");
  FLM_VersionList before;
  ASSERT_EQ(fix.change_set(&before), 0);
  ASSERT_EQ(MakeElement(area, ViewName("public/src/extra.c"), false), 0) << messages.Text();
  FLM_VersionList after;
  ASSERT_EQ(fix.change_set(&after), 0);
  EXPECT_EQ(after.length(), before.length() + 2) << "the directory's check-out and extra.c's first version";

  ASSERT_EQ(flm_admin_set_view_stream("v1", hello_dev, FLM_Activity()), 0);
  Write(File("public/src/more.c"), "y\n");
  EXPECT_EQ(MakeElement(area, ViewName("public/src/more.c"), false), TBS_ST_FAILURE);
  EXPECT_NE(messages.Text().find("View \"v1\" has no current activity"), std::string::npos) << messages.Text();
  EXPECT_EQ(State(ViewName("public/src/more.c")), VIEW_FILE_PRIVATE);
  EXPECT_TRUE(Writable(File("public/src/more.c")));
  stg_delete_area(area);
}

}  // namespace
