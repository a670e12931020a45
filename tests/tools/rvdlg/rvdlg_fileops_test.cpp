// rvdlg checkout, uncheckout, reserve and unreserve on the sample repository.
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "rvdlg_fixture.h"

namespace rvdlg {
namespace {

using test::RvdlgTest;

class RvdlgFileOps : public RvdlgTest {
 protected:
  void SetUp() override {
    RvdlgTest::SetUp();
    ASSERT_EQ(Run({"init"}), 0) << err.str();
    util = ViewFile("public/src/util.c");
  }
  std::filesystem::path util;
};

TEST_F(RvdlgFileOps, UncheckoutWithYesKeepsTheEditsAndPutsTheVersionBack) {
  const std::string selected_before = Read(util);
  { std::ofstream(util, std::ios::app) << "my edits\n"; }
  ASSERT_EQ(Run({"--yes", "uncheckout", util.string()}), 0) << err.str() << out.str();
  EXPECT_NE(out.str().find("\\\\view\\sample_view\\public\\src\\util.c succeeded\n"), std::string::npos) << out.str();
  EXPECT_EQ(Read(std::filesystem::path(util.string() + ".keep")), selected_before + "my edits\n");
  struct stat st{};
  ASSERT_EQ(::stat(util.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0222, 0u) << "read-only again";
  EXPECT_NE(Read(util), selected_before + "my edits\n");
  // Done once; a second time the file is no longer checked out.
  EXPECT_EQ(Run({"--yes", "uncheckout", util.string()}), 1);
  EXPECT_NE(out.str().find("util.c failed\n    Element is not checked out to view 'sample_view'."), std::string::npos)
      << out.str();
}

TEST_F(RvdlgFileOps, NoKeepLeavesNoCopy) {
  EXPECT_EQ(Run({"uncheckout", "--no-keep", util.string()}), 0) << out.str();
  EXPECT_FALSE(std::filesystem::exists(util.string() + ".keep"));
  EXPECT_EQ(Run({"uncheckout", "--keep", "--no-keep", util.string()}), 2);
}

TEST_F(RvdlgFileOps, AnAnswerFileCanDeclineTheUndo) {
  const auto answers = WriteFile("answers.txt", "window 24326\n  click No\n");
  EXPECT_EQ(Run({"--answers", answers.string(), "uncheckout", util.string()}), 1);
  EXPECT_NE(out.str().find("util.c not processed"), std::string::npos) << out.str();
}

TEST_F(RvdlgFileOps, CheckoutMakesTheFileWritableAndRefusesContradictoryOptions) {
  const auto hello = ViewFile("public/src/hello.c");
  ASSERT_EQ(Run({"--yes", "checkout", hello.string()}), 0) << err.str() << out.str();
  EXPECT_TRUE(OutHas("Check Out")) << "the comment dialog is drawn";
  EXPECT_TRUE(OutHas("\\\\view\\sample_view\\public\\src\\hello.c succeeded\n")) << out.str();
  struct stat st{};
  ASSERT_EQ(::stat(hello.c_str(), &st), 0);
  EXPECT_NE(st.st_mode & 0200, 0u);
  EXPECT_EQ(Run({"checkout", "--reserved", "--unreserved", hello.string()}), 2);
  EXPECT_EQ(Run({"--yes", "checkout", "--comment", "again", hello.string()}), 1);
  EXPECT_TRUE(OutHas("hello.c failed\n    Element is already checked out to view 'sample_view'.")) << out.str();
}

TEST_F(RvdlgFileOps, CheckoutInRel1ViewOffersTheVersionsAndKeepsRel1sText) {
  const auto hello = home / "views" / "rel1_view" / "public/src/hello.c";
  const std::string rel1 = Read(hello);
  ASSERT_EQ(Run({"--yes", "checkout", hello.string()}), 0) << err.str() << out.str();
  EXPECT_TRUE(OutHas("Confirm Version to Check Out")) << out.str();
  EXPECT_EQ(Read(hello), rel1);
}

// The tool starts when the run ends and goes on by itself, so its line may
// come before or after the file's.
TEST_F(RvdlgFileOps, ARequestedMastershipIsSentToTheTool) {
  const auto notes = home / "views" / "sample_view" / "private/notes.txt";
  const auto answers = WriteFile("answers.txt", "window 24341\n  check 24753\n  click Yes\n");
  std::string output;
  ASSERT_EQ(Program(RVDLG_BINARY, {"--home", home.string(), "--answers", answers.string(), "checkout", "--nonmastered",
                                   notes.string()},
                    &output),
            0)
      << output;
  const auto outcome = output.find("notes.txt succeeded");
  const auto tool =
      output.find(R"(tsldlg: mastership of \\view\sample_view\private\notes.txt@@\main requested from replica remote)");
  ASSERT_NE(outcome, std::string::npos) << output;
  EXPECT_NE(tool, std::string::npos) << output;
}

}  // namespace
}  // namespace rvdlg
