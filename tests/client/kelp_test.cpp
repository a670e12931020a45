// The Tracklane stand-in over the change-management sample: which records a
// stream may take, the project's record types, the record browser and the
// new-record form as a user meets them, and the calls when Tracklane is not
// installed.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "flm_admin.h"
#include "flm_imsg_redirector.h"
#include "kelp.h"
#include "platform/registry.h"
#include "platform/types.h"
#include "support/flm_sample.h"
#include "support/ui.h"
#include "tbs.h"

namespace {

class Tracklane : public rv_test::FlmSampleTest {
 protected:
  void SetUp() override {
    FlmSampleTest::SetUp();
    ASSERT_EQ(kelp_set_installed(true), 0);
  }
  void TearDown() override {
    plat::DeleteKeyTree(plat::Hive::LocalMachine, KELP_INSTALLED_KEY);
    FlmSampleTest::TearDown();
  }
  static std::string Ids(const FLM_List<FLM_TLEntityID>& ids) {
    std::string text;
    for (const FLM_TLEntityID& id : ids) text += (text.empty() ? "" : " ") + id.display_name();
    return text;
  }
};

// Closed records and records bound to another stream's activity are not
// offered; a record bound in the stream itself is.
TEST_F(Tracklane, AStreamIsOfferedTheOpenRecordsNotBoundElsewhere) {
  FLM_Stream other;
  ASSERT_EQ(flm_admin_mkstream(tracked, "other", "", false, "other", nullptr, &other), 0);
  FLM_List<FLM_TLEntityID> ids;
  FLM_StringList headlines;
  ASSERT_EQ(CKelp_CA_GetInfo::GetAvailTLActivities(tracked, tracked_int, &ids, &headlines), 0);
  EXPECT_EQ(Ids(ids), "SAMPL00000001 SAMPL00000002");
  ASSERT_EQ(headlines.length(), 2u);
  EXPECT_EQ(headlines[1], "Add a farewell");
  ASSERT_EQ(CKelp_CA_GetInfo::GetAvailTLActivities(tracked, other, &ids, &headlines), 0);
  EXPECT_EQ(Ids(ids), "SAMPL00000002");

  FLM_StringList types;
  ASSERT_EQ(CKelp_CA_FLMProject::GetProjectRecordTypes(tracked, &types), 0);
  ASSERT_EQ(types.length(), 2u);
  EXPECT_EQ(types[0] + " " + types[1], "Defect Enhancement");
  FLM_ImsgRedirector messages;
  EXPECT_EQ(CKelp_CA_FLMProject::GetProjectRecordTypes(hello_project, &types), TBS_ST_FAILURE);
  EXPECT_EQ(types.length(), 2u) << "a failure leaves the out-argument";
  ASSERT_EQ(messages.count(), 1);
  EXPECT_NE(messages.message(0).find("is not Tracklane-enabled"), std::string::npos) << messages.message(0);
}

TEST_F(Tracklane, TheBrowserShowsEveryRecordAndGivesTheChosenOne) {
  plat::test::ScriptedUser user;
  user->OnTemplate(KELP_IDD_BROWSER).Click(plat::IdOk).Select(KELP_IDC_RECORDS, "SAMPL00000003").Click(plat::IdOk);
  user->OnMessage("Choose a record.").Click("OK");
  bool ok = false;
  FLM_TLEntityID id;
  std::string headline;
  ASSERT_EQ(CKelp_CA_TL_UI::OpenTLActivityBrowser(tracked, &ok, &id, &headline), 0);
  EXPECT_TRUE(ok);
  EXPECT_EQ(id.display_name(), "SAMPL00000003") << "closed records are browsed too";
  EXPECT_EQ(headline, "Old trouble");

  user->OnTemplate(KELP_IDD_BROWSER).Click(plat::IdCancel);
  ASSERT_EQ(CKelp_CA_TL_UI::OpenTLActivityBrowser(tracked, &ok, &id, &headline), 0);
  EXPECT_FALSE(ok);
  EXPECT_EQ(id.display_name(), "SAMPL00000003");
}

TEST_F(Tracklane, TheNewRecordFormNeedsAHeadlineAndStoresTheNextRecord) {
  plat::test::ScriptedUser user;
  user->OnTemplate(KELP_IDD_NEW_RECORD)
      .Click(plat::IdOk)
      .Type(KELP_IDC_HEADLINE, "Say goodbye")
      .Type(KELP_IDC_DESCRIPTION, "at the end")
      .Click(plat::IdOk);
  user->OnMessage("A headline is required.").Click("OK");
  bool ok = false;
  FLM_TLEntityID id;
  std::string headline;
  ASSERT_EQ(CKelp_CA_TL_UI::OpenNewTLActivityForm("Enhancement", tracked, &ok, &id, &headline), 0);
  EXPECT_TRUE(ok);
  EXPECT_EQ(id.display_name(), "SAMPL00000004");
  EXPECT_EQ(headline, "Say goodbye");
  FLM_List<kelp_record_s> records;
  ASSERT_EQ(kelp_get_records(&records), 0);
  ASSERT_EQ(records.length(), 4u);
  EXPECT_EQ(records[3].type + " " + records[3].state, "Enhancement Submitted");

  user->OnTemplate(KELP_IDD_NEW_RECORD).Type(KELP_IDC_HEADLINE, "dropped").Click(plat::IdCancel);
  ASSERT_EQ(CKelp_CA_TL_UI::OpenNewTLActivityForm("Defect", tracked, &ok, &id, &headline), 0);
  EXPECT_FALSE(ok);
  ASSERT_EQ(kelp_get_records(&records), 0);
  EXPECT_EQ(records.length(), 4u);
  // A type the project does not have shows no form.
  FLM_ImsgRedirector messages;
  EXPECT_EQ(CKelp_CA_TL_UI::OpenNewTLActivityForm("Wish", tracked, &ok, &id, &headline), TBS_ST_NOT_FOUND);
}

TEST_F(Tracklane, EveryCallFailsWhileTracklaneIsNotInstalled) {
  ASSERT_EQ(kelp_set_installed(false), 0);
  EXPECT_FALSE(kelp_is_installed());
  bool ok = false;
  FLM_TLEntityID id;
  std::string headline;
  FLM_List<FLM_TLEntityID> ids;
  FLM_StringList texts;
  FLM_List<kelp_record_s> records;
  const std::function<int()> calls[] = {
      [&] { return CKelp_CA_GetInfo::GetAvailTLActivities(tracked, tracked_int, &ids, &texts); },
      [&] { return CKelp_CA_FLMProject::GetProjectRecordTypes(tracked, &texts); },
      [&] { return CKelp_CA_TL_UI::OpenTLActivityBrowser(tracked, &ok, &id, &headline); },
      [&] { return CKelp_CA_TL_UI::OpenNewTLActivityForm("Defect", tracked, &ok, &id, &headline); },
      [&] { return kelp_get_records(&records); },
  };
  plat::test::ScriptedUser user;  // no window may show
  for (const auto& call : calls) {
    FLM_ImsgRedirector messages;
    EXPECT_EQ(call(), TBS_ST_FAILURE);
    EXPECT_EQ(messages.messages(), std::vector<std::string>{"Tracklane is not installed.\n"});
  }
  EXPECT_TRUE(ids.length() == 0 && texts.length() == 0 && records.length() == 0 && id.is_null());
}

}  // namespace
