// Views: their root directories, config specs, handles, tags and failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "configspec.h"
#include "fileutl_file.h"
#include "imsg.h"
#include "local/calllog.h"
#include "tbs.h"
#include "rgy.h"
#include "ntregy.h"
#include "file_query.h"
#include "tbs_errno.h"
#include "tbs_uuid.h"
#include "view.h"
#include "support/message_capture.h"
#include "support/repository.h"
#include "cmd_utl.h"
#include "vob_ob.h"
#include "ws.h"

namespace {

using client_local::CallLog;
using client_local::Failure;
using rv_test::ViewTest;

using Messages = rv_test::MessageCapture;

class ViewRoots : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    ASSERT_EQ(view_get_handle_by_tag("v1", &view), 0);
  }
  void TearDown() override {
    if (view) view_free_handle(view);
    ViewTest::TearDown();
  }
  view_handle_t view = nullptr;
};

TEST_F(ViewRoots, ANewViewShowsTheLatestVersionsAsReadOnlyCopies) {
  EXPECT_EQ(Read(File("public/src/hello.c")), "hello 2\n");
  EXPECT_EQ(Read(File("public/src/util.c")), "util 1\n");
  EXPECT_EQ(Read(File("public/doc/README.txt")), "read me\n");
  for (const char* name : {"public/src/hello.c", "public/src/util.c", "public/doc/README.txt"})
    EXPECT_FALSE(Writable(File(name))) << name;
  EXPECT_EQ(State("\\\\view\\v1\\public\\src\\hello.c"), VIEW_FILE_CHECKED_IN);
  EXPECT_EQ(State("\\\\view\\v1\\public\\src"), VIEW_FILE_DIRECTORY);
  EXPECT_EQ(State("\\\\view\\v1\\public\\src\\nothing.c"), VIEW_FILE_ABSENT);
  int state = -1;
  for (const char* bad : {"\\\\view\\v1\\..\\v2\\x", "C:\\public\\src", "\\\\view\\v1\\a@@\\main", "relative"})
    EXPECT_EQ(view_file_state(bad, &state), TBS_ST_INVALID_ARG) << bad;
}

TEST_F(ViewRoots, CheckOutMakesTheFileWritableAndCheckInStoresItsContents) {
  vob_dbid_t out = 0;
  ASSERT_EQ(cmd_utl_checkout(vob, hello, "v1", 1, "edit", &out), 0);
  EXPECT_TRUE(Writable(File("public/src/hello.c")));
  EXPECT_EQ(State("M:\\v1\\public\\src\\hello.c"), VIEW_FILE_CHECKED_OUT);
  Write(File("public/src/hello.c"), "hello 3, edited in the view\n");
  vob_dbid_t made = 0;
  ASSERT_EQ(vob_utl_checkin(vob, "\\public\\src\\hello.c", "v1", "done", &made), 0);
  EXPECT_EQ(Contents(made), "hello 3, edited in the view\n");
  EXPECT_FALSE(Writable(File("public/src/hello.c")));
  EXPECT_EQ(Read(File("public/src/hello.c")), "hello 3, edited in the view\n");
  EXPECT_EQ(State("\\\\view\\v1\\public\\src\\hello.c"), VIEW_FILE_CHECKED_IN);
  char id[64];
  ASSERT_EQ(vob_ver_get_idstr(vob, made, id, sizeof id), 0);
  EXPECT_STREQ(id, "\\main\\3");
}

TEST_F(ViewRoots, RulesThatNoLongerSelectACheckOutNeverTakeItsWork) {
  ASSERT_EQ(cmd_utl_checkout(vob, util, "v1", 1, "edit", nullptr), 0);
  Write(File("public/src/util.c"), "work in progress\n");
  ASSERT_EQ(SetSpec(view, "element * \\main\\LATEST\n"), 0);
  ASSERT_EQ(view_inval_view(view), 0);
  EXPECT_EQ(Read(File("public/src/util.c")), "work in progress\n");
  EXPECT_TRUE(Writable(File("public/src/util.c")));
}

TEST_F(ViewRoots, UndoCheckOutPutsTheSelectedVersionBack) {
  ASSERT_EQ(cmd_utl_checkout(vob, util, "v1", 1, "edit", nullptr), 0);
  Write(File("public/src/util.c"), "work to throw away\n");
  ASSERT_EQ(vob_utl_uncheckout(vob, "\\public\\src\\util.c", "v1"), 0);
  EXPECT_EQ(Read(File("public/src/util.c")), "util 1\n");
  EXPECT_FALSE(Writable(File("public/src/util.c")));
}

TEST_F(ViewRoots, AHandEditedFileIsHijackedAndLeftAlone) {
  Write(File("public/src/util.c"), "changed by hand\n");
  EXPECT_EQ(State("\\\\view\\v1\\public\\src\\util.c"), VIEW_FILE_HIJACKED);
  // Unprotected with the version's bytes, nothing was changed: the copy is
  // checked in, and the view's refresh protects it again.
  std::filesystem::permissions(File("public/doc/README.txt"), std::filesystem::perms(0644));
  EXPECT_EQ(State("\\\\view\\v1\\public\\doc\\README.txt"), VIEW_FILE_CHECKED_IN);
  ASSERT_EQ(view_inval_view(view), 0);  // the view takes up its rules again
  EXPECT_FALSE(Writable(File("public/doc/README.txt")));
  EXPECT_EQ(Read(File("public/src/util.c")), "changed by hand\n");
  EXPECT_EQ(State("\\\\view\\v1\\public\\src\\util.c"), VIEW_FILE_HIJACKED);
  // Checking out a hijacked file keeps the changes as the start of the work.
  ASSERT_EQ(cmd_utl_checkout(vob, util, "v1", 1, "", nullptr), 0);
  EXPECT_EQ(Read(File("public/src/util.c")), "changed by hand\n");
  EXPECT_EQ(State("\\\\view\\v1\\public\\src\\util.c"), VIEW_FILE_CHECKED_OUT);
}

TEST_F(ViewRoots, OtherFilesAreViewPrivateAndSurviveEveryRefresh) {
  Write(File("public/src/notes.txt"), "mine\n");
  std::filesystem::create_directories(File("public/build"));
  EXPECT_EQ(State("\\\\view\\v1\\public\\src\\notes.txt"), VIEW_FILE_PRIVATE);
  EXPECT_EQ(State("\\\\view\\v1\\public\\build"), VIEW_FILE_PRIVATE);
  ASSERT_EQ(SetSpec(view, "element \\public\\doc\\... \\main\\LATEST\n"), 0);
  ASSERT_EQ(view_inval_view(view), 0);
  EXPECT_EQ(Read(File("public/src/notes.txt")), "mine\n");
  view_xstat_t stat;
  ASSERT_EQ(view_get_xstat("\\\\view\\v1\\public\\src\\notes.txt", &stat), 0);
  EXPECT_EQ(stat.state, VIEW_FILE_PRIVATE);
  EXPECT_EQ(stat.size, 5);
}

// Which version each rule set shows for hello.c; "" for no file.
struct SpecCase {
  const char* spec;
  const char* hello;
  const char* readme;
};

TEST_F(ViewRoots, TheConfigSpecChoosesWhatEachElementShows) {
  const SpecCase cases[] = {
      {"element * \\main\\LATEST\n", "hello 2\n", "read me\n"},
      {"element * REL1\nelement * \\main\\LATEST\n", "hello 1\n", "read me\n"},
      {"element * \\main\\dev\\LATEST\nelement * \\main\\LATEST\n", "hello dev\n", "read me\n"},
      {"element \\public\\src\\hello.c \\main\\1\nelement * \\main\\LATEST\n", "hello 1\n", "read me\n"},
      {"element \\public\\src\\*.c \\main\\LATEST\nelement \\public\\src \\main\\LATEST\n"
       "element \\public \\main\\LATEST\n",
       "hello 2\n", ""},
      {"element * REL1\n", "", ""},  // directories carry no label: nothing below them shows
  };
  for (const SpecCase& c : cases) {
    ASSERT_EQ(SetSpec(view, c.spec), 0) << c.spec;
    ASSERT_EQ(view_inval_view(view), 0) << c.spec;
    const bool has_hello = std::filesystem::exists(File("public/src/hello.c"));
    EXPECT_EQ(has_hello ? Read(File("public/src/hello.c")) : "", c.hello) << c.spec;
    const bool has_readme = std::filesystem::exists(File("public/doc/README.txt"));
    EXPECT_EQ(has_readme ? Read(File("public/doc/README.txt")) : "", c.readme) << c.spec;
  }
}

TEST_F(ViewRoots, HandlesAreFreedOnceAndADeadHandleIsRefused) {
  const long live = view_live_handle_count();
  view_handle_t copy = nullptr;
  ASSERT_EQ(view_dup_handle(view, &copy), 0);
  EXPECT_EQ(view_live_handle_count(), live + 1);
  EXPECT_EQ(view_free_handle(copy), 0);
  EXPECT_EQ(view_free_handle(copy), TBS_ST_INVALID_ARG);
  view_prop_t props;
  EXPECT_EQ(view_getprop(copy, &props), TBS_ST_INVALID_ARG);
  EXPECT_EQ(view_live_handle_count(), live);
  ASSERT_EQ(view_getprop(view, &props), 0);
  EXPECT_EQ(props.tag, "v1");
  EXPECT_EQ(props.comment, "test view");
  EXPECT_EQ(props.active, 1);
  EXPECT_EQ(props.snapshot, 0);
}

TEST_F(ViewRoots, AStoppedViewKeepsItsRootAsideAndStartingBringsItBackWhole) {
  ASSERT_EQ(cmd_utl_checkout(vob, util, "v1", 1, "edit", nullptr), 0);
  Write(File("public/src/util.c"), "work in progress\n");
  Write(File("public/src/notes.txt"), "mine\n");
  for (auto stop : {+[](view_handle_t v) { return view_server_exit(v); },
                    +[](view_handle_t) { return view_mfs_unregister_tag("v1"); }}) {
    ASSERT_EQ(stop(view), 0);
    EXPECT_EQ(view_is_active("v1"), 0);
    EXPECT_FALSE(std::filesystem::exists(File(""))) << "a stopped dynamic view has no root";
    EXPECT_EQ(Read(home / "viewstore" / "v1.vws" / "public" / "src" / "notes.txt"), "mine\n");
    ASSERT_EQ(view_register_view_tag("v1"), 0);
    EXPECT_EQ(view_is_active("v1"), 1);
    EXPECT_EQ(Read(File("public/src/util.c")), "work in progress\n");
    EXPECT_TRUE(Writable(File("public/src/util.c")));
    EXPECT_EQ(Read(File("public/src/notes.txt")), "mine\n");
    EXPECT_FALSE(std::filesystem::exists(home / "viewstore" / "v1.vws"));
  }
  // A root lost while stopped is made afresh on start.
  ASSERT_EQ(view_server_exit(view), 0);
  std::filesystem::remove_all(home / "viewstore");
  ASSERT_EQ(view_register_view_tag("v1"), 0);
  EXPECT_EQ(Read(File("public/src/hello.c")), "hello 2\n");
  // Two copies of a root never meet: stopping with a stored root there is refused.
  std::filesystem::create_directories(home / "viewstore" / "v1.vws");
  Messages messages;
  EXPECT_EQ(view_server_exit(view), TBS_ST_ALREADY);
  EXPECT_EQ(view_is_active("v1"), 1);
  EXPECT_TRUE(std::filesystem::exists(File("public/src/hello.c")));
  EXPECT_EQ(view_is_active("no_such_view"), 0);
}

TEST_F(ViewRoots, TheViewOfAPathname) {
  char tag[64];
  ASSERT_EQ(vob_utl_get_view_from_path("\\\\view\\v1\\public\\src", tag, sizeof tag), 0);
  EXPECT_STREQ(tag, "v1");
  ASSERT_EQ(vob_utl_get_view_from_path("M:/v1/public", tag, sizeof tag), 0);
  EXPECT_STREQ(tag, "v1");
  EXPECT_EQ(vob_utl_get_view_from_path("C:\\public", tag, sizeof tag), TBS_ST_NOT_FOUND);
}

TEST_F(ViewTest, BadTagsAreRefusedAndChangeNothing) {
  for (const std::string& tag : {std::string("with blank"), std::string("quo\"te"), std::string("caf\xc3\xa9"),
                                 std::string(300, 'a'), std::string(""), std::string("..")}) {
    EXPECT_EQ(view_create(tag.c_str(), 0, ""), TBS_ST_INVALID_ARG) << tag;
    view_handle_t view = nullptr;
    EXPECT_NE(view_get_handle_by_tag(tag.c_str(), &view), 0) << tag;
  }
  EXPECT_EQ(view_create("v1", 0, ""), TBS_ST_ALREADY);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home / "views"), {}), 1);
}

TEST_F(ViewTest, AViewMadeHalfwayLeavesNoTrace) {
  client_local::CallLogScope scope;
  Failure failure;
  failure.status = TBS_ST_FAILURE;
  CallLog::InjectFailure("rgy_add_entry", failure);
  EXPECT_EQ(view_create("v2", 0, ""), TBS_ST_FAILURE);
  EXPECT_FALSE(std::filesystem::exists(home / "views" / "v2"));
  view_handle_t view = nullptr;
  EXPECT_EQ(view_get_handle_by_tag("v2", &view), TBS_ST_NOT_FOUND);
  CallLog::ClearFailures();
  ASSERT_EQ(view_create("v2", 0, ""), 0);
  EXPECT_EQ(Read(home / "views" / "v2" / "public" / "src" / "hello.c"), "hello 2\n");
}

TEST_F(ViewTest, AViewRootAlreadyThereIsNotTakenOver) {
  std::filesystem::create_directories(home / "views" / "v3");
  Write(home / "views" / "v3" / "mine.txt", "mine\n");
  Messages messages;
  EXPECT_EQ(view_create("v3", 0, ""), TBS_ST_ALREADY);
  EXPECT_EQ(Read(home / "views" / "v3" / "mine.txt"), "mine\n");
  view_handle_t view = nullptr;
  EXPECT_EQ(view_get_handle_by_tag("v3", &view), TBS_ST_NOT_FOUND);
}

TEST_F(ViewTest, RemovingAViewTakesItsTagAndRoot) {
  ASSERT_EQ(view_remove("v1"), 0);
  EXPECT_FALSE(std::filesystem::exists(File("")));
  rgy_cursor_t cursor = nullptr;
  ASSERT_EQ(rgy_open_cursor(RGY_KIND_VIEW_TAG, "test", &cursor), 0);
  rgy_entry_t entry = nullptr;
  int count = -1;
  ASSERT_EQ(rgy_findbystring_entry(cursor, RGY_KEY_TAG, "v1", 1, &entry, &count), 0);
  EXPECT_EQ(count, 0);
  rgy_close_cursor(cursor);
  EXPECT_EQ(view_remove("v1"), TBS_ST_NOT_FOUND);
}

// The recently used views as a reader sees them.
std::string Recent() {
  std::vector<char> buffer(VIEW_RECENT_SIZE);
  return ntregy_get_param(VIEW_RECENT_PARAM, buffer.data(), buffer.size()) == 0 ? buffer.data() : "(unreadable)";
}

TEST_F(ViewTest, MakingOrStartingAViewPutsItFirstInTheRecentlyUsedViews) {
  EXPECT_EQ(Recent(), "v1");
  ASSERT_EQ(ntregy_set_param(VIEW_RECENT_PARAM, "old,V1,,other"), 0);
  ASSERT_EQ(view_create("v2", 0, ""), 0);
  ASSERT_EQ(view_register_view_tag("v1"), 0);
  EXPECT_EQ(Recent(), "v1,v2,old,other") << "no tag twice, case aside; empty pieces dropped";
  std::string many;
  for (int i = 0; i < 200; ++i) many += (i ? "," : "") + std::string(60, 'a') + std::to_string(i);
  ASSERT_EQ(ntregy_set_param(VIEW_RECENT_PARAM, many.c_str()), 0);
  ASSERT_EQ(view_register_view_tag("v2"), 0);
  const std::string kept = Recent();
  EXPECT_EQ(kept.rfind("v2,a", 0), 0u) << kept;
  EXPECT_LT(kept.size(), VIEW_RECENT_SIZE) << "a reader's buffer always holds the list";
  std::string few;
  for (int i = 0; i < 200; ++i) few += (i ? ",t" : "t") + std::to_string(i);
  ASSERT_EQ(ntregy_set_param(VIEW_RECENT_PARAM, few.c_str()), 0);
  ASSERT_EQ(view_register_view_tag("v2"), 0);
  const std::string capped = Recent();
  EXPECT_EQ(static_cast<std::size_t>(std::count(capped.begin(), capped.end(), ',')) + 1, VIEW_RECENT_MAX);
}

TEST_F(ViewTest, EachViewHasARegistryObjectThatGoesWithIt) {
  ASSERT_EQ(view_create("snap", 1, ""), 0);
  view_handle_t view = nullptr;
  view_prop_t props;
  ASSERT_EQ(view_get_handle_by_tag("snap", &view), 0);
  ASSERT_EQ(view_getprop(view, &props), 0);
  view_free_handle(view);
  rgy_cursor_t cursor = nullptr;
  ASSERT_EQ(rgy_open_cursor(RGY_KIND_VIEW_OBJECT, nullptr, &cursor), 0);
  tbs_uuid_t uuid{};
  ASSERT_EQ(tbs_str_to_uuid(props.uuid.c_str(), &uuid), 0);
  rgy_entry_t entry = nullptr;
  int count = 0;
  ASSERT_EQ(rgy_findbyuuid_entry(cursor, &uuid, 1, &entry, &count), 0);
  ASSERT_EQ(count, 1);
  char text[256];
  ASSERT_EQ(rgy_getstring_from_entry(entry, RGY_KEY_VIEW_KIND, sizeof text, text), 0);
  EXPECT_STREQ(text, RGY_VIEW_SNAPSHOT);
  ASSERT_EQ(rgy_getstring_from_entry(entry, RGY_KEY_OWNER, sizeof text, text), 0);
  EXPECT_EQ(props.owner, text);
  tbs_uuid_t read{};
  ASSERT_EQ(rgy_getuuid_from_entry(entry, RGY_KEY_UUID, &read), 0);
  EXPECT_EQ(std::memcmp(&read, &uuid, sizeof uuid), 0);
  EXPECT_EQ(rgy_getuuid_from_entry(entry, RGY_KEY_OWNER, &read), TBS_ST_NOT_FOUND) << "no UUID there";
  rgy_delete_entry(entry);
  ws_registered_list_t* list = nullptr;
  ASSERT_EQ(ws_get_registered_list(&list), 0);
  ASSERT_EQ(list->count, 1u);
  EXPECT_STREQ(list->tags[0], "snap");
  ws_free_registered_list(list);
  char root[16];
  EXPECT_EQ(ws_is_in_ws("\\\\view\\snap\\public\\src", WS_IS_IN_WS_ROOT, root, sizeof root), 0);
  EXPECT_STREQ(root, "\\\\view\\snap");
  EXPECT_EQ(ws_is_in_ws("\\\\view\\v1\\public", WS_IS_IN_WS_ROOT, root, sizeof root), TBS_ST_NOT_FOUND);
  EXPECT_EQ(tbs_view_root("snap", root, 10), TBS_ST_INVALID_ARG) << "too small a buffer";
  ASSERT_EQ(view_remove("snap"), 0);
  ASSERT_EQ(rgy_findbyuuid_entry(cursor, &uuid, 1, &entry, &count), 0);
  EXPECT_EQ(count, 0);
  rgy_close_cursor(cursor);
}

TEST_F(ViewTest, ASnapshotViewLoadsOnlyItsScopes) {
  ASSERT_EQ(view_create("snap", 1, ""), 0);
  const auto root = home / "views" / "snap";
  EXPECT_FALSE(std::filesystem::exists(root / "public" / "src" / "hello.c"));
  view_handle_t view = nullptr;
  ASSERT_EQ(view_get_handle_by_tag("snap", &view), 0);
  ws_handle_t ws = nullptr;
  ASSERT_EQ(ws_get_handle_by_viewh(view, &ws), 0);
  const char* scopes[] = {"\\public\\src"};
  ASSERT_EQ(ws_load_scopes(ws, scopes, 1), 0);
  EXPECT_EQ(Read(root / "public" / "src" / "hello.c"), "hello 2\n");
  EXPECT_FALSE(std::filesystem::exists(root / "public" / "doc" / "README.txt"));
  ws_scopes_t* got = nullptr;
  ASSERT_EQ(ws_get_scopes(ws, &got), 0);
  ASSERT_EQ(got->count, 1u);
  EXPECT_STREQ(got->scopes[0], "\\public\\src");
  ws_free_scopes(got);
  const char* bad[] = {"no leading backslash"};
  EXPECT_EQ(ws_load_scopes(ws, bad, 1), TBS_ST_INVALID_ARG);
  EXPECT_EQ(ws_free_handle(ws), 0);
  EXPECT_EQ(ws_free_handle(ws), TBS_ST_INVALID_ARG);
  view_handle_t dynamic = nullptr;
  ASSERT_EQ(view_get_handle_by_tag("v1", &dynamic), 0);
  EXPECT_EQ(ws_get_handle_by_viewh(dynamic, &ws), TBS_ST_WRONG_KIND);
  view_free_handle(dynamic);
  view_free_handle(view);
}

TEST_F(ViewTest, ANameThroughAViewTellsTheViewsTagUuidAndKind) {
  ASSERT_EQ(view_create("snap", 1, ""), 0);
  tbs_uuid_t v1_uuid, snap_uuid;
  ASSERT_EQ(vob_ob_view_to_uuid("v1", &v1_uuid), 0);
  ASSERT_EQ(vob_ob_view_to_uuid("snap", &snap_uuid), 0);
  struct Case {
    const char* name;
    const char* tag;
    const tbs_uuid_t* uuid;
    int snapshot;
  };
  const Case cases[] = {
      {"\\\\view\\v1\\public\\src\\hello.c", "v1", &v1_uuid, 0},
      {"M:\\v1\\public", "v1", &v1_uuid, 0},
      {"//view/v1/public/src/no-such-file.c", "v1", &v1_uuid, 0},
      {"\\\\view\\snap", "snap", &snap_uuid, 1},
  };
  for (const Case& c : cases) {
    view_info_s info;
    ASSERT_EQ(view_get_view_info(c.name, &info), 0) << c.name;
    EXPECT_EQ(info.tag, c.tag) << c.name;
    EXPECT_EQ(std::memcmp(info.uuid.bytes, c.uuid->bytes, sizeof info.uuid.bytes), 0) << c.name;
    EXPECT_EQ(info.snapshot, c.snapshot) << c.name;
  }

  Messages messages;
  view_info_s info;
  info.tag = "left alone";
  EXPECT_EQ(view_get_view_info("\\public\\src\\hello.c", &info), TBS_ST_NOT_FOUND);
  EXPECT_EQ(messages.Text(), "") << "a name through no view is an answer";
  EXPECT_EQ(view_get_view_info("\\\\view\\gone\\public", &info), TBS_ST_NOT_FOUND);
  EXPECT_NE(messages.Text().find("\"gone\""), std::string::npos) << messages.Text();
  EXPECT_EQ(info.tag, "left alone");
  EXPECT_EQ(view_get_view_info(nullptr, &info), TBS_ST_INVALID_ARG);
  EXPECT_EQ(view_get_view_info("M:\\v1", nullptr), TBS_ST_INVALID_ARG);
}

}  // namespace
