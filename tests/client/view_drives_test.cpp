// Drives of views, logon entries, starting and stopping through FLM_View,
// and removing a view with cmd_rmview.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cmd_rmview.h"
#include "cmd_uncheckout.h"
#include "cmd_utl.h"
#include "flm.h"
#include "local/calllog.h"
#include "platform/pathmap.h"
#include "rgy.h"
#include "stg.h"
#include "support/message_capture.h"
#include "support/repository.h"
#include "tbs.h"
#include "view.h"

namespace {

namespace fs = std::filesystem;
using client_local::CallLog;
using rv_test::ViewTest;

std::vector<std::string> Logon() {
  std::vector<view_logon_entry_s> entries;
  EXPECT_EQ(view_get_logon_entries(&entries), 0);
  std::vector<std::string> lines;
  for (const auto& e : entries) lines.push_back((e.drive.empty() ? "-:" : e.drive) + " " + e.tag);
  return lines;
}

class ViewDrives : public ViewTest {
 protected:
  ViewDrives() : ViewTest(true) {}
  void SetUp() override {
    ViewTest::SetUp();
    ASSERT_EQ(view_create("v2", 0, "second"), 0);
  }
  fs::path Link(char letter) const { return home / "drives" / std::string(1, letter); }
  bool Linked(char letter, const std::string& tag) const {
    std::error_code error;
    return fs::is_symlink(fs::symlink_status(Link(letter), error)) &&
           fs::read_symlink(Link(letter), error) == home / "views" / tag;
  }
};

TEST_F(ViewDrives, RefusalsChangeNothing) {
  ASSERT_EQ(view_add_mapping("v2", "L:", 0), 0);
  struct Case {
    const char* tag;
    const char* drive;
    int status;
  };
  const Case cases[] = {
      {"v1", "K", TBS_ST_INVALID_ARG},   {"v1", "KK:", TBS_ST_INVALID_ARG}, {"v1", "1:", TBS_ST_INVALID_ARG},
      {"v1", "K:\\", TBS_ST_INVALID_ARG}, {"v1", "M:", TBS_ST_INVALID_ARG}, {"v1", "m:", TBS_ST_INVALID_ARG},
      {"v1", "C:", TBS_ST_ALREADY},      {"v1", "L:", TBS_ST_ALREADY},      {"nope", "K:", TBS_ST_NOT_FOUND},
  };
  fs::create_directories(Link('z'));  // a drive of the machine
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tag) + " " + c.drive);
    rv_test::MessageCapture messages;
    EXPECT_EQ(view_add_mapping(c.tag, c.drive, 1), c.status);
    EXPECT_FALSE(messages.Text().empty()) << "a refusal says why";
    EXPECT_FALSE(fs::exists(fs::symlink_status(Link('k'))));
    EXPECT_EQ(plat::DriveAssignment('K'), std::nullopt);
    EXPECT_TRUE(Linked('l', "v2"));
    EXPECT_EQ(Logon(), std::vector<std::string>{});
  }
  EXPECT_EQ(view_add_mapping("v1", "Z:", 1), TBS_ST_ALREADY);
}

TEST_F(ViewDrives, ADriveLinksTheRootAndEveryStoreOpeningAssignsIt) {
  ASSERT_EQ(view_add_mapping("v1", "k:", 1), 0);
  EXPECT_TRUE(Linked('k', "v1"));
  EXPECT_EQ(rv_test::ReadFile(Link('k') / "public" / "src" / "util.c"), "util 1\n");
  EXPECT_EQ(plat::DriveAssignment('K'), "\\\\view\\v1");
  EXPECT_EQ(plat::ReadViewName("K:\\public\\src\\util.c")->tag, "v1");
  EXPECT_EQ(Logon(), std::vector<std::string>{"K: v1"});
  EXPECT_EQ(view_add_mapping("v1", "K:", 1), 0) << "the view's own drive again";

  client_local::UseStore(nullptr);
  EXPECT_EQ(plat::DriveAssignment('K'), std::nullopt) << "the drive went with its store";
  std::string error;
  client_local::UseStore(client_local::Store::OpenFile(StoreFile(), &error));
  EXPECT_EQ(plat::DriveAssignment('K'), "\\\\view\\v1") << error;
}

TEST_F(ViewDrives, NoDriveRecordsOnlyTheLogonEntry) {
  ASSERT_EQ(view_add_mapping("v1", "", 0), 0);
  EXPECT_EQ(Logon(), std::vector<std::string>{});
  ASSERT_EQ(view_add_mapping("v1", "", 1), 0);
  EXPECT_EQ(Logon(), std::vector<std::string>{"-: v1"});
  EXPECT_FALSE(fs::exists(home / "drives"));
}

TEST_F(ViewDrives, RemovingMappingsAndDroppingTransientDrives) {
  ASSERT_EQ(view_add_mapping("v1", "K:", 1), 0);
  ASSERT_EQ(view_add_mapping("v1", "J:", 0), 0);
  ASSERT_EQ(view_add_mapping("v2", "L:", 1), 0);
  ASSERT_EQ(view_add_mapping("v2", "N:", 0), 0);
  ASSERT_EQ(view_drop_transient_mappings(), 0);
  EXPECT_TRUE(Linked('k', "v1"));
  EXPECT_TRUE(Linked('l', "v2"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(Link('j'))));
  EXPECT_EQ(plat::DriveAssignment('N'), std::nullopt);

  ASSERT_EQ(view_remove_mappings("v1", 0), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(Link('k'))));
  EXPECT_EQ(Logon(), (std::vector<std::string>{"K: v1", "L: v2"})) << "flag 0 keeps the logon entry";
  ASSERT_EQ(view_remove_mappings("v2", 1), 0);
  EXPECT_EQ(Logon(), std::vector<std::string>{"K: v1"});
  EXPECT_EQ(plat::DriveAssignment('L'), std::nullopt);
  EXPECT_EQ(view_remove_mappings("nope", 1), TBS_ST_NOT_FOUND);
}

TEST_F(ViewDrives, EndParksTheRootAndStartBringsItBackOnce) {
  FLM_View view;
  ASSERT_EQ(FLM_View::construct_from_tag("v1", &view), 0);
  ASSERT_EQ(view_add_mapping("v1", "K:", 1), 0);
  rv_test::WriteFile(File("notes.txt"), "mine\n");
  EXPECT_EQ(view.end(1), TBS_ST_INVALID_ARG);
  ASSERT_EQ(view.end(0), 0);
  EXPECT_FALSE(fs::exists(File("")));
  EXPECT_EQ(rv_test::ReadFile(home / "viewstore" / "v1.vws" / "notes.txt"), "mine\n");
  EXPECT_EQ(Logon(), std::vector<std::string>{"K: v1"}) << "ending leaves the drives to the caller";
  CallLog::StartRecording();
  ASSERT_EQ(view.start(), 0);
  ASSERT_EQ(view.start(), 0);
  CallLog::StopRecording();
  EXPECT_EQ(CallLog::Calls("view_register_view_tag").size(), 1u) << "a started view is left as it is";
  EXPECT_EQ(rv_test::ReadFile(Link('k') / "notes.txt"), "mine\n");
}

// cmd_rmview's block for a tag or a pathname, with its own area.
class RemoveBlock {
 public:
  RemoveBlock(const char* tag, const char* pathname) : area_(stg_create_area(1012)) {
    args.area = area_;
    args.tag = tag;
    args.pathname = pathname;
  }
  ~RemoveBlock() { stg_delete_area(area_); }
  cmd_rmview_args_s args;

 private:
  stg_area_t area_;
};

TEST_F(ViewDrives, RemoveRefusesBadBlocksAndAViewWithCheckOuts) {
  {
    RemoveBlock both("v1", "\\\\view\\v1"), neither(nullptr, nullptr), old("v1", nullptr), padded("v1", nullptr),
        no_area("v1", nullptr);
    old.args.version = 2;
    padded.args.reserved[4] = 1;
    no_area.args.area = STG_NULL_AREA;
    for (RemoveBlock* block : {&both, &neither, &old, &padded, &no_area})
      EXPECT_EQ(cmd_rmview(&block->args), TBS_ST_INVALID_ARG);
    EXPECT_EQ(cmd_rmview(nullptr), TBS_ST_INVALID_ARG);
  }
  ASSERT_EQ(cmd_utl_checkout(vob, util, "v1", 1, "edit", nullptr), 0);
  rv_test::WriteFile(File("public/src/util.c"), "work\n");
  const auto mode = fs::status(File("public/src/util.c")).permissions();
  rv_test::MessageCapture messages;
  RemoveBlock block(nullptr, "\\\\view\\v1\\public\\src");
  EXPECT_EQ(cmd_rmview(&block.args), TBS_ST_ALREADY);
  EXPECT_NE(messages.Text().find("\\public\\src\\util.c"), std::string::npos) << messages.Text();
  EXPECT_NE(messages.Text().find("check it in or undo"), std::string::npos) << messages.Text();
  EXPECT_EQ(rv_test::ReadFile(File("public/src/util.c")), "work\n");
  EXPECT_EQ(fs::status(File("public/src/util.c")).permissions(), mode);
  EXPECT_EQ(view_is_active("v1"), 1);
}

TEST_F(ViewDrives, RemoveTakesEverythingOrNothing) {
  ASSERT_EQ(view_add_mapping("v1", "K:", 1), 0);
  FLM_View view;
  ASSERT_EQ(FLM_View::construct_from_tag("v1", &view), 0);
  ASSERT_EQ(view.end(0), 0);  // the root parked
  // A failure after the directory went aside puts it back.
  CallLog::InjectFailure("rgy_remove_by_uuid", rv_test::Failing(TBS_ST_PERMISSION));
  {
    RemoveBlock block("v1", nullptr);
    EXPECT_EQ(cmd_rmview(&block.args), TBS_ST_PERMISSION);
  }
  CallLog::ClearFailures();
  EXPECT_TRUE(fs::exists(home / "viewstore" / "v1.vws" / "public" / "src" / "util.c"));
  EXPECT_TRUE(Linked('k', "v1"));
  EXPECT_EQ(Logon(), std::vector<std::string>{"K: v1"});
  ASSERT_EQ(FLM_View::construct_from_tag("v1", &view), 0);

  RemoveBlock block(nullptr, "K:\\public");
  ASSERT_EQ(cmd_rmview(&block.args), 0);
  EXPECT_EQ(FLM_View::construct_from_tag("v1", &view), TBS_ST_NOT_FOUND);
  EXPECT_FALSE(fs::exists(home / "viewstore" / "v1.vws"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(Link('k'))));
  EXPECT_EQ(plat::DriveAssignment('K'), std::nullopt);
  EXPECT_EQ(Logon(), std::vector<std::string>{});
  for (const fs::path& left : fs::directory_iterator(home / "viewstore"))
    ADD_FAILURE() << "left behind: " << left;
  EXPECT_TRUE(fs::exists(home / "views" / "v2")) << "other views stay";
}

}  // namespace
