// rvdlg diff and rvdlg run: the compare the library starts reaches
// stratatool next to rvdlg, which writes each file's diff against its
// predecessor; names that cannot be compared get a clear error.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/process.h"
#include "rvdlg_fixture.h"
#include "tool_launcher.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUtil = "\\\\view\\sample_view\\public\\src\\util.c";
constexpr const char* kHello = "\\\\view\\sample_view\\public\\src\\hello.c";

class RvdlgDiff : public rvdlg::test::RvdlgTest {
 protected:
  void SetUp() override {
    RvdlgTest::SetUp();
    ASSERT_EQ(Run({"--yes", "init"}), 0) << err.str();
  }
  static std::string Stratatool() { return (fs::path(RVDLG_BINARY).parent_path() / "stratatool").string(); }
};

TEST_F(RvdlgDiff, TheCheckedOutFileIsComparedWithTheVersionItWasCheckedOutFrom) {
  const std::string util = Read(ViewFile("public/src/util.c"));
  std::ofstream(ViewFile("public/src/util.c")) << "int twice(int n) { return n + n; }\n"
                                                  "int thrice(int n) { return 3 * n; }\n"
                                                  "int four(int n) { return 4 * n; }\n";
  std::string output;
  ASSERT_EQ(Rvdlg({"diff", "--pred", kUtil}, &output), 0) << output;
  EXPECT_EQ(output,
            "--- \\\\view\\sample_view\\public\\src\\util.c@@\\main\\2\n"
            "+++ \\\\view\\sample_view\\public\\src\\util.c\n"
            "@@ -1,2 +1,3 @@\n"
            "-int twice(int n) { return 2 * n; }\n"
            "+int twice(int n) { return n + n; }\n"
            " int thrice(int n) { return 3 * n; }\n"
            "+int four(int n) { return 4 * n; }\n");
  EXPECT_EQ(util, "int twice(int n) { return 2 * n; }\nint thrice(int n) { return 3 * n; }\n");
  // A host path inside the view's directory names the same file.
  std::string by_host_path;
  ASSERT_EQ(Rvdlg({"diff", "--pred", ViewFile("public/src/util.c").string()}, &by_host_path), 0) << by_host_path;
  EXPECT_EQ(by_host_path, output);
  // Without --pred the compare is the same (each file with its predecessor).
  std::string without;
  ASSERT_EQ(Rvdlg({"diff", kUtil}, &without), 0) << without;
  EXPECT_EQ(without, output);
}

TEST_F(RvdlgDiff, ACheckedInFileIsComparedWithTheVersionItWasLoadedFrom) {
  std::string output;
  ASSERT_EQ(Rvdlg({"diff", "--pred", kHello}, &output), 0) << output;
  EXPECT_EQ(output, "Files are identical: \\\\view\\sample_view\\public\\src\\hello.c@@\\main\\2 and "
                    "\\\\view\\sample_view\\public\\src\\hello.c\n");
  // Hijacked: the hand-made change shows, and the file is left as it is.
  fs::permissions(ViewFile("public/src/hello.c"), fs::perms::owner_write, fs::perm_options::add);
  std::ofstream(ViewFile("public/src/hello.c"), std::ios::app) << "/* mine */";
  ASSERT_EQ(Rvdlg({"diff", "--pred", kHello}, &output), 0) << output;
  EXPECT_NE(output.find("@@ -1,2 +1,3 @@\n #include <stdio.h>\n"), std::string::npos) << output;
  EXPECT_NE(output.find("+/* mine */\n\\ No newline at end of file\n"), std::string::npos) << output;
  EXPECT_NE(Read(ViewFile("public/src/hello.c")).find("/* mine */"), std::string::npos);
}

TEST_F(RvdlgDiff, NamesThatCannotBeComparedGetAClearErrorAndChangeNothing) {
  std::ofstream(ViewFile("public/src/mine.txt")) << "private\n";
  struct Case {
    std::string name;
    const char* message;
  };
  const Case cases[] = {
      {ViewFile("public/src/mine.txt").string(), "not an element (a view-private file)"},
      {"\\\\view\\sample_view\\public\\src\\my file \"x\".c", "no such file"},
      {"\\\\view\\sample_view\\public\\src\\r\xC3\xA9sum\xC3\xA9.c", "no such file"},
      {"\\\\view\\sample_view\\public\\src\\" + std::string(3000, 'n') + ".c", "no such file"},
      {"\\\\view\\sample_view\\public\\src", "a directory"},
      {"\\\\view\\no_view\\public\\src\\util.c", "no such view: no_view"},
      {"\\\\view\\sample_view\\public\\src\\util.c@@\\main\\1", "without a version extension"},
      {"C:\\rvdlg\\notes.txt", "not a pathname through a view"},
  };
  const std::string before = Read(home / "rvdlg.db");
  for (const Case& c : cases) {
    std::string output;
    EXPECT_EQ(Rvdlg({"diff", "--pred", c.name}, &output), 1) << c.name;
    EXPECT_NE(output.find("stratatool: diff: "), std::string::npos) << output;
    EXPECT_NE(output.find(c.message), std::string::npos) << c.name << ": " << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << "one line: " << output;
  }
  EXPECT_EQ(Read(ViewFile("public/src/mine.txt")), "private\n");
  EXPECT_EQ(Read(home / "rvdlg.db"), before) << "the store is unchanged";
  // One bad name among good ones: the good ones are still compared.
  std::string output;
  EXPECT_EQ(Rvdlg({"diff", ViewFile("public/src/mine.txt").string(), kHello}, &output), 1);
  EXPECT_NE(output.find("Files are identical"), std::string::npos) << output;
}

TEST_F(RvdlgDiff, AHostPathOutsideTheViewsIsRefusedBeforeAnythingStarts) {
  const auto launcher = plat::UseRecordingLauncher();
  EXPECT_EQ(Run({"diff", (home / "rvdlg.db").string()}), 1);
  EXPECT_NE(err.str().find("not a library pathname nor a file inside a view's directory"), std::string::npos)
      << err.str();
  EXPECT_TRUE(launcher->Starts().empty());
  // Library names and view files go to the compare as the library's names.
  ASSERT_EQ(Run({"diff", "--pred", kUtil, ViewFile("public/src/hello.c").string()}), 0) << err.str();
  ASSERT_EQ(launcher->Starts().size(), 1u);
  EXPECT_EQ(plat::SplitCommandLine(launcher->Starts()[0].command_line),
            (std::vector<std::string>{"stratatool", "diff", "-graphical", "-pred", kUtil, kHello}));
  plat::SetLauncher(nullptr);
}

TEST_F(RvdlgDiff, ACompareThatCannotStartIsReported) {
  const auto launcher = plat::UseRecordingLauncher();
  launcher->SetStartFailure("stratatool", 2);
  EXPECT_EQ(Run({"diff", kUtil}), 1);
  EXPECT_NE(err.str().find("rvdlg: diff: cannot start \"stratatool\""), std::string::npos) << err.str();
  plat::SetLauncher(nullptr);
}

TEST_F(RvdlgDiff, RunStartsTheCommandAndSaysHowItWent) {
  const auto launcher = plat::UseRecordingLauncher();
  EXPECT_EQ(Run({"--yes", "run", "stratatool", "lsco", "-cview", "C:\\a b"}), 0) << err.str();
  EXPECT_NE(out.str().find("run: done"), std::string::npos) << out.str();
  ASSERT_EQ(launcher->Starts().size(), 1u);
  EXPECT_EQ(launcher->Starts()[0].Arguments(), (std::vector<std::string>{"stratatool", "lsco", "-cview", "C:\\a b"}));
  EXPECT_EQ(Run({"--yes", "run", "stratatool lsco -short"}), 0) << err.str();
  EXPECT_EQ(launcher->Starts().back().command_line, "stratatool lsco -short") << "one word is a whole command line";
  launcher->SetStartFailure("nosuchtool", 2);
  EXPECT_EQ(Run({"--yes", "run", "nosuchtool", "-x"}), 1);
  EXPECT_NE(out.str().find("Exec of nosuchtool -x failed with error 2"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("run: failed"), std::string::npos) << out.str();
  plat::SetLauncher(nullptr);
}

TEST_F(RvdlgDiff, RunReachesStratatoolNextToRvdlg) {
  std::ofstream(ViewFile("public/src/util.c"), std::ios::app) << "int none(void) { return 0; }\n";
  std::string output;
  ASSERT_EQ(Rvdlg({"run", "stratatool", "diff", "-graphical", "-pred", kUtil}, &output), 0) << output;
  EXPECT_NE(output.find("+int none(void) { return 0; }\n"), std::string::npos) << output;
  EXPECT_NE(output.find("run: done"), std::string::npos) << output;
}

TEST_F(RvdlgDiff, StratatoolRefusesBadUsageAndAHomeWithoutRepository) {
  std::string output;
  EXPECT_EQ(Program(Stratatool(), {"--home", home.string()}, &output), 2);
  EXPECT_NE(output.find("a command is required"), std::string::npos) << output;
  EXPECT_EQ(Program(Stratatool(), {"--home", home.string(), "lsco"}, &output), 2);
  EXPECT_NE(output.find("unknown command 'lsco'"), std::string::npos) << output;
  EXPECT_EQ(Program(Stratatool(), {"--home", home.string(), "diff", "-graphical"}, &output), 2);
  EXPECT_NE(output.find("no file given"), std::string::npos) << output;
  EXPECT_EQ(Program(Stratatool(), {"--home", home.string(), "diff", "-bogus", kUtil}, &output), 2);
  EXPECT_NE(output.find("unknown option '-bogus'"), std::string::npos) << output;
  const fs::path empty = home / "empty";
  fs::create_directories(empty);
  EXPECT_EQ(Program(Stratatool(), {"--home", empty.string(), "diff", kUtil}, &output), 1);
  EXPECT_NE(output.find("there is no repository in"), std::string::npos) << output;
  EXPECT_TRUE(fs::is_empty(empty)) << "nothing is made in a home without a repository";
  EXPECT_EQ(Program(Stratatool(), {"--home", home.string(), "diff", "-graphical", "-pred", kUtil}, &output), 0);
  EXPECT_NE(output.find("Files are identical"), std::string::npos) << output;
}

TEST(ToolLauncher, RunsTheProductsProgramsFromItsDirectoryAndWaitsForWhatWasStarted) {
  const fs::path dir = fs::temp_directory_path() / ("rvdlg-tools-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "stratatool") << "#!/bin/sh\n";
  fs::permissions(dir / "stratatool", fs::perms(0755));
  std::ofstream(dir / "notes") << "not a program\n";
  const auto inner = std::make_shared<plat::RecordingLauncher>();
  inner->SetExitCode("stratatool", 3);
  inner->SetStartFailure("missing", 2);
  rvdlg::ToolLauncher tools(inner, dir);
  EXPECT_EQ(tools.Resolve("stratatool"), (dir / "stratatool").string());
  EXPECT_EQ(tools.Resolve("notes"), "notes") << "not executable";
  EXPECT_EQ(tools.Resolve("/bin/stratatool"), "/bin/stratatool") << "a name with a directory stays";
  EXPECT_EQ(tools.Resolve("other"), "other");

  plat::ProcessSpec spec;
  spec.command_line = "stratatool diff -graphical \"\\\\view\\v\\a b.c\" ";
  spec.working_dir = "/";
  {
    auto started = tools.Start(spec);
    ASSERT_TRUE(started);
  }  // dropped at once, as a detached start does
  EXPECT_FALSE(tools.Start(plat::ProcessSpec{"missing -x", {}, "", false}));
  ASSERT_EQ(inner->Starts().size(), 2u);
  EXPECT_EQ(inner->Starts()[0].Arguments(),
            (std::vector<std::string>{(dir / "stratatool").string(), "diff", "-graphical", "\\\\view\\v\\a b.c"}));
  EXPECT_EQ(inner->Starts()[0].working_dir, "/");
  EXPECT_EQ(inner->Starts()[1].command_line, "missing -x") << "an unresolved start is passed as it is";
  EXPECT_EQ(tools.WaitAll(), std::vector<int>{3});
  EXPECT_TRUE(tools.WaitAll().empty()) << "waited once";
  const auto failures = tools.TakeStartFailures();
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find("cannot start \"missing\""), std::string::npos) << failures[0];
  EXPECT_TRUE(tools.TakeStartFailures().empty());
  fs::remove_all(dir);
}

}  // namespace
