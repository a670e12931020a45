// rvdlg --answers: a scripted run fails when a window it expects never comes,
// unless the answer file says the window is optional.
#include "rvdlg_fixture.h"

namespace rvdlg {
namespace {

using test::RvdlgTest;

TEST_F(RvdlgTest, WindowsExpectedButNeverShownFailTheRunUnlessOptional) {
  struct Case {
    const char* answers;
    std::vector<std::string> command;
    int status;
    const char* err;  // all of stderr
  };
  const std::string util = "\\\\view\\sample_view\\public\\src\\util.c";
  const Case cases[] = {
      // reserve shows no confirmation of undo check-out.
      {"window 24326\n  click Yes\n", {"reserve", util}, 1, "rvdlg: not shown: window 24326\n"},
      {"window 24326\n  optional\n  click Yes\n", {"reserve", util}, 0, ""},
      // times N alone means exactly N; with optional, up to N.
      {"window 24326\n  times 2\n  click Yes\n", {"uncheckout", util}, 1, "rvdlg: not shown: window 24326\n"},
      {"window 24326\n  times 2\n  optional\n  click Yes\n", {"uncheckout", util}, 0, ""},
      {"window 24326\n  always\n  click Yes\n", {"uncheckout", util}, 0, ""},
      {"menu none\nfiles none\n", {"reserve", util}, 1, "rvdlg: not shown: menu \"\"\nrvdlg: not shown: files\n"},
      {"menu none\n  optional\nfiles none\n  optional\n", {"reserve", util}, 0, ""},
      // The command's own failure keeps its status, met expectations or not.
      {"window 24326\n  click No\n", {"uncheckout", util}, 1, ""},
      {"window 24326\n  click Yes\n", {"run", ""}, 2,
       "rvdlg: run: the command cannot be written as a command line\nrvdlg: not shown: window 24326\n"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Run({"init", "--force"}), 0) << err.str();
    const auto answers = WriteFile("answers.txt", c.answers);
    std::vector<std::string> args = {"--answers", answers.string()};
    args.insert(args.end(), c.command.begin(), c.command.end());
    EXPECT_EQ(Run(args), c.status) << c.answers << err.str() << out.str();
    EXPECT_EQ(err.str(), c.err) << c.answers;
  }
}

}  // namespace
}  // namespace rvdlg
