// rvdlg views, viewprops, browseviews and rvfs over the sample's views.
#include "rvdlg_fixture.h"

namespace {

class RvdlgViews : public rvdlg::test::RvdlgTest {
 protected:
  void SetUp() override {
    RvdlgTest::SetUp();
    ASSERT_EQ(Run({"--yes", "init"}), 0) << err.str();
  }
  std::string Views(const char* mode) {
    EXPECT_EQ(Run({"views", mode}), 0) << err.str();
    return out.str();
  }
};

TEST_F(RvdlgViews, EachListShowsTheSamplesViewsInListOrder) {
  const std::string local = Views("local");
  for (const char* tag : {"sample_view\n", "build_view\n"}) EXPECT_NE(local.find(tag), std::string::npos) << local;
  for (const char* tag : {"remote_view", "snap_view"}) EXPECT_EQ(local.find(tag), std::string::npos) << local;
  EXPECT_EQ(Views("snapshot"), "snap_view\n");
  EXPECT_EQ(Views("recent"), "sample_view\nbuild_view\nremote_view\n") << "old_view is no view";
  EXPECT_EQ(Views("recent-inactive"), "build_view\nremote_view\n");
  EXPECT_EQ(Views("local-inactive"), "build_view\n");
  EXPECT_EQ(Run({"views", "sideways"}), 2);
}

using RvdlgNoRegistry = rvdlg::test::RvdlgTest;

TEST_F(RvdlgNoRegistry, WithoutADefaultRegionTheRegionListsFail) {
  EXPECT_EQ(Run({"--yes", "views", "all"}), 1);
  EXPECT_TRUE(OutHas("Cannot locate the default Strata registry region.")) << out.str();
  EXPECT_EQ(Run({"--yes", "views", "snapshot"}), 0) << "no region is asked for";
}

TEST_F(RvdlgViews, ViewPropertiesDescribeTheViewOfAPathname) {
  std::string output;
  EXPECT_EQ(Rvdlg({"viewprops", "\\\\view\\sample_view\\public"}, &output), 0) << output;
  EXPECT_NE(output.find("sample_view:\n"), std::string::npos) << output;
  EXPECT_NE(output.find("Tag: sample_view"), std::string::npos) << output;
  EXPECT_EQ(Rvdlg({"viewprops", (home / "views" / "snap_view" / "public").string()}, &output), 0) << output;
  EXPECT_NE(output.find("Tag: snap_view"), std::string::npos) << output;
  EXPECT_EQ(Rvdlg({"viewprops", "C:\\nowhere"}, &output), 1) << output;
  EXPECT_NE(output.find("rvdlg: viewprops: C:\\nowhere:"), std::string::npos) << output;
  EXPECT_EQ(output.find("stratadescribe"), std::string::npos) << "nothing is started: " << output;
}

TEST_F(RvdlgViews, TheDialogDescribesTheChosenViewsAndCancelFails) {
  const auto answers = WriteFile("answers", "window 24335\n  page Snapshot\n  select 24615 snap_view\n  click OK\n");
  std::string output;
  EXPECT_EQ(Program(RVDLG_BINARY, {"--home", home.string(), "--answers", answers.string(), "viewprops"}, &output), 0)
      << output;
  EXPECT_NE(output.find("Tag: snap_view"), std::string::npos) << output;
  EXPECT_EQ(Rvdlg({"viewprops"}, &output), 1) << "nothing chosen: " << output;
  EXPECT_EQ(Run({"rvfs", "off"}), 0);
  EXPECT_TRUE(OutHas("RVFS: not installed"));
  EXPECT_EQ(Rvdlg({"viewprops"}, &output), 1) << output;
  EXPECT_NE(output.find("tabs: [Snapshot]"), std::string::npos) << output;
  EXPECT_EQ(Run({"rvfs"}), 0);
  EXPECT_TRUE(OutHas("RVFS: not installed")) << "the setting is kept";
  EXPECT_EQ(Run({"rvfs", "on"}), 0);
  EXPECT_TRUE(OutHas("RVFS: installed"));
}

TEST_F(RvdlgViews, BrowsingAsksBeforeAnotherUsersViewIsTaken) {
  const auto answers = WriteFile("answers",
                                 "window 24367\n  select 24696 remote_view\n  click OK\n  click OK\n"
                                 "message \"owned by the user 'builder'\"\n  click No\n"
                                 "message \"owned by the user 'builder'\"\n  click Yes\n");
  EXPECT_EQ(Run({"--answers", answers.string(), "browseviews", "--integration", "build_view", "remote_view"}), 0)
      << out.str() << err.str();
  EXPECT_TRUE(OutHas("Select an Integration View")) << out.str();
  EXPECT_TRUE(OutHas("chosen: remote_view\n")) << out.str();
  EXPECT_EQ(Run({"--yes", "browseviews", "build_view"}), 1);
  EXPECT_TRUE(OutHas("cancelled\n")) << out.str();
}

}  // namespace
