// Per-thread message queues: posted and sent messages, timers and quit.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/clock.h"
#include "platform/message.h"
#include "platform/sync.h"
#include "platform/window.h"
#include "window_table.h"

namespace plat {

namespace {

struct ThreadQueue;

// A message sent from another thread, waiting for its answer.
struct SentItem {
  Message message;
  LResult result = 0;
  bool done = false;                       // guarded by the sender queue's mutex
  std::shared_ptr<ThreadQueue> reply_to;   // the sender's queue, woken on completion
};

struct TimerEntry {
  Hwnd hwnd;
  std::uintptr_t id;
  std::int64_t interval;
  std::int64_t next_due;
};

struct ThreadQueue {
  explicit ThreadQueue(ThreadId thread) : id(thread) {}
  const ThreadId id;
  std::mutex mutex;
  std::condition_variable cv;
  std::deque<Message> posted;
  std::deque<std::shared_ptr<SentItem>> sent;
  std::vector<TimerEntry> timers;
  bool quit = false;
  int quit_code = 0;
  bool alive = true;
  ThreadWaiter* waiter = nullptr;
  // Tasks posted with PostTask, by the number their message carries.
  std::map<WParam, std::function<void()>> tasks;
  WParam next_task = 1;
};

// The message that carries a posted task (below the user messages, unused
// by the framework otherwise).
constexpr std::uint32_t kPostedTask = 0x03F0;

// Wakes the thread of a queue whose lock the caller holds.
void WakeLocked(ThreadQueue& q) {
  q.cv.notify_all();
  if (q.waiter) q.waiter->Wake();
}

void Wake(ThreadQueue& q) {
  std::lock_guard lock(q.mutex);
  WakeLocked(q);
}

// Sleeps until woken or until the time given; a thread with a waiter runs
// the waiter's loop meanwhile. The lock is held on entry and on return.
void Sleep(ThreadQueue& q, std::unique_lock<std::mutex>& lock,
           std::chrono::steady_clock::time_point until) {
  if (ThreadWaiter* waiter = q.waiter) {
    long timeout_ms = -1;
    if (until != std::chrono::steady_clock::time_point::max()) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
      timeout_ms = std::max(0L, static_cast<long>(left.count()));
    }
    lock.unlock();
    waiter->Wait(timeout_ms);
    lock.lock();
  } else if (until == std::chrono::steady_clock::time_point::max()) {
    q.cv.wait(lock);
  } else {
    q.cv.wait_until(lock, until);
  }
}

std::mutex g_queues_mutex;
std::map<ThreadId, std::shared_ptr<ThreadQueue>>& Queues() {
  static auto* queues = new std::map<ThreadId, std::shared_ptr<ThreadQueue>>();
  return *queues;
}

void Complete(const std::shared_ptr<SentItem>& item, LResult result) {
  auto& reply = item->reply_to;
  std::lock_guard lock(reply->mutex);
  item->result = result;
  item->done = true;
  WakeLocked(*reply);
}

// Ends a thread's queue when the thread exits: pending sends answer 0.
struct QueueHolder {
  std::shared_ptr<ThreadQueue> queue;
  ~QueueHolder() {
    if (!queue) return;
    std::deque<std::shared_ptr<SentItem>> pending;
    {
      std::lock_guard lock(queue->mutex);
      queue->alive = false;
      pending.swap(queue->sent);
      queue->posted.clear();
    }
    for (auto& item : pending) Complete(item, 0);
    std::lock_guard lock(g_queues_mutex);
    Queues().erase(queue->id);
  }
};
thread_local QueueHolder t_queue;

std::shared_ptr<ThreadQueue> CurrentQueue() {
  if (!t_queue.queue) {
    auto queue = std::make_shared<ThreadQueue>(CurrentThreadId());
    std::lock_guard lock(g_queues_mutex);
    Queues()[queue->id] = queue;
    t_queue.queue = queue;
  }
  return t_queue.queue;
}

std::shared_ptr<ThreadQueue> QueueOf(ThreadId thread) {
  if (thread == CurrentThreadId()) return CurrentQueue();
  std::lock_guard lock(g_queues_mutex);
  auto it = Queues().find(thread);
  return it == Queues().end() ? nullptr : it->second;
}

void RunPostedTask(const Message& m) {
  std::function<void()> task;
  {
    auto q = CurrentQueue();
    std::lock_guard lock(q->mutex);
    auto it = q->tasks.find(m.wparam);
    if (it == q->tasks.end()) return;
    task = std::move(it->second);
    q->tasks.erase(it);
  }
  if (FromHandle(m.hwnd)) task();
}

LResult Deliver(const Message& m) {
  if (m.message == kPostedTask && m.lparam == 0) {
    RunPostedTask(m);
    return 0;
  }
  Window* w = FromHandle(m.hwnd);
  if (!w) return 0;
  return w->WndProc(m.message, m.wparam, m.lparam, m.text.empty() ? nullptr : &m.text);
}

// Handles one message sent to this thread, if any. Called without the lock.
bool HandleOneSent(ThreadQueue& q) {
  std::shared_ptr<SentItem> item;
  {
    std::lock_guard lock(q.mutex);
    if (q.sent.empty()) return false;
    item = q.sent.front();
    q.sent.pop_front();
  }
  Complete(item, Deliver(item->message));
  return true;
}

// Takes a posted message, the quit message or a due timer. Lock held.
enum class Take { Message, Quit, Nothing };
Take TakeLocked(ThreadQueue& q, Message& out, bool remove, std::int64_t now,
                std::int64_t* next_due) {
  if (!q.posted.empty()) {
    out = q.posted.front();
    if (remove) q.posted.pop_front();
    return Take::Message;
  }
  if (q.quit) {
    out = Message{Hwnd::Null, msg::Quit, static_cast<WParam>(q.quit_code), 0, {}};
    if (remove) q.quit = false;
    return Take::Quit;
  }
  TimerEntry* due = nullptr;
  for (auto& t : q.timers) {
    if (t.next_due <= now && (!due || t.next_due < due->next_due)) due = &t;
    if (next_due && (*next_due < 0 || t.next_due < *next_due)) *next_due = t.next_due;
  }
  if (due) {
    out = Message{due->hwnd, msg::Timer, due->id, 0, {}};
    if (remove) due->next_due += due->interval;
    return Take::Message;
  }
  return Take::Nothing;
}

// The common loop of GetMessage and its time-out form.
bool WaitForMessage(Message& out, long timeout_ms, bool& timed_out) {
  timed_out = false;
  auto q = CurrentQueue();
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms < 0 ? 0 : timeout_ms);
  for (;;) {
    while (HandleOneSent(*q)) {
    }
    auto clock = CurrentClock();
    std::unique_lock lock(q->mutex);
    if (!q->sent.empty()) continue;
    std::int64_t next_due = -1;
    const std::int64_t now = clock->NowMs();
    switch (TakeLocked(*q, out, true, now, &next_due)) {
      case Take::Message: return true;
      case Take::Quit: return false;
      case Take::Nothing: break;
    }
    // Sleep until something arrives, the next timer is due (real clock), the
    // manual clock moves, or the caller's time-out passes.
    auto until = std::chrono::steady_clock::time_point::max();
    if (next_due >= 0 && clock->IsReal())
      until = std::chrono::steady_clock::now() + std::chrono::milliseconds(next_due - now);
    if (timeout_ms >= 0) until = std::min(until, deadline);
    Sleep(*q, lock, until);
    if (timeout_ms >= 0 && std::chrono::steady_clock::now() >= deadline && q->posted.empty() &&
        q->sent.empty() && !q->quit) {
      lock.unlock();
      // One last look for a due timer before giving up.
      auto c = CurrentClock();
      std::lock_guard relock(q->mutex);
      if (TakeLocked(*q, out, true, c->NowMs(), nullptr) == Take::Message) return true;
      out = Message{};
      timed_out = true;
      return false;
    }
  }
}

}  // namespace

void EnsureThreadQueue() { CurrentQueue(); }

void NotifyAllQueues() {
  std::vector<std::shared_ptr<ThreadQueue>> all;
  {
    std::lock_guard lock(g_queues_mutex);
    for (auto& [id, q] : Queues()) all.push_back(q);
  }
  for (auto& q : all) Wake(*q);
}

bool PostMessage(Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam, std::string text) {
  const ThreadId thread = WindowThread(hwnd);
  if (thread == 0) return false;
  auto q = QueueOf(thread);
  if (!q) return false;
  bool was_empty;
  {
    std::lock_guard lock(q->mutex);
    if (!q->alive) return false;
    was_empty = q->posted.empty();
    q->posted.push_back(Message{hwnd, message, wparam, lparam, std::move(text)});
    // A loop only sleeps on an empty queue: later posts need not wake it.
    if (was_empty) WakeLocked(*q);
  }
  return true;
}

bool PostTask(Hwnd hwnd, std::function<void()> task) {
  const ThreadId thread = WindowThread(hwnd);
  auto q = thread ? QueueOf(thread) : nullptr;
  if (!q) return false;
  std::lock_guard lock(q->mutex);
  if (!q->alive) return false;
  const WParam number = q->next_task++;
  q->tasks.emplace(number, std::move(task));
  q->posted.push_back(Message{hwnd, kPostedTask, number, 0, {}});
  WakeLocked(*q);
  return true;
}

ThreadWaiter* SetThreadWaiter(ThreadWaiter* waiter) {
  auto q = CurrentQueue();
  std::lock_guard lock(q->mutex);
  return std::exchange(q->waiter, waiter);
}

bool PostThreadMessage(ThreadId thread, std::uint32_t message, WParam wparam, LParam lparam) {
  auto q = QueueOf(thread);
  if (!q) return false;
  bool was_empty;
  {
    std::lock_guard lock(q->mutex);
    if (!q->alive) return false;
    was_empty = q->posted.empty();
    q->posted.push_back(Message{Hwnd::Null, message, wparam, lparam, {}});
    if (was_empty) WakeLocked(*q);
  }
  return true;
}

void PostQuitMessage(int exit_code) {
  auto q = CurrentQueue();
  std::lock_guard lock(q->mutex);
  q->quit = true;
  q->quit_code = exit_code;
}

LResult SendMessage(Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam,
                    const std::string* text) {
  const ThreadId thread = WindowThread(hwnd);
  if (thread == 0) return 0;
  Message m{hwnd, message, wparam, lparam, text ? *text : std::string()};
  if (thread == CurrentThreadId()) return Deliver(m);

  auto target = QueueOf(thread);
  if (!target) return 0;
  auto me = CurrentQueue();
  auto item = std::make_shared<SentItem>();
  item->message = std::move(m);
  item->reply_to = me;
  {
    std::lock_guard lock(target->mutex);
    if (!target->alive) return 0;
    target->sent.push_back(item);
    WakeLocked(*target);
  }
  for (;;) {
    // Messages sent to this thread while it waits are handled meanwhile, so
    // two threads that send to each other never deadlock.
    while (HandleOneSent(*me)) {
    }
    std::unique_lock lock(me->mutex);
    if (item->done) return item->result;
    if (!me->sent.empty()) continue;
    Sleep(*me, lock, std::chrono::steady_clock::time_point::max());
    if (item->done) return item->result;
  }
}

bool GetMessage(Message& out) {
  bool timed_out = false;
  return WaitForMessage(out, -1, timed_out);
}

bool GetMessageTimeout(Message& out, long timeout_ms, bool& timed_out) {
  return WaitForMessage(out, timeout_ms, timed_out);
}

bool PeekMessage(Message& out, bool remove) {
  auto q = CurrentQueue();
  while (HandleOneSent(*q)) {
  }
  auto clock = CurrentClock();
  std::lock_guard lock(q->mutex);
  return TakeLocked(*q, out, remove, clock->NowMs(), nullptr) != Take::Nothing;
}

LResult DispatchMessage(const Message& m) { return Deliver(m); }

void PumpPendingMessages() {
  Message m;
  while (PeekMessage(m, false)) {
    if (m.message == msg::Quit) return;
    PeekMessage(m, true);
    DispatchMessage(m);
  }
}

void WakeThread(ThreadId thread) { PostThreadMessage(thread, msg::Null); }

bool SetTimer(Hwnd hwnd, std::uintptr_t id, std::int64_t interval_ms) {
  const ThreadId thread = WindowThread(hwnd);
  if (thread == 0 || interval_ms <= 0) return false;
  auto q = QueueOf(thread);
  if (!q) return false;
  const std::int64_t now = CurrentClock()->NowMs();
  {
    std::lock_guard lock(q->mutex);
    auto it = std::find_if(q->timers.begin(), q->timers.end(),
                           [&](const TimerEntry& t) { return t.hwnd == hwnd && t.id == id; });
    if (it != q->timers.end())
      *it = TimerEntry{hwnd, id, interval_ms, now + interval_ms};
    else
      q->timers.push_back(TimerEntry{hwnd, id, interval_ms, now + interval_ms});
    WakeLocked(*q);
  }
  return true;
}

bool KillTimer(Hwnd hwnd, std::uintptr_t id) {
  const ThreadId thread = WindowThread(hwnd);
  auto q = thread ? QueueOf(thread) : nullptr;
  if (!q) return false;
  std::lock_guard lock(q->mutex);
  auto it = std::find_if(q->timers.begin(), q->timers.end(),
                         [&](const TimerEntry& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == q->timers.end()) return false;
  q->timers.erase(it);
  return true;
}

void KillWindowTimers(Hwnd hwnd, ThreadId thread) {
  auto q = QueueOf(thread);
  if (!q) return;
  std::lock_guard lock(q->mutex);
  std::erase_if(q->timers, [&](const TimerEntry& t) { return t.hwnd == hwnd; });
}

std::size_t PendingMessageCount(ThreadId thread) {
  auto q = QueueOf(thread);
  if (!q) return 0;
  std::lock_guard lock(q->mutex);
  return q->posted.size() + q->sent.size();
}

}  // namespace plat
