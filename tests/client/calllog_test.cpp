// The call log and failure injection, seen through the calls that use them:
// help, usage data, storage areas, the client lock.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "clp.h"
#include "gu.h"
#include "imsg.h"
#include "local/calllog.h"
#include "local/usage.h"
#include "ntcs.h"
#include "stg.h"
#include "support/message_capture.h"
#include "tbs.h"

namespace {

using client_local::CallLog;
using client_local::CallLogScope;
using client_local::Failure;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using rv_test::Message;

TEST(CallLog, RecordsEachCallWithItsStatus) {
  CallLogScope scope;
  EXPECT_EQ(gu_help(plat::Hwnd::Null, "rvint_exp/checkincomment.htm", 1, 0), 0);
  EXPECT_EQ(clp_collectdatai("rvCheckinOp", 3), 0);
  EXPECT_EQ(gu_help(plat::Hwnd::Null, nullptr, 1, 0), TBS_ST_INVALID_ARG);
  const auto help = CallLog::Calls("gu_help");
  ASSERT_EQ(help.size(), 2u);
  EXPECT_EQ(help[0].status, 0);
  EXPECT_EQ(help[1].status, TBS_ST_INVALID_ARG);
  EXPECT_EQ(CallLog::Calls().size(), 3u);
}

TEST(CallLog, RecordsNothingWhenNotRecording) {
  CallLog::StopRecording();
  CallLog::Clear();
  gu_help(plat::Hwnd::Null, "topic.htm", 1, 0);
  EXPECT_THAT(CallLog::Calls(), IsEmpty());
}

TEST(CallLog, AnInjectedFailurePrintsItsMessagesThroughTheRoutingAndDoesNothing) {
  CallLogScope scope;
  client_local::ClearUsageLog();
  rv_test::MessageCapture collector;
  ASSERT_TRUE(CallLog::InjectFailure(
      "clp_collectdatai",
      Failure{TBS_ST_PERMISSION,
              {{IMSG_ERROR, "Unable to record usage.\n"}, {IMSG_ERROR_CONT, "Permission denied.\n"}}, -1}));
  EXPECT_EQ(clp_collectdatai("rvCheckinOp", 1), TBS_ST_PERMISSION);
  EXPECT_EQ(clp_collectdatai("rvCheckoutOp", 2), TBS_ST_PERMISSION);  // every call until cleared
  EXPECT_THAT(client_local::UsageLog(), IsEmpty());
  EXPECT_EQ(clp_collectdatas("other", "x"), 0);  // another call is not touched
  EXPECT_THAT(collector.Messages(),
              ElementsAre(Message{IMSG_ERROR, "Unable to record usage.\n"},
                          Message{IMSG_ERROR_CONT, "Permission denied.\n"},
                          Message{IMSG_ERROR, "Unable to record usage.\n"},
                          Message{IMSG_ERROR_CONT, "Permission denied.\n"}));
  CallLog::ClearFailure("clp_collectdatai");
  EXPECT_EQ(clp_collectdatai("rvCheckinOp", 1), 0);
  auto calls = CallLog::Calls("clp_collectdatai");
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].status, TBS_ST_PERMISSION);
  EXPECT_TRUE(calls[1].injected);
  EXPECT_EQ(calls[2].status, 0);
  EXPECT_FALSE(calls[2].injected);
  EXPECT_EQ(client_local::UsageLog().size(), 2u);
}

TEST(CallLog, AFailureWithStatusZeroOnlyAddsItsMessages) {
  CallLogScope scope;
  rv_test::MessageCapture collector;
  ASSERT_TRUE(CallLog::InjectFailure("gu_help", Failure{0, {{IMSG_WARNING, "help is slow\n"}}, 1}));
  EXPECT_EQ(gu_help(plat::Hwnd::Null, "a.htm", 1, 0), 0);
  EXPECT_EQ(gu_help(plat::Hwnd::Null, "b.htm", 1, 0), 0);
  EXPECT_THAT(collector.Messages(), ElementsAre(Message{IMSG_WARNING, "help is slow\n"}));
  auto calls = CallLog::Calls("gu_help");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].status, 0);
  EXPECT_TRUE(calls[0].injected);
}

// The messages of a failing call reach whoever captured at the time of the
// call, nested captures included.
TEST(CallLog, InjectedMessagesReachTheInnermostCapture) {
  CallLogScope scope;
  rv_test::MessageCapture outer;
  ASSERT_TRUE(CallLog::InjectFailure("stg_create_area", Failure{TBS_ST_NO_MEMORY, {{IMSG_ERROR, "no pool\n"}}, 1}));
  {
    rv_test::MessageCapture inner;
    EXPECT_EQ(stg_create_area(1012), STG_NULL_AREA);
    EXPECT_THAT(inner.Messages(), ElementsAre(Message{IMSG_ERROR, "no pool\n"}));
  }
  EXPECT_THAT(outer.Messages(), IsEmpty());
}

TEST(CallLog, BadInjectionsAreRefused) {
  CallLogScope scope;
  EXPECT_FALSE(CallLog::InjectFailure("", Failure{1, {}, -1}));
  EXPECT_FALSE(CallLog::InjectFailure("gu_help", Failure{1, {{11, "x"}}, -1}));
  EXPECT_FALSE(CallLog::InjectFailure("gu_help", Failure{1, {{-1, "x"}}, -1}));
  EXPECT_FALSE(CallLog::InjectFailure("gu_help", Failure{1, {}, 0}));
  EXPECT_FALSE(CallLog::InjectFailure("gu_help", Failure{1, {}, -2}));
  EXPECT_EQ(gu_help(plat::Hwnd::Null, "a.htm", 1, 0), 0);
}

TEST(CallLog, ALimitedFailureFailsExactlyThatManyCallsAcrossThreads) {
  CallLogScope scope;
  ASSERT_TRUE(CallLog::InjectFailure("clp_collectdatai", Failure{TBS_ST_FAILURE, {}, 25}));
  std::vector<std::thread> threads;
  std::atomic<int> failed{0};
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 50; ++i)
        if (clp_collectdatai("event", i) == TBS_ST_FAILURE) ++failed;
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failed.load(), 25);
  EXPECT_EQ(CallLog::Calls("clp_collectdatai").size(), 200u);
}

TEST(Usage, EventsAreAppendedInOrderAndBadOnesRefused) {
  client_local::ClearUsageLog();
  EXPECT_EQ(clp_collectdatai("rvCheckinOp", 3), 0);
  EXPECT_EQ(clp_collectdatas("rvStartViewOp", "v1"), 0);
  EXPECT_EQ(clp_collectdatai(nullptr, 1), TBS_ST_INVALID_ARG);
  EXPECT_EQ(clp_collectdatai("", 1), TBS_ST_INVALID_ARG);
  EXPECT_EQ(clp_collectdatas("x", nullptr), TBS_ST_INVALID_ARG);
  auto log = client_local::UsageLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].event, "rvCheckinOp");
  EXPECT_FALSE(log[0].is_text);
  EXPECT_EQ(log[0].number, 3);
  EXPECT_EQ(log[1].event, "rvStartViewOp");
  EXPECT_TRUE(log[1].is_text);
  EXPECT_EQ(log[1].text, "v1");
}

TEST(ClientLock, IsRecursiveAndKnowsItsOwner) {
  EXPECT_EQ(nt_critical_section_held(), 0);
  nt_enter_critical_section();
  nt_enter_critical_section();
  EXPECT_EQ(nt_critical_section_held(), 1);
  EXPECT_EQ(nt_critical_section_depth(), 2);
  int held_elsewhere = -1;
  std::thread other([&] { held_elsewhere = nt_critical_section_held(); });
  other.join();
  EXPECT_EQ(held_elsewhere, 0);
  EXPECT_EQ(nt_leave_critical_section(), 0);
  EXPECT_EQ(nt_critical_section_held(), 1);
  EXPECT_EQ(nt_leave_critical_section(), 0);
  EXPECT_EQ(nt_critical_section_held(), 0);
  EXPECT_EQ(nt_leave_critical_section(), TBS_ST_INVALID_ARG);  // not held: refused
}

TEST(ClientLock, ALeaveFromAThreadThatDoesNotHoldItIsRefused) {
  nt_enter_critical_section();
  int status = 0;
  std::thread other([&] { status = nt_leave_critical_section(); });
  other.join();
  EXPECT_EQ(status, TBS_ST_INVALID_ARG);
  EXPECT_EQ(nt_critical_section_depth(), 1);
  EXPECT_EQ(nt_leave_critical_section(), 0);
}

TEST(ClientLock, SerialisesWorkAcrossThreads) {
  int counter = 0;  // guarded by the client lock alone
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 1000; ++i) {
        nt_enter_critical_section();
        nt_enter_critical_section();
        ++counter;
        nt_leave_critical_section();
        nt_leave_critical_section();
      }
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(counter, 4000);
  EXPECT_EQ(nt_critical_section_depth(), 0);
}

}  // namespace
