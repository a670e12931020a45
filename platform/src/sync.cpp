#include "platform/sync.h"

#include <chrono>

#include "platform/message.h"

namespace plat {

namespace {
std::atomic<ThreadId> g_next_thread_id{1};
thread_local ThreadId t_thread_id = 0;
}  // namespace

ThreadId CurrentThreadId() {
  if (t_thread_id == 0) t_thread_id = g_next_thread_id.fetch_add(1);
  return t_thread_id;
}

void RecursiveLock::Lock() {
  mutex_.lock();
  owner_.store(CurrentThreadId());
  depth_.fetch_add(1);
}

bool RecursiveLock::TryLock() {
  if (!mutex_.try_lock()) return false;
  owner_.store(CurrentThreadId());
  depth_.fetch_add(1);
  return true;
}

void RecursiveLock::Unlock() {
  if (depth_.fetch_sub(1) == 1) owner_.store(0);
  mutex_.unlock();
}

bool RecursiveLock::HeldByCurrentThread() const {
  return owner_.load() == CurrentThreadId() && depth_.load() > 0;
}

int RecursiveLock::Depth() const { return owner_.load() == 0 ? 0 : depth_.load(); }

void Event::Set() {
  // Notified under the lock: a waiter may destroy the event as soon as it
  // sees it set.
  std::lock_guard lock(mutex_);
  set_ = true;
  if (manual_)
    cv_.notify_all();
  else
    cv_.notify_one();
}

void Event::Reset() {
  std::lock_guard lock(mutex_);
  set_ = false;
}

bool Event::IsSet() const {
  std::lock_guard lock(mutex_);
  return set_;
}

bool Event::Wait(long timeout_ms) {
  std::unique_lock lock(mutex_);
  auto ready = [this] { return set_; };
  bool ok = true;
  if (timeout_ms < 0)
    cv_.wait(lock, ready);
  else
    ok = cv_.wait_for(lock, std::chrono::milliseconds(timeout_ms), ready);
  if (ok && !manual_) set_ = false;
  return ok;
}

WorkerThread::WorkerThread(std::function<int()> procedure) {
  thread_ = std::thread([this, procedure = std::move(procedure)] {
    id_.store(CurrentThreadId());
    started_.Set();
    exit_code_.store(procedure());
    finished_.store(true);
  });
  started_.Wait();
}

WorkerThread::~WorkerThread() { Join(); }

ThreadId WorkerThread::Id() const { return id_.load(); }

void WorkerThread::Join() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void UiThread::Start(std::unique_ptr<UiThread> thread) {
  std::thread([owned = std::move(thread)]() mutable {
    if (owned->InitInstance()) {
      Message m;
      while (GetMessage(m)) DispatchMessage(m);
    }
    owned->ExitInstance();
    owned.reset();
  }).detach();
}

}  // namespace plat
