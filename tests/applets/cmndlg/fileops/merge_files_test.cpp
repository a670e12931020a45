// Merging files from the entry: the merge block the command receives, the
// merged file and arrow, the statuses returned, and the error box the user
// sees when the merge fails.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/repository.h"
#include "view.h"
#include "cmd_utl.h"
#include "fileops/entry_points.h"
#include "imsg.h"
#include "local/calllog.h"
#include "platform/dialog.h"
#include "platform/hosts.h"
#include "platform/registry.h"
#include "stg.h"
#include "tbs.h"
#include "support/ui.h"

namespace {

using client_local::CallLog;
using client_local::Failure;

constexpr const char* kTarget = "\\\\view\\v1\\public\\src\\merge.c";
constexpr const char* kDev1 = "\\public\\src\\merge.c@@\\main\\dev\\1";
constexpr const char* kMain1 = "\\public\\src\\merge.c@@\\main\\1";

// The merge entry on the merge sample, answered through the scripted host.
class MergeFilesTest : public rv_test::MergeTest {
 protected:
  void SetUp() override {
    MergeTest::SetUp();
    plat::Registry::UseMemory();
    plat::SetAppName("Merger");
    areas_before = stg_live_area_count();
  }
  void TearDown() override {
    EXPECT_EQ(stg_live_area_count(), areas_before) << "the merge's area is released";
    MergeTest::TearDown();
  }
  plat::test::ScriptedUser host;
  int areas_before = 0;
};

TEST_F(MergeFilesTest, ACleanMergeIsAGraphicalMergeOfTheBlockAndShowsNothing) {
  Write(File("public/src/merge.c"), "a\nb\nc\nD\ne\nf\nG\n");
  client_local::CallLogScope log;
  EXPECT_EQ(rvMergeFiles(kTarget, "", {kDev1}, 0), 0);
  EXPECT_EQ(Target(), "a\nB\nc\nD\ne\nf\nG\n");
  EXPECT_EQ(MergedInto(checked_out), dev1);
  EXPECT_TRUE(host->Transcript().empty()) << host->TranscriptText();
  EXPECT_EQ(CallLog::Calls("cmd_merge").size(), 1u);
}

TEST_F(MergeFilesTest, TheBaseIsTheBaseAndTheCallersFlagRecordsTheMergeOnly) {
  // Against \main\dev\1 as the base, \main\dev\1 brings no change.
  EXPECT_EQ(rvMergeFiles(kTarget, kDev1, {kDev1}, 0), 0);
  EXPECT_EQ(Target(), "a\nb\nc\nd\ne\nf\nG\n");
  EXPECT_EQ(MergedInto(checked_out), dev1);
  Write(File("public/src/merge.c"), "a\nB and b, by hand\nc\nd\ne\nf\nG\n");
  EXPECT_EQ(rvMergeFiles(kTarget, kMain1, {kDev1, kMain1}, 1), 0);
  EXPECT_EQ(Target(), "a\nB and b, by hand\nc\nd\ne\nf\nG\n") << "the flag records the merge only";
}

TEST_F(MergeFilesTest, ConflictsShowTheErrorBoxWithTheMergesMessages) {
  Write(File("public/src/merge.c"), "a\nmine\nc\nd\ne\nf\nG\n");
  host->OnMessage("Error merging files.\r\nMerging \"\\public\\src\\merge.c@@\\main\\dev\\1\" into").Click("OK");
  EXPECT_EQ(rvMergeFiles(kTarget, "", {kDev1}, 0), TBS_ST_FAILURE);
  const std::string text = host->TranscriptText();
  EXPECT_NE(text.find("+-- Merger -- [message box, error]\n|  Error merging files.\n|  Merging "), std::string::npos)
      << text;
  EXPECT_NE(text.find("1 conflict (line 2)"), std::string::npos) << text;
  EXPECT_NE(text.find("<<<<<<< \\\\view\\v1\\public\\src\\merge.c (line 2)"), std::string::npos)
      << "graphical: the conflicts are shown\n"
      << text;
  EXPECT_NE(text.find("[1] <OK>*\n"), std::string::npos) << "OK only: " << text;
  EXPECT_EQ(Target(), "a\nmine\nc\nd\ne\nf\nG\n");
  EXPECT_EQ(MergedInto(checked_out), 0u);
}

TEST_F(MergeFilesTest, AFailureShowsItsStrippedMessagesAndStoppedByTheUserShowsNothing) {
  CallLog::InjectFailure("cmd_merge", Failure{TBS_ST_PERMISSION, {{IMSG_ERROR, "no \x02" "bpermission\x02n here\n"}}, 1});
  host->OnMessage("Error merging files.\r\nno permission here\n").Click("OK");
  EXPECT_EQ(rvMergeFiles(kTarget, "", {kDev1}, 0), TBS_ST_PERMISSION);
  EXPECT_NE(host->TranscriptText().find("[message box, error]"), std::string::npos) << host->TranscriptText();

  CallLog::InjectFailure("cmd_merge", Failure{TBS_ST_INTERRUPTED, {{IMSG_ERROR, "stopped\n"}}, 1});
  const std::size_t shown = host->Transcript().size();
  EXPECT_EQ(rvMergeFiles(kTarget, "", {kDev1}, 0), TBS_ST_INTERRUPTED);
  EXPECT_EQ(host->Transcript().size(), shown) << "no box for a merge the user stopped";

  // A failure with nothing said still says that the merge failed.
  CallLog::InjectFailure("cmd_merge", Failure{TBS_ST_FAILURE, {}, 1});
  host->OnMessage("Error merging files.\r\n").Click("OK");
  EXPECT_EQ(rvMergeFiles(kTarget, "", {kDev1}, 0), TBS_ST_FAILURE);
  EXPECT_EQ(Target(), "a\nb\nc\nd\ne\nf\nG\n");
}

TEST_F(MergeFilesTest, NoStorageAreaIs1062AndNothingElseHappens) {
  client_local::CallLogScope log;
  CallLog::InjectFailure("stg_create_area", Failure{TBS_ST_NO_MEMORY, {}, 1});
  EXPECT_EQ(rvMergeFiles(kTarget, "", {kDev1}, 0), TBS_ST_NO_MEMORY);
  EXPECT_TRUE(CallLog::Calls("cmd_merge").empty());
  EXPECT_TRUE(host->Transcript().empty()) << host->TranscriptText();
  EXPECT_EQ(Target(), "a\nb\nc\nd\ne\nf\nG\n");
}

TEST_F(MergeFilesTest, ABadTargetIsRefusedInTheBoxAndChangesNothing) {
  host->OnMessage("Error merging files.\r\n\"C:\\notes.txt\" is not a file through a view").Click("OK");
  EXPECT_EQ(rvMergeFiles("C:\\notes.txt", "", {kDev1}, 0), TBS_ST_INVALID_ARG);
  EXPECT_EQ(MergedInto(checked_out), 0u);
}

}  // namespace
