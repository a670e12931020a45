// Updates: their kinds and copies, and how an object applies one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gcl_status.h"
#include "rvl_infostg.h"
#include "rvl_update.h"
#include "rvl_version.h"
#include "support/repository.h"
#include "tbs.h"
#include "vob.h"
#include "vob_attr.h"

namespace {

using client_local::CallLog;
using client_local::CallLogScope;
using rv_test::Failing;
using rv_test::RepositoryTest;

TEST(RvlUpdates, VobObjectUpdateBitsAndCopies) {
  RVL_VobObjectUpdate update;
  EXPECT_EQ(update.kind(), 1);
  EXPECT_TRUE(update.is_a(1));
  EXPECT_FALSE(update.is_a(2));
  EXPECT_FALSE(update.has_changes());
  update.set_group("root");
  EXPECT_TRUE(update.has_changes());
  EXPECT_TRUE(update.group_changed());
  EXPECT_FALSE(update.owner_changed());
  EXPECT_FALSE(update.comment_changed());
  update.set_comment("");  // an empty comment is a change too
  EXPECT_TRUE(update.comment_changed());

  const RVL_Update& any = update;
  const RVL_VobObjectUpdate copy(any);
  EXPECT_TRUE(copy.group_changed());
  EXPECT_TRUE(copy.comment_changed());
  EXPECT_EQ(copy.group(), "root");
}

class Updates : public RepositoryTest {
 protected:
  RVL_Vob Vob() const { return RVL_Vob(repo.vob); }
  std::string CreationComment(vob_dbid_t dbid) const {
    GCL_Status status;
    RVL_InfoStg<vob_event_info_s> event(Vob());
    RVL_VobObject(status, Vob(), dbid).creation_event(status, event);
    EXPECT_TRUE(status.ok());
    return event.record().comment ? event.record().comment : "";
  }
  std::string Owner(vob_dbid_t dbid, bool group = false) const {
    char owner[64] = "", group_sid[64] = "";
    std::uint32_t mode = 0;
    EXPECT_EQ(vob_obj_get_protection(repo.vob, dbid, owner, sizeof owner, group_sid, sizeof group_sid, &mode), 0);
    return group ? group_sid : owner;
  }
};

TEST_F(Updates, ApplyCallsOnlyWhatTheBitsAsk) {
  GCL_Status status;
  const RVL_VobObject hello(status, Vob(), repo.hello);
  RVL_VobObjectUpdate none, comment, group, both;
  comment.set_comment("new words");
  group.set_group("root");
  both.set_owner("root");
  both.set_group("root");
  const struct {
    const char* name;
    const RVL_VobObjectUpdate& update;
    std::vector<std::string> calls;
    std::vector<std::string> protect_args;  // owner, group
  } cases[] = {
      {"none", none, {}, {}},
      {"comment", comment, {"vob_obj_find_eventh", "vob_event_change_comment"}, {}},
      {"group", group, {"vob_obj_protect_sid"}, {CREDUTL_SID_DONTCARE, "S-1-22-2-0"}},
      {"owner and group", both, {"vob_obj_protect_sid"}, {"S-1-22-1-0", "S-1-22-2-0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CallLogScope log;
    hello.apply(status, c.update);
    EXPECT_TRUE(status.ok()) << status.messages().c_str();
    const auto calls = CallLog::Calls();
    std::vector<std::string> repository_calls;
    for (const auto& call : calls)
      if (call.name.rfind("vob_", 0) == 0) repository_calls.push_back(call.name);
    EXPECT_EQ(repository_calls, c.calls);
    if (c.protect_args.empty()) continue;
    const auto protect = CallLog::Calls("vob_obj_protect_sid");
    ASSERT_EQ(protect.size(), 1u);
    ASSERT_GE(protect[0].args.size(), 4u);
    EXPECT_EQ(protect[0].args[2], c.protect_args[0]);
    EXPECT_EQ(protect[0].args[3], c.protect_args[1]);
  }
  EXPECT_EQ(CreationComment(repo.hello), "new words");
  EXPECT_EQ(Owner(repo.hello), "S-1-22-1-0");
  EXPECT_EQ(Owner(repo.hello, true), "S-1-22-2-0");
}

TEST_F(Updates, AFailedStepStopsTheApplyAndStaysOnTheStatus) {
  const std::string before = CreationComment(repo.hello);
  GCL_Status status;
  const RVL_VobObject hello(status, Vob(), repo.hello);
  RVL_VobObjectUpdate update;
  update.set_comment("never");
  update.set_owner("root");
  {
    CallLogScope log;
    CallLog::InjectFailure("vob_obj_find_eventh", Failing(TBS_ST_NOT_FOUND, "no such event"));
    hello.apply(status, update);
    EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
    EXPECT_NE(std::string(status.messages().c_str()).find("no such event"), std::string::npos);
    EXPECT_TRUE(CallLog::Calls("vob_obj_protect_sid").empty());
  }
  RVL_VobObjectUpdate stranger;
  stranger.set_owner("no-such-user-here");
  hello.apply(status, stranger);
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
  EXPECT_NE(std::string(status.messages().c_str()).find("no-such-user-here"), std::string::npos);
  EXPECT_EQ(CreationComment(repo.hello), before);
  EXPECT_NE(Owner(repo.hello), "S-1-22-1-0");
}

}  // namespace
