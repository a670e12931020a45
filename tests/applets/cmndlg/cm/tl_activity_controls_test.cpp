// The Tracklane drop-down and its buttons in a dialog over the model's
// sample: what the list holds after it opens, what the buttons add, and how
// tracker failures leave the controls usable.
#include <gtest/gtest.h>

#include "cm/tl_activity_controls.h"
#include "flm_admin.h"
#include "kelp.h"
#include "platform/dialog.h"
#include "support/flm_sample.h"
#include "support/ui.h"
#include "tbs.h"

namespace {

using plat::test::Ctl;

constexpr int kDialog = 792, kCombo = 24663, kBrowse = 24641, kNew = 24642;

// Fails the appends the test names (1 is the first).
class FlakyCombo : public CTLActivitiesCombo {
 public:
  std::vector<int> failing;
  int appends = 0;

 protected:
  int AppendEntry(const std::string& text) override {
    ++appends;
    for (int n : failing)
      if (n == appends) return -1;
    return CTLActivitiesCombo::AppendEntry(text);
  }
};

class RecordDialog : public plat::Dialog {
 public:
  explicit RecordDialog(FLM_Stream stream) : plat::Dialog(kDialog), stream_(std::move(stream)) {}
  FlakyCombo combo;
  CBrowseTLEntityButton browse;
  CNewTLEntityButton add;
  FLM_Activity activity;  // its record is placed first when set
  std::vector<std::string> entries;
  std::string chosen;

 protected:
  bool OnInitDialog() override {
    SubclassDlgItem(kCombo, combo);
    SubclassDlgItem(kBrowse, browse);
    SubclassDlgItem(kNew, add);
    combo.SetStream(stream_);
    EXPECT_EQ(browse.Setup(&combo, stream_), 0);
    EXPECT_EQ(add.Setup(&combo, stream_), 0);
    if (!activity.is_null()) {
      EXPECT_EQ(combo.SelectByActivity(activity), 0);
    }
    return plat::Dialog::OnInitDialog();
  }
  void OnOK() override {
    for (const auto& item : combo.Items()) entries.push_back(item.text);
    chosen = combo.GetSelection().display_name();
    plat::Dialog::OnOK();
  }

 private:
  FLM_Stream stream_;
};

class TLControlsTest : public rv_test::FlmSampleTest {
 protected:
  void SetUp() override {
    FlmSampleTest::SetUp();
    ASSERT_EQ(kelp_set_installed(true), 0);
    client_local::CallLog::StartRecording();
    plat::test::AddTemplate(kDialog, "Record",
                            {Ctl("static", plat::IdStatic, "Record:"), Ctl("combobox", kCombo, "", plat::cbs::DropDownList),
                             Ctl("button", kBrowse, "&Browse..."), Ctl("button", kNew, "&New   >"),
                             Ctl("button", plat::IdOk, "OK")});
  }
  void TearDown() override {
    client_local::CallLog::StopRecording();
    FlmSampleTest::TearDown();
  }
  static std::size_t Loads() { return client_local::CallLog::Calls("CKelp_CA_GetInfo::GetAvailTLActivities").size(); }
};

TEST_F(TLControlsTest, TheListLoadsOnceWhenItFirstOpensAndHoldsTheCurrentRecordOnce) {
  plat::test::ScriptedUser user;
  user->OnTemplate(kDialog)
      .Do(plat::Action{plat::Action::Kind::Open, "Record", ""})
      .Do(plat::Action{plat::Action::Kind::Open, "Record", ""})
      .Select(kCombo, "#0")
      .Click("OK");
  RecordDialog dialog(tracked_int);
  dialog.activity = crash;  // bound to record 1
  ASSERT_EQ(dialog.DoModal(), plat::IdOk);
  EXPECT_EQ(dialog.entries, (std::vector<std::string>{"SAMPL00000001   It crashes", "SAMPL00000002   Add a farewell"}));
  EXPECT_EQ(dialog.chosen, "SAMPL00000001");
  EXPECT_EQ(Loads(), 1u);
  EXPECT_TRUE(dialog.combo.IsLoaded());
}

TEST_F(TLControlsTest, AnAppendThatFailsLeavesTheListUnloadedAndTheNextOpeningAddsWhatIsMissing) {
  plat::test::ScriptedUser user;
  user->OnTemplate(kDialog)
      .Do(plat::Action{plat::Action::Kind::Open, "Record", ""})
      .Do(plat::Action{plat::Action::Kind::Open, "Record", ""})
      .Click("OK");
  RecordDialog dialog(tracked_int);
  dialog.combo.failing = {2};  // the second record of the first load
  ASSERT_EQ(dialog.DoModal(), plat::IdOk);
  EXPECT_EQ(dialog.entries, (std::vector<std::string>{"SAMPL00000001   It crashes", "SAMPL00000002   Add a farewell"}));
  EXPECT_EQ(Loads(), 2u);
  EXPECT_TRUE(dialog.combo.IsLoaded());
}

TEST_F(TLControlsTest, BrowseAndNewSelectTheRecordTheUserChoseAddingItWhenMissing) {
  plat::test::ScriptedUser user;
  user->OnTemplate(KELP_IDD_BROWSER).Select(KELP_IDC_RECORDS, "#1").Click("OK");
  user->OnMenu("Enhancement...");
  user->OnTemplate(KELP_IDD_NEW_RECORD).Type(KELP_IDC_HEADLINE, "Say hello in Welsh").Click("OK");
  user->OnTemplate(kDialog).Click("&Browse...").Click("New   >").Click("OK");
  RecordDialog dialog(tracked_int);
  ASSERT_EQ(dialog.DoModal(), plat::IdOk);
  EXPECT_EQ(dialog.entries,
            (std::vector<std::string>{"SAMPL00000002   Add a farewell", "SAMPL00000004   Say hello in Welsh"}));
  EXPECT_EQ(dialog.chosen, "SAMPL00000004");
}

TEST_F(TLControlsTest, TrackerFailuresAreShownAndTheControlsStayUsable) {
  ASSERT_EQ(kelp_set_installed(false), 0);
  plat::test::ScriptedUser user;
  user->OnMessage("Tracklane is not installed.").Click("OK").Times(3);
  user->OnTemplate(kDialog)
      .Do(plat::Action{plat::Action::Kind::Open, "Record", ""})
      .Click("New   >")
      .Click("New   >")  // the types were not read: it asks again
      .Click("OK");
  RecordDialog dialog(tracked_int);
  ASSERT_EQ(dialog.DoModal(), plat::IdOk);
  EXPECT_TRUE(dialog.entries.empty());
  EXPECT_FALSE(dialog.combo.IsLoaded()) << "it tries again at the next opening";
}

TEST_F(TLControlsTest, AProjectWithoutRecordTypesShowsNoMenuAndAnActivityWithoutARecordAddsNothing) {
  // A menu would be an unexpected window. Not Tracklane-enabled: the tracker says so.
  for (const bool enabled : {false, true}) {
    if (enabled) {
      ASSERT_EQ(flm_admin_set_project_tl(hello_project, "SAMPL", FLM_StringList()), 0);
    }
    plat::test::ScriptedUser user;
    if (!enabled) user->OnMessage("The project \"hello\" is not Tracklane-enabled.").Click("OK");
    user->OnTemplate(kDialog).Click("New   >").Click("OK");
    RecordDialog dialog(hello_dev);
    dialog.activity = fix;  // bound to no record: nothing is added
    ASSERT_EQ(dialog.DoModal(), plat::IdOk);
    EXPECT_TRUE(dialog.entries.empty());
  }
}

TEST(TLComboTooltip, TheHeadlineAfterTheSeparatorAtMostEightyCharactersNeverSplit) {
  const std::string eighty(80, 'h');
  const std::string accented = std::string(79, 'a') + "\xC3\xA9" + "z";  // é is the 80th character
  const struct {
    std::string entry, tip;
  } cases[] = {
      {"SAMPL00000001   A short one", "A short one"},
      {"SAMPL00000001   Two  blanks   and three", "Two  blanks   and three"},
      {"SAMPL00000001   " + eighty + "more", eighty},
      {"SAMPL00000001   " + accented, std::string(79, 'a') + "\xC3\xA9"},
  };
  for (const auto& c : cases) {
    CTLActivitiesCombo combo;
    combo.CreateWindowObject(nullptr, kCombo, "", plat::cbs::DropDownList);
    combo.SetCurSel(combo.AddString(c.entry));
    EXPECT_EQ(combo.TooltipText(), c.tip) << c.entry;
    combo.DestroyWindow();
  }
}

}  // namespace
