#pragma once
// Messages and the per-thread message queues. A window belongs to the thread
// that created it, and its messages are handled only on that thread.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/types.h"

namespace plat {

struct Message {
  Hwnd hwnd = Hwnd::Null;
  std::uint32_t message = msg::Null;
  WParam wparam = 0;
  LParam lparam = 0;
  // A posted text travels as its own copy, so the sender may change its
  // buffer at once.
  std::string text;
};

// Posts to the queue of the window's thread; never blocks. A post to a window
// that no longer exists does nothing and returns false.
bool PostMessage(Hwnd hwnd, std::uint32_t message, WParam wparam = 0, LParam lparam = 0,
                 std::string text = {});
bool PostThreadMessage(ThreadId thread, std::uint32_t message, WParam wparam = 0,
                       LParam lparam = 0);
void PostQuitMessage(int exit_code);

// Calls the window's handler: directly on its own thread, otherwise queued to
// the window's thread and waited for (messages sent to the waiting thread are
// handled meanwhile). Returns 0 for a window that does not exist.
LResult SendMessage(Hwnd hwnd, std::uint32_t message, WParam wparam = 0, LParam lparam = 0,
                    const std::string* text = nullptr);

// Waits for the next message of this thread (sent messages are handled while
// waiting, due timers produce timer messages). False on the quit message.
bool GetMessage(Message& out);
// As GetMessage, but gives up after timeout_ms of real time; false when
// nothing arrived (out.message is then msg::Null and timed_out is set).
bool GetMessageTimeout(Message& out, long timeout_ms, bool& timed_out);
// Takes the next message if one is waiting (including a due timer).
bool PeekMessage(Message& out, bool remove = true);
// Hands the message to its window's handler. Messages for windows that were
// destroyed meanwhile are dropped.
LResult DispatchMessage(const Message& m);
// Handles whatever is queued for this thread now, then returns.
void PumpPendingMessages();
// Wakes this thread's (or another thread's) loop without a real message.
void WakeThread(ThreadId thread);

// Runs the task on the window's thread when that thread's loop takes it, as a
// posted message (a modal loop looks at its window again afterwards); never
// blocks. A task whose window or thread goes first is dropped unrun.
bool PostTask(Hwnd hwnd, std::function<void()> task);

// Lets a thread that also runs another event loop (a toolkit's) run it while
// the thread waits for messages: Wait runs that loop until Wake is called
// (from any thread; it never blocks) or the time-out passes.
class ThreadWaiter {
 public:
  virtual ~ThreadWaiter() = default;
  virtual void Wait(long timeout_ms) = 0;  // negative: until woken
  virtual void Wake() = 0;
};
// Installs the waiter of the calling thread (nullptr removes it) and returns
// the one it replaces, to be put back last in, first out. A waiter must stay
// alive while installed.
ThreadWaiter* SetThreadWaiter(ThreadWaiter* waiter);

// Timers: each tick is a msg::Timer to the window with the timer id in wparam.
// A timer fires once per elapsed interval of the current clock.
bool SetTimer(Hwnd hwnd, std::uintptr_t id, std::int64_t interval_ms);
bool KillTimer(Hwnd hwnd, std::uintptr_t id);

// Number of messages waiting in a thread's queue (for tests and diagnostics).
std::size_t PendingMessageCount(ThreadId thread);

}  // namespace plat
