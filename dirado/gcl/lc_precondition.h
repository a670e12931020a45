#pragma once
// Preconditions of the LC_ containers. A violated precondition is reported
// (an internal error of "gcl" naming the precondition, the operation's label
// and its message) and the operation changes nothing; it never throws.
// Callers respect the preconditions; the record of the last violation on
// the calling thread is for tests.
#include <cstdint>

// As a position: not found.
inline constexpr std::uint32_t LC_npos = 0x7FFFFFFF;

struct LC_Violation {
  const char* name = nullptr;     // "Range_Error", "Not_Null", "Is_Null", ...
  const char* label = nullptr;    // "LC_TDynamic::Insert", ...
  const char* message = nullptr;  // "index is out of range", ...
};

void LC_ReportViolation(const char* name, const char* label, const char* message);
// The last violation reported on this thread (names null when none), and
// forgetting it.
LC_Violation LC_LastViolation();
void LC_ClearViolation();

// The storage policy: plain heap allocation, no pooling. Allocation failure
// answers null.
struct LC_CUnmanaged {
  template <class T>
  static T* NewArray(std::uint32_t count);
  template <class T>
  static void DeleteArray(T* items) {
    delete[] items;
  }
  template <class T, class... Args>
  static T* New(Args&&... args);
  template <class T>
  static void Delete(T* item) {
    delete item;
  }
};

#include <new>
#include <utility>

template <class T>
T* LC_CUnmanaged::NewArray(std::uint32_t count) {
  return new (std::nothrow) T[count];
}

template <class T, class... Args>
T* LC_CUnmanaged::New(Args&&... args) {
  return new (std::nothrow) T(std::forward<Args>(args)...);
}
