// "Confirm Undo Check Out" as the user meets it.
#include <gtest/gtest.h>

#include "fileops/confirm_undo_checkout_dlg.h"
#include "platform/hosts.h"
#include "res/resource_ids.h"

namespace {

using namespace rvcmndlg::res;

class ConfirmUndoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = std::make_shared<plat::ScriptedHost>();
    plat::SetUiHost(host);
  }
  void TearDown() override {
    EXPECT_TRUE(host->Unmet().empty());
    plat::SetUiHost(nullptr);
  }
  std::shared_ptr<plat::ScriptedHost> host;
};

TEST_F(ConfirmUndoTest, ManyFilesOfferTheToAllButtonsAndKeepTakesTheBox) {
  host->OnCaption("Confirm Undo Check Out").Check(IDC_CONFIRM_UNDO_KEEP).Click("Yes to All");
  CConfirmUndoCheckoutDlg dialog;
  dialog.m_name = "C:\\views\\a b\\notes.txt";
  dialog.m_multiple = 1;
  dialog.m_keepAllowed = 1;
  EXPECT_EQ(dialog.DoModal(), CConfirmUndoCheckoutDlg::IdYesToAll);
  EXPECT_EQ(dialog.m_keep, 1);
  EXPECT_TRUE(host->Failures().empty()) << host->TranscriptText();
  const auto text = host->TranscriptText();
  EXPECT_NE(text.find("Do you want to undo the check out of 'C:\\views\\a b\\notes.txt'?"), std::string::npos) << text;
  EXPECT_NE(text.find("[2] <No to All>"), std::string::npos);
}

TEST_F(ConfirmUndoTest, OneFileDisablesTheToAllButtonsAndADirectoryTheKeepBox) {
  host->OnTemplate(IDD_CONFIRM_UNDO_CHECKOUT).Click("Yes to All");
  CConfirmUndoCheckoutDlg dialog;
  dialog.m_name = "src";
  dialog.m_keep = 1;
  EXPECT_EQ(dialog.DoModal(), plat::IdCancel) << "the disabled button could not be pressed";
  ASSERT_EQ(host->Failures().size(), 1u);
  const auto text = host->TranscriptText();
  EXPECT_NE(text.find("[24595] <Yes to All>(disabled)"), std::string::npos) << text;
  EXPECT_NE(text.find("[2] <No to All>(disabled)"), std::string::npos);
  EXPECT_NE(text.find("[24586] [x] Save copy of the file with a '.keep' extension.  (disabled)"), std::string::npos);
}

TEST_F(ConfirmUndoTest, NoSkipsAndYesKeepsWhatTheBoxSays) {
  host->OnTemplate(IDD_CONFIRM_UNDO_CHECKOUT).Click("No");
  host->OnTemplate(IDD_CONFIRM_UNDO_CHECKOUT).Uncheck(IDC_CONFIRM_UNDO_KEEP).Click("Yes");
  CConfirmUndoCheckoutDlg first;
  first.m_keepAllowed = 1;
  first.m_keep = 1;
  EXPECT_EQ(first.DoModal(), plat::IdNo);
  CConfirmUndoCheckoutDlg second;
  second.m_keepAllowed = 1;
  second.m_keep = 1;
  EXPECT_EQ(second.DoModal(), plat::IdYes);
  EXPECT_EQ(second.m_keep, 0);
  EXPECT_TRUE(host->Failures().empty()) << host->TranscriptText();
}

}  // namespace
