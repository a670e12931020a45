#pragma once
// The one stopwatch of the benchmarks: each times its library path and the
// bare loop it is compared with the same way.
#include <time.h>

#include <chrono>
#include <functional>

// Wall-clock seconds, and the process's processor seconds (every thread's,
// user and system) over the same work.
struct Timed {
  double wall = 0;
  double cpu = 0;
};

inline double ProcessCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

inline Timed Time(const std::function<void()>& work) {
  const double cpu_start = ProcessCpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  work();
  const auto end = std::chrono::steady_clock::now();
  return {std::chrono::duration<double>(end - start).count(), ProcessCpuSeconds() - cpu_start};
}

inline double Seconds(const std::function<void()>& work) { return Time(work).wall; }
