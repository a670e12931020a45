// The Lock and Protection pages, driven as a user would through
// rvDisplayPropertySheet: what each page shows, which commands Apply issues,
// and what the repository and the view's directory hold afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cmd_lock.h"
#include "local/calllog.h"
#include "propsheet/display_property_sheet.h"
#include "propsheet/property_sheet.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "stg.h"
#include "support/repository.h"
#include "support/ui.h"
#include "sysutl.h"
#include "tbs.h"
#include "vob.h"
#include "vob_attr.h"

namespace {

namespace fs = std::filesystem;
using client_local::CallLog;
using rvcmndlg::SheetOutcome;
using namespace rvcmndlg::res;
using Kind = SheetOutcome::Kind;
using plat::Action;

constexpr const char* kUtil = "\\public\\src\\util.c";
constexpr const char* kHello = "\\public\\src\\hello.c";

class MetadataPagesTest : public rv_test::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    area = stg_create_area(0);
    CallLog::StartRecording();
  }
  void TearDown() override {
    CallLog::StopRecording();
    stg_delete_area(area);
    EXPECT_EQ(CRvPropertyThread::ActiveCount(), 0);
    ViewTest::TearDown();
  }
  static Kind Display(const std::string& name) {
    rvcmndlg::EntryScope resources;
    const auto outcomes = rvcmndlg::DisplayPropertySheets({name}, 0, {}, 1);
    return outcomes.size() == 1 ? outcomes[0].kind : Kind::Failed;
  }
  // The page with the template as the user last saw it.
  static std::string LastPage(plat::test::ScriptedUser& user, int page) {
    const std::vector<std::string> lines = user->Transcript();
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
      if (it->find("-- page " + std::to_string(page) + " --") != std::string::npos) return *it;
    return {};
  }
  vob_lock_info_s LockOf(vob_dbid_t dbid) {
    vob_lock_info_s info;
    vob_obj_get_lock(vob, dbid, area, &info);
    return info;
  }
  std::vector<std::string> Excluded(vob_dbid_t dbid) {
    const vob_lock_info_s info = LockOf(dbid);
    return {info.excluded, info.excluded + info.excluded_count};
  }
  void LockUtil(const char* comment, std::vector<const char*> excluded = {}) {
    const char* names[] = {kUtil};
    cmd_lock_args_s args;
    args.area = area;
    args.names = names;
    args.name_count = 1;
    args.comment = comment;
    args.excluded_users = excluded.data();
    args.excluded_count = static_cast<std::uint32_t>(excluded.size());
    ASSERT_EQ(cmd_lock(&args), 0);
    CallLog::Clear();
  }
  std::uint32_t Mode(vob_dbid_t dbid, std::string* owner = nullptr) {
    char owner_sid[100], group_sid[100];
    std::uint32_t mode = 0;
    EXPECT_EQ(vob_obj_get_protection(vob, dbid, owner_sid, sizeof owner_sid, group_sid, sizeof group_sid, &mode), 0);
    if (owner) *owner = owner_sid;
    return mode;
  }
  static unsigned FileMode(const fs::path& path) {
    return static_cast<unsigned>(fs::status(path).permissions()) & 07777;
  }
  static Action Context(int control) { return {Action::Kind::Context, std::to_string(control), ""}; }
  static std::string Me() {
    char name[256];
    return sysutl_myloginname(name, sizeof name) == 0 ? name : "";
  }

  stg_area_t area = STG_NULL_AREA;
};

// ---- Lock ----

TEST_F(MetadataPagesTest, TheLockControlsFollowTheState) {
  const struct {
    const char* click;
    bool description, excluded;
  } cases[] = {{"Unlocked", false, false}, {"Locked", true, true}, {"Obsolete", true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.click);
    plat::test::ScriptedUser user;
    user->OnCaption(std::string("Properties of ") + kUtil).Do({Action::Kind::Page, "Lock", ""}).Click(c.click)
        .Click("Cancel");
    EXPECT_EQ(Display(kUtil), Kind::Cancel);
    const std::string page = LastPage(user, IDD_LOCK_PAGE);
    EXPECT_EQ(page.find("[7005] edit: \"\"  (disabled)") == std::string::npos, c.description) << page;
    EXPECT_EQ(page.find("[7038] list: {}  (disabled)") == std::string::npos, c.excluded) << page;
  }
  EXPECT_TRUE(CallLog::Calls("cmd_lock").empty());
  EXPECT_TRUE(CallLog::Calls("cmd_unlock").empty());
}

TEST_F(MetadataPagesTest, LockingPassesTheUsersButNoUnchangedOrEmptyDescription) {
  // Locked with two users added from the menu, one of them removed again.
  {
    plat::test::ScriptedUser user;
    user->OnCaption(std::string("Properties of ") + kUtil)
        .Do({Action::Kind::Page, "Lock", ""})
        .Click("Locked")
        .Do(Context(IDC_LOCK_EXCLUDED))
        .Do(Context(IDC_LOCK_EXCLUDED))
        .Do(Context(IDC_LOCK_EXCLUDED))
        .Select(IDC_LOCK_EXCLUDED, "bob")
        .Do(Context(IDC_LOCK_EXCLUDED))
        .Click("OK");
    user->OnMenu("Add Me");
    user->OnMenu("Add User...");
    user->OnCaption("Add User").Type(IDC_PROMPT_ANSWER, "bob").Click("OK");
    user->OnMenu("Add User...");
    user->OnCaption("Add User").Type(IDC_PROMPT_ANSWER, "carol").Click("OK");
    user->OnMenu("Remove User");
    EXPECT_EQ(Display(kUtil), Kind::Ok);
    EXPECT_NE(user->TranscriptText().find("Please enter a username:"), std::string::npos);
  }
  const auto locks = CallLog::Calls("cmd_lock");
  ASSERT_EQ(locks.size(), 1u);
  EXPECT_EQ(locks[0].args[2], "(null)") << "an empty description is no comment";
  EXPECT_EQ(Excluded(util), (std::vector<std::string>{Me(), "carol"}));
  // Replaced with Remove All and the same description: still no comment.
  LockUtil("frozen", {"dave"});
  {
    plat::test::ScriptedUser user;
    user->OnCaption(std::string("Properties of ") + kUtil)
        .Do({Action::Kind::Page, "Lock", ""})
        .Do(Context(IDC_LOCK_EXCLUDED))
        .Type(IDC_LOCK_DESCRIPTION, "thawing")
        .Type(IDC_LOCK_DESCRIPTION, "frozen")
        .Click("OK");
    user->OnMenu("Remove All");
    EXPECT_EQ(Display(kUtil), Kind::Ok);
  }
  ASSERT_EQ(CallLog::Calls("cmd_lock").size(), 1u);
  EXPECT_EQ(CallLog::Calls("cmd_lock")[0].args[2], "(null)");
  EXPECT_STREQ(LockOf(util).comment, "frozen");
  EXPECT_TRUE(Excluded(util).empty());
}

TEST_F(MetadataPagesTest, ObsoleteKeepsTheListButLetsNoOneThroughAndBackToLockedIssuesNothing) {
  LockUtil("frozen", {"alice"});
  {
    plat::test::ScriptedUser user;
    user->OnCaption(std::string("Properties of ") + kUtil)
        .Do({Action::Kind::Page, "Lock", ""})
        .Click("Obsolete")
        .Click("Locked")
        .Click("OK");
    EXPECT_EQ(Display(kUtil), Kind::Ok);
  }
  EXPECT_TRUE(CallLog::Calls("cmd_lock").empty());
  plat::test::ScriptedUser user;
  user->OnCaption(std::string("Properties of ") + kUtil)
      .Do({Action::Kind::Page, "Lock", ""})
      .Click("Obsolete")
      .Type(IDC_LOCK_DESCRIPTION, "retired")
      .Click("Apply")
      .Click("OK");
  EXPECT_EQ(Display(kUtil), Kind::Ok);
  ASSERT_EQ(CallLog::Calls("cmd_lock").size(), 1u);
  const auto args = CallLog::Calls("cmd_lock")[0].args;
  EXPECT_EQ(args[1], "1");
  EXPECT_EQ(args[2], "retired");
  EXPECT_EQ(args[3], "(none)") << "an obsolete lock is given no users";
  EXPECT_EQ(LockOf(util).obsolete, 1);
  // After Apply the page shows the new lock, with the list as the user left it.
  const std::string page = LastPage(user, IDD_LOCK_PAGE);
  EXPECT_NE(page.find("(o) Obsolete"), std::string::npos) << page;
  EXPECT_NE(page.find("{alice}"), std::string::npos) << page;
}

TEST_F(MetadataPagesTest, ARefusedLockShowsTheMessagesAndKeepsThePageModified) {
  ASSERT_TRUE(CallLog::InjectFailure("cmd_lock", rv_test::Failing(TBS_ST_PERMISSION, "Locks are off today.")));
  plat::test::ScriptedUser user;
  user->OnCaption(std::string("Properties of ") + kUtil)
      .Do({Action::Kind::Page, "Lock", ""})
      .Click("Locked")
      .Click("Apply")
      .Click("OK")
      .Click("Cancel");
  user->OnMessage("Unable to lock '\\public\\src\\util.c@@'.\n\nLocks are off today.").Click("OK").Times(2);
  EXPECT_EQ(Display(kUtil), Kind::Cancel);
  EXPECT_EQ(CallLog::Calls("cmd_lock").size(), 2u);
  EXPECT_EQ(LockOf(util).locked, 0);
}

TEST_F(MetadataPagesTest, UnlockingFromThePageAndALockThatHoldsBackAChange) {
  LockUtil("frozen");
  EXPECT_EQ(vob_obj_protect(vob, util, 0555), TBS_ST_PERMISSION);
  plat::test::ScriptedUser user;
  user->OnCaption(std::string("Properties of ") + kUtil)
      .Do({Action::Kind::Page, "Lock", ""})
      .Click("Unlocked")
      .Click("OK");
  EXPECT_EQ(Display(kUtil), Kind::Ok);
  EXPECT_EQ(CallLog::Calls("cmd_unlock").size(), 1u);
  EXPECT_EQ(LockOf(util).locked, 0);
  EXPECT_EQ(vob_obj_protect(vob, util, 0555), 0);
}

// ---- Protection ----

TEST_F(MetadataPagesTest, OtherExecuteAloneWritesOnlyTheModeAndTheViewsCopyFollows) {
  plat::test::ScriptedUser user;
  user->OnCaption(std::string("Properties of ") + kHello)
      .Do({Action::Kind::Page, "Protection", ""})
      .Check(7042)
      .Click("OK");
  EXPECT_EQ(Display(kHello), Kind::Ok);
  const auto calls = CallLog::Calls("vob_obj_protect_sid");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args[2], "");
  EXPECT_EQ(calls[0].args[3], "");
  EXPECT_EQ(calls[0].args[4], std::to_string(0445));
  EXPECT_EQ(Mode(hello), 0445u);
  EXPECT_EQ(FileMode(File("public/src/hello.c")), 0445u);
}

TEST_F(MetadataPagesTest, ARefusedProtectionChangesNothingAndStaysPending) {
  std::string owner_before;
  const std::uint32_t mode_before = Mode(hello, &owner_before);
  const struct {
    const char* why;
    const char* owner;
    const char* failure;  // injected into vob_obj_protect_sid, or none
    const char* message;
  } cases[] = {
      {"unknown owner", "no_such_user", nullptr, "Unknown user \"no_such_user\"."},
      {"repository refusal", "daemon", "The VOB is read-only.", "The VOB is read-only."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    CallLog::ClearFailures();
    if (c.failure) {
      ASSERT_TRUE(CallLog::InjectFailure("vob_obj_protect_sid", rv_test::Failing(TBS_ST_PERMISSION, c.failure)));
    }
    plat::test::ScriptedUser user;
    user->OnCaption(std::string("Properties of ") + kHello)
        .Do({Action::Kind::Page, "Protection", ""})
        .Type(IDC_PROT_OWNER, c.owner)
        .Check(7042)
        .Check(7028)
        .Click("Apply")
        .Click("OK")
        .Click("Cancel");
    user->OnMessage(c.message).Click("OK").Times(2);
    EXPECT_EQ(Display(kHello), Kind::Cancel);
    std::string owner_after;
    EXPECT_EQ(Mode(hello, &owner_after), mode_before);
    EXPECT_EQ(owner_after, owner_before);
    EXPECT_EQ(FileMode(File("public/src/hello.c")), 0444u);
  }
}

}  // namespace
