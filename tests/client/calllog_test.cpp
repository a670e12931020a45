// The call log and failure injection, seen through the calls that use them:
// help, usage data, storage areas, the client lock.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
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
#include "tbs.h"

namespace {

using client_local::CallLog;
using client_local::CallLogScope;
using client_local::CallRecord;
using client_local::Failure;
using client_local::InjectedMessage;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Message = std::pair<int, std::string>;

// Collects what the routing delivers while alive.
class Collector {
 public:
  Collector() {
    imsg_get_redirect_procs(&found_);
    imsg_redirect_procs_t mine;
    for (auto& proc : mine.procs) proc = &Collector::Receive;
    mine.context = this;
    imsg_set_redirect_procs(&mine);
  }
  ~Collector() { imsg_set_redirect_procs(&found_); }
  std::vector<Message> Messages() {
    std::lock_guard lock(mutex_);
    return messages_;
  }

 private:
  static void Receive(void* context, int kind, const char* text) {
    auto* self = static_cast<Collector*>(context);
    std::lock_guard lock(self->mutex_);
    self->messages_.emplace_back(kind, text);
  }
  imsg_redirect_procs_t found_;
  std::mutex mutex_;
  std::vector<Message> messages_;
};

std::vector<std::string> Names(const std::vector<CallRecord>& calls) {
  std::vector<std::string> names;
  for (const auto& call : calls) names.push_back(call.name);
  return names;
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
  Collector collector;
  ASSERT_TRUE(CallLog::InjectFailure(
      "clp_collectdatai",
      Failure{TBS_ST_PERMISSION,
              {{IMSG_ERROR, "Unable to record usage.\n"}, {IMSG_ERROR_CONT, "Permission denied.\n"}}, -1}));
  EXPECT_EQ(clp_collectdatai("rvCheckinOp", 1), TBS_ST_PERMISSION);
  EXPECT_EQ(clp_collectdatai("rvCheckoutOp", 2), TBS_ST_PERMISSION);  // every call until cleared
  EXPECT_THAT(client_local::UsageLog(), IsEmpty());
  EXPECT_EQ(clp_collectdatas("other", "x"), 0);  // another call is not touched
  EXPECT_THAT(collector.Messages(),
              ElementsAre(Message(IMSG_ERROR, "Unable to record usage.\n"),
                          Message(IMSG_ERROR_CONT, "Permission denied.\n"),
                          Message(IMSG_ERROR, "Unable to record usage.\n"),
                          Message(IMSG_ERROR_CONT, "Permission denied.\n")));
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
  Collector collector;
  ASSERT_TRUE(CallLog::InjectFailure("gu_help", Failure{0, {{IMSG_WARNING, "help is slow\n"}}, 1}));
  EXPECT_EQ(gu_help(plat::Hwnd::Null, "a.htm", 1, 0), 0);
  EXPECT_EQ(gu_help(plat::Hwnd::Null, "b.htm", 1, 0), 0);
  EXPECT_THAT(collector.Messages(), ElementsAre(Message(IMSG_WARNING, "help is slow\n")));
  auto calls = CallLog::Calls("gu_help");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].status, 0);
  EXPECT_TRUE(calls[0].injected);
}

// The messages of a failing call reach whoever captured at the time of the
// call, nested captures included.
TEST(CallLog, InjectedMessagesReachTheInnermostCapture) {
  CallLogScope scope;
  Collector outer;
  ASSERT_TRUE(CallLog::InjectFailure("stg_create_area", Failure{TBS_ST_NO_MEMORY, {{IMSG_ERROR, "no pool\n"}}, 1}));
  {
    Collector inner;
    EXPECT_EQ(stg_create_area(1012), STG_NULL_AREA);
    EXPECT_THAT(inner.Messages(), ElementsAre(Message(IMSG_ERROR, "no pool\n")));
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
  EXPECT_FALSE(CallLog::InjectFailure("gu_help", Failure{1, {}, -1, 0}));
  EXPECT_FALSE(CallLog::InjectFailure("gu_help", Failure{1, {}, 1, -3}));
  EXPECT_EQ(gu_help(plat::Hwnd::Null, "a.htm", 1, 0), 0);
}

// A failure from the Nth call on, or of the Nth call alone: the calls before
// it run as usual and print nothing; the failing ones print its message.
TEST(CallLog, AFailureBeginsAtTheNthCallAndLastsItsTimes) {
  struct Case {
    int nth;
    int times;
    std::vector<bool> fails;  // of six calls in a row
  };
  const Case cases[] = {
      {1, -1, {true, true, true, true, true, true}},
      {3, -1, {false, false, true, true, true, true}},
      {3, 1, {false, false, true, false, false, false}},
      {2, 2, {false, true, true, false, false, false}},
      {6, 1, {false, false, false, false, false, true}},
      {7, -1, {false, false, false, false, false, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("nth " + std::to_string(c.nth) + ", times " + std::to_string(c.times));
    CallLogScope scope;
    Collector collector;
    ASSERT_TRUE(CallLog::InjectFailure("clp_collectdatai",
                                       Failure{TBS_ST_PERMISSION, {{IMSG_ERROR, "refused\n"}}, c.times, c.nth}));
    std::vector<bool> failed;
    for (int i = 1; i <= 6; ++i) failed.push_back(clp_collectdatai("event", i) == TBS_ST_PERMISSION);
    EXPECT_EQ(failed, c.fails);
    std::vector<bool> injected;
    for (const CallRecord& call : CallLog::Calls("clp_collectdatai")) injected.push_back(call.injected);
    EXPECT_EQ(injected, c.fails);
    const auto failures = static_cast<std::size_t>(std::count(c.fails.begin(), c.fails.end(), true));
    EXPECT_EQ(collector.Messages(), std::vector<Message>(failures, Message(IMSG_ERROR, "refused\n")));
  }
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

TEST(ClientLock, EnteringAndLeavingAreLoggedInOrder) {
  CallLogScope scope;
  nt_enter_critical_section();
  gu_help(plat::Hwnd::Null, "x.htm", 1, 0);
  nt_leave_critical_section();
  EXPECT_THAT(Names(CallLog::Calls()),
              ElementsAre("nt_enter_critical_section", "gu_help", "nt_leave_critical_section"));
}

}  // namespace
