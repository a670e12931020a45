// Adding to source control from the entries, answered through the scripted
// host: what the user sees and answers, what the repository and the view's
// directory hold afterwards.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "flm_admin.h"
#include "kelp.h"
#include "local/calllog.h"
#include "platform/registry.h"
#include "res/resource_ids.h"
#include "rvcmndlg/entries.h"
#include "rvcmndlg/file_operation_list.h"
#include "rvcmndlg/user_options.h"
#include "support/flm_sample.h"
#include "support/operation_fixture.h"
#include "support/repository.h"
#include "support/ui.h"
#include "tbs.h"
#include "view.h"
#include "view_ws.h"
#include "vob.h"
#include "vob_ob.h"

namespace {

namespace fs = std::filesystem;
using namespace rvcmndlg::res;
using client_local::CallLog;

using rv_test::Statuses;

class AddToSrcTest : public rv_test::ViewTest {
 protected:
  void SetUp() override {
    rv_test::ViewTest::SetUp();
    plat::Registry::UseMemory();
    CUserOptions().SetPromptForCIComment(0);
    CUserOptions().SetCheckinPreserveTime(0);
  }
  CFileOperationList& List(const std::vector<std::string>& relatives) {
    for (const auto& relative : relatives) list.AddFile(ViewName(relative));
    return list;
  }
  static bool CheckedOut(const std::string& relative) { return CheckedOutAt(ViewName(relative)) != 0; }
  CFileOperationList list;
  plat::test::ScriptedUser host;
};

TEST_F(AddToSrcTest, OneCommentForTwoFilesWithApplyToAll) {
  CUserOptions().SetPromptForCIComment(1);
  WritePrivate("public/src/a.c", "a\n");
  WritePrivate("public/src/b c\xc3\xa9.c", "b\n");
  const auto old_time = fs::file_time_type::clock::now() - std::chrono::hours(24);
  for (const char* f : {"public/src/a.c", "public/src/b c\xc3\xa9.c"}) fs::last_write_time(File(f), old_time);
  host->OnTemplate(IDD_ADDSRC_COMMENT)
      .Type(IDC_COCMT_COMMENT, "two\r\nfiles")
      .Check(IDC_COCMT_PRESERVE_TIME)
      .Click("Apply to All");
  EXPECT_EQ(List({"public/src/a.c", "public/src/b c\xc3\xa9.c"}).AddToSrc(), 2) << list.Entry(0)->Messages();
  EXPECT_FALSE(CheckedOut("public/src")) << "the parent went back in at the end";
  for (const char* f : {"public/src/a.c", "public/src/b c\xc3\xa9.c"}) {
    SCOPED_TRACE(f);
    EXPECT_EQ(State(ViewName(f)), VIEW_FILE_CHECKED_IN);
    EXPECT_FALSE(Writable(File(f)));
    EXPECT_EQ(fs::last_write_time(File(f)), old_time);
  }
  EXPECT_EQ(Read(File("public/src/a.c")), "a\n");
  const std::string text = host->TranscriptText();
  EXPECT_NE(text.find("Add To Source Control"), std::string::npos) << text;
  EXPECT_EQ(text.find("master of all newly"), std::string::npos) << "no master box outside a replicated VOB";
}

TEST_F(AddToSrcTest, KeepLeavesTheElementsAndTheAddedDirectoryCheckedOut) {
  WritePrivate("public/tools/build.sh", "echo\n");
  list.SetATSKeepCheckedOut(1);
  list.SetATSComment("tools");
  EXPECT_EQ(List({"public/tools", "public/tools/build.sh"}).AddToSrcWithOptions(), 2) << list.Entry(0)->Messages();
  EXPECT_TRUE(CheckedOut("public/tools"));
  EXPECT_TRUE(CheckedOut("public/tools/build.sh"));
  EXPECT_TRUE(Writable(File("public/tools/build.sh")));
  EXPECT_FALSE(CheckedOut("public"));
}

TEST_F(AddToSrcTest, APrivateDirectoryAndItsFileInOneRun) {
  WritePrivate("public/tools/build.sh", "echo\n");
  EXPECT_EQ(List({"public/tools", "public/tools/build.sh"}).AddToSrc(), 2) << list.Entry(1)->Messages();
  EXPECT_FALSE(CheckedOut("public/tools"));
  EXPECT_FALSE(CheckedOut("public"));
  EXPECT_EQ(State(ViewName("public/tools/build.sh")), VIEW_FILE_CHECKED_IN);
}

TEST_F(AddToSrcTest, CancelLeavesTheRestNotProcessed) {
  CUserOptions().SetPromptForCIComment(1);
  WritePrivate("public/src/a.c");
  WritePrivate("public/src/b.c");
  host->OnTemplate(IDD_ADDSRC_COMMENT).Click("Cancel");
  EXPECT_EQ(List({"public/src/a.c", "public/src/b.c"}).AddToSrc(), 0);
  EXPECT_EQ(Statuses(list), (std::vector<int>{2, 2}));
  EXPECT_EQ(State(ViewName("public/src/a.c")), VIEW_FILE_PRIVATE);
  EXPECT_FALSE(CheckedOut("public/src"));
}

TEST_F(AddToSrcTest, RefusalsFailTheFileAndChangeNothing) {
  CUserOptions().SetSuppressErrors(1);
  WritePrivate("public/src/ok.c");
  fs::permissions(File("public/src/hello.c"), fs::perms::owner_write, fs::perm_options::add);
  Write(File("public/src/hello.c"), "hijacked\n");
  Write(home / "outside.txt", "outside\n");
  fs::create_symlink(home / "outside.txt", File("public/src/link.c"));
  struct Case {
    const char* relative;
    const char* message;
  };
  const Case cases[] = {
      {"public/src/util.c", "Item is already an element.\n"},
      {"public/src/hello.c", "Item is already an element."},
      {"public/src/gone.c", "gone.c"},
      {"public/src/link.c", "symbolic link"},
  };
  for (const Case& c : cases) list.AddFile(ViewName(c.relative));
  list.AddFile(ViewName("public/src/ok.c"));
  EXPECT_EQ(list.AddToSrc(), 1);
  EXPECT_EQ(Statuses(list), (std::vector<int>{1, 1, 1, 1, 0}));
  for (int i = 0; i < 4; ++i)
    EXPECT_NE(list.Entry(i)->Messages().find(cases[i].message), std::string::npos)
        << cases[i].relative << ": " << list.Entry(i)->Messages();
  EXPECT_EQ(Read(File("public/src/hello.c")), "hijacked\n");
  EXPECT_EQ(State(ViewName("public/src/link.c")), VIEW_FILE_PRIVATE);
}

TEST_F(AddToSrcTest, ErrorBoxesUnlessSuppressedAndTheClosingBoxShowsFinishing) {
  WritePrivate("public/src/a.c");
  WritePrivate("public/src/b.c");
  WritePrivate("public/src/c.c");
  client_local::Failure failure = rv_test::Failing(TBS_ST_FAILURE, "the store is full");
  failure.times = 1;
  CallLog::InjectFailure("cmd_utl_mkelem", failure);
  host->OnMessage("Error adding '" + ViewName("public/src/a.c") + "' to source control.").Click("OK");
  EXPECT_EQ(List({"public/src/a.c"}).AddToSrc(), 0);
  EXPECT_FALSE(CheckedOut("public/src")) << "the check-out made for it alone is undone";

  CallLog::InjectFailure("cmd_checkin", rv_test::Failing(TBS_ST_PERMISSION, "no right to check it in"));
  host->OnMessage("no right to check it in").Click("OK");
  CFileOperationList second;
  second.AddFile(ViewName("public/src/b.c"));
  EXPECT_EQ(second.AddToSrc(), 1);
  CallLog::ClearFailures();
  EXPECT_TRUE(CheckedOut("public/src"));
  const auto transcript = host->TranscriptText();
  EXPECT_NE(transcript.find("no right to check it in"), std::string::npos);
  EXPECT_NE(transcript.find("error"), std::string::npos) << transcript;
}

TEST_F(AddToSrcTest, AParentMasteredElsewhereIsNamedInTheClosingBox) {
  vob_dbid_t replica = 0, branch = 0;
  ASSERT_EQ(vob_replica_create(vob, "far", "", &replica), 0);
  char view[64];
  vob_handle_t found = 0;
  vob_dbid_t version = 0;
  ASSERT_EQ(view_ws_lookup_pn(ViewName("public/src").c_str(), view, sizeof view, &found, &version), 0);
  ASSERT_EQ(vob_ver_get_branch(vob, version, &branch), 0);
  ASSERT_EQ(vob_obj_set_master(vob, branch, replica), 0);
  WritePrivate("public/src/a.c");
  host->OnMessage("has been checked out unreserved, nonmastered and will remain checked out").Click("OK");
  EXPECT_EQ(List({"public/src/a.c"}).AddToSrc(), 1);
  EXPECT_TRUE(CheckedOut("public/src"));
}

}  // namespace

// ---- stream views ----

namespace add_stream_views {

class AddToSrcStreamTest : public rv_test::FlmSampleTest {
 protected:
  void SetUp() override {
    rv_test::FlmSampleTest::SetUp();
    plat::Registry::UseMemory();
    CUserOptions().SetPromptForCIComment(0);
    fs::create_directories(File("public/src"));
    Write(File("public/src/new.c"), "new\n");
  }
  static FLM_Activity Current() {
    FLM_View view;
    FLM_Activity activity;
    EXPECT_EQ(FLM_View::construct_from_tag("v1", &view), 0);
    EXPECT_EQ(view.current_activity(&activity), 0);
    return activity;
  }
  plat::test::ScriptedUser host;
};

TEST_F(AddToSrcStreamTest, WithoutAnActivityTheUserMustChooseOneAndItBecomesCurrent) {
  ASSERT_EQ(flm_admin_set_view_stream("v1", hello_dev, FLM_Activity()), 0);
  host->OnTemplate(IDD_ADDSRC_ACTIVITY_COMMENT).Click("OK").Click("Browse...").Click("OK");
  host->OnMessage("You must select an activity.").Click("OK");
  host->OnTemplate(IDD_BROWSE_ACTIVITY).Select(IDC_ACTIVITY_LIST, "Fix the greeting").Click("OK");
  CFileOperationList list;
  EXPECT_EQ(list.AddToSrc(ViewName("public/src/new.c")), 1) << list.Entry(0)->Messages();
  EXPECT_EQ(Current(), fix);
}

TEST_F(AddToSrcStreamTest, ATracklaneProjectNeedsTheClient) {
  ASSERT_EQ(flm_admin_set_view_stream("v1", tracked_int, FLM_Activity()), 0);
  ASSERT_EQ(kelp_set_installed(false), 0);
  host->OnMessage("Tracklane is not installed.").Click("OK");
  CFileOperationList list;
  EXPECT_EQ(list.AddToSrc(ViewName("public/src/new.c")), 0);
  EXPECT_EQ(list.Entry(0)->Status(), 1);

  ASSERT_EQ(kelp_set_installed(true), 0);
  host->OnTemplate(IDD_ADDSRC_TL_COMMENT).Click("Browse...").Click("OK");
  host->OnTemplate(KELP_IDD_BROWSER).Select(KELP_IDC_RECORDS, "#0").Click("OK");
  CFileOperationList again;
  EXPECT_EQ(again.AddToSrc(ViewName("public/src/new.c")), 1) << again.Entry(0)->Messages();
  EXPECT_EQ(Current(), crash) << "the record's activity becomes current";
}

}  // namespace add_stream_views
