// rvdlg options: the settings a fresh home shows, and the Operations page
// answered by each host.
#include "rvdlg_fixture.h"

namespace rvdlg {
namespace {

using test::RvdlgTest;

constexpr const char* kDefaults =
    "SuppressErrors: 0\nPromptForCIComment: 1\nUseCheckoutInfo: 1\nPromptForCOComment: 1\n"
    "CheckoutReserved: 1\nCheckoutUnreserved: 0\nCheckoutNonmastered: 0\nAddSrcMaster: 0\n"
    "ConfirmUncheckout: 1\nUncheckoutSaveFile: 1\nExplorerSimpleMenu: 0\nExplorerRefresh: 1\n"
    "StartViewPage: 0\nExplorerCommandPrompt: cmd.exe\nRestartAtLogon: 1\nReconnectAtLogon: 1\n"
    "CheckinPreserveTime: 0\nCheckoutPreserveTime: 0\n";

TEST_F(RvdlgTest, AFreshHomeShowsTheDefaultsAndYesLeavesThemAsTheyAre) {
  ASSERT_EQ(Run({"options", "--show"}), 0) << err.str();
  EXPECT_EQ(out.str(), kDefaults);
  ASSERT_EQ(Run({"--yes", "options"}), 0) << err.str();
  EXPECT_NE(out.str().find("options: saved"), std::string::npos);
  ASSERT_EQ(Run({"options", "--show"}), 0);
  EXPECT_EQ(out.str(), kDefaults);
}

TEST_F(RvdlgTest, AnAnswerFileThatClearsReservedClearsUnreservedToo) {
  const auto answers = WriteFile("answers.txt", "window 24322\n  check 24669\n  uncheck Reserved\n  click OK\n");
  ASSERT_EQ(Run({"--answers", answers.string(), "options"}), 0) << err.str();
  ASSERT_EQ(Run({"options", "--show"}), 0);
  EXPECT_NE(out.str().find("CheckoutReserved: 0\nCheckoutUnreserved: 0\n"), std::string::npos) << out.str();
}

TEST_F(RvdlgTest, DefaultRestoresTheOperationSettingsAndHelpSaysWhereItWouldOpen) {
  const auto answers = WriteFile("answers.txt",
                                 "window 24322\n  check \"Suppress errors\"\n  click Help\n  click OK\n");
  ASSERT_EQ(Run({"--answers", answers.string(), "options"}), 0) << err.str();
  EXPECT_NE(out.str().find("help: rvint_exp/operationsoptions.htm"), std::string::npos) << out.str();
  ASSERT_EQ(Run({"options", "--show"}), 0);
  EXPECT_NE(out.str().find("SuppressErrors: 1"), std::string::npos);
  ASSERT_EQ(Run({"options", "--default"}), 0);
  ASSERT_EQ(Run({"options", "--show"}), 0);
  EXPECT_EQ(out.str(), kDefaults);
  EXPECT_EQ(Run({"options", "--show", "--default"}), 2);
}

}  // namespace
}  // namespace rvdlg
