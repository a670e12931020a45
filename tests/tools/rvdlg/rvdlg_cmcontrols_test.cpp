// rvdlg cmcontrols over the sample's streams, answered from a file.
#include "rvdlg_fixture.h"

namespace rvdlg {
namespace {

using test::RvdlgTest;

class RvdlgCmControls : public RvdlgTest {
 protected:
  void SetUp() override {
    RvdlgTest::SetUp();
    ASSERT_EQ(Run({"init"}), 0) << err.str();
  }
};

TEST_F(RvdlgCmControls, TheChoicesOfAnAnswerFileArePrintedAsSelectors) {
  const auto answers = WriteFile("answers.txt",
                                 "window 101\n"
                                 "  select 24659 \"\\projects/hello/hello_int\"\n"
                                 "  select 24662 BL1\n"
                                 "  select 7198 hello_BL2/BL2\n"
                                 "  select \"Record:\" #0\n"
                                 "  click OK\n");
  ASSERT_EQ(Run({"--answers", answers.string(), "cmcontrols", "stream:tracked_dev@\\projects"}), 1)
      << "tracked_dev has no baseline BL1: " << out.str();
  ASSERT_EQ(Run({"--answers", answers.string(), "cmcontrols", "stream:hello_dev@\\projects"}), 1)
      << "hello_dev has no record: " << out.str();
  const auto without_record = WriteFile("answers2.txt",
                                        "window 101\n"
                                        "  select 24659 \"\\projects/hello/hello_int\"\n"
                                        "  select 24662 BL1\n"
                                        "  select 7198 hello_BL2/BL2\n"
                                        "  click OK\n");
  ASSERT_EQ(Run({"--answers", without_record.string(), "cmcontrols", "stream:hello_dev@\\projects"}), 0)
      << out.str() << err.str();
  EXPECT_TRUE(OutHas("project tree: stream:hello_int@\\projects\n"
                     "timeline: baseline:BL1@\\projects\n"
                     "baseline tree: baseline:BL2@\\projects\n"
                     "record: none\n"))
      << out.str();
}

TEST_F(RvdlgCmControls, TheRecordOfTheStreamViewsActivityIsChosenAndCancelSaysSo) {
  EXPECT_EQ(Run({"--yes", "cmcontrols", "stream:tracked_dev@\\projects"}), 0) << err.str();
  EXPECT_TRUE(OutHas("record: SAMPL00000001\n")) << out.str();
  const auto cancel = WriteFile("answers.txt", "window 101\n  click Cancel\n");
  EXPECT_EQ(Run({"--answers", cancel.string(), "cmcontrols", "stream:tracked_dev@\\projects"}), 1);
  EXPECT_TRUE(OutHas("cancelled\n")) << out.str();
  EXPECT_EQ(Run({"cmcontrols", "stream:nothing@\\projects"}), 1);
  EXPECT_TRUE(ErrHas("rvdlg: cmcontrols: stream:nothing@\\projects: ")) << err.str();
  EXPECT_EQ(Run({"cmcontrols"}), 2);
}

TEST_F(RvdlgCmControls, WithoutTracklaneTheListSaysSoAndTheWindowStaysUsable) {
  ASSERT_EQ(Run({"tracklane", "uninstall"}), 0) << err.str();
  const auto answers = WriteFile("answers.txt",
                                 "window 101\n"
                                 "  open Record:\n"
                                 "  select 24659 tracked_int\n"
                                 "  click OK\n"
                                 "message \"Tracklane is not installed.\"\n"
                                 "  click OK\n");
  ASSERT_EQ(Run({"--answers", answers.string(), "cmcontrols", "stream:tracked_dev@\\projects"}), 0)
      << out.str() << err.str();
  EXPECT_TRUE(OutHas("project tree: stream:tracked_int@\\projects\n")) << out.str();
  EXPECT_TRUE(OutHas("record: SAMPL00000001\n")) << "the view's record was placed without the tracker";
}

}  // namespace
}  // namespace rvdlg
