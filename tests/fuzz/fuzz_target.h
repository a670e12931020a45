#pragma once
// One fuzz target: RV_FUZZ_TARGET(name, input) { ... } runs the code under
// test on one input and aborts (through a check) when a property fails. Built
// with libFuzzer (RV_FUZZER defined) it is the fuzzer's entry; built as a
// test it is registered under its name, and the corpus test runs every file
// of tests/fuzz/corpus/NAME through it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace rv_fuzz {

using Target = void (*)(std::string_view input);
// Registers a target under its name (the corpus test finds it there).
bool Register(const char* name, Target target);

// A property that must hold: a failure prints it and aborts, so the fuzzer
// keeps the input and the corpus test fails on it.
#define RV_FUZZ_CHECK(condition)                                                           \
  do {                                                                                     \
    if (!(condition)) {                                                                    \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                        \
    }                                                                                      \
  } while (0)

}  // namespace rv_fuzz

#ifdef RV_FUZZER
#define RV_FUZZ_ENTRY(name)                                                           \
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { \
    rv_fuzz_##name(std::string_view(reinterpret_cast<const char*>(data), size));     \
    return 0;                                                                         \
  }
#else
#define RV_FUZZ_ENTRY(name) \
  [[maybe_unused]] static const bool rv_fuzz_registered_##name = rv_fuzz::Register(#name, rv_fuzz_##name);
#endif

#define RV_FUZZ_TARGET(name, input)                 \
  static void rv_fuzz_##name(std::string_view input); \
  RV_FUZZ_ENTRY(name)                               \
  static void rv_fuzz_##name(std::string_view input)
