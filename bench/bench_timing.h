#pragma once
// The one stopwatch of the benchmarks: each times its library path and the
// bare loop it is compared with the same way.
#include <chrono>
#include <functional>

inline double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
