// The change-management controls in a dialog, over the model's sample: what
// they show, what the user picks, what the dialog hears and reads back, and
// calls they refuse.
#include <gtest/gtest.h>

#include "cm/hosted_controls.h"
#include "cmctls/cmctls.h"
#include "platform/dialog.h"
#include "res/library_resources.h"
#include "support/flm_sample.h"
#include "support/ui.h"
#include "tbs.h"

namespace {

using plat::test::Ctl;

constexpr int kDialog = 791, kProjects = 24659, kTimeline = 24662, kPlaceholder = 7148, kTree = 7198;

std::vector<std::string> Texts(const plat::HostedControl* control) {
  std::vector<std::string> out;
  for (const auto& item : control->Items())
    out.push_back(std::string(static_cast<std::size_t>(2 * item.depth), ' ') + item.text);
  return out;
}

class ControlsDialog : public plat::Dialog {
 public:
  ControlsDialog() : plat::Dialog(kDialog) {}
  CProjectTree projects;
  CBaselineTimeline timeline;
  CBaselineTree tree;
  std::vector<std::string> events;
  std::string chosen_stream, chosen_baseline, chosen_in_tree;
  bool made_tree = false;

 protected:
  bool OnInitDialog() override {
    projects.Attach(*this, kProjects);
    timeline.Attach(*this, kTimeline);
    made_tree = tree.CreateOver(*GetDlgItem(kPlaceholder), kTree);
    return plat::Dialog::OnInitDialog();
  }
  plat::LResult OnNotify(plat::NotifyHeader& header) override {
    if (header.code == plat::hcn::SelChange)
      events.push_back(std::to_string(header.id) + " " + static_cast<plat::HostedNotify&>(header).selector);
    return 0;
  }
  void OnOK() override {
    projects.GetSelection(&chosen_stream);
    timeline.GetSelection(&chosen_baseline);
    tree.GetSelection(&chosen_in_tree);
    plat::Dialog::OnOK();
  }
};

class HostedControlsTest : public rv_test::FlmSampleTest {
 protected:
  void SetUp() override {
    FlmSampleTest::SetUp();
    cmctls::Install();
    plat::test::AddTemplate(kDialog, "Controls",
                            {Ctl(cmctls::kProjectTreeClass, kProjects, ""), Ctl(cmctls::kBaselineTimelineClass, kTimeline, ""),
                             Ctl("static", kPlaceholder, ""), Ctl("button", plat::IdOk, "OK")});
  }
  void TearDown() override {
    cmctls::Uninstall();
    FlmSampleTest::TearDown();
  }
};

TEST_F(HostedControlsTest, TheUserPicksAStreamABaselineAndAFoundationBaselineAndTheDialogReadsThemBack) {
  plat::test::ScriptedUser user;
  user->OnTemplate(kDialog)
      .Select(kProjects, "\\projects/hello/hello_int/hello_dev")
      .Select(kTimeline, "BL2")
      .Select(kTree, "INITIAL")
      .Click("OK");
  // The host fills the controls once they exist.
  struct Filler : ControlsDialog {
    FLM_Foundation foundation;
    bool OnInitDialog() override {
      ControlsDialog::OnInitDialog();
      bool loaded = false;
      EXPECT_EQ(projects.SetVob("\\projects"), 0);
      EXPECT_EQ(projects.Start(), 0);
      EXPECT_EQ(projects.Load(&loaded), 0);
      EXPECT_TRUE(loaded);
      for (const char* bl : {"baseline:INITIAL@\\projects", "baseline:BL2@\\projects"})
        EXPECT_EQ(timeline.AddBaseline(bl), 0);
      EXPECT_EQ(timeline.DoneAdding(), 0);
      EXPECT_EQ(tree.LoadFoundation(foundation, "", "stream:hello_dev@\\projects"), 0);
      return true;
    }
  } filler;
  ASSERT_EQ(hello_dev.foundation(&filler.foundation), 0);
  ASSERT_EQ(filler.DoModal(), plat::IdOk);
  EXPECT_TRUE(filler.made_tree);
  EXPECT_EQ(filler.chosen_stream, "stream:hello_dev@\\projects");
  EXPECT_EQ(filler.chosen_baseline, "baseline:BL2@\\projects");
  EXPECT_EQ(filler.chosen_in_tree, "baseline:INITIAL@\\projects");
  EXPECT_EQ(filler.events, (std::vector<std::string>{"24659 stream:hello_dev@\\projects", "24662 baseline:BL2@\\projects",
                                                     "7198 baseline:INITIAL@\\projects"}));
}

TEST_F(HostedControlsTest, TheProjectTreeShowsIntegrationStreamsAndTheUsersOwnUntilWidened) {
  plat::Dialog dialog(kDialog);
  ASSERT_TRUE(dialog.Create());
  CProjectTree projects;
  ASSERT_TRUE(projects.Attach(dialog, kProjects));
  bool loaded = false, all = true, found = false;
  ASSERT_EQ(projects.SetVob("\\PROJECTS"), 0);
  ASSERT_EQ(projects.Load(&loaded), 0);
  EXPECT_EQ(Texts(projects.Control()), (std::vector<std::string>{"\\projects", "  apps", "    tracked", "      tracked_int",
                                                                 "  hello", "    hello_int", "      hello_dev"}));
  EXPECT_EQ(projects.AllVobsShown(&all), 0);
  EXPECT_FALSE(all);
  ASSERT_EQ(projects.ShowAllStreams(true), 0);  // loads again
  EXPECT_EQ(Texts(projects.Control()).back(), "      pat_dev");
  EXPECT_EQ(projects.Select("stream:pat_dev@\\projects", &found), 0);
  EXPECT_TRUE(found);
  EXPECT_EQ(projects.Select("stream:nowhere@\\projects", &found), 0);
  EXPECT_FALSE(found);
  std::string selection;
  EXPECT_EQ(projects.GetSelection(&selection), 0);
  EXPECT_EQ(selection, "stream:pat_dev@\\projects") << "a failed select keeps the selection";
  dialog.DestroyWindow();
}

TEST_F(HostedControlsTest, TheBaselineTreeLoadsChangesAndWritesAFoundation) {
  plat::Dialog dialog(kDialog);
  ASSERT_TRUE(dialog.Create());
  CBaselineTree tree;
  ASSERT_TRUE(tree.CreateOver(*dialog.GetDlgItem(kPlaceholder), kTree));
  FLM_Foundation foundation;
  ASSERT_EQ(hello_dev.foundation(&foundation), 0);
  ASSERT_EQ(tree.LoadFoundation(foundation, "", ""), 0);
  ASSERT_EQ(tree.ShowMembers(true), 0);
  EXPECT_EQ(Texts(tree.Control()), (std::vector<std::string>{"INITIAL", "hello_BL2", "  BL2"}));
  bool changed = true;
  long count = 0;
  EXPECT_EQ(tree.IsChanged(&changed), 0);
  EXPECT_FALSE(changed);
  // BL2 takes the place of INITIAL, the baseline of its component.
  EXPECT_EQ(tree.ReplaceBaseline("baseline:BL2@\\projects"), 0);
  EXPECT_EQ(tree.AddBaseline("baseline:BL2@\\projects"), 0) << "already there: not twice";
  EXPECT_EQ(tree.Count(&count), 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(tree.IsChanged(&changed), 0);
  EXPECT_TRUE(changed);
  EXPECT_EQ(tree.AddBaseline("baseline:nothing@\\projects"), TBS_ST_NOT_FOUND);
  EXPECT_EQ(tree.RemoveBaseline("baseline:INITIAL@\\projects"), TBS_ST_FAILURE) << "not in the tree";
  FLM_Foundation written;
  ASSERT_EQ(tree.WriteFoundation(&written), 0);
  ASSERT_EQ(written.length(), 2u);
  EXPECT_EQ(written[0], bl2);
  EXPECT_EQ(written[1], hello_bl2);
  ASSERT_EQ(tree.LoadMembers(hello_bl2), 0);
  EXPECT_EQ(Texts(tree.Control()), (std::vector<std::string>{"BL2"}));
  dialog.DestroyWindow();
}

TEST_F(HostedControlsTest, EveryMemberOfEveryControlTakesOnlyItsOwnArguments) {
  plat::Dialog dialog(kDialog);
  ASSERT_TRUE(dialog.Create());
  plat::HostedControl tree(cmctls::kBaselineTreeClass);
  ASSERT_TRUE(tree.CreateOver(*dialog.GetDlgItem(kPlaceholder), kTree));
  auto* projects = dialog.Item<plat::HostedControl>(kProjects);
  auto* timeline = dialog.Item<plat::HostedControl>(kTimeline);
  FLM_Foundation foundation;
  FLM_Stream stream;
  using plat::DispCall;
  using plat::DispError;
  using plat::DispValue;
  const auto text = DispValue::Text("x");
  const struct {
    plat::HostedControl* control;
    int dispid;
    DispCall call;
    std::vector<DispValue> args;
    DispError error;
  } cases[] = {
      {timeline, 6, DispCall::Method, {}, DispError::None},
      {timeline, 8, DispCall::Method, {DispValue::Bool(true)}, DispError::None},
      {timeline, 10, DispCall::Method, {DispValue::Pointer(&stream)}, DispError::None},
      {timeline, 11, DispCall::Method, {}, DispError::UnknownMember},
      {timeline, 6, DispCall::Get, {}, DispError::UnknownMember},
      {timeline, 2, DispCall::Method, {DispValue::Long(2)}, DispError::BadArguments},
      {timeline, 2, DispCall::Method, {text}, DispError::Failed},
      {timeline, 1, DispCall::Put, {text}, DispError::Failed},
      {&tree, 13, DispCall::Method, {DispValue::Pointer(&foundation)}, DispError::None},
      {&tree, 13, DispCall::Method, {DispValue::Pointer(&stream)}, DispError::BadArguments},
      {&tree, 12, DispCall::Method, {DispValue::Pointer(&foundation)}, DispError::BadArguments},
      {&tree, 18, DispCall::Method, {DispValue::Pointer(&foundation), text}, DispError::BadArguments},
      {&tree, 8, DispCall::Method, {DispValue::Long(1)}, DispError::None},
      {&tree, 16, DispCall::Method, {}, DispError::UnknownMember},
      {projects, 13, DispCall::Method, {DispValue::Long(1), DispValue::Long(2)}, DispError::None},
      {projects, 13, DispCall::Method, {DispValue::Long(1), text}, DispError::BadArguments},
      {projects, 1, DispCall::Method, {}, DispError::UnknownMember},
  };
  for (const auto& c : cases) {
    const auto r = c.control->Invoke(c.dispid, c.call, c.args);
    EXPECT_EQ(r.error, c.error) << c.control->ClassId() << " member " << c.dispid << ": " << r.message;
  }
  dialog.DestroyWindow();
}

TEST_F(HostedControlsTest, AWrapperWithoutItsControlFailsEveryCallAndSaysSoOnce) {
  cmctls::Uninstall();
  plat::ResourceScope library(rvcmndlg::LibraryResources());  // as inside an entry of the library
  plat::test::ScriptedUser user;
  user->OnMessage("The project tree control is not installed, so it cannot be shown.").Click("OK");
  user->OnTemplate(kDialog).Click("OK");
  struct Missing : plat::Dialog {
    Missing() : plat::Dialog(kDialog) {}
    CProjectTree projects;
    CBaselineTree tree;
    std::vector<int> statuses;
    bool attached = true, made = true;
    bool OnInitDialog() override {
      attached = projects.Attach(*this, kProjects);
      made = tree.CreateOver(*GetDlgItem(kPlaceholder), kTree);
      bool loaded = true;
      statuses = {projects.SetVob("\\projects"), projects.Load(&loaded), projects.Closing()};
      return plat::Dialog::OnInitDialog();
    }
  } dialog;
  ASSERT_EQ(dialog.DoModal(), plat::IdOk);
  EXPECT_FALSE(dialog.attached);
  EXPECT_FALSE(dialog.made);
  EXPECT_EQ(dialog.statuses, (std::vector<int>{TBS_ST_FAILURE, TBS_ST_FAILURE, TBS_ST_FAILURE}));
  EXPECT_NE(user->TranscriptText().find("control " + std::string(cmctls::kProjectTreeClass) + " (not installed)"),
            std::string::npos)
      << user->TranscriptText();
}

}  // namespace
