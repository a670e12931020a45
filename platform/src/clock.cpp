#include "platform/clock.h"

#include <chrono>

namespace plat {

void NotifyAllQueues();  // message_queue.cpp: wakes every loop after time moved

namespace {

class RealClock final : public Clock {
 public:
  std::int64_t NowMs() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  bool IsReal() const override { return true; }
};

std::mutex g_clock_mutex;
std::shared_ptr<Clock> g_clock;

}  // namespace

std::int64_t ManualClock::NowMs() const {
  std::lock_guard lock(mutex_);
  return now_;
}

void ManualClock::Advance(std::int64_t ms) {
  {
    std::lock_guard lock(mutex_);
    now_ += ms;
  }
  NotifyAllQueues();
}

std::shared_ptr<Clock> CurrentClock() {
  std::lock_guard lock(g_clock_mutex);
  if (!g_clock) g_clock = std::make_shared<RealClock>();
  return g_clock;
}

void SetClock(std::shared_ptr<Clock> clock) {
  {
    std::lock_guard lock(g_clock_mutex);
    g_clock = std::move(clock);
  }
  NotifyAllQueues();
}

std::shared_ptr<ManualClock> UseManualClock() {
  auto clock = std::make_shared<ManualClock>();
  SetClock(clock);
  return clock;
}

}  // namespace plat
