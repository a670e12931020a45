// Locks by name and what they hold back: every change of a locked object, of
// what its element, branch type, label or attribute type or VOB guards, is
// refused with a message naming the lock, except for the users a lock lets
// through. Protection modes are stored and reach the views' copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "cmd_lock.h"
#include "cmd_utl.h"
#include "local/calllog.h"
#include "platform/machine.h"
#include "stg.h"
#include "support/message_capture.h"
#include "support/repository.h"
#include "sysutl.h"
#include "tbs.h"
#include "vob.h"
#include "vob_attr.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kHello = "\\public\\src\\hello.c";

std::string Me() {
  char name[300];
  return sysutl_myloginname(name, sizeof name) == 0 ? name : "";
}

class Locks : public rv_test::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    area = stg_create_area(0);
    ASSERT_EQ(vob_attype_create(vob, "Priority", VOB_VAL_INTEGER, "", &priority), 0);
    ASSERT_EQ(vob_mktype(vob, VOB_MTYPE_LBTYPE, "REL2", "", &rel2), 0);
  }
  void TearDown() override {
    plat::SetMachineProfile(std::nullopt);
    stg_delete_area(area);
    ViewTest::TearDown();
  }

  int Lock(std::vector<const char*> names, int obsolete = 0, const char* comment = nullptr,
           std::vector<const char*> excluded = {}) {
    cmd_lock_args_s args;
    args.area = area;
    args.names = names.data();
    args.name_count = static_cast<std::uint32_t>(names.size());
    args.obsolete = obsolete;
    args.comment = comment;
    args.excluded_users = excluded.data();
    args.excluded_count = static_cast<std::uint32_t>(excluded.size());
    return cmd_lock(&args);
  }
  int Unlock(std::vector<const char*> names, const char* comment = nullptr) {
    cmd_unlock_args_s args;
    args.area = area;
    args.names = names.data();
    args.name_count = static_cast<std::uint32_t>(names.size());
    args.comment = comment;
    return cmd_unlock(&args);
  }
  vob_lock_info_s LockOf(vob_dbid_t dbid, int expected = 0) {
    vob_lock_info_s info;
    EXPECT_EQ(vob_obj_get_lock(vob, dbid, area, &info), expected);
    return info;
  }
  static std::vector<std::string> Excluded(const vob_lock_info_s& info) {
    return {info.excluded, info.excluded + info.excluded_count};
  }
  static void BeUser(const std::string& user) {
    plat::MachineProfile profile = plat::RealMachineInfo();
    profile.user_name = user;
    plat::SetMachineProfile(profile);
  }
  int Obsolete(vob_dbid_t dbid) {
    int obsolete = -1;
    EXPECT_EQ(vob_obj_get_obsolete(vob, dbid, &obsolete), 0);
    return obsolete;
  }
  std::uint32_t Mode(vob_dbid_t dbid) {
    char owner[100], group[100];
    std::uint32_t mode = 0;
    EXPECT_EQ(vob_obj_get_protection(vob, dbid, owner, sizeof owner, group, sizeof group, &mode), 0);
    return mode;
  }
  static unsigned FileMode(const fs::path& path) {
    return static_cast<unsigned>(fs::status(path).permissions()) & 07777;
  }

  stg_area_t area = STG_NULL_AREA;
  vob_dbid_t priority = 0, rel2 = 0;
};

TEST_F(Locks, ALockKeepsItsRecordAndReplacingItKeepsTheCommentWhenNoneIsGiven) {
  ASSERT_EQ(Lock({kHello}, 0, "frozen", {"alice", "bob"}), 0);
  vob_lock_info_s info = LockOf(hello);
  EXPECT_EQ(info.locked, 1);
  EXPECT_EQ(info.obsolete, 0);
  EXPECT_STREQ(info.comment, "frozen");
  EXPECT_STRNE(info.user, "");
  EXPECT_EQ(Excluded(info), (std::vector<std::string>{"alice", "bob"}));

  ASSERT_EQ(Lock({kHello}, 0, nullptr, {"carol"}), 0) << "locking a locked object replaces its lock";
  info = LockOf(hello);
  EXPECT_STREQ(info.comment, "frozen");
  EXPECT_EQ(Excluded(info), (std::vector<std::string>{"carol"}));

  ASSERT_EQ(Lock({kHello}, 1, "retired", {"carol"}), 0);
  info = LockOf(hello);
  EXPECT_EQ(info.obsolete, 1);
  EXPECT_STREQ(info.comment, "retired");
  EXPECT_TRUE(Excluded(info).empty()) << "an obsolete lock lets no one through";
  EXPECT_EQ(Obsolete(hello), 1);

  ASSERT_EQ(Unlock({kHello}, "thawed"), 0);
  LockOf(hello, TBS_ST_NOT_FOUND);
  EXPECT_EQ(Obsolete(hello), 0) << "unlocking clears the obsolete flag the lock set";
  EXPECT_EQ(Unlock({kHello}), TBS_ST_NOT_FOUND);
}

TEST_F(Locks, BadRequestsChangeNothing) {
  rv_test::MessageCapture messages;
  EXPECT_EQ(Lock({kHello, "\\public\\src\\nothing.c"}), TBS_ST_NOT_FOUND);
  EXPECT_NE(messages.Text().find("nothing.c"), std::string::npos) << messages.Text();
  LockOf(hello, TBS_ST_NOT_FOUND);
  EXPECT_EQ(Lock({kHello}, 0, nullptr, {"no body"}), TBS_ST_INVALID_ARG);
  LockOf(hello, TBS_ST_NOT_FOUND);
  EXPECT_EQ(Lock({}), TBS_ST_INVALID_ARG);
  EXPECT_EQ(cmd_lock(nullptr), TBS_ST_INVALID_ARG);
  EXPECT_EQ(cmd_unlock(nullptr), TBS_ST_INVALID_ARG);
}

TEST_F(Locks, OnlyOwnersTheLockerAndPrivilegedUsersLockAndUnlock) {
  BeUser("daemon");
  rv_test::MessageCapture messages;
  EXPECT_EQ(Lock({kHello}), TBS_ST_PERMISSION);
  EXPECT_NE(messages.Text().find("hello.c"), std::string::npos) << messages.Text();
  LockOf(hello, TBS_ST_NOT_FOUND);
  plat::SetMachineProfile(std::nullopt);
  ASSERT_EQ(Lock({kHello}), 0);
  BeUser("daemon");
  EXPECT_EQ(Unlock({kHello}), TBS_ST_PERMISSION);
  LockOf(hello);
}

// Each change tried under each lock, then under the same lock letting the
// user through: refused with a "Lock on" message where the lock holds it,
// done (and undone again) where it does not. Undoing a check-out stays
// possible under every lock.
TEST_F(Locks, EveryChangeUnderALockIsRefusedWithAMessageNamingTheLock) {
  MakeView("v2", "element * CHECKEDOUT\nelement * \\main\\LATEST\n");
  vob_dbid_t in_v2 = 0;  // an unreserved check-out of hello, to reserve
  ASSERT_EQ(cmd_utl_checkout(vob, hello, "v2", 0, "", &in_v2), 0);
  struct Change {
    const char* what;
    std::function<int()> attempt, undo;
  };
  const auto priority_two = [&] {
    vob_value_s value;
    EXPECT_EQ(vob_val_str_to_value(VOB_VAL_INTEGER, "2", &value), 0);
    const int status = vob_obj_add_attr(vob, hello2, "Priority", &value);
    vob_val_free_value(&value);
    return status;
  };
  const Change changes[] = {
      {"check-out", [&] { return cmd_utl_checkout(vob, hello, "v1", 0, "", nullptr); },
       [&] { return vob_utl_uncheckout(vob, "\\src\\hello.c", "v1"); }},
      {"reserve", [&] { return vob_branch_reserve(vob, in_v2); }, [&] { return vob_branch_unreserve(vob, in_v2); }},
      {"label", [&] { return vob_ver_add_label(vob, hello2, "REL2"); },
       [&] { return vob_ver_drop_label(vob, hello2, "REL2"); }},
      {"move label", [&] { return vob_ver_move_label(vob, hello2, "REL1"); },
       [&] { return vob_ver_move_label(vob, hello1, "REL1"); }},
      {"attribute", priority_two, [&] { return vob_obj_drop_attr(vob, hello2, "Priority"); }},
      {"rename", [&] { return vob_obj_set_name(vob, rel2, "REL3"); },
       [&] { return vob_obj_set_name(vob, rel2, "REL2"); }},
      {"protect", [&] { return vob_obj_protect_sid(vob, hello, CREDUTL_SID_DONTCARE, CREDUTL_SID_DONTCARE, 0555); },
       [&] { return vob_obj_protect_sid(vob, hello, CREDUTL_SID_DONTCARE, CREDUTL_SID_DONTCARE, 0444); }},
  };
  struct Guard {
    const char* lock;
    std::vector<std::string> held;  // the changes this lock holds back
  };
  const Guard guards[] = {
      {kHello, {"check-out", "reserve", "label", "move label", "attribute", "protect"}},
      {"brtype:main@\\public", {"check-out", "reserve"}},
      {"lbtype:REL2@\\public", {"label", "rename"}},
      {"attype:Priority@\\public", {"attribute"}},
      {"vob:\\public", {"check-out", "reserve", "label", "move label", "attribute", "rename", "protect"}},
  };
  const std::string me = Me();
  for (const Guard& guard : guards) {
    for (const bool let_through : {false, true}) {
      SCOPED_TRACE(std::string(guard.lock) + (let_through ? ", letting me through" : ""));
      std::vector<const char*> excluded;
      if (let_through) excluded.push_back(me.c_str());
      ASSERT_EQ(Lock({guard.lock}, 0, nullptr, excluded), 0);
      for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        const bool held = !let_through && std::count(guard.held.begin(), guard.held.end(), change.what);
        rv_test::MessageCapture messages;
        const int status = change.attempt();
        if (held) {
          EXPECT_EQ(status, TBS_ST_PERMISSION);
          EXPECT_EQ(messages.Text().rfind("Lock on", 0), 0u) << messages.Text();
        } else {
          EXPECT_EQ(status, 0) << messages.Text();
          EXPECT_EQ(change.undo(), 0);
        }
      }
      EXPECT_EQ(vob_utl_uncheckout(vob, "\\src\\hello.c", "v2"), 0) << "undoing a check-out stays possible";
      ASSERT_EQ(Unlock({guard.lock}), 0);
      ASSERT_EQ(cmd_utl_checkout(vob, hello, "v2", 0, "", &in_v2), 0);
    }
  }
  EXPECT_EQ(Mode(hello), 0444u);
  EXPECT_EQ(Contents(hello2), "hello 2\n");
}

TEST_F(Locks, AnObsoleteLockLetsNoOneThrough) {
  const std::string me = Me();
  ASSERT_EQ(Lock({kHello}, 1, "retired", {me.c_str()}), 0);
  rv_test::MessageCapture messages;
  EXPECT_EQ(vob_obj_protect(vob, hello, 0555), TBS_ST_PERMISSION);
  EXPECT_NE(messages.Text().find("Lock on \"\\public\\src\\hello.c@@\" (obsolete"), std::string::npos)
      << messages.Text();
}

TEST_F(Locks, ProtectionIsStoredAndTheViewsCopiesFollowIt) {
  EXPECT_EQ(Mode(hello), 0444u) << "a new file element";
  EXPECT_EQ(Mode(src), 0555u) << "a new directory element";
  EXPECT_EQ(FileMode(File("public/src/hello.c")), 0444u);
  vob_fstat_s stat;
  ASSERT_EQ(vob_obj_protect(vob, hello, 0445), 0);
  ASSERT_EQ(vob_obj_get_fstat_db(vob, hello, &stat), 0);
  EXPECT_EQ(stat.mode, 0100445u);
  EXPECT_EQ(FileMode(File("public/src/hello.c")), 0445u);
  ASSERT_EQ(vob_obj_protect_sid(vob, hello, CREDUTL_SID_DONTCARE, CREDUTL_SID_DONTCARE, 0751), 0);
  EXPECT_EQ(Mode(hello), 0751u);
  EXPECT_EQ(FileMode(File("public/src/hello.c")), 0551u) << "write bits come only with a check-out";
  ASSERT_EQ(cmd_utl_checkout(vob, hello, "v1", 1, "", nullptr), 0);
  EXPECT_EQ(FileMode(File("public/src/hello.c")), 0751u);
  ASSERT_EQ(vob_obj_get_fstat_db(vob, src, &stat), 0);
  EXPECT_EQ(stat.mode, 040555u);
}

}  // namespace
