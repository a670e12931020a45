// Check-out from the entries to the repository and the view's files,
// answered through the scripted host.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>

#include "cmd_utl.h"
#include "file_query.h"
#include "fileops/checkout_operation.h"
#include "fileops/progress_dlg.h"
#include "local/calllog.h"
#include "ntregy.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "rvcmndlg/entries.h"
#include "rvcmndlg/file_operation_list.h"
#include "rvcmndlg/user_options.h"
#include "stg.h"
#include "flm_admin.h"
#include "kelp.h"
#include "support/env_scope.h"
#include "support/flm_sample.h"
#include "support/message_capture.h"
#include "support/operation_fixture.h"
#include "support/repository.h"
#include "support/ui.h"
#include "tbs.h"
#include "tsl.h"
#include "view_ws.h"
#include "vob.h"
#include "vob_ob.h"

namespace {

using namespace rvcmndlg::res;
using client_local::CallLog;

constexpr const char* kHello = "\\\\view\\v1\\public\\src\\hello.c";
constexpr const char* kUtil = "\\\\view\\v1\\public\\src\\util.c";
constexpr const char* kRelHello = "\\\\view\\rel1\\public\\src\\hello.c";

using rv_test::Statuses;

class CheckoutTest : public rv_test::ViewTest {
 protected:
  void SetUp() override {
    rv_test::ViewTest::SetUp();
    plat::Registry::UseMemory();
    CUserOptions().SetPromptForCOComment(0);
  }
  void TearDown() override {
    plat::SetLauncher(nullptr);
    rv_test::ViewTest::TearDown();
  }
  static vob_dbid_t CheckedOut(const char* name) { return CheckedOutAt(name); }
  std::string CheckoutComment(const char* name) const {
    const vob_dbid_t version = CheckedOut(name);
    const stg_area_t area = stg_create_area(0);
    vob_ckout_info_s info;
    std::string comment = version && vob_ver_get_ckout_info(vob, version, area, &info) == 0 && info.comment
                              ? info.comment
                              : "(none)";
    stg_delete_area(area);
    return comment;
  }
  static vob_dbid_t Predecessor(vob_handle_t in, vob_dbid_t version) {
    vob_dbid_t from = 0;
    return vob_ver_get_pred_ver(in, version, &from) == 0 ? from : 0;
  }
  // Another replica masters the main branches of hello.c and util.c.
  void MasterElsewhere() {
    vob_dbid_t replica = 0, util_branch = 0;
    vob_handle_t found = 0;
    vob_dbid_t util1 = 0;
    char view[64];
    ASSERT_EQ(vob_replica_create(vob, "far", "", &replica), 0);
    ASSERT_EQ(vob_obj_set_master(vob, main_branch, replica), 0);
    ASSERT_EQ(view_ws_lookup_pn(kUtil, view, sizeof view, &found, &util1), 0);
    ASSERT_EQ(vob_ver_get_branch(vob, util1, &util_branch), 0);
    ASSERT_EQ(vob_obj_set_master(vob, util_branch, replica), 0);
  }
  void Hijack(const char* relative, const std::string& text) {
    ::chmod(File(relative).c_str(), 0644);
    Write(File(relative), text);
  }
  plat::test::ScriptedUser host;
};

TEST_F(CheckoutTest, TheCommentPromptTakesTheCommentAndOptionsAndApplyToAllStopsAsking) {
  CUserOptions().SetPromptForCOComment(1);
  CUserOptions().SetCheckoutReserved(0);
  host->OnTemplate(IDD_CHECKOUT_COMMENT)
      .Type(IDC_COCMT_COMMENT, "first line\r\nsecond line")
      .Check(IDC_COCMT_RESERVED)
      .Check(IDC_COCMT_UNRESERVED)
      .Click("Apply to All");
  CFileOperationList list;
  list.AddFile(kHello);
  list.AddFile(kUtil);
  EXPECT_EQ(list.Checkout(), 2);
  EXPECT_EQ(CheckoutComment(kHello), "first line\nsecond line");
  EXPECT_EQ(CheckoutComment(kUtil), "first line\nsecond line") << "asked once";
  EXPECT_TRUE(Writable(File("public/src/hello.c")));
  std::vector<cmd_lscheckout_entry_s> checkouts;
  ASSERT_EQ(cmd_lscheckout_get_list(kUtil, 0, &checkouts), 0);
  ASSERT_EQ(checkouts.size(), 1u);
  EXPECT_EQ(checkouts[0].reserved, 1);
  const std::string text = host->TranscriptText();
  EXPECT_NE(text.find("[24670] [ ] Unreserved if already reserved  (disabled)"), std::string::npos)
      << "unreserved needs reserved, also as the dialog opens\n"
      << text;
  EXPECT_EQ(text.find("nonmastered"), std::string::npos) << "no nonmastered box outside a replicated VOB";
}

TEST_F(CheckoutTest, ClearingReservedUnchecksUnreservedAndOkAsksForTheNextFileAgain) {
  CUserOptions().SetPromptForCOComment(1);
  CUserOptions().SetCheckoutReserved(1);
  CUserOptions().SetCheckoutUnreserved(1);
  host->OnTemplate(IDD_CHECKOUT_COMMENT).Click(IDC_COCMT_RESERVED).Click("OK");
  host->OnTemplate(IDD_CHECKOUT_COMMENT).Type(IDC_COCMT_COMMENT, "kept\rends\n").Click("OK");
  CFileOperationList list;
  list.AddFile(kHello);
  list.AddFile(kUtil);
  EXPECT_EQ(list.Checkout(), 2);
  EXPECT_EQ(CheckoutComment(kUtil), "kept\rends\n") << "only \\r\\n pairs become \\n";
  const std::string text = host->TranscriptText();
  EXPECT_NE(text.find("[24670] [ ] Unreserved"), std::string::npos) << text;
  std::vector<cmd_lscheckout_entry_s> checkouts;
  ASSERT_EQ(cmd_lscheckout_get_list(kHello, 0, &checkouts), 0);
  ASSERT_EQ(checkouts.size(), 1u);
  EXPECT_EQ(checkouts[0].reserved, 0);
}

TEST_F(CheckoutTest, CancelInTheCommentLeavesEveryFileNotProcessed) {
  CUserOptions().SetPromptForCOComment(1);
  host->OnTemplate(IDD_CHECKOUT_COMMENT).Click("Cancel");
  CFileOperationList list;
  list.AddFile(kHello);
  list.AddFile(kUtil);
  EXPECT_EQ(list.Checkout(), 0);
  EXPECT_EQ(Statuses(list), (std::vector<int>{2, 2}));
  EXPECT_EQ(CheckedOut(kHello), 0u);
}

TEST_F(CheckoutTest, WithOptionsNeverPromptsAndTheRunEntryChecksOutWithoutUi) {
  CUserOptions().SetPromptForCOComment(1);
  CFileOperationList list;
  list.SetCOComment("given");
  EXPECT_EQ(list.CheckoutWithOptions(kHello), 1);
  EXPECT_EQ(CheckoutComment(kHello), "given");
  const char* paths[] = {kUtil, "\\\\view\\v1\\public\\src\\gone.c"};
  host->OnMessage("Error checking out '\\\\view\\v1\\public\\src\\gone.c'.").Click("OK");
  int results[2] = {-1, -1};
  EXPECT_EQ(rvRunFileOperationEx(paths, results, 2, plat::Hwnd::Null, RV_FILEOP_CHECKOUT, 1), 0);
  EXPECT_EQ(results[0], 1);
  EXPECT_EQ(results[1], 0) << "a name that reaches nothing fails";
  EXPECT_EQ(CheckoutComment(kUtil), "") << "no comment without UI";
}

TEST_F(CheckoutTest, AlreadyCheckedOutMissingAndViewPrivateFiles) {
  vob_dbid_t out = 0;
  ASSERT_EQ(cmd_utl_checkout(vob, util, "v1", 1, "", &out), 0);
  Write(File("public/src/private.txt"), "mine\n");
  host->OnMessage("Element is already checked out to view 'v1'.").Click("OK");
  host->OnMessage("Error checking out '\\\\view\\v1\\public\\src\\gone.c'.").Click("OK");
  CFileOperationList list;
  for (const char* f : {kUtil, "\\\\view\\v1\\public\\src\\private.txt", "\\\\view\\v1\\public\\src\\gone.c"})
    list.AddFile(f);
  EXPECT_EQ(list.Checkout(), 1);
  EXPECT_EQ(Statuses(list), (std::vector<int>{1, 0, 1}));
  EXPECT_EQ(Read(File("public/src/private.txt")), "mine\n");
}

TEST_F(CheckoutTest, AVobFormEntryIsCheckedOutThroughItsViewsName) {
  CFileOperationList list;
  list.AddFile(vob, hello, "v1");
  EXPECT_EQ(list.CheckoutWithOptions(), 1) << list.Entry(0)->Messages();
  EXPECT_EQ(Predecessor(vob, CheckedOut(kHello)), hello2);
  EXPECT_TRUE(Writable(File("public/src/hello.c")));
}

// ---- the version choice ----

class CheckoutVersionTest : public CheckoutTest {
 protected:
  void SetUp() override {
    CheckoutTest::SetUp();
    MakeView("rel1", "element * CHECKEDOUT\nelement * REL1\n");
  }
};

TEST_F(CheckoutVersionTest, CurrentLatestAndTheSelectedVersionFlag) {
  struct Case {
    const char* press;
    int version_flag;
    bool expect_dialog;
    const char* content;  // what the view's file holds afterwards
  };
  for (const Case& c : {Case{"Current Version:", 0, true, "hello 1\n"}, Case{"Latest Version:", 0, true, "hello 2\n"},
                        Case{nullptr, 1, false, "hello 1\n"}}) {
    if (c.expect_dialog) host->OnTemplate(IDD_CONFIRM_CHECKOUT_VERSION).Click(c.press).Click("Yes");
    CFileOperationList list;
    list.SetCOVer(c.version_flag);
    EXPECT_EQ(list.CheckoutWithOptions(kRelHello), 1) << list.Entry(0)->Messages();
    EXPECT_EQ(Read(home / "views" / "rel1" / "public/src/hello.c"), c.content);
    list.UncheckoutWithOptions();
  }
  const std::string text = host->TranscriptText();
  EXPECT_NE(text.find("There are multiple versions of '\\\\view\\rel1\\public\\src\\hello.c'"), std::string::npos)
      << text;
  EXPECT_NE(text.find("not the LATEST version on its branch"), std::string::npos);
}

TEST_F(CheckoutVersionTest, NoSkipsTheFileAndCancelEndsTheRun) {
  host->OnTemplate(IDD_CONFIRM_CHECKOUT_VERSION).Click("No");
  CFileOperationList list;
  list.AddFile(kRelHello);
  list.AddFile(kUtil);
  EXPECT_EQ(list.CheckoutWithOptions(), 1);
  EXPECT_EQ(Statuses(list), (std::vector<int>{2, 0}));
  EXPECT_EQ(list.Entry(0)->Messages(), "") << "a skip is no failure";

  host->OnTemplate(IDD_CONFIRM_CHECKOUT_VERSION).Click("Cancel");
  CFileOperationList again;
  again.AddFile(kRelHello);
  again.AddFile(kHello);
  EXPECT_EQ(again.CheckoutWithOptions(), 0);
  EXPECT_EQ(Statuses(again), (std::vector<int>{2, 2}));
}

TEST_F(CheckoutVersionTest, MastershipRequestsOfARunGoToOneToolStart) {
  MasterElsewhere();
  ASSERT_EQ(ntregy_set_param(TSL_PARAM_REQMASTER_ENABLED, "1"), 0);
  auto launcher = plat::UseRecordingLauncher();
  host->OnTemplate(IDD_CONFIRM_CHECKOUT_VERSION).Check(IDC_COVER_MASTERSHIP).Click("Yes").Times(2);
  CFileOperationList list;
  list.SetCONonmastered(1);
  list.SetCOReserved(0);
  list.AddFile(kHello);
  list.AddFile(kUtil);
  EXPECT_EQ(list.CheckoutWithOptions(), 2) << list.Entry(0)->Messages();
  const auto starts = launcher->Starts();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].command_line,
            "tsldlg /reqmaster /objects \"\\\\view\\v1\\public\\src\\hello.c@@\\main\" "
            "\"\\\\view\\v1\\public\\src\\util.c@@\\main\" /RFMProgress");
  EXPECT_NE(host->TranscriptText().find("(An unreserved, nonmastered checkout is required.)"), std::string::npos);
}

TEST_F(CheckoutVersionTest, AToolThatCannotStartIsSaidAndTheNonmasteredTriggerAsksNothing) {
  MasterElsewhere();
  ASSERT_EQ(ntregy_set_param(TSL_PARAM_REQMASTER_ENABLED, "1"), 0);
  auto launcher = plat::UseRecordingLauncher();
  launcher->SetStartFailure("tsldlg", ENOENT);
  host->OnTemplate(IDD_CONFIRM_CHECKOUT_VERSION).Check(IDC_COVER_MASTERSHIP).Click("Yes");
  host->OnMessage("Unable to execute the following command: tsldlg /reqmaster /objects").Click("OK");
  CFileOperationList list;
  list.SetCONonmastered(1);
  EXPECT_EQ(list.CheckoutWithOptions(kHello), 1);
  {
    EnvScope trigger("STRATA_NMASTER_TRIG", "1");
    CFileOperationList util_only;
    util_only.SetCONonmastered(1);
    EXPECT_EQ(util_only.CheckoutWithOptions(kUtil), 1) << "no dialog: checked out nonmastered at once";
  }
  const stg_area_t area = stg_create_area(0);
  vob_ckout_info_s info;
  ASSERT_EQ(vob_ver_get_ckout_info(vob, CheckedOut(kUtil), area, &info), 0);
  EXPECT_EQ(info.nonmastered, 1);
  stg_delete_area(area);
}

TEST_F(CheckoutVersionTest, TheMastershipBoxStaysHiddenWhenTheSiteMayNotRequest) {
  MasterElsewhere();
  CallLog::InjectFailure("ntregy_get_param", rv_test::Failing(TBS_ST_FAILURE));
  auto launcher = plat::UseRecordingLauncher();
  host->OnTemplate(IDD_CONFIRM_CHECKOUT_VERSION).Click("Yes");
  CFileOperationList list;
  list.SetCONonmastered(1);
  EXPECT_EQ(list.CheckoutWithOptions(kHello), 1);
  EXPECT_EQ(host->TranscriptText().find("Request mastership"), std::string::npos) << host->TranscriptText();
  EXPECT_TRUE(launcher->Starts().empty());
}

TEST_F(CheckoutTest, AReservedConflictFailsWithoutFallbackAndGoesUnreservedWithIt) {
  vob_dbid_t out = 0;
  ASSERT_EQ(cmd_utl_checkout(vob, hello, "other", 1, "", &out), 0);
  host->OnMessage("is checked out reserved in view \"other\"").Click("OK");
  CFileOperationList list;
  list.SetCOReserved(1);
  list.SetCOUnreserved(0);
  EXPECT_EQ(list.CheckoutWithOptions(kHello), 0);
  CUserOptions().SetSuppressErrors(1);
  host->OnTemplate(IDD_CONFIRM_CHECKOUT_VERSION).Click("Yes");
  list.SetCOUnreserved(1);
  EXPECT_EQ(list.CheckoutWithOptions(), 1) << "the one entry, now unreserved";
  EXPECT_NE(host->TranscriptText().find("(An unreserved checkout is required.)"), std::string::npos);
}

// Reserved and nonmastered on a replicated VOB: nonmastered stays only where
// it can matter, and the comment form offers it.
TEST_F(CheckoutTest, NonmasteredIsDroppedForABranchMasteredHereUnlessAReservationBlocks) {
  vob_dbid_t replica = 0;
  ASSERT_EQ(vob_replica_create(vob, "far", "", &replica), 0);
  struct Case {
    bool reserved_elsewhere, unreserved;
    const char* nonmastered_sent;
  };
  for (const Case& c : {Case{false, false, "0"}, Case{true, false, "1"}, Case{true, true, "0"}}) {
    vob_dbid_t out = 0;
    if (c.reserved_elsewhere && !c.unreserved) {
      ASSERT_EQ(cmd_utl_checkout(vob, hello, "other", 1, "", &out), 0);
    }
    client_local::CallLogScope log;
    CUserOptions().SetSuppressErrors(1);
    if (c.reserved_elsewhere && c.unreserved) host->OnTemplate(IDD_CONFIRM_CHECKOUT_VERSION).Click("Yes");
    CFileOperationList list;
    list.SetCOReserved(1);
    list.SetCOUnreserved(c.unreserved ? 1 : 0);
    list.SetCONonmastered(1);
    list.CheckoutWithOptions(kHello);
    const auto calls = CallLog::Calls("cmd_checkout");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args.at(3), c.nonmastered_sent) << c.reserved_elsewhere << c.unreserved;
    list.UncheckoutWithOptions();
  }
  CUserOptions().SetPromptForCOComment(1);
  host->OnTemplate(IDD_CHECKOUT_COMMENT).Check(IDC_COCMT_NONMASTERED).Click("OK");
  CFileOperationList list;
  EXPECT_EQ(list.Checkout(kUtil), 1);
  EXPECT_NE(host->TranscriptText().find("[24744] [x] Unreserved, nonmastered"), std::string::npos)
      << host->TranscriptText();
}

// ---- hijacked files ----

TEST_F(CheckoutTest, AHijackedFileIsKeptRenamedOrLeftAsTheUserSays) {
  struct Case {
    const char* press;
    int succeeded;
    const char* hello;  // the view's hello.c afterwards
    bool renamed;
  };
  for (const Case& c : {Case{"Yes", 1, "my hello\n", false}, Case{"No", 1, "hello 2\n", true},
                        Case{"Cancel", 0, "my hello\n", false}}) {
    Hijack("public/src/hello.c", "my hello\n");
    host->OnTemplate(IDD_CONFIRM_USE_PRIVATE).Click(c.press);
    CFileOperationList list;
    EXPECT_EQ(list.CheckoutWithOptions(kHello), c.succeeded) << c.press;
    EXPECT_EQ(Read(File("public/src/hello.c")), c.hello) << c.press;
    EXPECT_EQ(std::filesystem::exists(File("public/src/hello.c.hijack")), c.renamed) << c.press;
    std::filesystem::remove(File("public/src/hello.c.hijack"));
    if (c.succeeded) list.UncheckoutWithOptions();
  }
}

TEST_F(CheckoutTest, YesToAllKeepsEveryHijackedFileWithoutAskingAgain) {
  Hijack("public/src/hello.c", "my hello\n");
  Hijack("public/src/util.c", "my util\n");
  host->OnTemplate(IDD_CONFIRM_USE_PRIVATE).Click("Yes to All");
  CFileOperationList list;
  list.AddFile(kHello);
  list.AddFile(kUtil);
  EXPECT_EQ(list.CheckoutWithOptions(), 2);
  EXPECT_EQ(Read(File("public/src/util.c")), "my util\n");
  EXPECT_NE(host->TranscriptText().find("The file '\\\\view\\v1\\public\\src\\hello.c' has been modified."),
            std::string::npos);
}

// ---- injected failures ----

TEST_F(CheckoutTest, InjectedFailuresFailTheFileAndChangeNothing) {
  struct Case {
    const char* call;
    int status;
    const char* message;
  };
  for (const Case& c : {Case{"cmd_checkout", TBS_ST_FAILURE, "the server is down"},
                        Case{"stg_create_area", TBS_ST_NO_MEMORY, nullptr}}) {
    CallLog::InjectFailure(c.call, client_local::Failure{c.status, {{6, c.message ? std::string(c.message) + "\n" : ""}}, 1});
    if (c.message) host->OnMessage(c.message).Click("OK");
    CUserOptions().SetSuppressErrors(c.message ? 0 : 1);
    rv_test::MessageCapture after;
    CFileOperationList list;
    EXPECT_EQ(list.CheckoutWithOptions(kHello), 0) << c.call;
    EXPECT_EQ(CheckedOut(kHello), 0u) << c.call;
    EXPECT_FALSE(Writable(File("public/src/hello.c"))) << c.call;
    // The capture of the check-out has ended: later messages reach the routing in force.
    imsg_print(IMSG_NOTICE, "after the run\n");
    EXPECT_NE(after.Text().find("after the run"), std::string::npos) << c.call;
  }
}

// ---- handmade candidates ----

class ConfirmVersionTest : public CheckoutTest {
 protected:
  void SetUp() override {
    CheckoutTest::SetUp();
    ASSERT_TRUE(progress.Create(nullptr));
  }
  void TearDown() override {
    progress.StopRunning();
    progress.DrainModalLoop();
    CheckoutTest::TearDown();
  }
  int Confirm(std::vector<cmd_checkout_candidate_s> candidates, int hijacked, std::uint32_t count = 0) {
    rvcmndlg::EntryScope resources;  // as on the operation's worker
    CCheckoutOperation operation(progress, entries);
    use_modified = -1;
    const int answer = operation.ConfirmVersion(
        "\\\\view\\v1\\f.c", count ? count : static_cast<std::uint32_t>(candidates.size()), candidates.data(),
        hijacked, &use_modified);
    cancelled = operation.IsCancelled();
    return answer;
  }
  static cmd_checkout_candidate_s Candidate(const char* name) {
    cmd_checkout_candidate_s c;
    c.name = name;
    c.branch = "\\main";
    c.creator = "pat";
    c.created = "today";
    c.reserved_by = "other";
    c.master = "far";
    c.auto_merge = 1;
    return c;
  }

  CProgressDlg progress{IDS_CHECKING_OUT, IDR_AVI_CHECKOUT, 0};
  CFileOperationList entries;
  int use_modified = -1;
  bool cancelled = false;
};

TEST_F(ConfirmVersionTest, AHijackThatNeedsAManualMergeCancelsTheRun) {
  auto c = Candidate("\\f.c@@\\main\\2");
  c.needs_hijack_merge = 1;
  c.auto_merge = 0;
  host->OnMessage("Checkout is not allowed for hijacked files with the merge type user").Click("OK");
  EXPECT_EQ(Confirm({c}, 1), CMD_CHECKOUT_NONE);
  EXPECT_TRUE(cancelled);
}

TEST_F(ConfirmVersionTest, EveryHeaderAndNoteIsShown) {
  auto blocked = Candidate("\\f.c@@\\main\\1");
  blocked.branch_exists = 1;
  auto flagged = Candidate("\\f.c@@\\main\\2");
  flagged.unloaded_after_update = flagged.not_latest = flagged.not_loaded = flagged.reserved_elsewhere = 1;
  auto foreign = Candidate("\\f.c@@\\main\\3");
  foreign.not_mastered_here = 1;
  foreign.not_allowed = 1;
  host->OnTemplate(IDD_CONFIRM_CHECKOUT_VERSION).Click("Yes");
  EXPECT_EQ(Confirm({blocked, flagged}, 0), 1) << "the first eligible panel is chosen";
  EXPECT_EQ(Confirm({blocked, foreign}, 0), CMD_CHECKOUT_NONE) << "no eligible: no question";
  const std::string text = host->TranscriptText();
  for (const char* expected :
       {"There is additional information to consider before checking out '\\\\view\\v1\\f.c'.",
        "This version cannot be checked out.", "specifies creation of the '\\main' branch,  but it already exists.",
        "would no longer be loaded", "not the LATEST version", "not loaded into the view",
        "Branch '\\main' is reserved by view 'other'.", "[24631] ( ) Current Version:  (disabled)"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

TEST_F(ConfirmVersionTest, OneCandidateLeavesTheSecondPanelEmptyAndReadsNothingPastTheCount) {
  std::vector<cmd_checkout_candidate_s> candidates = {Candidate("\\f.c@@\\main\\2"), Candidate("PAST THE COUNT")};
  candidates[0].not_mastered_here = 1;
  candidates[0].needs_hijack_merge = 1;
  host->OnTemplate(IDD_CONFIRM_USE_PRIVATE).Click("No");
  host->OnTemplate(IDD_CONFIRM_CHECKOUT_VERSION).Click("Yes");
  EXPECT_EQ(Confirm(candidates, 1, 1), 0);
  EXPECT_EQ(use_modified, 0) << "No renames the hijacked file";
  const std::string text = host->TranscriptText();
  EXPECT_EQ(text.find("PAST THE COUNT"), std::string::npos) << text;
  EXPECT_NE(text.find("If converted to a checkout, a merge may be required"), std::string::npos) << text;
  EXPECT_NE(text.find("Branch '\\main' is not mastered by the current replica. Master replica of branch is 'far'."),
            std::string::npos);
  EXPECT_NE(text.find("[24632] ( ) Latest Version:  (disabled)"), std::string::npos) << text;
}

TEST(MastershipCommandLine, EachRequestIsQuotedWhateverItHolds) {
  EXPECT_EQ(MastershipCommandLine({"\\v\\a b.c@@\\main", "x\"y\\"}),
            "tsldlg /reqmaster /objects \"\\v\\a b.c@@\\main\" \"x\\\"y\\\\\" /RFMProgress");
}

}  // namespace

// ---- stream views ----

namespace stream_views {

class CheckoutStreamTest : public rv_test::FlmSampleTest {
 protected:
  void SetUp() override {
    rv_test::FlmSampleTest::SetUp();
    plat::Registry::UseMemory();
    CUserOptions().SetPromptForCOComment(0);
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

TEST_F(CheckoutStreamTest, WithACurrentActivityNothingIsAskedAndThePromptShowsTheActivityForm) {
  CFileOperationList list;
  EXPECT_EQ(list.Checkout(kHello), 1) << list.Entry(0)->Messages();
  CUserOptions().SetPromptForCOComment(1);
  host->OnTemplate(IDD_CHECKOUT_ACTIVITY_COMMENT).Type(IDC_COCMT_COMMENT, "tidy up").Click("OK");
  CFileOperationList second;
  EXPECT_EQ(second.Checkout(kUtil), 1) << second.Entry(0)->Messages();
  EXPECT_EQ(Current(), fix);
  EXPECT_NE(host->TranscriptText().find("fix"), std::string::npos) << "the current activity is chosen";
}

TEST_F(CheckoutStreamTest, WithoutAnActivityTheUserMustChooseOneAndItBecomesCurrent) {
  ASSERT_EQ(flm_admin_set_view_stream("v1", hello_dev, FLM_Activity()), 0);
  host->OnTemplate(IDD_CHECKOUT_ACTIVITY_COMMENT).Click("OK").Click("New...").Click("OK");
  host->OnMessage("You must select an activity.").Click("OK");
  host->OnTemplate(IDD_NEW_ACTIVITY).Type(IDC_NEW_ACT_HEADLINE, "Made here").Click("OK");
  CFileOperationList list;
  EXPECT_EQ(list.Checkout(kHello), 1) << list.Entry(0)->Messages();
  std::string headline;
  ASSERT_EQ(Current().headline(&headline), 0);
  EXPECT_EQ(headline, "Made here");
}

TEST_F(CheckoutStreamTest, BrowseChoosesAndARefusedActivityKeepsTheDialogOpen) {
  ASSERT_EQ(flm_admin_set_view_stream("v1", hello_dev, FLM_Activity()), 0);
  host->OnTemplate(IDD_CHECKOUT_ACTIVITY_COMMENT).Click("Browse...").Click("OK").Click("Cancel");
  host->OnTemplate(IDD_BROWSE_ACTIVITY).Select(IDC_ACTIVITY_LIST, "Fix the greeting").Click("OK");
  host->OnMessage("the view refuses").Click("OK");
  CallLog::InjectFailure("FLM_View::set_activity",
                         client_local::Failure{TBS_ST_FAILURE, {{6, "the view refuses\n"}}, 1});
  CFileOperationList list;
  EXPECT_EQ(list.Checkout(kHello), 0);
  EXPECT_EQ(Statuses(list), (std::vector<int>{2}));
  EXPECT_TRUE(Current().is_null());
}

TEST_F(CheckoutStreamTest, ATracklaneProjectNeedsTheClientAndOtherwiseOffersItsRecords) {
  ASSERT_EQ(flm_admin_set_view_stream("v1", tracked_int, FLM_Activity()), 0);
  ASSERT_EQ(kelp_set_installed(false), 0);
  host->OnMessage("Tracklane is not installed.").Click("OK");
  CFileOperationList list;
  EXPECT_EQ(list.Checkout(kHello), 0);
  EXPECT_EQ(list.Entry(0)->Status(), 1) << "a failure, not a success";

  ASSERT_EQ(kelp_set_installed(true), 0);
  host->OnTemplate(IDD_CHECKOUT_TL_COMMENT).Click("Browse...").Click("OK");
  host->OnTemplate(KELP_IDD_BROWSER).Select(KELP_IDC_RECORDS, "#0").Click("OK");
  CFileOperationList again;
  again.Checkout(kHello);
  EXPECT_EQ(Current(), crash) << "the record's activity becomes current";
}

}  // namespace stream_views
