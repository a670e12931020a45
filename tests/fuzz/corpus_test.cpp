// Every input kept under tests/fuzz/corpus/TARGET runs through its target:
// seeds, and each input a fuzzer once failed on.
#include <gtest/gtest.h>

#include <filesystem>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "fuzz_target.h"

namespace rv_fuzz {
std::map<std::string, Target>& Targets();

namespace {

namespace fs = std::filesystem;

TEST(FuzzCorpus, EveryTargetHasSeedsAndRunsThemAll) {
  ASSERT_EQ(Targets().size(), 7u);
  for (const auto& [name, target] : Targets()) {
    SCOPED_TRACE(name);
    const fs::path dir = fs::path(RV_FUZZ_CORPUS) / name;
    int inputs = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string input((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      // A failed property aborts the program: the last line names the input.
      std::fprintf(stderr, "%s\n", entry.path().c_str());
      target(input);
      ++inputs;
    }
    EXPECT_GT(inputs, 0);
  }
}

}  // namespace
}  // namespace rv_fuzz
