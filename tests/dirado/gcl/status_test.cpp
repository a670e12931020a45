// Statuses: codes and messages, copies, nested capture over the client's
// message routing, collectors and their kinds, the collector switch, lost
// output, and statuses used from several threads.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "gcl_env.h"
#include "gcl_imsg_collector.h"
#include "gcl_status.h"
#include "imsg.h"
#include "support/env_scope.h"

namespace {

imsg_redirect_procs_t InForce() {
  imsg_redirect_procs_t procs;
  EXPECT_EQ(imsg_get_redirect_procs(&procs), 0);
  return procs;
}

void Print(int kind, const char* text) { ASSERT_EQ(imsg_print_text(kind, text), 0); }


TEST(GclStatus, CodesAndMessages) {
  GCL_Status status;
  EXPECT_TRUE(status.ok());
  status.push_message("first\n");
  status.push_message("second\n");
  EXPECT_EQ(status.messages(), "first\nsecond\n");  // in the order pushed
  EXPECT_EQ(status.set_code(5), 5u);
  EXPECT_EQ(status.message_count(), 2u);  // a non-zero code keeps them
  EXPECT_FALSE(status.ok());
  EXPECT_TRUE(status == 5u);
  EXPECT_TRUE(status != 6u);
  status.set_code(0);
  EXPECT_EQ(status.message_count(), 0u);  // 0 drops them
  status.push_message("x");
  status.reset(7);
  EXPECT_EQ(status.code(), 7u);
  EXPECT_EQ(status.messages(), "");
  status.push_message("y");
  status.make_ok();
  EXPECT_TRUE(status.ok());
  EXPECT_EQ(status.message_count(), 0u);
  EXPECT_TRUE(GCL_Status(3) == GCL_Status(3));
  EXPECT_TRUE(GCL_Status(3) != GCL_Status(4));
}

TEST(GclStatus, CopiesCarryCodeAndMessagesIndependently) {
  GCL_Status status(12);
  status.push_message("a");
  GCL_Status copy(status);
  copy.push_message("b");
  EXPECT_EQ(status.messages(), "a");
  EXPECT_EQ(copy.messages(), "ab");
  EXPECT_EQ(copy.code(), 12u);
  GCL_Status assigned;
  assigned = copy;
  copy.make_ok();
  EXPECT_EQ(assigned.messages(), "ab");
  assigned = assigned;
  EXPECT_EQ(assigned.messages(), "ab");
}

TEST(GclStatusCapture, NestedCapturesGoToTheInnermost) {
  const imsg_redirect_procs_t before = InForce();
  GCL_Status outer, inner;
  outer.begin_capture();
  Print(IMSG_ERROR, "1");
  inner.begin_capture();
  Print(IMSG_NOTICE, "2");
  Print(IMSG_DEBUG, "3");
  inner.end_capture();
  Print(IMSG_WARNING, "4");
  outer.end_capture();
  EXPECT_EQ(outer.messages(), "14");
  EXPECT_EQ(inner.messages(), "23");
  EXPECT_TRUE(InForce() == before);
}

TEST(GclStatusCapture, DepthNestsOnOneStatus) {
  const imsg_redirect_procs_t before = InForce();
  GCL_Status status;
  status.begin_capture();
  status.begin_capture();
  EXPECT_EQ(status.capture_depth(), 2);
  status.end_capture();
  Print(IMSG_ERROR, "still");
  EXPECT_FALSE(InForce() == before);
  status.end_capture();
  EXPECT_TRUE(InForce() == before);
  status.end_capture();  // below zero: nothing
  EXPECT_EQ(status.capture_depth(), 0);
  EXPECT_EQ(status.messages(), "still");
}

TEST(GclStatusCapture, DestroyingACapturingStatusRestoresTheRouting) {
  const imsg_redirect_procs_t before = InForce();
  {
    GCL_Status status;
    status.begin_capture();
    status.begin_capture();
  }
  EXPECT_TRUE(InForce() == before);
}

TEST(GclStatusCapture, ACopyNeverTakesOverTheCapture) {
  const imsg_redirect_procs_t before = InForce();
  GCL_Status status;
  status.begin_capture();
  {
    GCL_Status copy(status);
    EXPECT_EQ(copy.capture_depth(), 0);
    GCL_Status assigned;
    assigned = status;
    EXPECT_EQ(assigned.capture_depth(), 0);
  }
  Print(IMSG_ERROR, "after the copies");
  EXPECT_EQ(status.messages(), "after the copies");
  // Assigning to a capturing status replaces its messages; it goes on
  // capturing.
  status = GCL_Status(4);
  Print(IMSG_ERROR, "more");
  EXPECT_EQ(status.messages(), "more");
  EXPECT_EQ(status.code(), 4u);
  status.end_capture();
  EXPECT_TRUE(InForce() == before);
}

TEST(GclStatusCapture, CopyToStandardErrorWhenAsked) {
  for (const char* value : {"true", "TRUE", "yes"}) {
    EnvScope env("GCL_STATUS_IMSG_COPY", value);
    GCL_Status status;
    testing::internal::CaptureStderr();
    status.begin_capture();
    Print(IMSG_ERROR, "copied\n");
    status.end_capture();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, std::string(value) == "yes" ? "" : "copied\n") << value;
    EXPECT_EQ(status.messages(), "copied\n");
  }
}

TEST(GclStatusCapture, MessagesFromOtherThreadsWhileCapturing) {
  const imsg_redirect_procs_t before = InForce();
  GCL_Status status;
  status.begin_capture();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([] {
      for (int i = 0; i < 100; ++i) imsg_print_text(IMSG_ERROR, "m");
    });
  for (int i = 0; i < 50; ++i) (void)status.message_count();
  for (auto& thread : threads) thread.join();
  status.end_capture();
  EXPECT_EQ(status.message_count(), 400u);
  EXPECT_TRUE(InForce() == before);
}

TEST(GclStatusThreads, IndependentStatusesOnManyThreads) {
  std::atomic<int> wrong{0};
  GCL_Status shared_source(9);
  shared_source.push_message("base ");
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 200; ++i) {
        GCL_Status copy(shared_source);
        copy.push_message("x");
        GCL_Status other;
        other = copy;
        if (other.messages() != "base x" || other.code() != 9) wrong.fetch_add(1);
      }
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);
}

TEST(GclImsgCollector, CollectsNoticesWarningsAndErrorsUnderTheirLeadingKind) {
  struct Case {
    int printed;
    int recorded;
  };
  const Case cases[] = {
      {IMSG_NOTICE, 0}, {IMSG_NOTICE_CONT, 0}, {IMSG_WARNING, 4},
      {IMSG_WARNING_CONT, 4}, {IMSG_ERROR, 6}, {IMSG_ERROR_CONT, 6},
  };
  for (const Case& c : cases) {
    GCL_ImsgCollector collector;
    Print(c.printed, "text");
    for (int kind = -2; kind <= 12; ++kind) EXPECT_EQ(collector.has_kind(kind), kind == c.recorded) << c.printed;
    EXPECT_EQ(collector.message_count(), 1u);
  }
}

TEST(GclImsgCollector, OtherKindsGoWhereTheyWentBefore) {
  const imsg_redirect_procs_t before = InForce();
  GCL_Status status;
  status.begin_capture();
  {
    GCL_ImsgCollector collector;
    for (int kind : {IMSG_VERBOSE, IMSG_TRACE, IMSG_DEBUG, IMSG_OUTPUT, IMSG_INTERNAL_ERROR}) Print(kind, "p");
    Print(IMSG_ERROR, "kept");
    EXPECT_EQ(collector.message_count(), 1u);
    LC_TDynamicCollection<GCL_String> out;
    out.Append("earlier");
    collector.copy_messages(out);
    ASSERT_EQ(out.Length(), 2u);
    EXPECT_EQ(out[1], "kept");
    collector.reset();
    EXPECT_TRUE(collector.is_empty());
    EXPECT_FALSE(collector.has_kind(IMSG_ERROR));
  }
  status.end_capture();
  EXPECT_EQ(status.messages(), "ppppp");
  EXPECT_TRUE(InForce() == before) << "the collector put the routing back";
}

TEST(GclImsgCollector, AddRecordsAnyKindButFlagsOnlyValidOnes) {
  GCL_ImsgCollector collector;
  collector.add("a", 3);
  collector.add("b", 42);
  collector.add("c", -1);
  EXPECT_EQ(collector.message_count(), 3u);
  EXPECT_TRUE(collector.has_kind(3));
  EXPECT_FALSE(collector.has_kind(42));
  EXPECT_FALSE(collector.has_kind(-1));
  EXPECT_FALSE(collector.has_kind(11));
  collector.reset();
}

TEST(GclImsgCollector, TheSwitchIsSetWhileACollectorLives) {
  const bool start = GCL_ImsgCollectorSwitch();
  EXPECT_FALSE(start);
  {
    GCL_ImsgCollector outer;
    EXPECT_TRUE(GCL_ImsgCollectorSwitch());
    {
      GCL_ImsgCollector inner;
      EXPECT_TRUE(GCL_ImsgCollectorSwitch());
    }
    EXPECT_TRUE(GCL_ImsgCollectorSwitch());
  }
  EXPECT_FALSE(GCL_ImsgCollectorSwitch());
  EXPECT_FALSE(GCL_SetImsgCollectorSwitch(true));
  EXPECT_TRUE(GCL_SetImsgCollectorSwitch(false));
}

TEST(GclImsgCollector, LostOutputIsReportedWhenAsked) {
  {
    EnvScope env("IMSG_LOST_OUTPUT", "1");
    testing::internal::CaptureStdout();
    {
      GCL_ImsgCollector collector;
      Print(IMSG_ERROR, "left behind");
      Print(IMSG_NOTICE, "%s and %d stay text");
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Notice: some imsg output may not have been displayed:\nleft behind\n%s and %d stay text\n");
    testing::internal::CaptureStdout();
    {
      GCL_ImsgCollector collector;
      Print(IMSG_ERROR, "taken");
      collector.reset();
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  }
  for (const char* value : {"", static_cast<const char*>(nullptr)}) {
    EnvScope env("IMSG_LOST_OUTPUT", value);
    testing::internal::CaptureStdout();
    {
      GCL_ImsgCollector collector;
      Print(IMSG_ERROR, "quiet");
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  }
}

TEST(GclStatusBase, OwnsACollectorForItsLife) {
  const imsg_redirect_procs_t before = InForce();
  {
    GCL_StatusBase status;
    Print(IMSG_WARNING, "w");
    EXPECT_TRUE(status.has_collected());
    EXPECT_TRUE(status.collected_kind(IMSG_WARNING));
    LC_TDynamicCollection<GCL_String> out;
    status.collected(out);
    ASSERT_EQ(out.Length(), 1u);
    EXPECT_EQ(out[0], "w");
    status.clear_collected();
    EXPECT_FALSE(status.has_collected());
    // Capturing into the status itself as well; the end gives back both.
    status.begin_capture();
    Print(IMSG_ERROR, "e");
    EXPECT_EQ(status.messages(), "e");
  }
  EXPECT_TRUE(InForce() == before);
}

TEST(GclStatusBase, AssignmentKeepsTheRoutingOnALiveCollector) {
  const imsg_redirect_procs_t before = InForce();
  {
    GCL_StatusBase first;
    Print(IMSG_ERROR, "old");
    {
      GCL_StatusBase second(3);
      second.push_message("m");
      first = second;
      EXPECT_EQ(first.code(), 3u);
      EXPECT_EQ(first.messages(), "m");
      EXPECT_FALSE(first.has_collected());  // its collector starts afresh
      Print(IMSG_ERROR, "to second");
      EXPECT_TRUE(second.has_collected());
      const GCL_StatusBase copy(first);
      EXPECT_EQ(copy.messages(), "m");
    }
    Print(IMSG_ERROR, "to first");  // no collector of the past is called
    EXPECT_TRUE(first.has_collected());
    first = first;
    EXPECT_EQ(first.messages(), "m");
  }
  EXPECT_TRUE(InForce() == before);
  EXPECT_FALSE(GCL_ImsgCollectorSwitch());
}

}  // namespace
