// The Operations page as the user meets it: what it shows, its enabling
// rule, and what OK writes.
#include <gtest/gtest.h>

#include "fileops/addsrc_advanced_options.h"
#include "fileops/operations_page.h"
#include "rvcmndlg/user_options.h"
#include "local/calllog.h"
#include "local/store.h"
#include "platform/hosts.h"
#include "platform/propsheet.h"
#include "platform/registry.h"
#include "res/resource_ids.h"

namespace {

using namespace rvcmndlg::res;

class OperationsPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::Registry::UseMemory();
    client_local::UseStore(client_local::Store::OpenMemory());
    host = std::make_shared<plat::ScriptedHost>();
    plat::SetUiHost(host);
  }
  void TearDown() override {
    EXPECT_TRUE(host->Failures().empty()) << host->TranscriptText();
    EXPECT_TRUE(host->Unmet().empty());
    plat::SetUiHost(nullptr);
    client_local::UseStore(nullptr);
  }
  // Shows the page in a sheet as the options dialog does.
  int ShowPage() {
    CRvOperationsPage page;
    plat::PropertySheet sheet("Options");
    sheet.SetFlags(plat::kSheetHasHelp);
    sheet.AddPage(&page);
    return sheet.DoModal();
  }
  std::shared_ptr<plat::ScriptedHost> host;
  CUserOptions options;
};

TEST_F(OperationsPageTest, ClearingReservedDisablesAndClearsUnreserved) {
  options.SetCheckoutUnreserved(1);
  host->OnTemplate(IDD_OPERATIONS_PAGE).Uncheck(IDC_CO_RESERVED).Click("OK");
  EXPECT_EQ(ShowPage(), plat::IdOk);
  EXPECT_FALSE(options.CheckoutReserved());
  EXPECT_FALSE(options.CheckoutUnreserved());
  auto checkout = plat::RegKey::Open(plat::Hive::CurrentUser, "Software\\Norvane\\Strata\\Checkout");
  EXPECT_EQ(checkout->QueryDword("Unreserved"), 0u) << "the cleared box is written";
  const auto text = host->TranscriptText();
  EXPECT_NE(text.find("[24669] [x] Unreserved if already reserved\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[24669] [ ] Unreserved if already reserved  (disabled)"), std::string::npos) << text;
}

TEST_F(OperationsPageTest, TheUnreservedBoxCannotBeTickedWhileReservedIsClear) {
  options.SetCheckoutReserved(0);
  host->OnTemplate(IDD_OPERATIONS_PAGE).Check(IDC_CO_UNRESERVED);
  EXPECT_EQ(ShowPage(), plat::IdCancel);
  ASSERT_EQ(host->Failures().size(), 1u);
  EXPECT_NE(host->Failures()[0].find("is disabled"), std::string::npos);
  host = std::make_shared<plat::ScriptedHost>();
}

TEST_F(OperationsPageTest, PreserveTimeIsWrittenOnlyWhenItsBoxChanged) {
  client_local::CallLogScope log;
  host->OnTemplate(IDD_OPERATIONS_PAGE).Check(IDC_CO_PRESERVE_TIME).Click("OK");
  EXPECT_EQ(ShowPage(), plat::IdOk);
  const auto sets = client_local::CallLog::Calls("nlbd_knoblet_set_boolean");
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].args[0], "7") << "only the check-out setting changed";
  EXPECT_TRUE(options.CheckoutPreserveTime());
  EXPECT_FALSE(options.CheckinPreserveTime());
}

TEST_F(OperationsPageTest, AdvancedOptionsTakeTheMasterValueAndMarkThePageChanged) {
  host->OnTemplate(IDD_OPERATIONS_PAGE).Click("Advanced Options...").Click("Apply").Click("Cancel");
  host->OnTemplate(IDD_ADDSRC_ADVANCED).Check(IDC_ADDSRC_MASTER).Click("OK");
  EXPECT_EQ(ShowPage(), plat::IdCancel);
  EXPECT_TRUE(options.AddSrcMaster()) << "Apply, enabled by the advanced options, wrote it";
}

TEST_F(OperationsPageTest, CancellingTheAdvancedOptionsChangesNothing) {
  host->OnTemplate(IDD_OPERATIONS_PAGE).Click("Advanced Options...").Click("Apply");
  host->OnTemplate(IDD_ADDSRC_ADVANCED).Check(IDC_ADDSRC_MASTER).Click("Cancel");
  EXPECT_EQ(ShowPage(), plat::IdCancel);
  ASSERT_EQ(host->Failures().size(), 1u) << "Apply stays disabled";
  EXPECT_FALSE(options.AddSrcMaster());
  host = std::make_shared<plat::ScriptedHost>();
}

TEST_F(OperationsPageTest, HelpOpensThePagesTopics) {
  client_local::CallLogScope log;
  host->OnTemplate(IDD_OPERATIONS_PAGE).Click("Help").Click("Advanced Options...").Click("Cancel");
  host->OnTemplate(IDD_ADDSRC_ADVANCED).Click("Help").Click("Cancel");
  EXPECT_EQ(ShowPage(), plat::IdCancel);
  const auto helps = client_local::CallLog::Calls("gu_help");
  ASSERT_EQ(helps.size(), 2u);
  EXPECT_EQ(helps[0].args[1], CRvOperationsPage::kHelpTopic);
  EXPECT_EQ(helps[1].args[1], CAddSrcAdvancedOptions::kHelpTopic);
  EXPECT_EQ(helps[0].args[2], "1");
}

TEST_F(OperationsPageTest, ThePageShowsTheStoredSettingsInTheLibrarysFont) {
  options.SetSuppressErrors(1);
  options.SetConfirmUncheckout(0);
  host->OnTemplate(IDD_OPERATIONS_PAGE).Click("Cancel");
  CRvOperationsPage page;
  plat::PropertySheet sheet("Options");
  sheet.AddPage(&page);
  EXPECT_EQ(sheet.DoModal(), plat::IdCancel);
  const auto text = host->TranscriptText();
  EXPECT_NE(text.find("[24593] [x] Suppress errors"), std::string::npos) << text;
  EXPECT_NE(text.find("[24591] [ ] Require confirmation"), std::string::npos);
  EXPECT_EQ(page.GetFont().tenths_of_point, 88) << "8 points made 8.8";
  EXPECT_TRUE(options.SuppressErrors()) << "Cancel writes nothing";
}

}  // namespace
