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

namespace {

using client_local::CallLog;
using client_local::Failure;

constexpr const char* kTarget = "\\\\view\\v1\\public\\src\\merge.c";
constexpr const char* kDev1 = "\\public\\src\\merge.c@@\\main\\dev\\1";
constexpr const char* kMain1 = "\\public\\src\\merge.c@@\\main\\1";

// \src\merge.c: \main\1 "a b c d e f g" (a letter a line), \main\dev\1
// changes b to B, \main\2 changes g to G; checked out in v1 from \main\2.
class MergeFilesTest : public rv_test::ViewTest {
 protected:
  void SetUp() override {
    rv_test::ViewTest::SetUp();
    plat::Registry::UseMemory();
    plat::SetAppName("Merger");
    host = std::make_shared<plat::ScriptedHost>();
    plat::SetUiHost(host);
    ASSERT_EQ(vob_mkelem(vob, "\\src\\merge.c", 0, "", &element), 0);
    Version(element, "\\public\\src\\merge.c", "a\nb\nc\nd\ne\nf\ng\n", &main1);
    vob_dbid_t branch = 0;
    ASSERT_EQ(vob_mkbranch(vob, main1, "dev", "", &branch), 0);
    Version(branch, "\\public\\src\\merge.c", "a\nB\nc\nd\ne\nf\ng\n", &dev1);
    Version(element, "\\public\\src\\merge.c", "a\nb\nc\nd\ne\nf\nG\n", nullptr);
    ASSERT_EQ(cmd_utl_checkout(vob, element, "v1", 1, "", &checked_out), 0);
    areas_before = stg_live_area_count();
  }
  void TearDown() override {
    EXPECT_EQ(stg_live_area_count(), areas_before) << "the merge's area is released";
    EXPECT_TRUE(host->Failures().empty()) << host->TranscriptText();
    EXPECT_TRUE(host->Unmet().empty()) << host->TranscriptText();
    plat::SetUiHost(nullptr);
    rv_test::ViewTest::TearDown();
  }
  std::string Target() { return Read(File("public/src/merge.c")); }
  vob_dbid_t MergedInto(vob_dbid_t version) {
    vob_dbid_t from = 0;
    return vob_ver_find_merge(vob, version, &from) == 0 ? from : 0;
  }

  std::shared_ptr<plat::ScriptedHost> host;
  vob_dbid_t element = 0, main1 = 0, dev1 = 0, checked_out = 0;
  int areas_before = 0;
};

TEST_F(MergeFilesTest, ACleanMergeIsAGraphicalMergeOfTheBlockAndShowsNothing) {
  Write(File("public/src/merge.c"), "a\nb\nc\nD\ne\nf\nG\n");
  client_local::CallLogScope log;
  EXPECT_EQ(rvMergeFiles(kTarget, "", {kDev1}, 0), 0);
  EXPECT_EQ(Target(), "a\nB\nc\nD\ne\nf\nG\n");
  EXPECT_EQ(MergedInto(checked_out), dev1);
  EXPECT_TRUE(host->Transcript().empty()) << host->TranscriptText();
  const auto areas = CallLog::Calls("stg_create_area");
  ASSERT_FALSE(areas.empty());
  EXPECT_EQ(areas[0].args, std::vector<std::string>{"1012"});
  const auto merges = CallLog::Calls("cmd_merge");
  ASSERT_EQ(merges.size(), 1u);
  // Version, target, base (none), count, graphical, mode, the caller's flag,
  // then the contributors.
  EXPECT_EQ(merges[0].args, (std::vector<std::string>{"5", kTarget, "(null)", "1", "1", "10", "0", kDev1}));
}

TEST_F(MergeFilesTest, TheBaseAndTheCallersFlagGoIntoTheirOwnFields) {
  Write(File("public/src/merge.c"), "a\nB and b, by hand\nc\nd\ne\nf\nG\n");
  client_local::CallLogScope log;
  EXPECT_EQ(rvMergeFiles(kTarget, kMain1, {kDev1, kMain1}, 1), 0);
  const auto merges = CallLog::Calls("cmd_merge");
  ASSERT_EQ(merges.size(), 1u);
  EXPECT_EQ(merges[0].args, (std::vector<std::string>{"5", kTarget, kMain1, "2", "1", "10", "1", kDev1, kMain1}));
  EXPECT_EQ(Target(), "a\nB and b, by hand\nc\nd\ne\nf\nG\n") << "the flag records the merge only";
  EXPECT_EQ(MergedInto(checked_out), dev1);
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
