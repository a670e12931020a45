// Start View, Stop View and Remove View as the user meets them: what each
// dialog offers, what the user picks and answers, and what the repository,
// the view directories and the drives hold afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cmd_utl.h"
#include "flm.h"
#include "local/calllog.h"
#include "ntregy.h"
#include "platform/machine.h"
#include "platform/registry.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "rvcmndlg/entries.h"
#include "rvcmndlg/user_options.h"
#include "support/repository.h"
#include "support/ui.h"
#include "tbs.h"
#include "tbs_rvfs.h"
#include "view.h"
#include "viewvob/view_ops_dlg.h"

namespace {

namespace fs = std::filesystem;
using namespace rvcmndlg::res;
using client_local::CallLog;
using client_local::Failure;
using Tags = std::vector<std::string>;

constexpr std::uint32_t kOnlyC = 1u << 2;

plat::Action Add(int list, const std::string& item) {
  return plat::Action{plat::Action::Kind::Add, std::to_string(list), item};
}

// v1 started; s1, s2 and s3 stopped; all of this host.
class ViewOpsTest : public rv_test::ViewTest {
 protected:
  void SetUp() override {
    plat::Registry::UseMemory();
    Machine(kOnlyC);
    ViewTest::SetUp();
    for (const char* tag : {"s1", "s2", "s3"}) {
      ASSERT_EQ(view_create(tag, 0, ""), 0);
      ASSERT_EQ(view_mfs_unregister_tag(tag), 0);
    }
    CUserOptions().SetStartViewPage(0);
    CUserOptions().SetRestartAtLogon(1);
    host = std::make_shared<plat::ScriptedHost>();
    plat::SetUiHost(host);
  }
  void TearDown() override {
    EXPECT_EQ(host->Finish(), std::vector<std::string>()) << host->TranscriptText();
    plat::SetUiHost(nullptr);
    plat::SetMachineProfile(std::nullopt);
    client_local::SetRvfsInstalled(true);
    CallLog::StopRecording();
    ViewTest::TearDown();
  }
  static void Machine(std::uint32_t drives) {
    plat::MachineProfile machine;
    machine.host_name = machine.computer_name = "HERE";
    machine.user_name = "pat";
    machine.logical_drives = drives;
    plat::SetMachineProfile(machine);
  }
  // The last drawing of the dialog with the template.
  std::string LastDrawn(int template_id) const {
    const std::string text = host->TranscriptText();
    const std::size_t at = text.rfind("[dialog " + std::to_string(template_id) + "]");
    return at == std::string::npos ? std::string() : text.substr(at, text.find("\n+--", at) - at);
  }
  std::vector<std::string> Logon() const {
    std::vector<view_logon_entry_s> entries;
    EXPECT_EQ(view_get_logon_entries(&entries), 0);
    Tags lines;
    for (const auto& e : entries) lines.push_back(e.drive + e.tag);
    return lines;
  }
  bool Linked(char letter, const std::string& tag) const {
    std::error_code error;
    return fs::read_symlink(home / "drives" / std::string(1, letter), error) == home / "views" / tag;
  }

  rvcmndlg::EntryScope resources_;
  std::shared_ptr<plat::ScriptedHost> host;
};

// ---- Start View ----

TEST_F(ViewOpsTest, TheDriveBoxOffersOnlyFreeLettersAndNone) {
  const struct {
    std::uint32_t in_use;
    const char* drives;
  } cases[] = {{0x3FFFFFF, "{>{none}<}"},
               {kOnlyC | (1u << 10), "{A: | B: | D: | E: | F: | G: | H: | I: | J: | L: | N: | O: | P: | Q: | R: | S: "
                                    "| T: | U: | V: | W: | X: | Y: | Z: | >{none}<}"}};
  for (const auto& c : cases) {
    Machine(c.in_use);
    host->OnTemplate(IDD_START_VIEW).Click("Cancel");
    EXPECT_EQ(StartViewOp({}, nullptr, nullptr), plat::IdCancel);
    EXPECT_NE(LastDrawn(IDD_START_VIEW).find(c.drives), std::string::npos) << LastDrawn(IDD_START_VIEW);
  }
}

TEST_F(ViewOpsTest, RestartAtLogonFollowsTheDriveAndTheNumberOfViews) {
  host->OnTemplate(IDD_START_VIEW)
      .Select(IDC_VIEW_LIST_LOCAL, "s1")
      .Select(IDC_DRIVE_BOX, "K:")  // the first drive after "{none}" offers the stored default
      .Do(Add(IDC_VIEW_LIST_LOCAL, "s2"))
      .Click("Cancel");
  StartViewOp({}, nullptr, nullptr);
  const std::string two = LastDrawn(IDD_START_VIEW);
  EXPECT_NE(two.find("Connect To Drive:  (disabled)"), std::string::npos) << two;
  EXPECT_NE(two.find("combo: \"K:\""), std::string::npos) << two;
  EXPECT_NE(two.find("[ ] Restart at Logon  (disabled)"), std::string::npos) << two;
  const std::string transcript = host->TranscriptText();
  EXPECT_NE(transcript.find("[x] Restart at Logon"), std::string::npos) << transcript;

  // Back to one view: the box is enabled again and offers the default again.
  host->OnTemplate(IDD_START_VIEW)
      .Select(IDC_DRIVE_BOX, "K:")
      .Select(IDC_VIEW_LIST_LOCAL, "s1")
      .Do(Add(IDC_VIEW_LIST_LOCAL, "s2"))
      .Select(IDC_VIEW_LIST_LOCAL, "s1")
      .Click("Cancel");
  StartViewOp({}, nullptr, nullptr);
  EXPECT_NE(LastDrawn(IDD_START_VIEW).find("[x] Restart at Logon"), std::string::npos) << LastDrawn(IDD_START_VIEW);
}

TEST_F(ViewOpsTest, StartingOnADriveWithRestartLinksItAndRecordsTheLogonEntry) {
  host->OnTemplate(IDD_START_VIEW).Select(IDC_VIEW_LIST_LOCAL, "s1").Select(IDC_DRIVE_BOX, "K:").Click("OK");
  ViewOutcomes outcomes;
  EXPECT_EQ(StartViewOp({}, nullptr, &outcomes), plat::IdOk);
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_EQ(outcomes[0].result, ViewOutcome::kSucceeded);
  EXPECT_TRUE(Linked('k', "s1"));
  EXPECT_EQ(Logon(), Tags{"K:s1"});
  EXPECT_EQ(view_is_active("s1"), 1);
  std::vector<char> recent(VIEW_RECENT_SIZE);
  ASSERT_EQ(ntregy_get_param(VIEW_RECENT_PARAM, recent.data(), recent.size()), 0);
  EXPECT_EQ(std::string(recent.data()).substr(0, 3), "s1,");
  EXPECT_EQ(rv_test::ReadFile(home / "drives" / "k" / "public" / "src" / "util.c"), "util 1\n");
}

TEST_F(ViewOpsTest, NoDriveStillAsksForAMappingWithNoLetter) {
  CallLog::StartRecording();
  host->OnTemplate(IDD_START_VIEW).Select(IDC_VIEW_LIST_LOCAL, "s1").Click("OK");
  EXPECT_EQ(StartViewOp({}, nullptr, nullptr), plat::IdOk);
  const auto calls = CallLog::Calls("view_add_mapping");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args, (Tags{"s1", "", "0"}));
  EXPECT_EQ(view_is_active("s1"), 1);
  EXPECT_FALSE(fs::exists(home / "drives"));
}

TEST_F(ViewOpsTest, AFailedDriveIsReportedAndAFailedStartGivesItsDriveBack) {
  CallLog::InjectFailure("view_add_mapping", Failure{TBS_ST_PERMISSION, {}, 1});
  host->OnTemplate(IDD_START_VIEW).Select(IDC_VIEW_LIST_LOCAL, "s1").Select(IDC_DRIVE_BOX, "K:").Click("OK");
  host->OnMessage("Unable to assign drive to view: error 1051.").Click("OK");
  EXPECT_EQ(StartViewOp({}, nullptr, nullptr), plat::IdOk);
  EXPECT_EQ(view_is_active("s1"), 1) << "the start goes on";
  EXPECT_NE(host->TranscriptText().find("message box, warning"), std::string::npos);

  CallLog::InjectFailure("FLM_View::start", Failure{TBS_ST_PERMISSION, {{6, "the view server is down\n"}}, 1});
  host->OnTemplate(IDD_START_VIEW).Select(IDC_VIEW_LIST_LOCAL, "s2").Select(IDC_DRIVE_BOX, "L:").Click("OK");
  host->OnMessage("Error starting view 's2'.\n\nthe view server is down").Click("OK");
  ViewOutcomes outcomes;
  StartViewOp({}, nullptr, &outcomes);
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_EQ(outcomes[0].result, ViewOutcome::kFailed);
  EXPECT_EQ(Logon(), Tags{});
  EXPECT_FALSE(fs::exists(fs::symlink_status(home / "drives" / "l")));
}

TEST_F(ViewOpsTest, TheStoredPageOpensAndIsStoredOnlyOnOk) {
  const struct {
    int stored;
    const char* tabs;
  } cases[] = {{0, "[Local] Recent"}, {2, "Recent [All]"}, {3, "Local [Recent] All"}, {-1, "Local [Recent] All"}};
  for (const auto& c : cases) {
    CUserOptions().SetStartViewPage(c.stored);
    host->OnTemplate(IDD_START_VIEW).Click("Cancel");
    StartViewOp({}, nullptr, nullptr);
    EXPECT_NE(LastDrawn(IDD_START_VIEW).find(c.tabs), std::string::npos) << c.stored << LastDrawn(IDD_START_VIEW);
    EXPECT_EQ(CUserOptions().StartViewPage(), c.stored);
  }
  host->OnTemplate(IDD_START_VIEW).Page("All").Select(IDC_VIEW_LIST_ALL, "s3").Click("OK");
  StartViewOp({}, nullptr, nullptr);
  EXPECT_EQ(CUserOptions().StartViewPage(), 2);
}

TEST_F(ViewOpsTest, WithoutTheFileSystemStartAndStopSaySoAndRemoveOffersSnapshotOnly) {
  client_local::SetRvfsInstalled(false);
  host->OnMessage("the RVFS is not installed").Times(2).Click("OK");
  EXPECT_EQ(rvStartViewOp({}, nullptr), -1);
  EXPECT_EQ(rvStopViewOp({}, nullptr), -1);
  CUserOptions().SetStartViewPage(1);
  host->OnTemplate(IDD_REMOVE_VIEW).Click("Cancel");
  EXPECT_EQ(rvRemoveViewOp({}, 1, nullptr), plat::IdCancel);
  EXPECT_NE(LastDrawn(IDD_REMOVE_VIEW).find("tabs: [Snapshot]\n"), std::string::npos) << LastDrawn(IDD_REMOVE_VIEW);
}

// ---- Stop View ----

TEST_F(ViewOpsTest, StoppingParksTheRootAndDropsTheDriveUnlessEndFails) {
  ASSERT_EQ(view_add_mapping("v1", "K:", 1), 0);
  CallLog::InjectFailure("FLM_View::end", Failure{TBS_ST_PERMISSION, {}, 1});
  host->OnTemplate(IDD_STOP_VIEW).Select(IDC_STOP_VIEW_LIST, "v1").Click("OK");
  host->OnMessage("Error stopping view 'v1'.").Click("OK");
  EXPECT_EQ(StopViewOp({}, nullptr, nullptr), plat::IdOk);
  EXPECT_TRUE(Linked('k', "v1"));
  EXPECT_EQ(Logon(), Tags{"K:v1"});

  host->OnTemplate(IDD_STOP_VIEW).Click("OK");  // v1 preselected
  ViewOutcomes outcomes;
  EXPECT_EQ(StopViewOp({"V1"}, nullptr, &outcomes), plat::IdOk);
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_EQ(outcomes[0].result, ViewOutcome::kSucceeded);
  EXPECT_FALSE(fs::exists(File("")));
  EXPECT_TRUE(fs::exists(home / "viewstore" / "v1.vws" / "public" / "src" / "util.c"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(home / "drives" / "k")));
  EXPECT_EQ(Logon(), Tags{});
}

// ---- Remove View ----

TEST_F(ViewOpsTest, NoForOneOfThreeViewsRemovesTheOtherTwo) {
  host->OnTemplate(IDD_REMOVE_VIEW)
      .Select(IDC_VIEW_LIST_LOCAL, "s1")
      .Do(Add(IDC_VIEW_LIST_LOCAL, "s2"))
      .Do(Add(IDC_VIEW_LIST_LOCAL, "s3"))
      .Click("OK");
  host->OnMessage("the view, 's1'").Click("Yes");
  host->OnMessage("the view, 's2'").Click("No");
  host->OnMessage("the view, 's3'").Click("Yes");
  ViewOutcomes outcomes;
  EXPECT_EQ(RemoveViewOp({}, 1, nullptr, &outcomes), plat::IdOk);
  EXPECT_NE(host->TranscriptText().find("<No>*"), std::string::npos) << "No is the default answer";
  Tags results;
  for (const auto& o : outcomes) results.push_back(o.name + " " + std::to_string(o.result));
  EXPECT_EQ(results, (Tags{"s1 0", "s2 2", "s3 0"}));
  FLM_View view;
  EXPECT_EQ(FLM_View::construct_from_tag("s2", &view), 0);
  for (const char* gone : {"s1", "s3"}) {
    EXPECT_NE(FLM_View::construct_from_tag(gone, &view), 0) << gone;
    EXPECT_FALSE(fs::exists(home / "viewstore" / (std::string(gone) + ".vws"))) << gone;
  }
  EXPECT_EQ(CUserOptions().StartViewPage(), 0);
}

TEST_F(ViewOpsTest, AViewWithACheckOutIsRefusedAndKeepsEverything) {
  ASSERT_EQ(cmd_utl_checkout(vob, util, "v1", 1, "edit", nullptr), 0);
  rv_test::WriteFile(File("public/src/util.c"), "work\n");
  const auto mode = fs::status(File("public/src/util.c")).permissions();
  host->OnMessage("the view, 'v1'").Click("Yes");
  host->OnMessage("\"\\public\\src\\util.c\" checked out: check it in or undo the check-out first.").Click("OK");
  ViewOutcomes outcomes;
  EXPECT_EQ(RemoveViewOp({"v1"}, 0, nullptr, &outcomes), 0);
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_EQ(outcomes[0].result, ViewOutcome::kFailed);
  EXPECT_EQ(rv_test::ReadFile(File("public/src/util.c")), "work\n");
  EXPECT_EQ(fs::status(File("public/src/util.c")).permissions(), mode);
  EXPECT_EQ(State("\\\\view\\v1\\public\\src\\util.c"), VIEW_FILE_CHECKED_OUT);
}

TEST_F(ViewOpsTest, AFailureSaysWhatHappenedEvenWithoutMessages) {
  const struct {
    const char* view;
    Failure failure;
    const char* box;
  } cases[] = {{"s1", Failure{0, {{4, "the view's server did not answer\n"}}, 1}, "the view's server did not answer"},
               {"s2", Failure{TBS_ST_PERMISSION, {}, 1}, "Error removing view 's2'.\n\n"}};
  for (const auto& c : cases) {
    CallLog::InjectFailure("cmd_rmview", c.failure);
    host->OnMessage(std::string("the view, '") + c.view + "'").Click("Yes");
    host->OnMessage(c.box).Click("OK");
    ViewOutcomes outcomes;
    RemoveViewOp({c.view}, 0, nullptr, &outcomes);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].result, ViewOutcome::kFailed);
    EXPECT_FALSE(outcomes[0].messages.empty());
  }
}

TEST_F(ViewOpsTest, WithoutTheDialogAPathnameRemovesItsViewAndANonViewIsSkipped) {
  host->OnMessage("the view, '\\\\view\\s1'").Click("Yes");
  ViewOutcomes outcomes;
  EXPECT_EQ(RemoveViewOp({"nothing_here", "\\\\view\\s1\\public\\src"}, 0, nullptr, &outcomes), 0);
  Tags results;
  for (const auto& o : outcomes) results.push_back(o.name + " " + std::to_string(o.result));
  EXPECT_EQ(results, (Tags{"nothing_here 2", "s1 0"}));
  FLM_View view;
  EXPECT_NE(FLM_View::construct_from_tag("s1", &view), 0);
}

}  // namespace
