// rvdlg uncheckout, reserve and unreserve on the sample repository.
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

}  // namespace
}  // namespace rvdlg
