#include "support/scratch_home.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "platform/pathmap.h"

namespace rv_test {

namespace fs = std::filesystem;

ScratchHome::ScratchHome(const std::string& prefix) : previous_(plat::Home()) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = prefix + "-" + std::to_string(::getpid());
  if (test) name += std::string("-") + test->test_suite_name() + "-" + test->name();
  for (char& c : name)
    if (c == '/') c = '_';  // parameterised names
  path_ = fs::temp_directory_path() / name;
  fs::remove_all(path_);
  fs::create_directories(path_);
  plat::SetHome(path_);
}

ScratchHome::~ScratchHome() {
  plat::SetHome(previous_);
  std::error_code error;
  fs::remove_all(path_, error);
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

bool IsWritable(const fs::path& path) {
  return (fs::status(path).permissions() & fs::perms::owner_write) != fs::perms::none;
}

}  // namespace rv_test
