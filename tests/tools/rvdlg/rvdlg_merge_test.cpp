// rvdlg merge on the sample repository: the checked-out util.c takes the
// change of another file against a named base, a conflicting merge shows its
// error box and leaves the file alone.
#include "rvdlg_fixture.h"

namespace rvdlg {
namespace {

using test::RvdlgTest;

constexpr const char* kUtil = "\\\\view\\sample_view\\public\\src\\util.c";
constexpr const char* kUtil2 = "\\public\\src\\util.c@@\\main\\2";

class RvdlgMerge : public RvdlgTest {
 protected:
  void SetUp() override {
    RvdlgTest::SetUp();
    ASSERT_EQ(Run({"init"}), 0) << err.str();
    util = ViewFile("public/src/util.c");
    theirs = ViewFile("public/src/theirs.c");
  }
  std::filesystem::path util, theirs;
};

TEST_F(RvdlgMerge, TheCheckedOutFileTakesTheOtherChangesAndConflictsLeaveItAlone) {
  const std::string twice = "int twice(int n) { return 2 * n; }\n";
  const std::string thrice = "int thrice(int n) { return 3 * n; }\n";
  ASSERT_EQ(Read(util), twice + thrice) << "util.c is checked out from \\main\\2";
  Write(util, twice + thrice + "int four(int n) { return 4 * n; }\n");
  Write(theirs, "int twice(int n) { return n + n; }\n" + thrice);
  ASSERT_EQ(Run({"--yes", "merge", "--base", kUtil2, kUtil, theirs.string()}), 0) << err.str() << out.str();
  EXPECT_NE(out.str().find("merge: status 0\n"), std::string::npos) << out.str();
  EXPECT_EQ(Read(util), "int twice(int n) { return n + n; }\n" + thrice + "int four(int n) { return 4 * n; }\n");

  // Both change twice(): the box says so and the file stays as it is.
  Write(theirs, "int twice(int n) { return n << 1; }\n" + thrice);
  const std::string before = Read(util);
  EXPECT_EQ(Run({"--yes", "merge", "--base", kUtil2, util.string(), theirs.string()}), 1);
  EXPECT_NE(out.str().find("[message box, error]\n|  Error merging files.\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("1 conflict (line 1)"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("merge: status 1001 ("), std::string::npos) << out.str();
  EXPECT_EQ(Read(util), before);

  // Resolved by hand, --flag 1 records the merge only: the conflicting
  // contributor no longer stops it, and the file stays as the user left it.
  EXPECT_EQ(Run({"--yes", "merge", "--flag", "1", "--base", kUtil2, kUtil, theirs.string()}), 0) << out.str();
  EXPECT_NE(out.str().find("merge: status 0\n"), std::string::npos) << out.str();
  EXPECT_EQ(Read(util), before);
}

TEST_F(RvdlgMerge, NamesThatReachNothingAreRefusedBeforeTheLibraryRuns) {
  EXPECT_EQ(Run({"--yes", "merge", kUtil, (home / "rvdlg.db").string()}), 1);
  EXPECT_NE(err.str().find("rvdlg: merge: "), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("not a library pathname nor a file inside a view's directory"), std::string::npos)
      << err.str();
  EXPECT_EQ(Run({"merge", kUtil}), 2) << "a contributor is required";
}

}  // namespace
}  // namespace rvdlg
