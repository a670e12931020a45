#pragma once
// Threads and their synchronisation: worker and user-interface threads,
// recursive locks that know their owner, and events.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/types.h"

namespace plat {

// This thread's number in the framework (assigned on first use).
ThreadId CurrentThreadId();

// A recursive lock that can tell whether the calling thread holds it.
class RecursiveLock {
 public:
  void Lock();
  void Unlock();
  bool TryLock();
  bool HeldByCurrentThread() const;
  int Depth() const;  // how often the owner holds it; 0 when free

 private:
  std::recursive_mutex mutex_;
  std::atomic<ThreadId> owner_{0};
  std::atomic<int> depth_{0};
};

class LockGuard {
 public:
  explicit LockGuard(RecursiveLock& lock) : lock_(lock) { lock_.Lock(); }
  ~LockGuard() { lock_.Unlock(); }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;

 private:
  RecursiveLock& lock_;
};

// An event: manual-reset stays set until Reset; auto-reset releases one waiter.
class Event {
 public:
  explicit Event(bool manual_reset = true, bool initially_set = false)
      : manual_(manual_reset), set_(initially_set) {}
  void Set();
  void Reset();
  bool IsSet() const;
  // Waits up to timeout_ms (negative: forever); true when the event was set.
  bool Wait(long timeout_ms = -1);

 private:
  const bool manual_;
  mutable std::mutex mutex_;
  std::condition_variable cv_;
  bool set_;
};

// A worker thread running one procedure. Join waits for it; the destructor
// joins a thread still running, so a worker never outlives its owner.
class WorkerThread {
 public:
  explicit WorkerThread(std::function<int()> procedure);
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  ThreadId Id() const;  // valid once the thread has started
  void Join();
  bool Finished() const { return finished_.load(); }
  int ExitCode() const { return exit_code_.load(); }

 private:
  std::atomic<ThreadId> id_{0};
  std::atomic<bool> finished_{false};
  std::atomic<int> exit_code_{0};
  Event started_;
  std::thread thread_;
};

// A user-interface thread: InitInstance runs on the new thread; when it
// returns true the thread pumps its message loop until a quit message, then
// ExitInstance runs. The object belongs to the thread and is deleted when the
// thread ends (Start hands ownership over).
class UiThread {
 public:
  virtual ~UiThread() = default;
  static void Start(std::unique_ptr<UiThread> thread);

 protected:
  virtual bool InitInstance() = 0;
  virtual int ExitInstance() { return 0; }
};

}  // namespace plat
