// The check-in command: the version it makes from the view's file, the file
// it leaves, what it refuses, and every failure leaving the repository and
// the view's file as they were.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "cmd_checkin.h"
#include "cmd_checkout.h"
#include "cmd_merge.h"
#include "local/calllog.h"
#include "stg.h"
#include "support/message_capture.h"
#include "support/repository.h"
#include "tbs.h"
#include "view.h"
#include "view_ws.h"
#include "vob.h"

namespace {

namespace fs = std::filesystem;
using client_local::CallLog;

constexpr const char* kHello = "\\\\view\\v1\\public\\src\\hello.c";
constexpr const char* kSrc = "\\\\view\\v1\\public\\src";

struct Ask {
  const char* comment = "my change";
  int identical = 0;
  int preserve_time = 0;
};

class CheckinCommand : public rv_test::ViewTest {
 protected:
  explicit CheckinCommand(bool store_in_file = false) : ViewTest(store_in_file) {}
  void SetUp() override {
    ViewTest::SetUp();
    area = stg_create_area(0);
  }
  void TearDown() override {
    stg_delete_area(area);
    ViewTest::TearDown();
  }
  int CheckOut(const char* name, int reserved = 1) {
    const char* names[] = {name};
    cmd_checkout_args_s args;
    args.area = area;
    args.pnames = names;
    args.pname_count = 1;
    args.reserved = reserved;
    args.unreserved = 1;
    return cmd_checkout(&args);
  }
  int CheckIn(const char* name, const Ask& ask = {}) {
    const char* names[] = {name};
    cmd_checkin_args_s args;
    args.area = area;
    args.pnames = names;
    args.pname_count = 1;
    args.identical = ask.identical;
    args.preserve_time = ask.preserve_time;
    args.comment = ask.comment;
    args.comment_mode = ask.comment && *ask.comment ? CMD_CHECKIN_COMMENT_GIVEN : CMD_CHECKIN_COMMENT_NONE;
    return cmd_checkin(&args);
  }
  // The version the view selects for the name, and whether it is checked out.
  static vob_dbid_t Selected(const char* name, int* checked_out = nullptr) {
    char tag[300];
    vob_handle_t found = 0;
    vob_dbid_t version = 0;
    int out = 0;
    if (view_ws_lookup_pn(name, tag, sizeof tag, &found, &version) != 0) return 0;
    vob_ver_is_checked_out(found, version, &out);
    if (checked_out) *checked_out = out;
    return version;
  }
  // The object's last event: kind and comment.
  std::pair<std::string, std::string> LastEvent(vob_dbid_t object) {
    vob_eventh_t event = 0, last = 0;
    while (vob_obj_next_evenths(vob, object, &event) == 0) last = event;
    vob_event_info_s info;
    if (!last || vob_event_get_info(vob, last, area, &info) != 0) return {};
    return {info.kind ? info.kind : "", info.comment ? info.comment : ""};
  }
  void EditHello(const std::string& text) {
    ASSERT_EQ(CheckOut(kHello), 0);
    Write(File("public/src/hello.c"), text);
  }

  stg_area_t area = STG_NULL_AREA;
};

TEST_F(CheckinCommand, TheFileBecomesTheNextVersionReadOnlyWithTheCommentInItsEvent) {
  struct Case {
    const char* comment;
    int preserve_time;
  };
  const Case cases[] = {{"my change", 0}, {"", 1}};
  int round = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.comment);
    const std::string text = "hello " + std::to_string(3 + round++) + "\n";
    EditHello(text);
    const fs::path file = File("public/src/hello.c");
    const auto edited = fs::file_time_type::clock::now() - std::chrono::hours(3);
    fs::last_write_time(file, edited);
    const vob_dbid_t checked_out = Selected(kHello);
    client_local::CallLogScope log;
    ASSERT_EQ(CheckIn(kHello, {c.comment, 0, c.preserve_time}), 0);
    int out = 1;
    EXPECT_EQ(Selected(kHello, &out), checked_out) << "the check-out is the new version";
    EXPECT_EQ(out, 0);
    EXPECT_EQ(Contents(checked_out), text);
    EXPECT_EQ(Read(file), text);
    EXPECT_FALSE(Writable(file));
    EXPECT_EQ(State(kHello), VIEW_FILE_CHECKED_IN);
    EXPECT_EQ(LastEvent(checked_out), std::make_pair(std::string("checkin version"), std::string(c.comment)));
    if (c.preserve_time)
      EXPECT_EQ(fs::last_write_time(file), edited);
    else
      EXPECT_GT(fs::last_write_time(file), edited + std::chrono::hours(2));
    const auto calls = CallLog::Calls("cmd_checkin");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args, (std::vector<std::string>{kHello, *c.comment ? "5" : "2", "0",
                                                       std::to_string(c.preserve_time), c.comment}));
  }
}

TEST_F(CheckinCommand, RefusalsChangeNothing) {
  const fs::path file = File("public/src/hello.c");
  struct Case {
    const char* what;
    const char* text;  // the edit; null: not checked out
    bool later_version;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {"not checked out", nullptr, false, TBS_ST_NOT_FOUND, "is not checked out in view \"v1\""},
      {"a later version not merged", "mine\n", true, TBS_ST_FAILURE,
       "\\public\\src\\hello.c@@\\main\\3\" is later than the version checked out"},
      {"identical to its predecessor", "mine\n", false, TBS_ST_FAILURE, "identical to its predecessor"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.text) {
      ASSERT_EQ(CheckOut(kHello, 0), 0);
      Write(file, c.text);
    }
    vob_dbid_t later = 0;
    if (c.later_version) Version(hello, "\\public\\src\\hello.c", "hello 3\n", &later);
    const vob_dbid_t before = Selected(kHello);
    rv_test::MessageCapture messages;
    EXPECT_EQ(CheckIn(kHello), c.status);
    EXPECT_NE(messages.Text().find(c.message), std::string::npos) << messages.Text();
    int out = 0;
    EXPECT_EQ(Selected(kHello, &out), before);
    EXPECT_EQ(out, c.text ? 1 : 0);
    if (!c.text) continue;
    EXPECT_EQ(Read(file), c.text);
    EXPECT_TRUE(Writable(file));
    if (!c.later_version) {
      EXPECT_EQ(CheckIn(kHello, {"same", 1, 0}), 0) << "identical allows it";
      continue;
    }
    // Once the later version's merge is recorded, the check-in goes through
    // after it.
    const char* contributors[] = {"\\public\\src\\hello.c@@\\main\\3"};
    cmd_merge_args_s block;
    block.area = area;
    block.contributors = contributors;
    block.contributor_count = 1;
    block.target = kHello;
    block.record_only = 1;
    ASSERT_EQ(cmd_merge(&block), 0) << messages.Text();
    ASSERT_EQ(CheckIn(kHello), 0) << messages.Text();
    vob_dbid_t pred = 0;
    ASSERT_EQ(vob_ver_get_pred_ver(vob, before, &pred), 0);
    EXPECT_EQ(pred, later);
  }
}

TEST_F(CheckinCommand, ADirectoryIsCheckedInEvenWhenNothingChanged) {
  ASSERT_EQ(CheckOut(kSrc), 0);
  EXPECT_EQ(CheckIn(kSrc), 0);
  int out = 1;
  Selected(kSrc, &out);
  EXPECT_EQ(out, 0);
}

// The store in a file, so that its commit can be made to fail.
class CheckinRollback : public CheckinCommand {
 protected:
  CheckinRollback() : CheckinCommand(/*store_in_file=*/true) {}
};

TEST_F(CheckinRollback, AFailureKeepsTheCheckOutAndTheWritableFileWithItsEditsAndTime) {
  EditHello("my edit\n");
  const fs::path file = File("public/src/hello.c");
  const auto edited = fs::file_time_type::clock::now() - std::chrono::hours(1);
  fs::last_write_time(file, edited);
  const vob_dbid_t checked_out = Selected(kHello);
  for (const char* where : {"vob_utl_checkin", "the commit"}) {
    SCOPED_TRACE(where);
    {
      rv_test::MessageCapture messages;
      std::unique_ptr<rv_test::StoreReadLock> lock;
      if (std::string(where) == "the commit")
        lock = std::make_unique<rv_test::StoreReadLock>(StoreFile());
      else
        CallLog::InjectFailure(where, rv_test::Failing(TBS_ST_NO_ACCESS));
      EXPECT_NE(CheckIn(kHello), 0);
      CallLog::ClearFailures();
    }
    int out = 0;
    EXPECT_EQ(Selected(kHello, &out), checked_out);
    EXPECT_EQ(out, 1);
    EXPECT_EQ(Read(file), "my edit\n");
    EXPECT_TRUE(Writable(file));
    EXPECT_EQ(fs::last_write_time(file), edited);
    EXPECT_EQ(State(kHello), VIEW_FILE_CHECKED_OUT);
  }
}

}  // namespace
