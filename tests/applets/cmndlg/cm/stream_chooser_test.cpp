// The stream chooser over the model's sample: how each mode looks, what a
// pick in the project tree enables, and what OK reads before it closes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cm/stream_chooser_dlg.h"
#include "cmctls/class_ids.h"
#include "cmctls/cmctls.h"
#include "local/calllog.h"
#include "platform/controls.h"
#include "platform/hosted_control.h"
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

// The chooser, noting how it looked when the user cancelled.
class NotingChooser : public CStreamChooser {
 public:
  using CStreamChooser::CStreamChooser;
  std::string title, mode_text;
  int icon = 0;
  bool help = false, all_streams = false, all_vobs_offered = false, ok = false, properties = false;

 protected:
  void OnCancel() override {
    title = Text();
    icon = IconId();
    mode_text = GetDlgItemText(IDC_CHOOSER_MODE_TEXT);
    help = GetDlgItem(IDC_CHOOSER_HELP)->IsVisible();
    all_streams = Item<plat::Button>(IDC_CHOOSER_ALL_STREAMS)->GetCheck() == plat::Checked;
    all_vobs_offered = GetDlgItem(IDC_CHOOSER_ALL_VOBS)->IsVisible();
    ok = GetDlgItem(plat::IdOk)->IsEnabled();
    properties = GetDlgItem(IDC_CHOOSER_PROPERTIES)->IsEnabled();
    CStreamChooser::OnCancel();
  }
};

class StreamChooserTest : public rv_test::FlmSampleTest {
 protected:
  // The dialogs run as inside the library's entries.
  rvcmndlg::EntryScope resources_;
  void SetUp() override {
    FlmSampleTest::SetUp();
    cmctls::Install();
    ASSERT_EQ(FLM_Vob::construct_from_handle(pvob, &projects), 0);
    CallLog::StartRecording();
  }
  void TearDown() override {
    CallLog::ClearFailures();
    CallLog::StopRecording();
    cmctls::Uninstall();
    FlmSampleTest::TearDown();
  }
  FLM_Vob projects;
};

TEST_F(StreamChooserTest, EachModeHasItsTitleTextIconHelpAndStreams) {
  // F1 opens the mode's topic in every mode; the Help button shows in the
  // modes that offer it and opens the same topic.
  const struct {
    CStreamChooser::Mode mode;
    const char *title, *text;
    int icon;
    bool help_and_all_streams;
    const char* topic;
  } cases[] = {
      {CStreamChooser::kDeliver, "Deliver from Stream", "to deliver:", IDI_CHOOSER_DELIVER, false,
       "deliver_rebase/streamchooserdeliver.htm"},
      {CStreamChooser::kRebase, "Rebase Stream", "to rebase:", IDI_CHOOSER_REBASE, false,
       "deliver_rebase/streamchooserrebase.htm"},
      {CStreamChooser::kBaseline, "Choose Stream", "", 0, true, "rvint_exp/streamchooserbaseline.htm"},
      {CStreamChooser::kDeliverTarget, "Choose Stream", "to set as the default deliver target:", 0, true,
       "deliver_rebase/streamchooserdelivertgt.htm"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    CallLog::Clear();
    plat::test::ScriptedUser user;
    auto script = user->OnTemplate(IDD_STREAM_CHOOSER).Do(plat::Action{plat::Action::Kind::Help, "", ""});
    if (c.help_and_all_streams) script.Click(IDC_CHOOSER_HELP);
    script.Click("Cancel");
    NotingChooser dialog(projects, c.mode);
    EXPECT_EQ(dialog.DoModal(), plat::IdCancel);
    EXPECT_EQ(dialog.title, c.title);
    EXPECT_EQ(dialog.mode_text, c.text);
    EXPECT_EQ(dialog.icon, c.icon);
    EXPECT_EQ(dialog.help, c.help_and_all_streams);
    EXPECT_EQ(dialog.all_streams, c.help_and_all_streams);
    EXPECT_TRUE(dialog.all_vobs_offered) << "the tree shows one VOB";
    EXPECT_FALSE(dialog.ok);
    const auto helps = CallLog::Calls("gu_help");
    ASSERT_EQ(helps.size(), c.help_and_all_streams ? 2u : 1u);
    for (const auto& help : helps) EXPECT_EQ(help.args.at(1), c.topic);
  }
}

TEST_F(StreamChooserTest, AStreamEnablesOkAndPropertiesAProjectOnlyProperties) {
  const struct {
    const char* item;
    bool ok, properties;
  } cases[] = {
      {"\\projects/hello/hello_int", true, true},
      {"\\projects/hello", false, true},
      {"\\projects/apps", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    plat::test::ScriptedUser user;
    user->OnTemplate(IDD_STREAM_CHOOSER).Select(IDC_CHOOSER_TREE, c.item).Click("Cancel");
    NotingChooser dialog(projects, CStreamChooser::kBaseline);
    EXPECT_EQ(dialog.DoModal(), plat::IdCancel);
    EXPECT_EQ(dialog.ok, c.ok);
    EXPECT_EQ(dialog.properties, c.properties);
  }
}

TEST_F(StreamChooserTest, OkGivesTheStreamAndOtherUsersStreamsNeedShowAllStreams) {
  plat::test::ScriptedUser user;
  user->OnTemplate(IDD_STREAM_CHOOSER)
      .Check(IDC_CHOOSER_ALL_STREAMS)
      .Select(IDC_CHOOSER_TREE, "\\projects/hello/hello_int/pat_dev")
      .Click("OK");
  FLM_Stream stream;
  ASSERT_EQ(rvStreamChooser(projects, stream, RV_STREAM_CHOOSER_DELIVER, nullptr), 0);
  EXPECT_EQ(stream, pat_dev);
}

// The chooser with a failure of a model call injected when OK is pressed
// (the tree names its items through the same calls while it loads).
class FailingAtOk : public CStreamChooser {
 public:
  FailingAtOk(const FLM_Vob& vob, const char* call, int nth)
      : CStreamChooser(vob, CStreamChooser::kBaseline), call_(call), nth_(nth) {}

 protected:
  void OnOK() override {
    auto failure = Failing(TBS_ST_FAILURE);
    failure.nth = nth_;
    failure.times = 1;
    CallLog::InjectFailure(call_, failure);
    CStreamChooser::OnOK();
    CallLog::ClearFailures();
  }

 private:
  const char* call_;
  int nth_;
};

TEST_F(StreamChooserTest, EachFailureOfOkIsSaidAndTheChooserStays) {
  const struct {
    const char* call;
    int nth;
    const char* shown;
  } cases[] = {
      {"FLM_VobObject::name", 1, "Error retrieving name of selected item."},
      {"FLM_Stream::project", 1, "Error: can not determine project for selected item."},
      {"FLM_Project::default_integration_stream", 1, "Error retrieving integration stream for selected item's project."},
      {"FLM_VobObject::name", 2, "Error retrieving name of integration stream."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    plat::test::ScriptedUser user;
    user->OnMessage(c.shown).Click("OK");
    user->OnTemplate(IDD_STREAM_CHOOSER)
        .Select(IDC_CHOOSER_TREE, "\\projects/hello/hello_int/hello_dev")
        .Click("OK")
        .Click("Cancel");
    FailingAtOk dialog(projects, c.call, c.nth);
    EXPECT_EQ(dialog.DoModal(), plat::IdCancel);
  }
}

// A tree that reports a selector no one can parse.
class GarbledTree : public plat::HostedImpl {
 public:
  plat::DispResult Invoke(int, plat::DispCall, const std::vector<plat::DispValue>&) override {
    return {plat::DispError::None, plat::DispValue::Bool(false), {}};
  }
  std::vector<plat::HostedItem> Items() const override { return {plat::HostedItem{0, "garbled", "stream-hello", false}}; }
  bool Pick(std::size_t) override { return true; }
};

TEST_F(StreamChooserTest, ASelectorThatCannotBeParsedIsSaidAndEnablesNothing) {
  plat::RegisterHostedClass(cmctls::kProjectTreeClass, [] { return std::make_unique<GarbledTree>(); });
  plat::test::ScriptedUser user;
  user->OnMessage("Error: unable to resolve object selector: stream-hello").Click("OK");
  user->OnTemplate(IDD_STREAM_CHOOSER).Select(IDC_CHOOSER_TREE, "garbled").Click("Cancel");
  NotingChooser dialog(projects, CStreamChooser::kBaseline);
  EXPECT_EQ(dialog.DoModal(), plat::IdCancel);
  EXPECT_FALSE(dialog.ok);
  EXPECT_FALSE(dialog.properties);
}

TEST_F(StreamChooserTest, AModeOutsideOneToFourIsRefusedWithoutADialog) {
  plat::test::ScriptedUser user;  // any window would be unexpected
  for (const int mode : {0, 5, -1}) {
    FLM_Stream stream = hello_dev;
    EXPECT_EQ(rvStreamChooser(projects, stream, mode, nullptr), -1) << mode;
    EXPECT_EQ(stream, hello_dev);
  }
}

}  // namespace
