#pragma once
// A scratch home for each rvdlg test, and rvdlg run in-process with streams.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app.h"

namespace rvdlg::test {

class RvdlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home = std::filesystem::temp_directory_path() /
           ("rvdlg-test-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
  }
  void TearDown() override { std::filesystem::remove_all(home); }

  int Run(std::vector<std::string> args, const std::string& input = {}) {
    args.insert(args.begin(), {"--home", home.string()});
    std::istringstream in(input);
    out.str({});
    err.str({});
    return rvdlg::Run(args, in, out, err);
  }

  std::filesystem::path WriteFile(const std::string& name, const std::string& text) {
    const std::filesystem::path path = home / name;
    std::ofstream(path) << text;
    return path;
  }

  std::filesystem::path home;
  std::ostringstream out, err;
};

}  // namespace rvdlg::test
