// Check-out, reserve and unreserve, check-in and undoing a check-out through
// the version class, with the repository's state checked afterwards; and the
// first-failure rule of operations that make several calls.
#include <gtest/gtest.h>

#include <string>

#include "gcl_status.h"
#include "support/repository.h"
#include "view.h"
#include "cmd_utl.h"
#include "rvl_infostg.h"
#include "rvl_version.h"
#include "tbs.h"
#include "view_ws.h"

namespace {

using rv_test::Failing;

using client_local::CallLog;
using client_local::CallLogScope;
using rv_test::RepositoryTest;

class VersionOps : public RepositoryTest {
 protected:
  RVL_Vob Vob() const { return RVL_Vob(repo.vob); }
  RVL_Element Hello() {
    GCL_Status status;
    return RVL_Element(status, Vob(), repo.hello);
  }
  // The view's check-out record of the version: reserved flag, or -1 when
  // there is none.
  int Reserved(const RVL_Version& version) {
    GCL_Status status;
    RVL_InfoStg<vob_ckout_info_s> info;
    version.checkout_info(status, info);
    return status.ok() ? info.record().reserved : -1;
  }
  vob_dbid_t Latest() {
    vob_dbid_t latest = 0;
    EXPECT_EQ(vob_branch_get_latest_ver(repo.vob, repo.main_branch, &latest), 0);
    return latest;
  }
};

TEST_F(VersionOps, CheckOutReserveUnreserveAndCheckIn) {
  GCL_Status status;
  const RVL_Version mine = Hello().checkout(status, "view_a", true, "fix greeting");
  ASSERT_TRUE(status.ok()) << status.messages();
  EXPECT_TRUE(mine.is_checked_out(status));
  EXPECT_EQ(mine.version_id(status), "\\main\\CHECKEDOUT");
  EXPECT_EQ(mine.predecessor(status).dbid(), repo.hello2);
  EXPECT_EQ(Reserved(mine), 1);
  {
    RVL_InfoStg<vob_ckout_info_s> info;
    mine.checkout_info(status, info);
    EXPECT_STREQ(info.record().view, "view_a");
    EXPECT_STREQ(info.record().comment, "fix greeting");
  }
  // The view now sees its check-out.
  EXPECT_EQ(RVL_Version::view_version(status, Hello(), "view_a").dbid(), mine.dbid());
  EXPECT_EQ(RVL_Version(status, Vob(), "\\\\view\\view_a\\public\\src\\hello.c").dbid(), mine.dbid());

  // Another view: reserved is refused while view_a holds the branch.
  RVL_Version theirs = Hello().checkout(status, "view_b", true, "");
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_ALREADY));
  EXPECT_NE(std::string(status.messages().c_str()).find("view_a"), std::string::npos);
  theirs = Hello().checkout(status, "view_b", false, "");
  ASSERT_TRUE(status.ok());
  EXPECT_EQ(Reserved(theirs), 0);
  theirs.reserve(status);
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_ALREADY));
  EXPECT_EQ(Reserved(theirs), 0);
  Hello().checkout(status, "view_a", false, "");  // one check-out per view
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_ALREADY));

  mine.unreserve(status);
  ASSERT_TRUE(status.ok());
  EXPECT_EQ(Reserved(mine), 0);
  theirs.reserve(status);
  ASSERT_TRUE(status.ok());
  EXPECT_EQ(Reserved(theirs), 1);

  // view_a cannot check in while view_b holds the branch reserved.
  mine.checkin(status, "blocked");
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_ALREADY));
  EXPECT_TRUE(mine.is_checked_out(status));

  ASSERT_EQ(vob_ver_set_contents(repo.vob, theirs.dbid(), "hello 3\n"), 0);
  theirs.checkin(status, "third");
  ASSERT_TRUE(status.ok()) << status.messages();
  EXPECT_FALSE(theirs.is_checked_out(status));
  EXPECT_EQ(theirs.version_id(status), "\\main\\3");
  EXPECT_EQ(Latest(), theirs.dbid());
  EXPECT_EQ(Reserved(theirs), -1);
  const stg_area_t area = stg_create_area(0);
  const char* text = nullptr;
  ASSERT_EQ(vob_ver_get_contents(repo.vob, theirs.dbid(), area, &text), 0);
  EXPECT_STREQ(text, "hello 3\n");
  stg_delete_area(area);
  const auto events = theirs.event_history(status);
  ASSERT_FALSE(events.empty());
  EXPECT_STREQ(events.back().record().kind, "checkin version");
  EXPECT_STREQ(events.back().record().comment, "third");

  // view_a's check-out stays, now unblocked, but \main\3 must be merged
  // into it first or its changes would be lost.
  mine.checkin(status, "fourth");
  EXPECT_FALSE(status.ok());
  EXPECT_NE(status.messages().find("\\main\\3"), std::string::npos) << status.messages();
  EXPECT_TRUE(mine.is_checked_out(status));
  status.make_ok();
  ASSERT_EQ(vob_hlink_create(repo.vob, "Merge", repo.vob, theirs.dbid(), repo.vob, mine.dbid(), "", "", nullptr), 0);
  mine.checkin(status, "fourth");
  ASSERT_TRUE(status.ok()) << status.messages();
  EXPECT_EQ(mine.version_id(status), "\\main\\4");
}

TEST_F(VersionOps, UndoingACheckOutDropsItAndTellsTheView) {
  GCL_Status status;
  const RVL_Version mine = Hello().checkout(status, "view_u", true, "");
  ASSERT_TRUE(status.ok());
  ASSERT_EQ(vob_hlink_create(repo.vob, "Merge", repo.vob, repo.hello1, repo.vob, mine.dbid(), "", "", nullptr), 0);
  const long before = view_inval_count("view_u");
  {
    CallLogScope log;
    mine.uncheckout(status);
    ASSERT_TRUE(status.ok()) << status.messages();
    ASSERT_EQ(CallLog::Calls("view_inval_obj").size(), 1u);
    EXPECT_EQ(CallLog::Calls("view_inval_obj")[0].args[0], "view_u");
  }
  EXPECT_EQ(view_inval_count("view_u"), before + 1);
  int exists = 1;
  ASSERT_EQ(vob_obj_exists(repo.vob, mine.dbid(), &exists), 0);
  EXPECT_EQ(exists, 0);
  int has_link = 1;
  ASSERT_EQ(vob_obj_has_hlink(repo.vob, repo.hello1, &has_link), 0);
  EXPECT_EQ(has_link, 0);  // the hyperlink to the dropped version went with it
  EXPECT_EQ(Latest(), repo.hello2);
  // The branch is free again.
  Hello().checkout(status, "view_other", true, "");
  EXPECT_TRUE(status.ok());
  // A checked-in version has nothing to undo.
  RVL_Version(status, Vob(), repo.hello1).uncheckout(status);
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_WRONG_KIND));
}

TEST_F(VersionOps, TheFirstFailureOfAnOperationStays) {
  GCL_Status status;
  const RVL_Version mine = Hello().checkout(status, "view_f", true, "");
  ASSERT_TRUE(status.ok());
  {
    // The undo fails: the view is not told, and the later call's success
    // cannot hide the failure.
    CallLogScope log;
    CallLog::InjectFailure("vob_utl_uncheckout", Failing(TBS_ST_PERMISSION, "cannot undo\n"));
    mine.uncheckout(status);
    EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_PERMISSION));
    EXPECT_NE(std::string(status.messages().c_str()).find("cannot undo"), std::string::npos);
    EXPECT_TRUE(CallLog::Calls("view_inval_obj").empty());
  }
  EXPECT_TRUE(mine.is_checked_out(status));
  {
    // The undo works and the view call fails: a failure all the same.
    CallLogScope log;
    CallLog::InjectFailure("view_inval_obj", Failing(TBS_ST_FAILURE));
    mine.uncheckout(status);
    EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
  }
  const RVL_Version again = Hello().checkout(status, "view_f", true, "");
  ASSERT_TRUE(status.ok());
  {
    // The check-out record cannot be read: nothing is checked in.
    CallLogScope log;
    CallLog::InjectFailure("vob_ver_get_ckout_info", Failing(TBS_ST_FAILURE));
    again.checkin(status, "x");
    EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
    EXPECT_TRUE(CallLog::Calls("vob_obj_to_pname_flags").empty());
    EXPECT_TRUE(CallLog::Calls("vob_utl_checkin").empty());
  }
  {
    CallLogScope log;
    CallLog::InjectFailure("vob_obj_to_pname_flags", Failing(TBS_ST_NOT_FOUND));
    again.uncheckout(status);
    EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
    EXPECT_TRUE(CallLog::Calls("vob_utl_uncheckout").empty());
  }
  EXPECT_TRUE(again.is_checked_out(status));
}

TEST_F(VersionOps, ACheckOutThatFailsLeavesNoTrace) {
  GCL_Status status;
  CallLogScope log;
  CallLog::InjectFailure("cmd_utl_checkout", Failing(TBS_ST_FAILURE));
  const RVL_Version none = Hello().checkout(status, "view_x", true, "");
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
  EXPECT_FALSE(none.has_body());
  CallLog::ClearFailures();
  EXPECT_EQ(RVL_Version::view_version(status, Hello(), "view_x").dbid(), repo.hello2);
  Hello().checkout(status, "bad view name", true, "");
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_INVALID_ARG));
}

}  // namespace
