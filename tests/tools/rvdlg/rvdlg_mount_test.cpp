// rvdlg init, mount and umount: the sample registry under the home, and the
// engine's messages and statuses as a person sees them.
#include <filesystem>

#include "rvdlg_fixture.h"

namespace {

namespace fs = std::filesystem;

// Every run answers with the defaults.
class RvdlgMount : public rvdlg::test::RvdlgTest {
 protected:
  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), "--yes");
    return RvdlgTest::Run(std::move(args));
  }
};

TEST_F(RvdlgMount, InitThenMountAndUnmountBothSampleTags) {
  ASSERT_EQ(Run({"init"}), 0) << err.str();
  EXPECT_TRUE(OutHas("default region \"rvdlg\"")) << out.str();
  EXPECT_TRUE(fs::is_directory(home / "drives" / "c" / "rvdlg" / "vobstore" / "public.vbs"));
  EXPECT_TRUE(fs::is_directory(home / "drives" / "c" / "rvdlg" / "vobstore" / "private.vbs"));
  for (const std::string tag : {"\\public", "\\private"}) {
    SCOPED_TRACE(tag);
    ASSERT_EQ(Run({"mount", tag}), 0) << err.str();
    EXPECT_EQ(out.str(), "Mounting RVFS filesystem " + tag + ".\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(Run({"mount", tag}), 1);
    EXPECT_EQ(out.str(), tag + " is already mounted.\n");
    ASSERT_EQ(Run({"umount", tag}), 0) << err.str();
    EXPECT_EQ(out.str(), "Unmounting RVFS filesystem " + tag + ".\n");
    EXPECT_EQ(Run({"umount", tag}), 0);
    EXPECT_EQ(out.str(), tag + " is not currently mounted.\n");
  }
}

TEST_F(RvdlgMount, InitLeavesAnExistingRegistryUnlessForced) {
  ASSERT_EQ(Run({"init"}), 0) << err.str();
  ASSERT_EQ(Run({"mount", "\\public"}), 0) << err.str();
  EXPECT_EQ(Run({"init"}), 0);
  EXPECT_TRUE(OutHas("already exists")) << out.str();
  EXPECT_TRUE(OutHas("rvdlg init --force")) << out.str();
  EXPECT_EQ(Run({"mount", "\\public"}), 1) << "still mounted: nothing was replaced";
  // Forced: the old VOBs are unmounted and the registry made afresh.
  ASSERT_EQ(Run({"init", "--force"}), 0) << err.str();
  EXPECT_TRUE(OutHas("Unmounting RVFS filesystem \\public.")) << out.str();
  EXPECT_TRUE(OutHas("Made the sample repository")) << out.str();
  EXPECT_EQ(Run({"mount", "\\public"}), 0) << err.str();
}

TEST_F(RvdlgMount, BadTagsAndAMissingRegistryFailClearly) {
  EXPECT_EQ(Run({"mount", "\\public"}), 1);
  EXPECT_TRUE(ErrHas("'rvdlg init' makes one")) << err.str();
  ASSERT_EQ(Run({"init"}), 0) << err.str();
  for (const std::string& tag : {std::string("\\nosuch"), std::string("")}) {
    EXPECT_EQ(Run({"mount", tag}), 1) << tag;
    EXPECT_EQ(err.str(), tag + " is not a registered VOB tag.\n");
    EXPECT_EQ(Run({"umount", tag}), 1) << tag;
    EXPECT_TRUE(ErrHas(tag + " is not a registered VOB tag.\n")) << err.str();
    EXPECT_TRUE(OutHas(tag + " is not currently mounted.\n")) << out.str();
  }
  EXPECT_EQ(Run({"mount"}), 2) << "a missing tag is bad usage";
}

}  // namespace
