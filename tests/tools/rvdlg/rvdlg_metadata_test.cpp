// Metadata through rvdlg: the Lock, Protection, Custom and Labels pages
// driven by answer files, what a lock holds back, and the Metadata block of
// describe.
#include <filesystem>
#include <string>

#include "rvdlg_fixture.h"

namespace {

class RvdlgMetadata : public rvdlg::test::RvdlgTest {
 protected:
  void SetUp() override {
    RvdlgTest::SetUp();
    ASSERT_EQ(Run({"--yes", "init"}), 0) << err.str();
  }
  int Properties(const std::string& name, const std::string& answers) {
    return Run({"--answers", WriteFile("page.answers", answers).string(), "properties", name});
  }
};

TEST_F(RvdlgMetadata, ALockedElementRefusesUnreservingUntilUnlocked) {
  const std::string util = ViewFile("public/src/util.c").string();
  ASSERT_EQ(Properties("\\public\\src\\util.c",
                       "window 834\n  page Lock\n  click Locked\n  type 7005 \"release freeze\"\n  click OK\n"),
            0)
      << err.str() << out.str();
  ASSERT_EQ(Run({"describe", "\\public\\src\\util.c"}), 0) << err.str();
  EXPECT_TRUE(OutHas("  Metadata:\n")) << out.str();
  EXPECT_TRUE(OutHas("    Lock: Locked by ")) << out.str();
  EXPECT_TRUE(OutHas("      \"release freeze\"\n")) << out.str();
  out.str("");
  EXPECT_EQ(Run({"--yes", "unreserve", util}), 1);
  EXPECT_TRUE(OutHas("Lock on \"\\public\\src\\util.c@@\"") || ErrHas("Lock on \"\\public\\src\\util.c@@\""))
      << out.str() << err.str();
  ASSERT_EQ(Properties("\\public\\src\\util.c", "window 834\n  page Lock\n  click Unlocked\n  click OK\n"), 0)
      << err.str();
  EXPECT_EQ(Run({"--yes", "unreserve", util}), 0) << err.str() << out.str();
}

TEST_F(RvdlgMetadata, OtherExecuteReachesTheModeAndTheViewsFile) {
  ASSERT_EQ(Properties("\\public\\src\\hello.c", "window 834\n  page Protection\n  check 7042\n  click OK\n"), 0)
      << err.str();
  ASSERT_EQ(Run({"describe", "\\public\\src\\hello.c"}), 0) << err.str();
  EXPECT_TRUE(OutHas("    Mode: 0445\n")) << out.str();
  EXPECT_TRUE(OutHas("    Lock: Unlocked\n")) << out.str();
  const auto perms = std::filesystem::status(ViewFile("public/src/hello.c")).permissions();
  EXPECT_EQ(static_cast<unsigned>(perms) & 0777u, 0445u);
}

TEST_F(RvdlgMetadata, AnAttributeAndAMovedLabelReachDescribeAndAValueOutOfBoundsIsRefused) {
  const std::string version = "\\public\\src\\hello.c@@\\main\\2";
  const auto add_priority = [&](const char* value, const char* refusal) {
    return Properties(version, std::string("window 828\n  page Custom\n  context 7003\n  click OK\n"
                                           "menu \"Add Attribute...\"\n"
                                           "window 842\n  type 7055 Priority\n  type 7049 ") +
                                   value + "\n  click OK\nmessage \"Are you sure\"\n  click OK\n" + refusal);
  };
  ASSERT_EQ(add_priority("9", "message \"outside the bounds\"\n  click OK\n"), 0) << err.str() << out.str();
  ASSERT_EQ(add_priority("2", ""), 0) << err.str() << out.str();
  ASSERT_EQ(Properties(version, "window 828\n  page Labels\n  context 7012\n  click OK\nmenu \"Add Label...\"\n"
                                "window 843\n  type 7046 REL1\n  check 7329\n  click OK\n"
                                "message \"Are you sure\"\n  click OK\n"),
            0)
      << err.str() << out.str();
  ASSERT_EQ(Run({"describe", version}), 0) << err.str();
  EXPECT_TRUE(OutHas("    Attribute: Priority = 2\n")) << out.str();
  EXPECT_FALSE(OutHas("Priority = 9")) << out.str();
  EXPECT_TRUE(OutHas("    Label: REL1\n")) << out.str();
  EXPECT_TRUE(OutHas("    Hyperlink: Merge <- ")) << out.str();
  out.str("");
  ASSERT_EQ(Run({"describe", "\\public\\src\\hello.c@@\\main\\1"}), 0) << err.str();
  EXPECT_FALSE(OutHas("    Label: REL1\n")) << "the label moved\n" << out.str();
}

}  // namespace
