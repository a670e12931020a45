// The plain activity list as a deliver or rebase page hosts it: which
// activities it lists, when "&Properties" can be pressed, and what a
// double-click or the button starts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cm/activity_list.h"
#include "local/calllog.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/process.h"
#include "res/library_resources.h"
#include "res/template_controls.h"
#include "support/flm_sample.h"
#include "support/ui.h"
#include "tbs.h"

namespace {

using client_local::CallLog;
using rv_test::Failing;

constexpr int kTemplate = 30901;
constexpr int kList = 1001;
constexpr int kProperties = 1002;

// A page's part that holds the list: it passes the list's notifications on
// and notes, when the user cancels, what the list and the button showed.
class ListHost : public plat::Dialog {
 public:
  explicit ListHost(std::vector<FLM_Activity> activities) : plat::Dialog(kTemplate), activities_(std::move(activities)) {
    LoadTemplate();
  }
  std::vector<std::string> rows;
  bool properties = false;
  std::vector<plat::WParam> user_messages;  // the wparam of each first user message

 protected:
  bool OnInitDialog() override {
    plat::Dialog::OnInitDialog();
    SubclassDlgItem(kList, list_);
    list_.SetPropertiesButton(GetDlgItem(kProperties));
    list_.SetupColumns();
    GetDlgItem(kProperties)->EnableWindow(false);
    for (const FLM_Activity& activity : activities_) list_.AddActivity(activity);
    return true;
  }
  plat::LResult OnNotify(plat::NotifyHeader& header) override {
    list_.OnParentNotify(header);
    return plat::Dialog::OnNotify(header);
  }
  bool OnCommand(int id, int code) override {
    if (id != kProperties || code != plat::bn::Clicked) return plat::Dialog::OnCommand(id, code);
    list_.ShowProperties();
    return true;
  }
  bool OnMessage(std::uint32_t message, plat::WParam wparam, plat::LParam lparam, const std::string* text,
                 plat::LResult& result) override {
    if (message != plat::msg::User) return plat::Dialog::OnMessage(message, wparam, lparam, text, result);
    user_messages.push_back(wparam);
    return true;
  }
  void OnCancel() override {
    for (const auto& row : list_.Rows())
      rows.push_back(row.texts.at(0) + "|" + row.texts.at(1) + (row.selected ? " *" : ""));
    properties = GetDlgItem(kProperties)->IsEnabled();
    plat::Dialog::OnCancel();
  }

 private:
  const std::vector<FLM_Activity> activities_;
  CActivityList list_;
};

class ActivityListTest : public rv_test::FlmSampleTest {
 protected:
  rvcmndlg::EntryScope resources_;
  void SetUp() override {
    FlmSampleTest::SetUp();
    using namespace rvcmndlg::res;
    plat::test::AddTemplate(kTemplate, "Activities",
                            {Report(kList), Push(kProperties, "&Properties"), Push(plat::IdCancel, "Cancel")});
    FLM_OsUser me;
    ASSERT_EQ(FLM_OsUser::current_user(&me), 0);
    mine_ = "Fix the greeting|" + me.name();
    CallLog::StartRecording();
  }
  void TearDown() override {
    CallLog::ClearFailures();
    CallLog::StopRecording();
    plat::SetLauncher(nullptr);
    FlmSampleTest::TearDown();
  }
  std::string mine_;
};

TEST_F(ActivityListTest, ListsAnActivityOnlyWhenItsHeadlineAndOwnerCanBeRead) {
  const struct {
    const char* failing;  // made to fail on its first call
    std::vector<std::string> rows;
  } cases[] = {
      {nullptr, {mine_, "Tidy up|pat"}},
      {"FLM_Activity::headline", {"Tidy up|pat"}},
      {"FLM_VobObject::owner", {"Tidy up|pat"}},
      {"FLM_OsUser::login_name", {"Tidy up|pat"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failing ? c.failing : "nothing fails");
    if (c.failing) {
      auto failure = Failing(TBS_ST_FAILURE);
      failure.times = 1;
      ASSERT_TRUE(CallLog::InjectFailure(c.failing, failure));
    }
    plat::test::ScriptedUser user;
    user->OnTemplate(kTemplate).Click("Cancel");
    ListHost host({fix, tidy});
    EXPECT_EQ(host.DoModal(), plat::IdCancel);
    EXPECT_EQ(host.rows, c.rows);
    CallLog::ClearFailures();
  }
}

TEST_F(ActivityListTest, PropertiesCanBePressedExactlyWhileARowIsSelected) {
  const plat::Action focus{plat::Action::Kind::Focus, std::to_string(kList), ""};
  const struct {
    const char* name;
    std::vector<FLM_Activity> listed;
    std::vector<plat::Action> actions;
    std::vector<std::string> rows;
    bool properties;
    std::vector<plat::WParam> user_messages;
  } cases[] = {
      {"nothing done", {fix, tidy}, {}, {mine_, "Tidy up|pat"}, false, {}},
      {"a click", {fix, tidy}, {{plat::Action::Kind::Select, std::to_string(kList), "Tidy up"}},
       {mine_, "Tidy up|pat *"}, true, {}},
      {"the focus selects the first row and tells the parent", {fix, tidy}, {focus},
       {mine_ + " *", "Tidy up|pat"}, true, {kProperties}},
      {"the focus keeps a selection", {fix, tidy},
       {{plat::Action::Kind::Select, std::to_string(kList), "Tidy up"}, focus},
       {mine_, "Tidy up|pat *"}, true, {}},
      {"the focus on an empty list", {}, {focus}, {}, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    plat::test::ScriptedUser user;
    auto script = user->OnTemplate(kTemplate);
    for (const auto& action : c.actions) script.Do(action);
    script.Click("Cancel");
    ListHost host(c.listed);
    EXPECT_EQ(host.DoModal(), plat::IdCancel);
    EXPECT_EQ(host.rows, c.rows);
    EXPECT_EQ(host.properties, c.properties);
    EXPECT_EQ(host.user_messages, c.user_messages);
  }
}

TEST_F(ActivityListTest, ADoubleClickOrTheButtonShowsTheSelectedActivitysProperties) {
  auto launcher = plat::UseRecordingLauncher();
  plat::test::ScriptedUser user;
  user->OnTemplate(kTemplate)
      .Do(plat::Action{plat::Action::Kind::DoubleClick, std::to_string(kList), "Tidy up"})
      .Select(kList, "Fix the greeting")
      .Click("Properties")
      .Click("Cancel");
  ListHost host({fix, tidy});
  EXPECT_EQ(host.DoModal(), plat::IdCancel);
  ASSERT_EQ(launcher->Starts().size(), 2u);
  EXPECT_EQ(launcher->Starts()[0].command_line, "stratadescribe \"activity:tidy@\\projects\"");
  EXPECT_EQ(launcher->Starts()[1].command_line, "stratadescribe \"activity:fix@\\projects\"");
}

TEST_F(ActivityListTest, ASelectorThatCannotBeReadIsSaidWithTheModelsTextAndStartsNothing) {
  auto launcher = plat::UseRecordingLauncher();
  ASSERT_TRUE(CallLog::InjectFailure("FLM_VobObject::selector", Failing(TBS_ST_FAILURE, "The selector is lost.")));
  plat::test::ScriptedUser user;
  user->OnMessage("Unable to display properties for the selected item.\n\nThe selector is lost.").Click("OK");
  user->OnTemplate(kTemplate).Select(kList, "Fix the greeting").Click("Properties").Click("Cancel");
  ListHost host({fix});
  EXPECT_EQ(host.DoModal(), plat::IdCancel);
  EXPECT_TRUE(launcher->Starts().empty());
}

}  // namespace
