// rvdlg properties: each name's outcome, view tags described by the describe
// tool next to rvdlg, failures with what the user was told.
#include "rvdlg_fixture.h"

namespace {

class RvdlgProperties : public rvdlg::test::RvdlgTest {
 protected:
  void SetUp() override {
    RvdlgTest::SetUp();
    ASSERT_EQ(Run({"--yes", "init"}), 0) << err.str();
  }
};

TEST_F(RvdlgProperties, AnUnknownNameFailsWithTheSheetsMessage) {
  std::string output;
  EXPECT_EQ(Rvdlg({"properties", "nosuch"}, &output), 1) << output;
  EXPECT_NE(output.find("nosuch: failed\n    Unable to display properties of \"nosuch\"."), std::string::npos)
      << output;
  // An object the library has no page for yet (a view-private file) says so.
  Write(ViewFile("public/src/scratch.txt"), "mine\n");
  EXPECT_EQ(Rvdlg({"properties", "\\\\view\\sample_view\\public\\src\\scratch.txt"}, &output), 1) << output;
  EXPECT_NE(output.find("No properties can be shown for this kind of object."), std::string::npos) << output;
}

TEST_F(RvdlgProperties, TheSampleCheckOutsGeneralPageShowsAndKeepsItsChanges) {
  const std::string util = "\\\\view\\sample_view\\public\\src\\util.c";
  std::string output;
  EXPECT_EQ(Rvdlg({"properties", util}, &output), 0) << output;
  for (const char* text : {"\"Checkedout version\"", "[7012] edit (read-only): \"sample_view\"", "[x] Reserved",
                           "util.c: OK\n"})
    EXPECT_NE(output.find(text), std::string::npos) << text << " in\n" << output;
  const auto answers = WriteFile("general.answers",
                                 "window 828\n"
                                 "  type Description: \"Tidy the helpers\"\n"
                                 "  uncheck Reserved\n"
                                 "  click OK\n");
  ASSERT_EQ(Run({"--answers", answers.string(), "properties", util}), 0) << err.str();
  ASSERT_EQ(Run({"describe", "\\public\\src\\util.c@@\\main\\CHECKEDOUT"}), 0) << err.str();
  EXPECT_TRUE(OutHas("Comment: Tidy the helpers\n")) << out.str();
}

TEST_F(RvdlgProperties, AViewTagIsDescribedBesideAFailedName) {
  std::string output;
  EXPECT_EQ(Rvdlg({"properties", "--tab", "configspec", "viewtag:sample_view", "nosuch"}, &output), 1) << output;
  for (const char* text : {"stratadescribe: viewtag:sample_view (tab configspec)\n", "Tag: sample_view",
                           "viewtag:sample_view: described\n", "nosuch: failed\n"})
    EXPECT_NE(output.find(text), std::string::npos) << text << " in\n" << output;
  EXPECT_EQ(Rvdlg({"properties", "--pname", "viewtag:sample_view", "viewtag:sample_view"}, &output), 0) << output;
  EXPECT_NE(output.find("stratadescribe: viewtag:sample_view (pname)\n"), std::string::npos) << output;
}

TEST_F(RvdlgProperties, TheDescribeToolRefusesUnknownNamesAndBadUsage) {
  const std::string tool = (std::filesystem::path(RVDLG_BINARY).parent_path() / "stratadescribe").string();
  std::string output;
  EXPECT_EQ(Program(tool, {"viewtag:nosuch"}, &output), 1) << output;
  EXPECT_EQ(Program(tool, {}, &output), 2) << output;
  EXPECT_EQ(Run({"properties"}), 2);
}

}  // namespace
