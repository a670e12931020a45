// rvdlg activity, contribs, tlactivity and streamchooser over the sample,
// answered from files.
#include "rvdlg_fixture.h"

namespace rvdlg {
namespace {

using test::RvdlgTest;

class RvdlgActivity : public RvdlgTest {
 protected:
  void SetUp() override {
    RvdlgTest::SetUp();
    ASSERT_EQ(Run({"init"}), 0) << err.str();
  }
};

TEST_F(RvdlgActivity, SelectActivityListsOtherUsersWorkOnlyWhenAskedAndANewActivityIsStored) {
  const auto mine = WriteFile("mine.txt", "window 24344\n  select 7206 \"Fix the greeting\"\n  click OK\n");
  ASSERT_EQ(Run({"--answers", mine.string(), "activity", "stream:hello_dev@\\projects"}), 0) << err.str();
  EXPECT_TRUE(OutHas("activity: activity:fix_greeting@\\projects\n")) << out.str();
  const auto pats = WriteFile("pats.txt", "window 24344\n  select 7206 \"Tidy the helpers\"\n  click OK\n");
  EXPECT_EQ(Run({"--answers", pats.string(), "activity", "stream:pat_dev@\\projects"}), 1) << "pat's is not listed";
  const auto all = WriteFile("all.txt",
                             "window 24344\n  check 24646\n  select 7206 \"Tidy the helpers\"\n  click OK\n");
  ASSERT_EQ(Run({"--answers", all.string(), "activity", "stream:pat_dev@\\projects"}), 0) << err.str();
  EXPECT_TRUE(OutHas("activity: activity:tidy_util@\\projects\n")) << out.str();

  const auto made = WriteFile("new.txt",
                              "window 24343\n  type 24643 \"Greet in Welsh\"\n  click OK\n"
                              "window 24344\n  click New...\n  click OK\n");
  ASSERT_EQ(Run({"--answers", made.string(), "activity", "stream:hello_dev@\\projects", "--current",
                 "activity:fix_greeting@\\projects"}),
            0)
      << err.str();
  EXPECT_TRUE(OutHas("activity: activity:activity_1@\\projects\n")) << out.str();
  ASSERT_EQ(Run({"describe", "activity:activity_1@\\projects"}), 0) << err.str();
  EXPECT_TRUE(OutHas("Greet in Welsh")) << out.str();
}

TEST_F(RvdlgActivity, NoActivityPrintsNoneCancelAndUnknownNamesSaySoAndBadUsageIsTwo) {
  const auto none = WriteFile("none.txt", "window 24344\n  select 7206 \"<No Activity>\"\n  click OK\n");
  ASSERT_EQ(Run({"--answers", none.string(), "activity", "stream:hello_dev@\\projects", "--no-activity", "--no-new"}), 0)
      << err.str();
  EXPECT_TRUE(OutHas("activity: none\n")) << out.str();
  const auto cancel = WriteFile("cancel.txt", "window 24344\n  click Cancel\n");
  EXPECT_EQ(Run({"--answers", cancel.string(), "activity", "stream:hello_dev@\\projects"}), 1);
  EXPECT_TRUE(OutHas("cancelled\n")) << out.str();
  for (const std::vector<std::string>& args : {std::vector<std::string>{"activity", "stream:nothing@\\projects"},
                                              {"contribs", "activity:nothing@\\projects"},
                                              {"tlactivity", "stream:nothing@\\projects"},
                                              {"streamchooser", "--vob", "\\nowhere"}}) {
    err.str("");
    EXPECT_EQ(Run(args), 1) << args[0];
    EXPECT_TRUE(ErrHas("rvdlg: " + args[0] + ": ")) << err.str();
  }
  EXPECT_EQ(Run({"streamchooser", "--mode", "sideways"}), 2);
  EXPECT_EQ(Run({"activity"}), 2);
}

TEST_F(RvdlgActivity, ContributorsOfTheDeliverAndAnOrdinaryActivityRefused) {
  // Only a listed contributor can be selected.
  const auto ok = WriteFile("ok.txt", "window 24409\n  select 24831 \"Fix the greeting\"\n  click OK\n");
  ASSERT_EQ(Run({"--answers", ok.string(), "contribs", "activity:deliver.hello_dev.1@\\projects"}), 0) << err.str();
  const auto refused = WriteFile("refused.txt", "message \"only available for integration activities\"\n  click OK\n");
  EXPECT_EQ(Run({"--answers", refused.string(), "contribs", "activity:fix_greeting@\\projects"}), 1);
  EXPECT_TRUE(OutHas("cancelled\n")) << out.str();
}

TEST_F(RvdlgActivity, TheStreamChooserIsTitledByItsModeAndPrintsTheStream) {
  const auto deliver = WriteFile("deliver.txt",
                                 "caption \"Deliver from Stream\"\n"
                                 "  select 24659 \"\\projects/hello/hello_int/hello_dev\"\n  click OK\n");
  ASSERT_EQ(Run({"--answers", deliver.string(), "streamchooser", "--vob", "\\projects", "--mode", "deliver"}), 0)
      << err.str();
  EXPECT_TRUE(OutHas("stream: stream:hello_dev@\\projects\n")) << out.str();
}

TEST_F(RvdlgActivity, TheRecordChooserWithoutTheTrackerSaysSoAndPrintsCancelled) {
  // The sample installs no Tracklane on the machine.
  const auto answers = WriteFile("record.txt",
                                 "message \"Tracklane is not installed.\"\n  click OK\n"
                                 "window 24404\n  click Cancel\n");
  EXPECT_EQ(Run({"--answers", answers.string(), "tlactivity", "stream:tracked_dev@\\projects"}), 1) << err.str();
  EXPECT_TRUE(OutHas("cancelled\n")) << out.str();
}

}  // namespace
}  // namespace rvdlg
