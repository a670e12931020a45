// Comparing files and running a tool's command: the command lines started,
// and what the user sees when a start fails.
#include <gtest/gtest.h>

#include "fileops/entry_points.h"
#include "rvcmndlg/file_operation_list.h"
#include "vob.h"
#include "local/store.h"
#include "platform/hosts.h"
#include "platform/machine.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "support/ui.h"

namespace {

TEST(DiffFiles, EveryPathIsOneArgumentWhateverItHolds) {
  struct Case {
    const char* path;
    const char* argument;
  };
  const Case cases[] = {
      {"C:\\views\\a b\\file.c", "C:\\views\\a b\\file.c"},
      {"\"C:\\already quoted.c\"", "C:\\already quoted.c"},
      {"C:\\odd\"name.c", "C:\\odd\"name.c"},
      {"C:\\dir\\", "C:\\dir\\"},
      {"\"", "\""},  // a lone quote is no quoted path
      {"\"a\" \"b\"", "a\" \"b"},
      {"", ""},
      {"C:\\dossier\\résumé.txt", "C:\\dossier\\résumé.txt"},
  };
  for (const auto& c : cases) {
    const std::string line = DiffCommandLine({c.path}, 1);
    const auto words = plat::SplitCommandLine(line);
    ASSERT_EQ(words.size(), 5u) << line;
    EXPECT_EQ(words[0], "stratatool");
    EXPECT_EQ(words[1], "diff");
    EXPECT_EQ(words[2], "-graphical");
    EXPECT_EQ(words[3], "-pred");
    EXPECT_EQ(words[4], c.argument) << line;
  }
  EXPECT_EQ(DiffCommandLine({"a.c", "b.c"}, 0), "stratatool diff -graphical \"a.c\" \"b.c\" ");
}

TEST(DiffFiles, TheListStartsOneDetachedCompareOfAllItsEntries) {
  plat::Registry::UseMemory();
  client_local::UseStore(client_local::Store::OpenMemory());
  auto launcher = plat::UseRecordingLauncher();
  CFileOperationList list;
  list.AddFile("C:\\a.c");
  list.AddFile(vob_handle_t{1}, 7, "view");
  list.SetDIFFPredecessor(0);
  EXPECT_EQ(list.Diff("C:\\b c.c"), 0);
  ASSERT_EQ(launcher->Starts().size(), 1u);
  EXPECT_EQ(launcher->Starts()[0].command_line, "stratatool diff -graphical \"C:\\a.c\" \"\" \"C:\\b c.c\" ");
  launcher->SetStartFailure("stratatool", 2);
  EXPECT_EQ(rvDiffFiles({"x"}, 1), 0) << "a failed start is not reported";
  plat::SetLauncher(nullptr);
  client_local::UseStore(nullptr);
}

class RunCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    launcher = plat::UseRecordingLauncher();
  }
  void TearDown() override {
    plat::SetLauncher(nullptr);
    plat::SetMachineProfile(std::nullopt);
  }
  void UseOsVersion(int major) {
    plat::MachineProfile profile = plat::MachineInfo();
    profile.os_major = major;
    plat::SetMachineProfile(profile);
  }
  std::shared_ptr<plat::RecordingLauncher> launcher;
  plat::test::ScriptedUser host;
};

TEST_F(RunCommandTest, ACommandRunsAsAProcessWithoutShowingAnything) {
  EXPECT_EQ(rvRunCommand("stratatool lsco -cview", nullptr), 0);
  ASSERT_EQ(launcher->Starts().size(), 1u);
  EXPECT_EQ(launcher->Starts()[0].command_line, "stratatool lsco -cview");
  EXPECT_TRUE(host->Transcript().empty()) << "the dialog stays invisible";
}

TEST_F(RunCommandTest, TheViewUpdateToolGoesThroughTheShellOnNewerSystems) {
  UseOsVersion(6);
  EXPECT_EQ(rvRunCommand("strataviewupdate -pname \"C:\\my view\"", nullptr), 0);
  ASSERT_EQ(launcher->ShellStarts().size(), 1u);
  EXPECT_EQ(launcher->ShellStarts()[0].file, "strataviewupdate");
  EXPECT_EQ(launcher->ShellStarts()[0].params, "-pname \"C:\\my view\"");
  UseOsVersion(5);
  EXPECT_EQ(rvRunCommand("strataviewupdate -pname C:\\v", nullptr), 0);
  EXPECT_EQ(launcher->Starts().size(), 1u);
}

TEST_F(RunCommandTest, ACommandThatCannotStartSaysSoAndReturnsMinusOne) {
  launcher->SetStartFailure("nosuchtool", 2);
  host->OnMessage("Exec of nosuchtool -x failed with error 2").Click("OK");
  EXPECT_EQ(rvRunCommand("nosuchtool -x", nullptr), -1);
}

}  // namespace
