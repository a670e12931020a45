// Message queues across threads: posts, sends, destroyed windows, timers.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/message.h"
#include "platform/sync.h"
#include "platform/window.h"
#include "support/ui.h"

namespace plat {
namespace {

using test::PumpUntil;

// A bare window that records what reaches it.
class Recorder : public Window {
 public:
  LResult WndProc(std::uint32_t message, WParam wparam, LParam lparam,
                  const std::string* text) override {
    if (message == msg::User + 1) {
      texts.push_back(text ? *text : std::string());
      return 0;
    }
    if (message == msg::User + 2) return static_cast<LResult>(CurrentThreadId());
    if (message == msg::Timer) {
      ticks.fetch_add(1);
      return 0;
    }
    if (message == msg::User + 3 && relay) return SendMessage(relay->GetHwnd(), msg::User + 2) + 1;
    return Window::WndProc(message, wparam, lparam, text);
  }
  std::vector<std::string> texts;
  std::atomic<int> ticks{0};
  Window* relay = nullptr;
};

TEST(MessageQueue, PostsFromAWorkerArriveInOrderWithTheirOwnTexts) {
  Recorder receiver;
  receiver.CreateWindowObject(nullptr, 0, "receiver", 0);
  constexpr int kCount = 5000;
  WorkerThread worker([&] {
    std::string buffer;
    for (int i = 0; i < kCount; ++i) {
      // The worker reuses one buffer: each post must carry its own copy.
      buffer = "line " + std::to_string(i) + std::string(static_cast<std::size_t>(i % 97), 'x');
      PostMessage(receiver.GetHwnd(), msg::User + 1, 0, 0, buffer);
      buffer.assign(buffer.size(), '#');
    }
    return 0;
  });
  ASSERT_TRUE(PumpUntil([&] { return receiver.texts.size() == kCount; }));
  worker.Join();
  for (int i = 0; i < kCount; ++i)
    ASSERT_EQ(receiver.texts[static_cast<std::size_t>(i)], "line " + std::to_string(i) + std::string(static_cast<std::size_t>(i % 97), 'x'));
}

TEST(MessageQueue, SendAcrossThreadsRunsOnTheWindowsThread) {
  Recorder main_window;
  main_window.CreateWindowObject(nullptr, 0, "main", 0);
  const ThreadId main_thread = CurrentThreadId();
  std::atomic<LResult> answer{0};
  std::atomic<bool> done{false};
  WorkerThread worker([&] {
    answer = SendMessage(main_window.GetHwnd(), msg::User + 2);
    done = true;
    return 0;
  });
  ASSERT_TRUE(PumpUntil([&] { return done.load(); }));
  EXPECT_EQ(answer.load(), static_cast<LResult>(main_thread));
}

TEST(MessageQueue, SendsBetweenTwoThreadsInBothDirectionsDoNotDeadlock) {
  Recorder main_window;
  main_window.CreateWindowObject(nullptr, 0, "main", 0);
  std::atomic<LResult> answer{0};
  std::atomic<ThreadId> worker_thread{0};
  std::atomic<bool> done{false};
  WorkerThread worker([&] {
    Recorder worker_window;
    worker_window.CreateWindowObject(nullptr, 0, "worker", 0);
    worker_thread = CurrentThreadId();
    main_window.relay = &worker_window;
    // The main thread's handler sends back to this thread while it waits.
    answer = SendMessage(main_window.GetHwnd(), msg::User + 3);
    done = true;
    return 0;
  });
  ASSERT_TRUE(PumpUntil([&] { return done.load(); }));
  EXPECT_EQ(answer.load(), static_cast<LResult>(worker_thread.load()) + 1);
}

TEST(MessageQueue, ADestroyedWindowReceivesNothing) {
  auto window = std::make_unique<Recorder>();
  window->CreateWindowObject(nullptr, 0, "gone", 0);
  const Hwnd hwnd = window->GetHwnd();
  ASSERT_TRUE(PostMessage(hwnd, msg::User + 1, 0, 0, "queued before"));
  window->DestroyWindow();
  window.reset();
  // The message queued before the window went is dropped, not delivered.
  PumpPendingMessages();
  EXPECT_FALSE(PostMessage(hwnd, msg::User + 1, 0, 0, "after"));
  EXPECT_EQ(SendMessage(hwnd, msg::User + 2), 0);
  EXPECT_EQ(FromHandle(hwnd), nullptr);
  EXPECT_FALSE(SetTimer(hwnd, 1, 10));
}

TEST(MessageQueue, PostedTasksRunOnTheWindowsThreadInOrderAndDieWithTheWindow) {
  Recorder main_window;
  main_window.CreateWindowObject(nullptr, 0, "main", 0);
  auto gone = std::make_unique<Recorder>();
  gone->CreateWindowObject(nullptr, 0, "gone", 0);
  const Hwnd gone_hwnd = gone->GetHwnd();
  std::vector<int> ran;  // touched only on this thread
  WorkerThread worker([&] {
    for (int i = 0; i < 3; ++i)
      PostTask(main_window.GetHwnd(), [&ran, i, me = CurrentThreadId()] { ran.push_back(me == CurrentThreadId() ? -1 : i); });
    PostTask(gone_hwnd, [&ran] { ran.push_back(99); });
    return 0;
  });
  worker.Join();
  gone->DestroyWindow();
  ASSERT_TRUE(PumpUntil([&] { return ran.size() == 3; }));
  PumpPendingMessages();
  EXPECT_EQ(ran, (std::vector<int>{0, 1, 2}));  // the task of the destroyed window never ran
  EXPECT_FALSE(PostTask(gone_hwnd, [] {}));
}

// A waiter that counts its waits and wakes: stands for a toolkit's loop.
class CountingWaiter : public ThreadWaiter {
 public:
  void Wait(long timeout_ms) override {
    waits.fetch_add(1);
    woken.Wait(timeout_ms < 0 ? 50 : std::min(timeout_ms, 50L));
    woken.Reset();
  }
  void Wake() override {
    wakes.fetch_add(1);
    woken.Set();
  }
  std::atomic<int> waits{0}, wakes{0};
  Event woken;
};

TEST(MessageQueue, AThreadWithAWaiterRunsItWhileWaitingAndIsWokenByPostsAndSends) {
  Recorder main_window;
  main_window.CreateWindowObject(nullptr, 0, "main", 0);
  CountingWaiter waiter;
  SetThreadWaiter(&waiter);
  std::atomic<LResult> answer{0};
  WorkerThread worker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    PostMessage(main_window.GetHwnd(), msg::User + 1, 0, 0, "posted");
    answer = SendMessage(main_window.GetHwnd(), msg::User + 2);
    return 0;
  });
  ASSERT_TRUE(PumpUntil([&] { return answer.load() != 0; }));
  worker.Join();
  SetThreadWaiter(nullptr);
  EXPECT_EQ(main_window.texts, std::vector<std::string>{"posted"});
  EXPECT_GT(waiter.waits.load(), 0);  // the loop waited in the waiter, not on its own
  EXPECT_GT(waiter.wakes.load(), 0);
}

TEST(Timers, AOneSecondTimerFiresOncePerSecondOfManualTime) {
  auto clock = UseManualClock();
  Recorder window;
  window.CreateWindowObject(nullptr, 0, "timed", 0);
  ASSERT_TRUE(SetTimer(window.GetHwnd(), 1, 1000));
  PumpPendingMessages();
  EXPECT_EQ(window.ticks.load(), 0) << "no tick without an advance";
  clock->Advance(999);
  PumpPendingMessages();
  EXPECT_EQ(window.ticks.load(), 0);
  clock->Advance(1);
  PumpPendingMessages();
  EXPECT_EQ(window.ticks.load(), 1);
  PumpPendingMessages();
  EXPECT_EQ(window.ticks.load(), 1) << "a tick is not repeated";
  clock->Advance(3000);
  PumpPendingMessages();
  EXPECT_EQ(window.ticks.load(), 4);
  ASSERT_TRUE(KillTimer(window.GetHwnd(), 1));
  clock->Advance(5000);
  PumpPendingMessages();
  EXPECT_EQ(window.ticks.load(), 4);
}

TEST(Timers, AdvancingTheClockWakesALoopWaitingOnAnotherThread) {
  auto clock = UseManualClock();
  std::atomic<Recorder*> window{nullptr};
  Event ticked;
  WorkerThread loop([&] {
    Recorder w;
    w.CreateWindowObject(nullptr, 0, "timed", 0);
    SetTimer(w.GetHwnd(), 7, 1000);
    window = &w;
    Message m;
    while (GetMessage(m)) {
      DispatchMessage(m);
      if (w.ticks.load() == 1) ticked.Set();
    }
    return 0;
  });
  ASSERT_TRUE(PumpUntil([&] { return window.load() != nullptr; }));
  clock->Advance(1000);
  EXPECT_TRUE(ticked.Wait(10000));
  // A quit belongs to the thread that posts it: post it from the worker's own.
  RunOnWindowThread(*window.load(), [] { PostQuitMessage(0); });
  loop.Join();
}

TEST(Sync, RecursiveLockKnowsItsOwner) {
  RecursiveLock lock;
  EXPECT_FALSE(lock.HeldByCurrentThread());
  lock.Lock();
  lock.Lock();
  EXPECT_TRUE(lock.HeldByCurrentThread());
  EXPECT_EQ(lock.Depth(), 2);
  std::atomic<bool> other_sees_held{false}, other_got_it{true};
  WorkerThread other([&] {
    other_sees_held = !lock.HeldByCurrentThread();
    other_got_it = lock.TryLock();
    if (other_got_it) lock.Unlock();
    return 0;
  });
  other.Join();
  EXPECT_TRUE(other_sees_held.load());
  EXPECT_FALSE(other_got_it.load());
  lock.Unlock();
  lock.Unlock();
  EXPECT_FALSE(lock.HeldByCurrentThread());
  EXPECT_EQ(lock.Depth(), 0);
}

TEST(Sync, AutoResetEventReleasesOneWaiterPerSet) {
  Event event(false);
  event.Set();
  EXPECT_TRUE(event.Wait(0));
  EXPECT_FALSE(event.Wait(0)) << "an auto-reset event clears when a wait takes it";
  Event manual(true);
  manual.Set();
  EXPECT_TRUE(manual.Wait(0));
  EXPECT_TRUE(manual.Wait(0));
}

}  // namespace
}  // namespace plat
