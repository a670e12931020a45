// Launchers: the recording one and the real one.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/process.h"

namespace plat {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

ProcessSpec Line(std::string command_line, std::string dir = {}) {
  ProcessSpec spec;
  spec.command_line = std::move(command_line);
  spec.working_dir = std::move(dir);
  return spec;
}

ProcessSpec Argv(std::vector<std::string> argv, std::string dir = {}) {
  ProcessSpec spec;
  spec.argv = std::move(argv);
  spec.working_dir = std::move(dir);
  spec.use_argv = true;
  return spec;
}

// ---- the recording launcher ------------------------------------------------------

TEST(ProcessRecording, RecordsEveryStartInOrder) {
  RecordingLauncher launcher;
  ASSERT_TRUE(launcher.Start(Line("first a b")));
  ASSERT_TRUE(launcher.Start(Argv({"second", "x y"}, "/tmp")));
  launcher.SetStartFailure("third", ENOENT);
  EXPECT_FALSE(launcher.Start(Line("third")));  // failed starts are recorded too
  EXPECT_EQ(launcher.Starts(),
            (std::vector<ProcessSpec>{Line("first a b"), Argv({"second", "x y"}, "/tmp"), Line("third")}));
  launcher.ClearRecords();
  EXPECT_TRUE(launcher.Starts().empty());
}

struct ScriptCase {
  const char* started;  // the command line started
  bool fails;
  int number;  // exit code or errno
};

TEST(ProcessRecording, AnswersAsScriptedByProgramBaseName) {
  RecordingLauncher launcher;
  launcher.SetStartFailure("Tool.exe", EACCES);
  launcher.SetExitCode("Tool.exe", 3);  // a later script replaces the earlier
  launcher.SetStartFailure("missing", ENOENT);
  launcher.SetExitCode("/usr/bin/other", 9);  // scripted by its base name
  const ScriptCase cases[] = {
      {"tool.exe", false, 3},
      {"TOOL.EXE -x", false, 3},
      {"\"C:\\Program Files\\Tool.exe\" a", false, 3},
      {"/opt/bin/tool.exe", false, 3},
      {"tool", false, 0},  // not the same name
      {"missing --help", true, ENOENT},
      {"other", false, 9},
      {"unscripted", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.started);
    auto result = launcher.Start(Line(c.started));
    ASSERT_EQ(result.ok(), !c.fails);
    if (c.fails) {
      EXPECT_EQ(result.error().code, c.number);
      EXPECT_THAT(result.error().message, HasSubstr(std::strerror(c.number)));
      continue;
    }
    Process& process = **result;
    EXPECT_TRUE(process.Wait(Process::kInfinite));
    EXPECT_TRUE(process.Wait(0));
    EXPECT_EQ(process.ExitCode(), c.number);
  }
  launcher.ClearScript();
  EXPECT_EQ((*launcher.Start(Line("tool.exe")))->ExitCode(), 0);
}

TEST(ProcessRecording, RejectsAnEmptyProgramName) {
  RecordingLauncher launcher;
  for (const auto& spec : {Line(""), Line("  "), Argv({}), Argv({"", "x"})}) {
    auto result = launcher.Start(spec);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().code, EINVAL);
  }
}

TEST(ProcessRecording, RecordsShellStarts) {
  RecordingLauncher launcher;
  launcher.SetExitCode("readme.txt", 2);
  auto opened = launcher.ShellStart("C:\\docs\\README.TXT", "open", "-a", "C:\\docs");
  ASSERT_TRUE(opened);
  EXPECT_EQ((*opened)->ExitCode(), 2);
  auto printed = launcher.ShellStart("x.txt", "print", "", "");
  ASSERT_FALSE(printed);
  EXPECT_EQ(printed.error().code, ENOTSUP);
  EXPECT_EQ(launcher.ShellStarts(),
            (std::vector<ShellRequest>{{"C:\\docs\\README.TXT", "open", "-a", "C:\\docs"},
                                       {"x.txt", "print", "", ""}}));
  EXPECT_TRUE(launcher.Starts().empty());
}

TEST(ProcessRecording, RecordsStartsFromManyThreads) {
  RecordingLauncher launcher;
  launcher.SetExitCode("tool", 1);
  constexpr int kThreads = 4, kEach = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&launcher, t] {
      for (int i = 0; i < kEach; ++i) {
        auto result = launcher.Start(Line("tool " + std::to_string(t) + " " + std::to_string(i)));
        ASSERT_EQ((*result)->ExitCode(), 1);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  auto starts = launcher.Starts();
  ASSERT_EQ(starts.size(), size_t{kThreads * kEach});
  // Each thread's starts appear in its own order.
  std::vector<int> next(kThreads, 0);
  for (const auto& spec : starts) {
    auto words = spec.Arguments();
    const auto t = std::stoul(words[1]);
    EXPECT_EQ(std::stoi(words[2]), next[t]++);
  }
}

TEST(ProcessLauncherSlot, InstallsAndRestoresTheLauncher) {
  auto recording = UseRecordingLauncher();
  EXPECT_EQ(CurrentLauncher(), recording);
  ASSERT_TRUE(CurrentLauncher()->Start(Line("anything")));
  EXPECT_EQ(recording->Starts().size(), 1u);
  SetLauncher(nullptr);
  EXPECT_NE(CurrentLauncher(), recording);
  EXPECT_EQ(recording->Starts().size(), 1u) << "the real launcher is back";
}

// ---- the real launcher -----------------------------------------------------------------

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "proc-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempDir() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteScript(const fs::path& path, const std::string& body, fs::perms perms) {
  std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
  fs::permissions(path, perms);
}

int RunToEnd(Launcher& launcher, const ProcessSpec& spec) {
  auto result = launcher.Start(spec);
  EXPECT_TRUE(result) << (result ? "" : result.error().message);
  if (!result) return -1000;
  EXPECT_TRUE((*result)->Wait());
  return (*result)->ExitCode().value_or(-1000);
}

TEST(ProcessPosix, ReportsExitCodes) {
  PosixLauncher launcher;
  EXPECT_EQ(RunToEnd(launcher, Line("true")), 0);
  EXPECT_EQ(RunToEnd(launcher, Line("false")), 1);
  EXPECT_EQ(RunToEnd(launcher, Line("sh -c \"exit 7\"")), 7);
  EXPECT_EQ(RunToEnd(launcher, Argv({"sh", "-c", "exit 9"})), 9);
  EXPECT_EQ(RunToEnd(launcher, Argv({"sh", "-c", "kill -KILL $$"})), 128 + SIGKILL);
}

TEST(ProcessPosix, PassesArgumentsAsSplit) {
  TempDir dir;
  PosixLauncher launcher;
  // Each argument is written on its own line.
  ProcessSpec spec = Line("sh -c \"printf '%s\\n' \\\"$@\\\" > out\" sh \"a b\" c\\\"d \"\" \xC3\xA9",
                          dir.path().string());
  ASSERT_EQ(RunToEnd(launcher, spec), 0);
  EXPECT_EQ(ReadFile(dir.path() / "out"), "a b\nc\"d\n\n\xC3\xA9\n");
}

TEST(ProcessPosix, RunsInTheWorkingDirectory) {
  TempDir dir;
  PosixLauncher launcher;
  ASSERT_EQ(RunToEnd(launcher, Argv({"sh", "-c", "pwd > here"}, dir.path().string())), 0);
  EXPECT_EQ(ReadFile(dir.path() / "here"), fs::canonical(dir.path()).string() + "\n");
}

struct FailureCase {
  const char* what;
  ProcessSpec spec;
  int error;
};

TEST(ProcessPosix, ReportsStartFailuresWithTheSystemError) {
  TempDir dir;
  WriteScript(dir.path() / "not-executable", "exit 0", fs::perms::owner_read | fs::perms::owner_write);
  PosixLauncher launcher;
  const FailureCase cases[] = {
      {"missing program", Line("no-such-program-here --x"), ENOENT},
      {"missing path", Line("/no/such/dir/prog"), ENOENT},
      {"missing working dir", Argv({"true"}, (dir.path() / "gone").string()), ENOENT},
      {"working dir is a file", Argv({"true"}, (dir.path() / "not-executable").string()), ENOTDIR},
      {"empty command line", Line(""), EINVAL},
      {"NUL in an argument", Argv({"true", std::string("a\0b", 3)}), EINVAL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto result = launcher.Start(c.spec);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().code, c.error);
    EXPECT_THAT(result.error().message, HasSubstr(std::strerror(c.error)));
  }
}

TEST(ProcessPosix, WaitWithTimeOutSeesARunningProcess) {
  PosixLauncher launcher;
  auto result = launcher.Start(Argv({"sleep", "1000"}));
  ASSERT_TRUE(result);
  Process& process = **result;
  EXPECT_FALSE(process.Wait(0));
  EXPECT_EQ(process.ExitCode(), std::nullopt);
  ASSERT_EQ(kill(process.Pid(), SIGTERM), 0);
  EXPECT_TRUE(process.Wait());
  EXPECT_EQ(process.ExitCode(), 128 + SIGTERM);
}

TEST(ProcessPosix, SeveralThreadsWaitForOneProcess) {
  PosixLauncher launcher;
  auto result = launcher.Start(Argv({"sh", "-c", "exit 5"}));
  ASSERT_TRUE(result);
  Process& process = **result;
  std::vector<std::thread> waiters;
  std::vector<std::optional<int>> seen(4);
  for (size_t i = 0; i < seen.size(); ++i) {
    waiters.emplace_back([&process, &seen, i] {
      process.Wait();
      seen[i] = process.ExitCode();
    });
  }
  for (auto& waiter : waiters) waiter.join();
  for (const auto& code : seen) EXPECT_EQ(code, 5);
}

TEST(ProcessPosix, ShellStartRunsExecutableFiles) {
  TempDir dir;
  WriteScript(dir.path() / "tool.sh", "printf '%s|' \"$@\" > args; exit 6", fs::perms::owner_all);
  PosixLauncher launcher;
  // Relative to the directory given, with params split as arguments.
  auto result = launcher.ShellStart("tool.sh", "open", "one \"two three\"", dir.path().string());
  ASSERT_TRUE(result) << result.error().message;
  ASSERT_TRUE((*result)->Wait());
  EXPECT_EQ((*result)->ExitCode(), 6);
  EXPECT_EQ(ReadFile(dir.path() / "args"), "one|two three|");
  // The empty verb means open too.
  auto again = launcher.ShellStart((dir.path() / "tool.sh").string(), "", "", "");
  ASSERT_TRUE(again);
  ASSERT_TRUE((*again)->Wait());
  EXPECT_EQ((*again)->ExitCode(), 6);
}

TEST(ProcessPosix, ShellStartRefusesWhatItCannotOpen) {
  TempDir dir;
  WriteScript(dir.path() / "notes.txt", "exit 0", fs::perms::owner_read | fs::perms::owner_write);
  WriteScript(dir.path() / "tool.sh", "exit 0", fs::perms::owner_all);
  PosixLauncher launcher;
  struct Case {
    const char* file;
    const char* verb;
    int error;
  };
  const Case cases[] = {
      {"notes.txt", "open", ENOEXEC},  // no associations
      {".", "open", ENOEXEC},          // a directory
      {"absent", "open", ENOENT},
      {"tool.sh", "print", ENOTSUP},
      {"", "open", EINVAL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    auto result = launcher.ShellStart(c.file, c.verb, "", dir.path().string());
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().code, c.error);
    EXPECT_THAT(result.error().message, HasSubstr(std::strerror(c.error)));
  }
}

}  // namespace
}  // namespace plat
