#pragma once
// A scratch home for each rvdlg test, rvdlg run in-process with streams, and
// the sample view's files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
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

  std::filesystem::path ViewFile(const std::string& relative) const { return home / "views" / "sample_view" / relative; }
  static std::string Read(const std::filesystem::path& path) { return rv_test::ReadFile(path); }
  static void Write(const std::filesystem::path& path, const std::string& text) { rv_test::WriteFile(path, text); }
  bool OutHas(const std::string& text) const { return out.str().find(text) != std::string::npos; }
  bool ErrHas(const std::string& text) const { return err.str().find(text) != std::string::npos; }

  std::filesystem::path WriteFile(const std::string& name, const std::string& text) {
    const std::filesystem::path path = home / name;
    Write(path, text);
    return path;
  }

  // Words in single quotes for the shell.
  static std::string Quoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
  }
  // Runs a program of the build with these words; its output (stdout and
  // stderr) and exit status.
  static int Program(const std::string& program, const std::vector<std::string>& words, std::string* output) {
    std::string command = Quoted(program);
    for (const std::string& word : words) command += " " + Quoted(word);
    command += " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return -1;
    output->clear();
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output->append(buffer, n);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // The rvdlg program of the build with the automatic host on this home.
  int Rvdlg(std::vector<std::string> words, std::string* output) {
    words.insert(words.begin(), {"--home", home.string(), "--yes"});
    return Program(RVDLG_BINARY, words, output);
  }

  std::filesystem::path home;
  std::ostringstream out, err;

 private:
  std::unique_ptr<rv_test::ScratchHome> scratch_;
};

}  // namespace rvdlg::test
