// Select Activity, New Activity and Contributing Activities over the model's
// sample, driven as a user would: what the list shows, what the user picks
// or makes, and what the store holds afterwards.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cm/act_contribs_dlg.h"
#include "cm/browse_for_activity_dlg.h"
#include "cm/new_activity_dlg.h"
#include "flm_admin.h"
#include "local/calllog.h"
#include "platform/controls.h"
#include "platform/process.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "cm/activity_entries.h"
#include "rvcmndlg/entries.h"
#include "support/flm_sample.h"
#include "support/ui.h"
#include "tbs.h"

namespace {

using namespace rvcmndlg::res;
using client_local::CallLog;
using rv_test::Failing;

// "headline|owner" of every row of a list.
std::vector<std::string> Rows(const plat::Dialog& dialog, int list_id) {
  std::vector<std::string> rows;
  if (const auto* list = dialog.Item<plat::ListView>(list_id))
    for (const auto& row : list->Rows()) rows.push_back(row.texts.at(0) + "|" + row.texts.at(1));
  return rows;
}

// Select Activity, noting what its list showed and who had the focus at OK.
class NotingSelectActivity : public CBrowseForActivityDialog {
 public:
  using CBrowseForActivityDialog::CBrowseForActivityDialog;
  std::vector<std::string> rows;
  bool list_focused = false;

 protected:
  void OnOK() override {
    rows = Rows(*this, IDC_ACTIVITY_LIST);
    list_focused = Focused() == GetDlgItem(IDC_ACTIVITY_LIST);
    CBrowseForActivityDialog::OnOK();
  }
};

class ActivityDialogsTest : public rv_test::FlmSampleTest {
 protected:
  // The dialogs run as inside the library's entries.
  rvcmndlg::EntryScope resources_;
  void SetUp() override {
    FlmSampleTest::SetUp();
    // Pat's activity in the user's stream, made after fix and named before it.
    ASSERT_EQ(flm_admin_mkactivity(hello_dev, "a_pat_task", "Pat's work", "pat", &pats), 0);
    ASSERT_EQ(FLM_OsUser::current_user(&me), 0);
    CallLog::StartRecording();
  }
  void TearDown() override {
    CallLog::ClearFailures();
    CallLog::StopRecording();
    FlmSampleTest::TearDown();
  }
  std::vector<std::string> Headlines(const FLM_Stream& stream) {
    FLM_ActivityList activities;
    EXPECT_EQ(stream.activities(&activities), 0);
    std::vector<std::string> out;
    for (const auto& a : activities) {
      std::string headline;
      a.headline(&headline);
      out.push_back(headline);
    }
    return out;
  }
  FLM_Activity pats;
  FLM_OsUser me;
};

TEST_F(ActivityDialogsTest, SelectActivityListsTheUsersOwnOrEveryUsersActivitiesInCreationOrder) {
  const std::string mine = "Fix the greeting|" + me.name();
  const struct {
    const char* name;
    bool all_users;
    const char* failing;  // a call made to fail
    int nth;              // from its nth call, once (0: every call)
    std::vector<std::string> rows;
    bool no_activity = false;  // "<No Activity>" offered
  } cases[] = {
      {"the user's own", false, nullptr, 0, {mine}},
      {"<No Activity> comes last", true, nullptr, 0, {mine, "Pat's work|pat", "<No Activity>|"}, true},
      {"every user's", true, nullptr, 0, {mine, "Pat's work|pat"}},
      {"owners unreadable: still listed", false, "FLM_VobObject::owner", 0, {"Fix the greeting|", "Pat's work|"}},
      // The first fill asks for fix only; the refill for fix, then Pat's.
      {"mastership unreadable: never listed", true, "FLM_VobObject::has_local_mastership", 2, {"Pat's work|pat"}},
      {"the current user unreadable: every user's", false, "FLM_OsUser::current_user", 0, {mine, "Pat's work|pat"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.failing) {
      auto failure = Failing(TBS_ST_FAILURE, "unreadable");
      if (c.nth) {
        failure.nth = c.nth;
        failure.times = 1;
      }
      ASSERT_TRUE(CallLog::InjectFailure(c.failing, failure));
    }
    plat::test::ScriptedUser user;
    auto script = user->OnTemplate(IDD_BROWSE_ACTIVITY);
    if (c.all_users) script.Check(IDC_SHOW_ALL_USERS);
    script.Select(IDC_ACTIVITY_LIST, "#0").Click("OK");
    NotingSelectActivity dialog(hello_dev, FLM_Activity());
    dialog.m_showNoActivity = c.no_activity;
    ASSERT_EQ(dialog.DoModal(), plat::IdOk);
    EXPECT_EQ(dialog.rows, c.rows);
    CallLog::ClearFailures();
  }
}

TEST_F(ActivityDialogsTest, NoActivityChoosesANullActivityAndHasOnlyANoteForProperties) {
  auto launcher = plat::UseRecordingLauncher();
  plat::test::ScriptedUser user;
  user->OnMenu("P&roperties");
  user->OnMessage("The <No Activity> item can be used to clear the current activity").Click("OK");
  user->OnTemplate(IDD_BROWSE_ACTIVITY)
      .Do(plat::Action{plat::Action::Kind::Context, std::to_string(IDC_ACTIVITY_LIST), "<No Activity>"})
      .Click("OK");
  FLM_Activity activity = fix;
  ASSERT_EQ(rvBrowseForActivity(hello_dev, activity, nullptr, 1, 1), 0);
  EXPECT_TRUE(activity.is_null());
  EXPECT_TRUE(launcher->Starts().empty());
  plat::SetLauncher(nullptr);
}

TEST_F(ActivityDialogsTest, OkWithoutARowAsksForOneAndCancelGivesMinusOne) {
  plat::test::ScriptedUser user;
  user->OnMessage("You must first select an activity.").Click("OK");
  user->OnTemplate(IDD_BROWSE_ACTIVITY).Click("OK").Click("Cancel");
  FLM_Activity activity;
  EXPECT_EQ(rvBrowseForActivity(hello_dev, activity, nullptr, 1, 0), -1);
  EXPECT_TRUE(activity.is_null());
}

TEST_F(ActivityDialogsTest, TheCallersActivityIsPreselectedAndKeptWhenTheListIsFilledAgain) {
  plat::test::ScriptedUser user;
  user->OnTemplate(IDD_BROWSE_ACTIVITY).Check(IDC_SHOW_ALL_USERS).Uncheck(IDC_SHOW_ALL_USERS).Click("OK");
  FLM_Activity activity = fix;
  ASSERT_EQ(rvBrowseForActivity(hello_dev, activity, nullptr, 0, 0), 0);
  EXPECT_EQ(activity, fix);
}

TEST_F(ActivityDialogsTest, NewMakesTheActivitySelectsItAndGivesTheListTheFocus) {
  plat::test::ScriptedUser user;
  user->OnTemplate(IDD_NEW_ACTIVITY).Type(IDC_NEW_ACT_HEADLINE, "Greet in Welsh").Click("OK");
  user->OnTemplate(IDD_BROWSE_ACTIVITY).Click("New...").Click("OK");
  NotingSelectActivity dialog(hello_dev, fix);
  ASSERT_EQ(dialog.DoModal(), plat::IdOk);
  std::string headline, name;
  ASSERT_EQ(dialog.Chosen().headline(&headline), 0);
  ASSERT_EQ(dialog.Chosen().name(&name), 0);
  EXPECT_EQ(headline, "Greet in Welsh");
  EXPECT_EQ(name, "activity_1");
  EXPECT_TRUE(dialog.list_focused);
  EXPECT_EQ(dialog.rows.back(), "Greet in Welsh|" + me.name());
}

// New Activity, noting at Cancel whether OK and the ID field were enabled.
class NotingNewActivity : public CNewActivityDialog {
 public:
  using CNewActivityDialog::CNewActivityDialog;
  bool ok_enabled = false, id_enabled = false, id_focused = false;

 protected:
  void OnCancel() override {
    ok_enabled = GetDlgItem(plat::IdOk)->IsEnabled();
    id_enabled = GetDlgItem(IDC_NEW_ACT_ID)->IsEnabled();
    id_focused = Focused() == GetDlgItem(IDC_NEW_ACT_ID);
    CNewActivityDialog::OnCancel();
  }
};

TEST_F(ActivityDialogsTest, NewActivityOffersOkOnlyWithAHeadlineAndAnIdUnlessItIsAutomatic) {
  const struct {
    const char* headline;
    bool own_id;
    const char* id;
    bool ok, id_enabled;
  } cases[] = {
      {"", false, "", false, false},
      {"Greet", false, "", true, false},
      {"Greet", true, "", false, true},
      {"Greet", true, "greet", true, true},
      {"", true, "greet", false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.headline) + (c.own_id ? " own id " : " automatic ") + c.id);
    plat::test::ScriptedUser user;
    auto script = user->OnTemplate(IDD_NEW_ACTIVITY);
    if (*c.headline) script.Type(IDC_NEW_ACT_HEADLINE, c.headline);
    if (c.own_id) script.Click(IDC_NEW_ACT_USE_ID);
    if (*c.id) script.Type(IDC_NEW_ACT_ID, c.id);
    script.Click("Cancel");
    NotingNewActivity dialog(hello_dev);
    EXPECT_EQ(dialog.DoModal(), plat::IdCancel);
    EXPECT_EQ(dialog.ok_enabled, c.ok);
    EXPECT_EQ(dialog.id_enabled, c.id_enabled);
    EXPECT_EQ(dialog.id_focused, c.own_id);
  }
}

TEST_F(ActivityDialogsTest, NewActivityRefusalsShowTheModelsTextKeepTheDialogAndStoreNothing) {
  const std::vector<std::string> before = Headlines(hello_dev);
  const struct {
    const char* name;
    std::function<void()> arrange;
    const char* id;
    const char* shown;
  } cases[] = {
      {"a taken ID", [] {}, "fix", "There is already a activity \"fix\""},
      {"the model refuses", [] { CallLog::InjectFailure("FLM_Stream::create_activity", Failing(TBS_ST_FAILURE, "The store is busy.")); },
       "", "The store is busy."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.arrange();
    plat::test::ScriptedUser user;
    user->OnMessage(c.shown).Click("OK");
    auto script = user->OnTemplate(IDD_NEW_ACTIVITY).Type(IDC_NEW_ACT_HEADLINE, "Greet");
    if (*c.id) script.Click(IDC_NEW_ACT_USE_ID).Type(IDC_NEW_ACT_ID, c.id);
    script.Click("OK").Click("Cancel");
    CNewActivityDialog dialog(hello_dev);
    EXPECT_EQ(dialog.DoModal(), plat::IdCancel);
    EXPECT_EQ(Headlines(hello_dev), before);
    CallLog::ClearFailures();
  }
}

// Contributing Activities, noting its list at OK.
class NotingContribs : public CActContribs {
 public:
  using CActContribs::CActContribs;
  std::vector<std::string> rows;
  std::string activity_name;

 protected:
  void OnOK() override {
    rows = Rows(*this, IDC_CONTRIBS_LIST);
    activity_name = GetDlgItemText(IDC_CONTRIBS_ACTIVITY);
    CActContribs::OnOK();
  }
};

TEST_F(ActivityDialogsTest, ContributorsOfADeliverAreListed) {
  plat::test::ScriptedUser user;
  user->OnTemplate(IDD_ACT_CONTRIBS).Click("OK");
  NotingContribs dialog(deliver);
  ASSERT_EQ(dialog.DoModal(), plat::IdOk);
  EXPECT_EQ(dialog.activity_name, "deliver.hello_dev.1");
  EXPECT_EQ(dialog.rows, std::vector<std::string>{"Fix the greeting|" + me.name()});
}

TEST_F(ActivityDialogsTest, ContributorsThatCannotBeShownAreSaidAndTheDialogEnds) {
  const struct {
    const char* name;
    std::function<FLM_Activity()> arrange;
    const char* shown;
  } cases[] = {
      {"an ordinary activity", [this] { return fix; }, "only available for integration activities"},
      {"its pvars unreadable", [this] {
         CallLog::InjectFailure("FLM_ActivityBase::pvar_exists", Failing(TBS_ST_FAILURE));
         return deliver;
       }, "Unable to determine if deliver/rebase pvars exist"},
      {"its contributors unreadable", [this] {
         CallLog::InjectFailure("FLM_Activity::contrib_activities", Failing(TBS_ST_FAILURE, "The list is gone."));
         return deliver;
       }, "Error retrieving contributors for the specified activity.\n\nThe list is gone."},
      {"its state unreadable", [this] {
         CallLog::InjectFailure("FLM_Activity::integration_state", Failing(TBS_ST_FAILURE, "No state."));
         return deliver;
       }, "Error retrieving contributors for the specified activity.\n\nNo state."},
      {"still running (last: it stays so)", [this] {
         EXPECT_EQ(flm_admin_set_integration(deliver, FLM_ACTIVITY_DELIVER, FLM_INTEGRATION_RUNNING, hello_dev), 0);
         return deliver;
       }, "The specified integration activity is still in progress."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const FLM_Activity activity = c.arrange();
    plat::test::ScriptedUser user;
    user->OnMessage(c.shown).Click("OK");
    EXPECT_EQ(rvActContribs(activity, nullptr), -1);
    CallLog::ClearFailures();
  }
}

TEST_F(ActivityDialogsTest, PropertiesStartTheDescribeToolWithTheSelectorQuotedOrSayWhyNot) {
  auto launcher = plat::UseRecordingLauncher();
  {
    plat::test::ScriptedUser user;
    user->OnTemplate(IDD_BROWSE_ACTIVITY).Select(IDC_ACTIVITY_LIST, "Fix the greeting").Click("&Properties").Click("Cancel");
    FLM_Activity activity;
    rvBrowseForActivity(hello_dev, activity, nullptr, 1, 0);
  }
  ASSERT_EQ(launcher->Starts().size(), 1u);
  EXPECT_EQ(launcher->Starts()[0].command_line, "stratadescribe \"activity:fix@\\projects\"");
  EXPECT_EQ(launcher->Starts()[0].Arguments(), (std::vector<std::string>{"stratadescribe", "activity:fix@\\projects"}));

  launcher->SetStartFailure("stratadescribe", 2);
  {
    plat::test::ScriptedUser user;
    user->OnMessage("Unable to execute the following command: stratadescribe \"activity:fix@\\projects\" \nError: 2")
        .Click("OK");
    user->OnMenu("P&roperties");
    user->OnTemplate(IDD_BROWSE_ACTIVITY)
        .Do(plat::Action{plat::Action::Kind::Context, std::to_string(IDC_ACTIVITY_LIST), "Fix the greeting"})
        .Click("Cancel");
    FLM_Activity activity;
    rvBrowseForActivity(hello_dev, activity, nullptr, 1, 0);
  }
  plat::SetLauncher(nullptr);
}

TEST_F(ActivityDialogsTest, TheContextMenuOffersContributorsOnlyForAnIntegrationActivity) {
  plat::test::ScriptedUser user;
  user->OnMenu("Show &Contributing Activities");  // chosen while disabled: nothing happens
  user->OnMenu("Show &Contributing Activities");
  user->OnTemplate(IDD_ACT_CONTRIBS).Click("OK");
  user->OnTemplate(IDD_BROWSE_ACTIVITY)
      .Do(plat::Action{plat::Action::Kind::Context, std::to_string(IDC_ACTIVITY_LIST), "Fix the greeting"})
      .Click("Cancel");
  user->OnTemplate(IDD_BROWSE_ACTIVITY)
      .Do(plat::Action{plat::Action::Kind::Context, std::to_string(IDC_ACTIVITY_LIST), "deliver hello_dev"})
      .Click("Cancel");
  FLM_Activity activity;
  rvBrowseForActivity(hello_dev, activity, nullptr, 1, 0);
  rvBrowseForActivity(hello_int, activity, nullptr, 1, 0);
}

}  // namespace
