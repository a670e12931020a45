#pragma once
// A scratch home for each rvdlg test, and rvdlg run in-process with streams.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app.h"
#include "support/scratch_home.h"

namespace rvdlg::test {

class RvdlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = std::make_unique<rv_test::ScratchHome>("rvdlg-test");
    home = scratch_->Path();
  }
  void TearDown() override { scratch_.reset(); }

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

 private:
  std::unique_ptr<rv_test::ScratchHome> scratch_;
};

}  // namespace rvdlg::test
