#pragma once
// The clock that timers run on. Production uses the real monotonic clock;
// tests install a ManualClock and advance it, so "shown after one second" is
// tested without sleeping.
#include <cstdint>
#include <memory>
#include <mutex>

namespace plat {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start.
  virtual std::int64_t NowMs() const = 0;
  // True when waiting for a due time should use the real clock's time-out.
  virtual bool IsReal() const = 0;
};

class ManualClock final : public Clock {
 public:
  std::int64_t NowMs() const override;
  bool IsReal() const override { return false; }
  // Moves time on and wakes every message loop so due timers fire.
  void Advance(std::int64_t ms);

 private:
  mutable std::mutex mutex_;
  std::int64_t now_ = 0;
};

// The clock in force (the real one unless a test installed another).
std::shared_ptr<Clock> CurrentClock();
void SetClock(std::shared_ptr<Clock> clock);
// Installs a fresh manual clock and returns it.
std::shared_ptr<ManualClock> UseManualClock();

}  // namespace plat
