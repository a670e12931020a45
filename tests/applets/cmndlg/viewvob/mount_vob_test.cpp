// The VOB list and the Mount and Unmount dialogs over two VOBs of this host:
// what each list shows, what the user picks, and what is mounted and
// registered for logon afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gcl_status.h"
#include "gu.h"
#include "imsg.h"
#include "local/calllog.h"
#include "local/usage.h"
#include "nlbd_port.h"
#include "ntregy.h"
#include "platform/machine.h"
#include "platform/registry.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "rgy.h"
#include "rvcmndlg/entries.h"
#include "rvcmndlg/user_options.h"
#include "rvmount/mntrpc.h"
#include "support/repository.h"
#include "support/ui.h"
#include "tbs.h"
#include "tbs_oid.h"
#include "tbs_rvfs.h"
#include "tbs_uuid.h"
#include "viewvob/mount_vob_dlg.h"
#include "viewvob/vob_list_box.h"
#include "vob_utl_mount.h"

namespace {

using namespace rvcmndlg::res;
using client_local::CallLog;
using client_local::Failure;
using Tags = std::vector<std::string>;

constexpr const char* kNotInstalled = "This operation is not available because the RVFS is not installed.";

// \public and \private of this host ("alpha") in the default region, with
// their storage; neither mounted nor registered for logon.
class VobMountTest : public rv_test::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    plat::Registry::UseMemory();
    plat::MachineProfile machine = plat::RealMachineInfo();
    machine.host_name = "alpha";
    machine.computer_name = "ALPHA";
    plat::SetMachineProfile(machine);
    ASSERT_EQ(nlbd_set_port("alpha", 7510), 0);
    AddVob("\\public", "public.vbs");
    AddVob("\\private", "private.vbs");
    host = std::make_shared<plat::ScriptedHost>();
    plat::SetUiHost(host);
    client_local::ClearUsageLog();
  }
  void TearDown() override {
    EXPECT_EQ(host->Finish(), std::vector<std::string>()) << host->TranscriptText();
    plat::SetUiHost(nullptr);
    CallLog::ClearFailures();
    client_local::SetRvfsInstalled(true);
    plat::SetMachineProfile(std::nullopt);
    ViewTest::TearDown();
  }

  void AddVob(const std::string& tag, const std::string& dir) {
    std::filesystem::create_directories(home / "drives" / "c" / "store" / dir);
    tbs_uuid_t uuid{};
    tbs_uuid_gen(&uuid);
    char uuid_text[TBS_UUID_STR_SIZE];
    tbs_uuid_to_str(&uuid, uuid_text, sizeof uuid_text);
    const std::string gpath = "\\\\alpha\\c$\\store\\" + dir;
    using Fields = std::vector<std::pair<int, std::string>>;
    const Fields tag_fields = {{RGY_KEY_TAG, tag},           {RGY_KEY_UUID, uuid_text},   {RGY_KEY_HOST, "alpha"},
                               {RGY_KEY_GPATH, gpath},       {RGY_KEY_ACCESS, "public"}, {RGY_KEY_MOUNT_OPTS, ""}};
    const Fields object_fields = {{RGY_KEY_UUID, uuid_text}, {RGY_KEY_REPLICA_UUID, uuid_text},
                                  {RGY_KEY_HOST, "alpha"},   {RGY_KEY_GPATH, gpath},
                                  {RGY_KEY_LOCAL_PATH, "C:\\store\\" + dir}};
    for (int kind : {RGY_KIND_VOB_TAG, RGY_KIND_VOB_OBJECT}) {
      const bool is_tag = kind == RGY_KIND_VOB_TAG;
      rgy_entry_t entry = nullptr;
      ASSERT_EQ(rgy_create_entry(kind, &entry), 0);
      for (const auto& [key, value] : is_tag ? tag_fields : object_fields)
        ASSERT_EQ(rgy_setstring_in_entry(entry, key, value.c_str()), 0);
      ASSERT_EQ(rgy_add_entry(is_tag ? "test" : nullptr, entry), 0);
      rgy_delete_entry(entry);
    }
  }

  static bool Mounted(const char* tag) { return vob_utl_is_mounted_vob_pname(tag) != 0; }
  static Tags Registered() {
    Tags tags;
    EXPECT_EQ(ntregy_get_persistent_vobs(&tags), 0);
    return tags;
  }
  static Tags Items(const CVobListBox& box) {
    Tags texts;
    for (const auto& item : box.Items()) texts.push_back(item.text);
    return texts;
  }
  static Tags Filled(CVobListBox::Mode mode) {
    CVobListBox box;
    box.CreateWindowObject(nullptr, 1, "", plat::lbs::Sort | plat::lbs::ExtendedSel);
    box.Fill(mode);
    return Items(box);
  }
  static std::vector<std::string> UsageEvents() {
    std::vector<std::string> events;
    for (const auto& record : client_local::UsageLog()) events.push_back(record.event);
    return events;
  }
  bool Shown(const std::string& text) const { return host->TranscriptText().find(text) != std::string::npos; }

  rvcmndlg::EntryScope resources_;
  std::shared_ptr<plat::ScriptedHost> host;
};

// ---- The list ----

TEST_F(VobMountTest, EachModeListsItsVobsSortedWithoutTheLeadingSeparator) {
  ASSERT_EQ(mntrpc_mount_tag("\\public", "", ""), 0);
  EXPECT_EQ(Filled(CVobListBox::Mounted), Tags{"public"});
  EXPECT_EQ(Filled(CVobListBox::Unmounted), Tags{"private"});
  EXPECT_EQ(Filled(CVobListBox::All), (Tags{"private", "public"}));
  CVobListBox box;
  box.CreateWindowObject(nullptr, 1, "", plat::lbs::Sort | plat::lbs::ExtendedSel);
  EXPECT_EQ(box.GetMode(), CVobListBox::All) << "before any fill";
  box.Fill(CVobListBox::All, "", "kept");
  EXPECT_GT(box.GetHorizontalExtent(), 0);
  EXPECT_EQ(box.Filter(), "kept");
  box.Fill(CVobListBox::All, "nosuch");
  EXPECT_EQ(Items(box), Tags()) << "another region's tags";
}

TEST_F(VobMountTest, OnlyTheListAnswerOf1055CountsAsSuccessAndNoFailureIsShown) {
  const struct {
    const char* call;
    int status;
    Tags listed;
  } cases[] = {
      {"rgy_get_entry", TBS_ST_NOT_FS_OBJECT, {"private", "public"}},
      {"rgy_get_entry", TBS_ST_FAILURE, {}},
      {"rgy_open_cursor", TBS_ST_NOT_FOUND, {}},
      {"rgy_get_default_region", TBS_ST_NOT_FOUND, {}},
  };
  for (const auto& c : cases) {
    // The entries are read; the call that follows them fails.
    CallLog::InjectFailure(c.call, Failure{c.status, {{IMSG_ERROR, "registry trouble"}}, -1,
                                           std::string(c.call) == "rgy_get_entry" ? 2 : 1});
    EXPECT_EQ(Filled(CVobListBox::All), c.listed) << c.call << " " << c.status;
    CallLog::ClearFailures();
  }
  EXPECT_TRUE(host->Transcript().empty()) << host->TranscriptText();
}

TEST_F(VobMountTest, ATagWithOrWithoutItsSeparatorPreselectsTheOneEntry) {
  for (const std::string tag : {"\\public", "/public", "public", "PUBLIC"}) {
    CVobListBox box;
    box.CreateWindowObject(nullptr, 1, "", plat::lbs::Sort | plat::lbs::ExtendedSel);
    box.Fill(CVobListBox::All);
    box.Preselect({tag, "\\nosuch"});
    std::vector<RVL_VobTag> picked;
    ASSERT_TRUE(box.GetSelection(&picked)) << tag;
    ASSERT_EQ(picked.size(), 1u) << tag;
    EXPECT_STREQ(picked[0].name().c_str(), "\\public") << tag;
    EXPECT_EQ(box.GetTopIndex(), 1) << tag;
    RVL_VobTag current;
    ASSERT_TRUE(box.CurrentItem(&current));
    EXPECT_TRUE(current == picked[0]);
  }
}

TEST_F(VobMountTest, NoHandleOutlivesARefillOrTheList) {
  RVL_VobTag kept;
  {
    CVobListBox box;
    box.CreateWindowObject(nullptr, 1, "", plat::lbs::Sort | plat::lbs::ExtendedSel);
    box.Fill(CVobListBox::All);
    ASSERT_TRUE(box.CurrentItem(&kept));
    EXPECT_EQ(kept.reference_count(), 2u) << "the list's and ours";
    box.Fill(CVobListBox::All);
    EXPECT_EQ(kept.reference_count(), 1u) << "a refill frees the old handles";
    ASSERT_TRUE(box.CurrentItem(&kept));
    EXPECT_EQ(kept.reference_count(), 2u);
    box.Fill(CVobListBox::Mounted);
    EXPECT_FALSE(box.CurrentItem(&kept)) << "an empty list has no current item";
    std::vector<RVL_VobTag> none;
    EXPECT_FALSE(box.GetSelection(&none));
    box.Fill(CVobListBox::All);
    ASSERT_TRUE(box.CurrentItem(&kept));
  }
  EXPECT_EQ(kept.reference_count(), 1u) << "the list's handles go with it";
}

TEST_F(VobMountTest, TheCaretIsKeptInSightOneLineAtATime) {
  for (int i = 0; i < CVobListBox::kVisibleLines + 2; ++i)
    AddVob("\\v" + std::to_string(i), "v" + std::to_string(i) + ".vbs");
  CVobListBox box;
  box.CreateWindowObject(nullptr, 1, "", plat::lbs::Sort | plat::lbs::ExtendedSel);
  box.Fill(CVobListBox::All);
  box.SetCaretIndex(CVobListBox::kVisibleLines - 1);
  box.KeepCaretVisible();
  EXPECT_EQ(box.GetTopIndex(), 0) << "the last line shown";
  box.SetCaretIndex(CVobListBox::kVisibleLines);
  box.KeepCaretVisible();
  EXPECT_EQ(box.GetTopIndex(), 1);
}

// ---- Mount ----

TEST_F(VobMountTest, MountingRegistersForLogonOnlyWhenTheBoxIsTicked) {
  const struct {
    int stored_option;
    bool tick;
    bool registered_before;
    Tags registered_after;
  } cases[] = {
      {0, true, false, {"\\public"}},
      {1, false, false, {}},
      {1, false, true, {"\\public"}},  // an older registration stays
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tick ? "ticked" : "cleared");
    ASSERT_EQ(mntrpc_umount_tag("\\public", ""), 0);
    ASSERT_EQ(ntregy_remove_persistent_vob("\\public"), 0);
    if (c.registered_before) {
      ASSERT_EQ(ntregy_add_persistent_vob("\\public"), 0);
    }
    CUserOptions().SetReconnectAtLogon(c.stored_option);
    auto answer = host->OnTemplate(IDD_MOUNT_VOB);
    answer.Select(IDC_MOUNT_VOB_LIST, "public");
    if (c.tick) answer.Check(IDC_MOUNT_RECONNECT);
    else answer.Uncheck(IDC_MOUNT_RECONNECT);
    answer.Click(plat::IdOk);
    CMountVobDlg dialog;
    EXPECT_EQ(dialog.DoModal(), plat::IdOk);
    EXPECT_TRUE(Mounted("\\public"));
    EXPECT_FALSE(Mounted("\\private"));
    EXPECT_EQ(Registered(), c.registered_after);
    EXPECT_EQ(CUserOptions().ReconnectAtLogon(), c.stored_option) << "the box does not change the option";
  }
}

TEST_F(VobMountTest, AFailedMountIsShownWithItsTagRegistersNothingAndTheNextVobStillMounts) {
  CallLog::InjectFailure("view_mfs_ioctl", Failure{TBS_ST_FAILURE, {{IMSG_ERROR, "the driver refused"}}, 1});
  host->OnTemplate(IDD_MOUNT_VOB)
      .Select(IDC_MOUNT_VOB_LIST, "private")
      .Do(plat::Action{plat::Action::Kind::Add, std::to_string(IDC_MOUNT_VOB_LIST), "public"})
      .Check(IDC_MOUNT_RECONNECT)
      .Click(plat::IdOk);
  host->OnMessage("\\private").Click("OK");
  std::vector<VobOutcome> outcomes;
  EXPECT_EQ(MountVobs({}, nullptr, &outcomes), plat::IdOk);
  EXPECT_TRUE(Shown("the driver refused")) << host->TranscriptText();
  EXPECT_FALSE(Mounted("\\private"));
  EXPECT_TRUE(Mounted("\\public"));
  EXPECT_EQ(Registered(), Tags{"\\public"});
  ASSERT_EQ(outcomes.size(), 2u);
  EXPECT_EQ(outcomes[0].tag, "\\private");
  EXPECT_EQ(outcomes[0].status, VobOutcome::kFailed);
  EXPECT_NE(outcomes[0].messages.find("the driver refused"), std::string::npos) << outcomes[0].messages;
  EXPECT_EQ(outcomes[1].status, VobOutcome::kSucceeded);
}

TEST_F(VobMountTest, WithEveryVobMountedMountClosesAndDoesNothing) {
  for (const char* tag : {"\\public", "\\private"}) ASSERT_EQ(mntrpc_mount_tag(tag, "", ""), 0);
  CUserOptions().SetReconnectAtLogon(1);
  host->OnTemplate(IDD_MOUNT_VOB).Click(plat::IdOk);
  CallLog::StartRecording();
  std::vector<VobOutcome> outcomes;
  EXPECT_EQ(MountVobs({"\\public"}, nullptr, &outcomes), plat::IdOk);
  EXPECT_TRUE(CallLog::Calls("view_mfs_ioctl").empty());
  EXPECT_EQ(Registered(), Tags());
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_EQ(outcomes[0].status, VobOutcome::kNotProcessed) << "a given tag that was not listed";
  CallLog::StopRecording();
}

// ---- Unmount ----

TEST_F(VobMountTest, UnmountDropsTheRegistrationWhetherOrNotTheVobUnmounts) {
  for (const char* tag : {"\\public", "\\private"}) {
    ASSERT_EQ(mntrpc_mount_tag(tag, "", ""), 0);
    ASSERT_EQ(ntregy_add_persistent_vob(tag), 0);
  }
  CallLog::InjectFailure("view_mfs_ioctl", Failure{TBS_ST_FAILURE, {{IMSG_ERROR, "busy"}}, 1});
  host->OnTemplate(IDD_UNMOUNT_VOB)
      .Select(IDC_UNMOUNT_VOB_LIST, "private")
      .Do(plat::Action{plat::Action::Kind::Add, std::to_string(IDC_UNMOUNT_VOB_LIST), "public"})
      .Click(plat::IdOk);
  host->OnMessage("\\private").Click("OK");
  std::vector<VobOutcome> outcomes;
  EXPECT_EQ(UnmountVobs({"public"}, nullptr, &outcomes), plat::IdOk);
  EXPECT_TRUE(Mounted("\\private")) << "its unmount failed";
  EXPECT_FALSE(Mounted("\\public"));
  EXPECT_EQ(Registered(), Tags());
  ASSERT_EQ(outcomes.size(), 2u) << "the given tag was worked on: listed once";
  EXPECT_EQ(outcomes[0].status, VobOutcome::kFailed);
  EXPECT_EQ(outcomes[1].status, VobOutcome::kSucceeded);
}

// ---- Both ----

TEST_F(VobMountTest, ARegistrationThatFailsIsAWarningNamingTheVobAndTheWorkStands) {
  ASSERT_EQ(mntrpc_mount_tag("\\private", "", ""), 0);
  CallLog::InjectFailure("ntregy_add_persistent_vob", Failure{TBS_ST_FAILURE, {}, -1});
  CallLog::InjectFailure("ntregy_remove_persistent_vob", Failure{TBS_ST_FAILURE, {}, -1});
  host->OnTemplate(IDD_MOUNT_VOB).Select(IDC_MOUNT_VOB_LIST, "public").Check(IDC_MOUNT_RECONNECT).Click(plat::IdOk);
  host->OnMessage("The VOB \\public is mounted, but it could not be registered").Click("OK");
  std::vector<VobOutcome> outcomes;
  EXPECT_EQ(MountVobs({}, nullptr, &outcomes), plat::IdOk);
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_EQ(outcomes[0].status, VobOutcome::kSucceeded);
  EXPECT_NE(outcomes[0].messages.find("could not be registered"), std::string::npos);
  host->OnTemplate(IDD_UNMOUNT_VOB).Select(IDC_UNMOUNT_VOB_LIST, "private").Click(plat::IdOk);
  host->OnMessage("The registration of the VOB \\private to be mounted again at logon could not be removed.")
      .Click("OK");
  EXPECT_EQ(UnmountVobs({}, nullptr, &outcomes), plat::IdOk);
  EXPECT_TRUE(Mounted("\\public"));
  EXPECT_FALSE(Mounted("\\private"));
  const std::string text = host->TranscriptText();
  EXPECT_NE(text.find("warning"), std::string::npos) << text;
}

TEST_F(VobMountTest, DoubleClickActsAsOkAndHelpOpensEachTopic) {
  CallLog::StartRecording();
  host->OnTemplate(IDD_MOUNT_VOB)
      .Click(IDC_VOB_MOUNT_HELP)
      .Do(plat::Action{plat::Action::Kind::DoubleClick, std::to_string(IDC_MOUNT_VOB_LIST), "public"});
  EXPECT_EQ(rvMountVobOp({}, nullptr), plat::IdOk);
  EXPECT_TRUE(Mounted("\\public"));
  host->OnTemplate(IDD_UNMOUNT_VOB).Do(plat::Action{plat::Action::Kind::Help, "", ""}).Click(plat::IdCancel);
  EXPECT_EQ(rvUnmountVobOp({"\\public"}, nullptr), plat::IdCancel);
  EXPECT_TRUE(Mounted("\\public"));
  std::vector<std::string> topics;
  for (const auto& call : CallLog::Calls("gu_help")) topics.push_back(call.args.size() > 1 ? call.args[1] : "");
  EXPECT_EQ(topics, (Tags{"rvint_exp/mountvob.htm", "rvint_exp/unmountvob.htm"}));
  EXPECT_EQ(UsageEvents(), (Tags{"rvMountVobOp", "rvUnmountVobOp"}));
  CallLog::StopRecording();
}

TEST_F(VobMountTest, WithoutTheFileSystemBothAnswerMinusOneAndOnlyUnmountRecordsItsUse) {
  client_local::SetRvfsInstalled(false);
  host->OnMessage(kNotInstalled).Times(2).Click("OK");
  std::vector<VobOutcome> outcomes;
  EXPECT_EQ(MountVobs({"\\public"}, nullptr, &outcomes), -1);
  EXPECT_TRUE(outcomes.empty());
  EXPECT_EQ(UsageEvents(), Tags());
  EXPECT_EQ(rvUnmountVobOp({}, nullptr), -1);
  EXPECT_EQ(UsageEvents(), Tags{"rvUnmountVobOp"});
}

}  // namespace
