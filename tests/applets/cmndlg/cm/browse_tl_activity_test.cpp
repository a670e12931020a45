// The Tracklane record chooser over the model's sample: the project's
// records, submitting one on the spot, a record's form, and the tracker
// missing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cm/browse_tl_activity_dlg.h"
#include "flm_admin.h"
#include "kelp.h"
#include "platform/controls.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "cm/activity_entries.h"
#include "rvcmndlg/entries.h"
#include "support/flm_sample.h"
#include "support/ui.h"

namespace {

using namespace rvcmndlg::res;

// The chooser, noting its rows and whether New was offered, at OK or Cancel.
class NotingChooser : public CBrowseForTLActivityDialog {
 public:
  using CBrowseForTLActivityDialog::CBrowseForTLActivityDialog;
  std::vector<std::string> rows;
  bool new_offered = false;

 protected:
  void Note() {
    rows.clear();
    for (const auto& row : Item<plat::ListView>(IDC_TL_RECORDS)->Rows())
      rows.push_back(row.texts.at(0) + "|" + row.texts.at(1) + "|" + row.texts.at(2));
    new_offered = GetDlgItem(IDC_TL_NEW)->IsVisible();
  }
  void OnOK() override {
    Note();
    CBrowseForTLActivityDialog::OnOK();
  }
  void OnCancel() override {
    Note();
    CBrowseForTLActivityDialog::OnCancel();
  }
};

class BrowseTLActivityTest : public rv_test::FlmSampleTest {
 protected:
  // The dialogs run as inside the library's entries.
  rvcmndlg::EntryScope resources_;
  void SetUp() override {
    FlmSampleTest::SetUp();
    ASSERT_EQ(kelp_set_installed(true), 0);
  }
};

TEST_F(BrowseTLActivityTest, TheProjectsRecordsAreListedWithTheCurrentOneChosen) {
  plat::test::ScriptedUser user;
  user->OnTemplate(IDD_BROWSE_TL_ACTIVITY).Click("OK");
  NotingChooser dialog(tracked_int, record2);
  ASSERT_EQ(dialog.DoModal(), plat::IdOk);
  EXPECT_EQ(dialog.rows, (std::vector<std::string>{"SAMPL00000001|It crashes|Opened",
                                                   "SAMPL00000002|Add a farewell|Submitted",
                                                   "SAMPL00000003|Old trouble|Closed"}));
  EXPECT_EQ(dialog.Chosen().display_name(), "SAMPL00000002");
  EXPECT_TRUE(dialog.new_offered);
}

TEST_F(BrowseTLActivityTest, NewSubmitsARecordOfTheChosenTypeAndChoosesIt) {
  plat::test::ScriptedUser user;
  user->OnMenu("Defect...");
  user->OnTemplate(KELP_IDD_NEW_RECORD).Type(KELP_IDC_HEADLINE, "Greeting too loud").Click("OK");
  user->OnTemplate(IDD_BROWSE_TL_ACTIVITY).Click("New").Click("OK");
  FLM_TLEntityID record;
  ASSERT_EQ(rvBrowseForTLActivity(tracked_int, record, nullptr), 0);
  EXPECT_EQ(record.display_name(), "SAMPL00000004");
}

TEST_F(BrowseTLActivityTest, NewIsNotOfferedWhereTheProjectForbidsSubmitting) {
  ASSERT_EQ(flm_admin_set_pvar(tracked, KELP_PVAR_NO_SUBMIT, "1"), 0);
  plat::test::ScriptedUser user;
  user->OnTemplate(IDD_BROWSE_TL_ACTIVITY).Click("Cancel");
  NotingChooser dialog(tracked_int, FLM_TLEntityID());
  EXPECT_EQ(dialog.DoModal(), plat::IdCancel);
  EXPECT_FALSE(dialog.new_offered);
  EXPECT_EQ(dialog.rows.size(), 3u);
}

TEST_F(BrowseTLActivityTest, PropertiesOpenTheRecordsFormAndOkWithoutARecordAsksForOne) {
  plat::test::ScriptedUser user;
  user->OnMessage("You must first select a record.").Click("OK");
  user->OnTemplate(KELP_IDD_RECORD_FORM).Click("Close");
  user->OnTemplate(IDD_BROWSE_TL_ACTIVITY).Click("OK").Select(IDC_TL_RECORDS, "SAMPL00000002").Click("&Properties").Click("Cancel");
  FLM_TLEntityID record;
  EXPECT_EQ(rvBrowseForTLActivity(tracked_int, record, nullptr), -1);
  EXPECT_TRUE(record.is_null());
}

TEST_F(BrowseTLActivityTest, WithoutTheTrackerItSaysSoAndListsNothing) {
  ASSERT_EQ(kelp_set_installed(false), 0);
  plat::test::ScriptedUser user;
  user->OnMessage("Tracklane is not installed.").Click("OK");
  user->OnTemplate(IDD_BROWSE_TL_ACTIVITY).Click("Cancel");
  NotingChooser dialog(tracked_int, FLM_TLEntityID());
  EXPECT_EQ(dialog.DoModal(), plat::IdCancel);
  EXPECT_TRUE(dialog.rows.empty());
  EXPECT_FALSE(dialog.new_offered);
}

}  // namespace
