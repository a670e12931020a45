// rvdlg's command line: usage errors, the three hosts, and the real program
// driven through a pipe as a person at a terminal would.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "rvdlg_fixture.h"

namespace rvdlg {
namespace {

namespace fs = std::filesystem;

using test::RvdlgTest;

TEST_F(RvdlgTest, BadUsageIsOneLineAndStatusTwo) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{}, "rvdlg: a command is required"},
      {{"frobnicate"}, "rvdlg: unknown command 'frobnicate'"},
      {{"--no-such-option", "sample"}, "rvdlg: The following argument was not expected: --no-such-option"},
      {{"--yes", "--answers", "x", "sample"}, "rvdlg: --answers excludes --yes"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.args), 2);
    const std::string text = err.str();
    EXPECT_EQ(text.rfind(c.message, 0), 0u) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
  }
}

TEST_F(RvdlgTest, AnswerFileClearsReservedAndTheDependentBoxFollows) {
  const auto answers = WriteFile("answers.txt",
                                 "window 100\n  check 1003\n  uncheck Reserved\n  select Priority: High\n  click OK\n");
  EXPECT_EQ(Run({"--answers", answers.string(), "sample"}), 0) << err.str();
  EXPECT_NE(out.str().find("sample: name=sample.txt reserved=0 unreserved=0 priority=2"), std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("(disabled)"), std::string::npos) << "the transcript shows the disabled box";
}

TEST_F(RvdlgTest, AnAnswerFileThatDoesNotFitFailsTheRun) {
  const auto answers = WriteFile("wrong.txt", "window 100\n  click \"No such button\"\n");
  EXPECT_EQ(Run({"--answers", answers.string(), "sample"}), 1);
  EXPECT_NE(err.str().find("no control \"No such button\" in dialog 100"), std::string::npos) << err.str();
  EXPECT_EQ(Run({"--answers", (home / "missing.txt").string(), "sample"}), 2);
  EXPECT_NE(err.str().find("cannot read the answer file"), std::string::npos);
  const auto broken = WriteFile("broken.txt", "window 100\n  type\n");
  EXPECT_EQ(Run({"--answers", broken.string(), "sample"}), 2);
  EXPECT_NE(err.str().find("broken.txt: line 2:"), std::string::npos) << err.str();
}

TEST_F(RvdlgTest, YesTakesTheDefaults) {
  EXPECT_EQ(Run({"--yes", "sample"}), 0);
  EXPECT_NE(out.str().find("sample: name=sample.txt reserved=1 unreserved=0 priority=1"), std::string::npos);
  EXPECT_NE(out.str().find("> default"), std::string::npos);
}

TEST_F(RvdlgTest, TheProgramAnswersAtTheTerminalThroughAPipe) {
  const std::string command = "printf 'type Name: \"my notes.txt\"\\nclick Cancel\\n' | '" +
                              std::string(RVDLG_BINARY) + "' --home '" + home.string() + "' sample 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = ::pclose(pipe);
  EXPECT_EQ(WEXITSTATUS(status), 1) << output;
  EXPECT_NE(output.find("[1001] edit: \"my notes.txt\""), std::string::npos) << output;
  EXPECT_NE(output.find("> click Cancel"), std::string::npos) << "piped input is echoed";
  EXPECT_NE(output.find("sample: cancelled"), std::string::npos);
}

TEST_F(RvdlgTest, ACorruptSettingsFileIsReportedAndLeftAsItIs) {
  fs::create_directories(home / "config");
  const auto hive = WriteFile("config/user.reg", "this is not a hive\n");
  EXPECT_EQ(Run({"--yes", "sample"}), 1);
  EXPECT_NE(err.str().find("user.reg"), std::string::npos) << err.str();
  std::ifstream in(hive);
  std::string kept((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(kept, "this is not a hive\n");
}

TEST_F(RvdlgTest, DemoRunsWithoutInput) {
  EXPECT_EQ(Run({"demo"}), 0);
  EXPECT_NE(out.str().find("The demonstration is over."), std::string::npos);
  EXPECT_NE(out.str().find("(end of input: default answers from here on)"), std::string::npos);
}

}  // namespace
}  // namespace rvdlg
