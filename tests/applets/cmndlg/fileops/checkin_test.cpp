// Check-in from the entries to the repository and the view's files, answered
// through the scripted host: the comment forms, merging the latest version
// first, moving to another activity, and what fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cmd_checkout.h"
#include "fileops/checkin_operation.h"
#include "flm_admin.h"
#include "gcl_status.h"
#include "kelp.h"
#include "local/calllog.h"
#include "res/resource_ids.h"
#include "rvcmndlg/entries.h"
#include "rvcmndlg/file_operation_list.h"
#include "rvcmndlg/user_options.h"
#include "platform/registry.h"
#include "stg.h"
#include "support/flm_sample.h"
#include "support/operation_fixture.h"
#include "support/repository.h"
#include "support/ui.h"
#include "tbs.h"
#include "view_ws.h"
#include "vob.h"

namespace {

using namespace rvcmndlg::res;
using client_local::CallLog;
namespace fs = std::filesystem;

constexpr const char* kHello = "\\\\view\\v1\\public\\src\\hello.c";
constexpr const char* kUtil = "\\\\view\\v1\\public\\src\\util.c";
constexpr const char* kReadme = "\\\\view\\v1\\public\\doc\\README.txt";
constexpr const char* kSrc = "\\\\view\\v1\\public\\src";

using rv_test::Statuses;

class CheckinTest : public rv_test::ViewTest {
 protected:
  void SetUp() override {
    rv_test::ViewTest::SetUp();
    plat::Registry::UseMemory();
    CUserOptions().SetPromptForCIComment(0);
    CUserOptions().SetUseCheckoutInfo(0);
    area = stg_create_area(0);
  }
  void TearDown() override {
    stg_delete_area(area);
    rv_test::ViewTest::TearDown();
  }
  void CheckOut(const char* name, const char* comment = "sample work", int reserved = 1) {
    const char* names[] = {name};
    cmd_checkout_args_s args;
    args.area = area;
    args.pnames = names;
    args.pname_count = 1;
    args.reserved = reserved;
    args.comment = comment;
    args.comment_mode = CMD_CHECKOUT_COMMENT_GIVEN;
    ASSERT_EQ(cmd_checkout(&args), 0) << name;
  }
  // The version the view selects for the name, and whether it is checked out.
  static vob_dbid_t Selected(const char* name, int* checked_out) {
    char tag[300];
    vob_handle_t found = 0;
    vob_dbid_t version = 0;
    *checked_out = 0;
    if (view_ws_lookup_pn(name, tag, sizeof tag, &found, &version) != 0) return 0;
    vob_ver_is_checked_out(found, version, checked_out);
    return version;
  }
  static bool IsCheckedOut(const char* name) {
    int out = 0;
    Selected(name, &out);
    return out != 0;
  }
  // The comment of the check-in of the version the view selects.
  std::string CheckinComment(const char* name) {
    int out = 0;
    const vob_dbid_t version = Selected(name, &out);
    vob_eventh_t event = 0, last = 0;
    while (vob_obj_next_evenths(vob, version, &event) == 0) last = event;
    vob_event_info_s info;
    if (out || !last || vob_event_get_info(vob, last, area, &info) != 0) return "(none)";
    return info.comment ? info.comment : "";
  }

  stg_area_t area = STG_NULL_AREA;
  plat::test::ScriptedUser host;
};

TEST_F(CheckinTest, OneFileShowsItsCheckoutCommentAndTakesTheTypedOne) {
  CUserOptions().SetPromptForCIComment(1);
  CheckOut(kUtil);
  Write(File("public/src/util.c"), "util 2\n");
  host->OnTemplate(IDD_CHECKIN_COMMENT).Type(IDC_COCMT_COMMENT, "first\r\nsecond").Click("OK");
  CFileOperationList list;
  EXPECT_EQ(list.Checkin(kUtil), 1);
  EXPECT_EQ(CheckinComment(kUtil), "first\nsecond");
  EXPECT_EQ(Read(File("public/src/util.c")), "util 2\n");
  EXPECT_FALSE(Writable(File("public/src/util.c")));
  const std::string text = host->TranscriptText();
  for (const char* shown : {"[7107] edit: \"sample work\"", "[24594] <Apply to All>(disabled)",
                            "[24590] [ ] Use original checkout comments  (disabled)"})
    EXPECT_NE(text.find(shown), std::string::npos) << shown << "\n" << text;
}

TEST_F(CheckinTest, ThreeFilesApplyToAllAsksOnceAndCancelLeavesTheRestUnprocessed) {
  struct Case {
    const char* what;
    std::vector<const char*> answers;  // per dialog shown
    int succeeded;
    std::vector<int> statuses;
  };
  const Case cases[] = {
      {"Apply to All in the first", {"Apply to All"}, 3, {0, 0, 0}},
      {"Cancel in the second", {"OK", "Cancel"}, 1, {0, 2, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CUserOptions().SetPromptForCIComment(1);
    for (const char* name : {kHello, kUtil, kReadme}) {
      CheckOut(name);
      std::string path = name + std::string("\\\\view\\v1\\").size();
      for (char& ch : path)
        if (ch == '\\') ch = '/';
      Write(File(path), std::string("edited ") + c.what + "\n");
    }
    for (const char* answer : c.answers)
      host->OnTemplate(IDD_CHECKIN_COMMENT).Type(IDC_COCMT_COMMENT, "run").Click(answer);
    CFileOperationList list;
    for (const char* name : {kHello, kUtil, kReadme}) list.AddFile(name);
    EXPECT_EQ(list.Checkin(), c.succeeded);
    EXPECT_EQ(Statuses(list), c.statuses);
    EXPECT_EQ(IsCheckedOut(kUtil), c.statuses[1] != 0);
    for (const char* name : {kHello, kUtil, kReadme})
      if (IsCheckedOut(name)) {
        CFileOperationList undo;
        undo.UncheckoutWithOptions(name);
      }
  }
}

TEST_F(CheckinTest, UseOriginalCommentsTakesTheCheckoutCommentsForEveryFile) {
  CUserOptions().SetPromptForCIComment(1);
  CheckOut(kHello, "hello work");
  CheckOut(kUtil, "util work");
  Write(File("public/src/hello.c"), "hello 3\n");
  Write(File("public/src/util.c"), "util 2\n");
  host->OnTemplate(IDD_CHECKIN_COMMENT).Type(IDC_COCMT_COMMENT, "typed").Check(IDC_CICMT_USE_ORIGINAL).Click(
      "Apply to All");
  CFileOperationList list;
  list.AddFile(kHello);
  list.AddFile(kUtil);
  EXPECT_EQ(list.Checkin(), 2);
  EXPECT_EQ(CheckinComment(kHello), "hello work");
  EXPECT_EQ(CheckinComment(kUtil), "util work");
  EXPECT_NE(host->TranscriptText().find("[7107] edit (read-only): \"hello work\""), std::string::npos)
      << host->TranscriptText();
}

// Without a prompt: the comment given, its mode, identical and preserve time
// reach the command; a directory keeps its check-out comment before the new
// one, one line apart.
TEST_F(CheckinTest, WithOptionsTheBlockCarriesTheCommentModeAndFlags) {
  struct Case {
    const char* name;
    const char* checkout_comment;
    const char* comment;
    int identical, preserve_time;
    std::vector<std::string> logged;  // comment mode, identical, preserve time
    const char* recorded;
  };
  const Case cases[] = {
      {kUtil, "sample work", "", 1, 0, {"2", "1", "0", ""}, ""},
      {kHello, "sample work", "given", 0, 1, {"5", "0", "1", "given"}, "given"},
      {kSrc, "orig", "new", 0, 0, {"5", "0", "0", "orig\nnew"}, "orig\nnew"},
      {kSrc, "orig\n", "new", 0, 0, {"5", "0", "0", "orig\nnew"}, "orig\nnew"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + c.comment);
    CheckOut(c.name, c.checkout_comment);
    if (c.name == kHello) Write(File("public/src/hello.c"), "hello 3\n");
    client_local::CallLogScope log;
    CFileOperationList list;
    list.SetCIComment(c.comment);
    list.SetCIIdentical(c.identical);
    list.SetCIPreserveTime(c.preserve_time);
    list.SetCIPrompt(0);
    list.SetCIUseCheckoutInfo(0);
    EXPECT_EQ(list.CheckinWithOptions(c.name), 1) << list.Entry(0)->Messages();
    const auto calls = CallLog::Calls("cmd_checkin");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(std::vector<std::string>(calls[0].args.begin() + 1, calls[0].args.end()), c.logged);
    EXPECT_EQ(CheckinComment(c.name), c.recorded);
  }
}

TEST_F(CheckinTest, FilesThatCannotBeCheckedInFailWithTheirReason) {
  CheckOut(kHello);
  Write(File("public/src/hello.c"), "hello 3\n");
  // The check-out is asked for afresh just before the check-in.
  CallLog::InjectFailure("vob_ver_is_checked_out", client_local::Failure{0, {}, 1, 2});
  ::chmod(File("public/doc/README.txt").c_str(), 0644);
  Write(File("public/doc/README.txt"), "hijacked\n");
  struct Case {
    const char* name;
    const char* message;
  };
  const Case cases[] = {
      {kUtil, "Element is not checked out to view 'v1'."},
      {"\\\\view\\v1\\public\\src\\gone.c", "gone.c"},
      {kReadme, "The file is currently hijacked.  You must checkout the hijacked file before attempting to check it "
                "in."},
  };
  CFileOperationList list;
  for (const Case& c : cases) {
    list.AddFile(c.name);
    host->OnMessage(std::string("Error checking in '") + c.name + "'.").Click("OK");
  }
  EXPECT_EQ(list.Checkin(), 0);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(list.Entry(i)->Status(), COperationObj::kFailed);
    EXPECT_NE(list.Entry(i)->Messages().find(cases[i].message), std::string::npos) << list.Entry(i)->Messages();
  }
}

TEST_F(CheckinTest, ACheckoutGoneWhileAskingFailsWithTheViewsTag) {
  CheckOut(kHello);
  Write(File("public/src/hello.c"), "hello 3\n");
  // The second question of the run is the fresh one before the check-in.
  CallLog::InjectFailure("vob_ver_is_checked_out", client_local::Failure{TBS_ST_NOT_FOUND, {}, 1, 2});
  host->OnMessage("Error checking in '" + std::string(kHello) + "'.").Click("OK");
  CFileOperationList list;
  EXPECT_EQ(list.Checkin(kHello), 0);
  EXPECT_NE(list.Entry(0)->Messages().find("Element is not checked out to view 'v1'."), std::string::npos)
      << list.Entry(0)->Messages();
  EXPECT_TRUE(IsCheckedOut(kHello));
}

// View-private files are offered to source control; what the user answers
// decides what the repository and the view hold afterwards.
TEST_F(CheckinTest, AViewPrivateFileIsAddedAndCheckedInWhenTheUserSaysSo) {
  struct Case {
    std::vector<const char*> leaves;
    std::vector<const char*> answers;  // one per question shown
    std::vector<int> statuses;
    bool added;
  };
  const Case cases[] = {
      {{"yes.c"}, {"Yes"}, {0}, true},
      {{"all1.c", "all2.c"}, {"Yes to All"}, {0, 0}, true},
      {{"no.c"}, {"No"}, {0}, false},
      {{"cancel.c"}, {"Cancel"}, {2}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.leaves.front());
    CFileOperationList list;
    for (const char* leaf : c.leaves) {
      Write(File(std::string("public/src/") + leaf), "private\n");
      list.AddFile(std::string(kSrc) + "\\" + leaf);
    }
    for (const char* answer : c.answers) host->OnTemplate(IDD_CONFIRM_ADD_TO_SRC).Click(answer);
    list.Checkin();
    EXPECT_EQ(Statuses(list), c.statuses) << list.Entry(0)->Messages();
    for (const char* leaf : c.leaves) {
      const std::string name = std::string(kSrc) + "\\" + leaf;
      int out = 0;
      EXPECT_EQ(Selected(name.c_str(), &out) != 0, c.added) << leaf;
      EXPECT_EQ(out, 0) << "checked in, not left checked out";
      EXPECT_EQ(Read(File(std::string("public/src/") + leaf)), "private\n");
      EXPECT_EQ(Writable(File(std::string("public/src/") + leaf)), !c.added);
    }
    EXPECT_FALSE(IsCheckedOut(kSrc)) << "the parent is checked in at the end of the run";
  }
  EXPECT_NE(host->TranscriptText().find("The file 'yes.c' is not under Strata source control."), std::string::npos)
      << host->TranscriptText();
}

// A file checked out unreserved in v1 from \main\1 with its first line
// changed, and \main\2 changing its last line after it.
class CheckinMergeTest : public CheckinTest {
 protected:
  void SetUp() override {
    CheckinTest::SetUp();
    Prepare("three.c");
  }
  void Prepare(const std::string& leaf) {
    name = "\\\\view\\v1\\public\\src\\" + leaf;
    file = File("public/src/" + leaf);
    vob_dbid_t element = 0, first = 0;
    ASSERT_EQ(vob_mkelem(vob, ("\\src\\" + leaf).c_str(), 0, "", &element), 0);
    Version(element, ("\\public\\src\\" + leaf).c_str(), "a\nb\nc\n", &first);
    CheckOut(name.c_str(), "mine", 0);
    Write(file, "A\nb\nc\n");
    Version(element, ("\\public\\src\\" + leaf).c_str(), "a\nb\nC\n", &later);
  }
  std::string name;
  fs::path file;
  vob_dbid_t later = 0;
};

TEST_F(CheckinMergeTest, TheMergeQuestionAndItsAnswers) {
  struct Case {
    const char* leaf;
    const char* merge_answer;
    const char* checkin_answer;  // null: not asked
    int status;
    bool checked_in;
    const char* text;
  };
  const Case cases[] = {
      {"no.c", "No", nullptr, COperationObj::kNotProcessed, false, "A\nb\nc\n"},
      {"merged_only.c", "Yes", "No", COperationObj::kSucceeded, false, "A\nb\nC\n"},
      {"merged_in.c", "Yes", "Yes", COperationObj::kSucceeded, true, "A\nb\nC\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.leaf);
    Prepare(c.leaf);
    host->OnTemplate(IDD_CONFIRM_MERGE).Click(c.merge_answer);
    if (c.checkin_answer) host->OnMessage("The merge completed successfully.").Click(c.checkin_answer);
    CFileOperationList list;
    list.Checkin(name);
    EXPECT_EQ(list.Entry(0)->Status(), c.status) << list.Entry(0)->Messages();
    EXPECT_EQ(IsCheckedOut(name.c_str()), !c.checked_in);
    EXPECT_EQ(Read(file), c.text);
    int out = 0;
    const vob_dbid_t version = Selected(name.c_str(), &out);
    vob_dbid_t from = 0;
    if (c.checkin_answer) {
      EXPECT_EQ(vob_ver_find_merge(vob, version, &from), 0);
      EXPECT_EQ(from, later) << "the arrow from the latest version";
    }
  }
}

TEST_F(CheckinMergeTest, AFailedMergeTriesGraphicallyOnceThenFailsLeavingTheFile) {
  Write(file, "a\nb\nmine\n");  // conflicts with \main\2
  host->OnTemplate(IDD_CONFIRM_MERGE).Click("Yes");
  host->OnMessage("Error checking in").Click("OK");
  client_local::CallLogScope log;
  CFileOperationList list;
  EXPECT_EQ(list.Checkin(name), 0);
  const auto merges = CallLog::Calls("cmd_merge");
  ASSERT_EQ(merges.size(), 2u);
  EXPECT_EQ(merges[0].args[4], "0") << "text first";
  EXPECT_EQ(merges[1].args[4], "1") << "then graphical";
  EXPECT_EQ(merges[1].args.back(), "\\public\\src\\three.c@@\\main\\2");
  EXPECT_NE(list.Entry(0)->Messages().find("Merging changes from the latest version on the branch failed."),
            std::string::npos)
      << list.Entry(0)->Messages();
  EXPECT_EQ(Read(file), "a\nb\nmine\n");
  EXPECT_TRUE(IsCheckedOut(name.c_str()));
}

// Without a storage area for the merge the file fails: it is neither merged
// nor checked in, and no question follows.
TEST_F(CheckinMergeTest, NoStorageAreaForTheMergeFailsTheFile) {
  host->OnTemplate(IDD_CONFIRM_MERGE).Click("Yes");
  host->OnMessage("Error checking in").Click("OK");
  CallLog::InjectFailure("stg_create_area", rv_test::Failing(TBS_ST_NO_MEMORY));
  CFileOperationList list;
  EXPECT_EQ(list.Checkin(name), 0);
  CallLog::ClearFailures();
  EXPECT_EQ(list.Entry(0)->Status(), COperationObj::kFailed);
  EXPECT_TRUE(IsCheckedOut(name.c_str()));
  EXPECT_EQ(Read(file), "A\nb\nc\n");
}

// util.c checked out in v1, which works in hello_dev with fix current; the
// stream also has the activity other.
class CheckinStreamTest : public rv_test::FlmSampleTest {
 protected:
  void SetUp() override {
    rv_test::FlmSampleTest::SetUp();
    plat::Registry::UseMemory();
    CUserOptions().SetPromptForCOComment(0);
    CUserOptions().SetPromptForCIComment(1);
    ASSERT_EQ(flm_admin_mkactivity(hello_dev, "other", "Other work", nullptr, &other), 0);
    CFileOperationList list;
    ASSERT_EQ(list.Checkout(kUtil), 1) << list.Entry(0)->Messages();
    Write(File("public/src/util.c"), "util 2\n");
  }
  // The activity recording the version v1 selects for util.c.
  FLM_Activity Recording() {
    char tag[64];
    vob_handle_t found = 0;
    vob_dbid_t version = 0;
    FLM_Activity activity;
    EXPECT_EQ(view_ws_lookup_pn(kUtil, tag, sizeof tag, &found, &version), 0);
    EXPECT_EQ(FLM_Version(found, version).activity(&activity), 0);
    return activity;
  }
  static FLM_Activity Current() {
    FLM_View view;
    FLM_Activity activity;
    EXPECT_EQ(FLM_View::construct_from_tag("v1", &view), 0);
    EXPECT_EQ(view.current_activity(&activity), 0);
    return activity;
  }
  static bool IsCheckedOutIn() {
    char tag[64];
    vob_handle_t found = 0;
    vob_dbid_t version = 0;
    int out = 0;
    return view_ws_lookup_pn(kUtil, tag, sizeof tag, &found, &version) == 0 &&
           vob_ver_is_checked_out(found, version, &out) == 0 && out;
  }
  FLM_Activity other;
  plat::test::ScriptedUser host;
};

TEST_F(CheckinStreamTest, AnotherActivityChosenTakesTheVersionAndBecomesCurrent) {
  host->OnTemplate(IDD_CHECKIN_ACTIVITY_COMMENT).Select(IDC_COCMT_ACTIVITY, "other").Click("OK");
  client_local::CallLogScope log;
  CFileOperationList list;
  EXPECT_EQ(list.Checkin(kUtil), 1) << list.Entry(0)->Messages();
  const auto moves = CallLog::Calls("FLM_Activity::move_change_set_version");
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].args.back(), "v1");
  EXPECT_EQ(Recording(), other);
  EXPECT_EQ(Current(), other);
  EXPECT_FALSE(IsCheckedOutIn());
}

TEST_F(CheckinStreamTest, FailuresOfTheActivityChoiceAndTheMove) {
  // The view refuses the activity: the box, and the dialog stays open.
  host->OnTemplate(IDD_CHECKIN_ACTIVITY_COMMENT).Select(IDC_COCMT_ACTIVITY, "other").Click("OK").Click("Cancel");
  host->OnMessage("the view refuses").Click("OK");
  CallLog::InjectFailure("FLM_View::set_activity", client_local::Failure{TBS_ST_FAILURE, {{6, "the view refuses\n"}}, 1});
  CFileOperationList refused;
  EXPECT_EQ(refused.Checkin(kUtil), 0);
  EXPECT_EQ(Statuses(refused), (std::vector<int>{2}));
  EXPECT_EQ(Current(), fix);

  // The move fails: the file fails with the reason and stays checked out.
  host->OnTemplate(IDD_CHECKIN_ACTIVITY_COMMENT).Select(IDC_COCMT_ACTIVITY, "other").Click("OK");
  host->OnMessage("Unable to change activity for this checked out version").Click("OK");
  CallLog::InjectFailure("FLM_Activity::move_change_set_version", rv_test::Failing(TBS_ST_FAILURE));
  CFileOperationList moved;
  EXPECT_EQ(moved.Checkin(kUtil), 0);
  EXPECT_EQ(Statuses(moved), (std::vector<int>{1}));
  EXPECT_EQ(Recording(), fix);
  EXPECT_TRUE(IsCheckedOutIn());
}

TEST_F(CheckinStreamTest, ATracklaneProjectNeedsTheClientAndOtherwiseShowsItsForm) {
  ASSERT_EQ(flm_admin_set_view_stream("v1", tracked_int, FLM_Activity()), 0);
  ASSERT_EQ(kelp_set_installed(false), 0);
  host->OnMessage("Tracklane is not installed.").Click("OK");
  CFileOperationList without;
  EXPECT_EQ(without.Checkin(kUtil), 0);
  EXPECT_EQ(Statuses(without), (std::vector<int>{2})) << "nothing was checked in";
  EXPECT_NE(without.Entry(0)->Messages().find("Tracklane is not installed."), std::string::npos);
  EXPECT_TRUE(IsCheckedOutIn());

  ASSERT_EQ(kelp_set_installed(true), 0);
  host->OnTemplate(IDD_CHECKIN_TL_COMMENT).Type(IDC_COCMT_COMMENT, "tracked").Click("OK");
  CFileOperationList with;
  EXPECT_EQ(with.Checkin(kUtil), 1) << with.Entry(0)->Messages();
  EXPECT_FALSE(IsCheckedOutIn());
}

}  // namespace
