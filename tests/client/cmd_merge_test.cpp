// The merge command: merged text in the view's file, merge arrows in the
// repository, the base found along predecessors and merge arrows, conflicts
// and every failure leaving file and repository as they were.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cmd_merge.h"
#include "imsg.h"
#include "support/message_capture.h"
#include "local/calllog.h"
#include "stg.h"
#include "tbs.h"
#include "support/repository.h"
#include "view.h"
#include "cmd_utl.h"

namespace {

using client_local::CallLog;
using client_local::Failure;

constexpr const char* kTarget = "\\\\view\\v1\\public\\src\\merge.c";
constexpr const char* kDev1 = "\\public\\src\\merge.c@@\\main\\dev\\1";

// The merge command on the merge sample, with a storage area for its block.
class MergeCommand : public rv_test::MergeTest {
 protected:
  void SetUp() override {
    MergeTest::SetUp();
    area = stg_create_area(1012);
    ASSERT_NE(area, STG_NULL_AREA);
  }
  void TearDown() override {
    stg_delete_area(area);
    MergeTest::TearDown();
  }

  int Merge(std::vector<const char*> contributors, const char* base = nullptr, int graphical = 0,
            int record_only = 0, const char* target = kTarget) {
    cmd_merge_args_s args;
    args.area = area;
    args.contributors = contributors.empty() ? nullptr : contributors.data();
    args.contributor_count = static_cast<std::uint32_t>(contributors.size());
    args.target = target;
    args.base = base;
    args.graphical = graphical;
    args.mode = graphical ? CMD_MERGE_MODE_GRAPHICAL : CMD_MERGE_MODE_TEXT;
    args.record_only = record_only;
    return cmd_merge(&args);
  }
  int HyperlinkCount(vob_dbid_t version) {
    int count = 0;
    for (vob_dbid_t cursor = 0; vob_obj_next_hlinks(vob, version, &cursor) == 0;) ++count;
    return count;
  }

  stg_area_t area = STG_NULL_AREA;
};

TEST_F(MergeCommand, ACleanMergeTakesBothSidesChangesAndRecordsTheArrowOnce) {
  Write(File("public/src/merge.c"), "a\nb\nc\nD (mine)\ne\nf\nG\n");
  {
    rv_test::MessageCapture messages;
    ASSERT_EQ(Merge({kDev1}), 0) << messages.Text();
    EXPECT_NE(messages.Text().find("Merged \"\\public\\src\\merge.c@@\\main\\dev\\1\" into"), std::string::npos)
        << messages.Text();
    EXPECT_NE(messages.Text().find("Recorded merge arrow from \"\\public\\src\\merge.c@@\\main\\dev\\1\" to "
                                 "\"\\public\\src\\merge.c@@\\main\\CHECKEDOUT\""),
              std::string::npos)
        << messages.Text();
  }
  EXPECT_EQ(Target(), "a\nB\nc\nD (mine)\ne\nf\nG\n") << "dev's change, the view's edit and main's change";
  EXPECT_TRUE(Writable(File("public/src/merge.c")));
  EXPECT_EQ(MergedInto(checked_out), dev1);
  EXPECT_EQ(State(kTarget), VIEW_FILE_CHECKED_OUT);

  // Again: the changes are in already (the arrow makes dev\1 the base).
  rv_test::MessageCapture again;
  ASSERT_EQ(Merge({kDev1}), 0) << again.Text();
  EXPECT_NE(again.Text().find("No changes to merge"), std::string::npos) << again.Text();
  EXPECT_EQ(Target(), "a\nB\nc\nD (mine)\ne\nf\nG\n");
  EXPECT_EQ(HyperlinkCount(checked_out), 1) << "no second arrow";
}

// A contributor named by a view's checked-in file: the view v2 selects
// \main\dev\LATEST, so its read-only merge.c is \main\dev\1.
TEST_F(MergeCommand, AViewsCheckedInFileContributesItsVersionsTextAndArrow) {
  MakeView("v2", "element * \\main\\dev\\LATEST\nelement * \\main\\LATEST\n");
  const char* dev_file = "\\\\view\\v2\\public\\src\\merge.c";
  ASSERT_EQ(State(dev_file), VIEW_FILE_CHECKED_IN);
  ASSERT_EQ(Read(home / "views" / "v2" / "public" / "src" / "merge.c"), "a\nB\nc\nd\ne\nf\ng\n");
  Write(File("public/src/merge.c"), "a\nb\nc\nD (mine)\ne\nf\nG\n");
  rv_test::MessageCapture messages;
  ASSERT_EQ(Merge({dev_file}), 0) << messages.Text();
  EXPECT_EQ(Target(), "a\nB\nc\nD (mine)\ne\nf\nG\n") << "three-way against \\main\\1, as for the version";
  EXPECT_EQ(MergedInto(checked_out), dev1) << "the arrow comes from the version the view's file was loaded from";
  EXPECT_EQ(HyperlinkCount(checked_out), 1);
  // Merged again by its version name: the arrow makes it nothing to do.
  ASSERT_EQ(Merge({kDev1}), 0) << messages.Text();
  EXPECT_NE(messages.Text().find("No changes to merge"), std::string::npos) << messages.Text();
  EXPECT_EQ(HyperlinkCount(checked_out), 1);
}

TEST_F(MergeCommand, TheBaseFollowsEarlierMergeArrows) {
  ASSERT_EQ(Merge({kDev1}), 0);
  vob_dbid_t main3 = 0;
  ASSERT_EQ(vob_utl_checkin(vob, "\\public\\src\\merge.c", "v1", "merged dev", &main3), 0);
  EXPECT_EQ(MergedInto(main3), dev1) << "the arrow stays with the checked-in version";
  vob_dbid_t dev2 = 0;
  Version(dev_branch, "\\public\\src\\merge.c", "a\nB2\nc\nd\ne\nf\ng\n", &dev2);
  ASSERT_EQ(cmd_utl_checkout(vob, element, "v1", 1, "", &checked_out), 0);
  // With \main\1 as the base, line 2 would conflict (b -> B on main, b -> B2
  // on dev); the arrow makes \main\dev\1 the base, where only dev changed it.
  rv_test::MessageCapture messages;
  ASSERT_EQ(Merge({"\\public\\src\\merge.c@@\\main\\dev\\LATEST"}), 0) << messages.Text();
  EXPECT_EQ(Target(), "a\nB2\nc\nd\ne\nf\nG\n");
  EXPECT_EQ(MergedInto(checked_out), dev2);
}

TEST_F(MergeCommand, ConflictsChangeNothingAndAGraphicalMergeShowsThem) {
  Write(File("public/src/merge.c"), "a\nmine\nc\nd\ne\nf\nG\n");
  for (int graphical : {0, 1}) {
    rv_test::MessageCapture messages;
    EXPECT_EQ(Merge({kDev1}, nullptr, graphical), TBS_ST_FAILURE);
    EXPECT_NE(messages.Text().find("1 conflict (line 2)"), std::string::npos) << messages.Text();
    EXPECT_NE(messages.Text().find("was left unchanged"), std::string::npos) << messages.Text();
    const bool listed = messages.Text().find("<<<<<<< \\\\view\\v1\\public\\src\\merge.c (line 2)\nmine\n"
                                           "||||||| \\public\\src\\merge.c@@\\main\\1\nb\n=======\nB\n"
                                           ">>>>>>> \\public\\src\\merge.c@@\\main\\dev\\1\n") != std::string::npos;
    EXPECT_EQ(listed, graphical == 1) << messages.Text();
    EXPECT_EQ(Target(), "a\nmine\nc\nd\ne\nf\nG\n");
    EXPECT_EQ(MergedInto(checked_out), 0u) << "no arrow for a merge not done";
  }
  // Resolved by hand, the merge is recorded without touching the file.
  Write(File("public/src/merge.c"), "a\nmine and B\nc\nd\ne\nf\nG\n");
  ASSERT_EQ(Merge({kDev1}, nullptr, 0, 1), 0);
  EXPECT_EQ(Target(), "a\nmine and B\nc\nd\ne\nf\nG\n");
  EXPECT_EQ(MergedInto(checked_out), dev1);
}

TEST_F(MergeCommand, WithoutABaseEveryDifferenceIsAConflictAndANamedBaseMerges) {
  Write(File("public/src/theirs.c"), "a\nb\nc\nD\ne\nf\ng\n");  // view-private: no ancestry
  const char* theirs = "\\\\view\\v1\\public\\src\\theirs.c";
  rv_test::MessageCapture messages;
  EXPECT_EQ(Merge({theirs}), TBS_ST_FAILURE);
  EXPECT_NE(messages.Text().find("without a base"), std::string::npos) << messages.Text();
  EXPECT_EQ(Target(), "a\nb\nc\nd\ne\nf\nG\n");
  // With the base named, both contributors' changes come in; only the
  // version gets an arrow.
  ASSERT_EQ(Merge({kDev1, theirs}, "\\public\\src\\merge.c@@\\main\\1"), 0) << messages.Text();
  EXPECT_EQ(Target(), "a\nB\nc\nD\ne\nf\nG\n");
  EXPECT_EQ(MergedInto(checked_out), dev1);
  EXPECT_EQ(HyperlinkCount(checked_out), 1);
  // Identical files need no base.
  Write(File("public/src/same.c"), Target());
  EXPECT_EQ(Merge({"\\\\view\\v1\\public\\src\\same.c"}), 0);
  // A view-private target takes a merge too (no arrow).
  Write(File("public/src/private.c"), "a\nb\nc\nd\ne\nf\ng\nmine\n");
  ASSERT_EQ(Merge({kDev1}, "\\public\\src\\merge.c@@\\main\\1", 0, 0, "\\\\view\\v1\\public\\src\\private.c"), 0);
  EXPECT_EQ(Read(File("public/src/private.c")), "a\nB\nc\nd\ne\nf\ng\nmine\n");
  EXPECT_EQ(HyperlinkCount(dev1), 1) << "only the arrow to the check-out";
}

TEST_F(MergeCommand, TargetsAndContributorsThatCannotBeMergedAreRefusedWithTheirReason) {
  struct Case {
    const char* target;
    const char* contributor;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {"\\\\view\\v1\\public\\src\\hello.c", kDev1, TBS_ST_NOT_FOUND, "is not checked out in view \"v1\""},
      {"\\\\view\\v1\\public\\src", kDev1, TBS_ST_WRONG_KIND, "is a directory"},
      {"\\\\view\\v1\\public\\src\\none.c", kDev1, TBS_ST_NOT_FOUND, "Unable to find"},
      {"\\public\\src\\merge.c", kDev1, TBS_ST_INVALID_ARG, "is not a file through a view"},
      {"\\\\view\\nov\\public\\src\\merge.c", kDev1, TBS_ST_NOT_FOUND, "No such view"},
      {kTarget, "\\public\\src\\merge.c@@\\main\\9", TBS_ST_NOT_FOUND, "Unable to find"},
      {kTarget, "\\public\\src\\merge.c", TBS_ST_WRONG_KIND, "names an element"},
      {kTarget, "\\public\\src@@\\main\\0", TBS_ST_WRONG_KIND, "is not a version of a file element"},
      {kTarget, "\\\\view\\v1\\public\\src", TBS_ST_WRONG_KIND, "is not a plain file"},
      {kTarget, "C:\\elsewhere.c", TBS_ST_NOT_FOUND, "Unable to find"},
  };
  const std::string before = Target();
  for (const Case& c : cases) {
    rv_test::MessageCapture messages;
    EXPECT_EQ(Merge({c.contributor}, nullptr, 0, 0, c.target), c.status) << c.target << " " << c.contributor;
    EXPECT_NE(messages.Text().find(c.message), std::string::npos) << c.target << ": " << messages.Text();
  }
  EXPECT_EQ(Target(), before);
  EXPECT_EQ(HyperlinkCount(dev1), 0);
}

TEST_F(MergeCommand, ABadBlockIs1003AndChangesNothing) {
  const char* one[] = {kDev1};
  const char* null_one[] = {nullptr};
  const std::string long_name = "\\\\view\\v1\\" + std::string(2000, 'x');
  struct Case {
    const char* what;
    cmd_merge_args_s args;
  };
  auto block = [&](auto change) {
    cmd_merge_args_s args;
    args.area = area;
    args.contributors = one;
    args.contributor_count = 1;
    args.target = kTarget;
    change(args);
    return args;
  };
  Case cases[] = {
      {"another version", block([](cmd_merge_args_s& a) { a.version = 4; })},
      {"no area", block([](cmd_merge_args_s& a) { a.area = STG_NULL_AREA; })},
      {"no target", block([](cmd_merge_args_s& a) { a.target = nullptr; })},
      {"a count without contributors", block([](cmd_merge_args_s& a) { a.contributors = nullptr; })},
      {"a null contributor", block([&](cmd_merge_args_s& a) { a.contributors = null_one; })},
      {"a name too long", block([&](cmd_merge_args_s& a) { a.base = long_name.c_str(); })},
  };
  for (Case& c : cases) EXPECT_EQ(cmd_merge(&c.args), TBS_ST_INVALID_ARG) << c.what;
  EXPECT_EQ(cmd_merge(nullptr), TBS_ST_INVALID_ARG);
  EXPECT_EQ(Target(), "a\nb\nc\nd\ne\nf\nG\n");
  EXPECT_EQ(MergedInto(checked_out), 0u);
  // No contributor at all is nothing to do.
  EXPECT_EQ(Merge({}), 0);
  EXPECT_EQ(Target(), "a\nb\nc\nd\ne\nf\nG\n");
}

TEST_F(MergeCommand, AFailureOnTheWayLeavesFileAndRepositoryAsTheyWere) {
  Write(File("public/src/merge.c"), "a\nb\nc\nD (mine)\ne\nf\nG\n");
  // The arrow cannot be made: the merged text is not written either.
  CallLog::InjectFailure("vob_hlink_create", Failure{TBS_ST_PERMISSION, {{IMSG_ERROR, "no permission\n"}}, -1});
  {
    rv_test::MessageCapture messages;
    EXPECT_EQ(Merge({kDev1}), TBS_ST_PERMISSION);
    EXPECT_NE(messages.Text().find("no permission"), std::string::npos) << messages.Text();
  }
  EXPECT_EQ(Target(), "a\nb\nc\nD (mine)\ne\nf\nG\n");
  CallLog::ClearFailures();
  // The file cannot be written: its name fits the file system, but the new
  // file made beside it (the name and a dozen more characters) does not. The
  // arrow already made is taken back with everything else.
  const long name_max = ::pathconf(File("public/src").c_str(), _PC_NAME_MAX);
  ASSERT_GT(name_max, 8);
  const std::string leaf = std::string(static_cast<std::size_t>(name_max) - 2, 'l') + ".c";
  vob_dbid_t long_element = 0;
  ASSERT_EQ(vob_mkelem(vob, ("\\src\\" + leaf).c_str(), 0, "", &long_element), 0);
  Version(long_element, ("\\public\\src\\" + leaf).c_str(), "a\nb\nc\nd\ne\nf\ng\n", nullptr);
  ASSERT_EQ(cmd_utl_checkout(vob, long_element, "v1", 1, "", nullptr), 0);
  const std::string long_target = "\\\\view\\v1\\public\\src\\" + leaf;
  {
    client_local::CallLogScope log;
    rv_test::MessageCapture messages;
    EXPECT_EQ(Merge({kDev1}, "\\public\\src\\merge.c@@\\main\\1", 0, 0, long_target.c_str()), TBS_ST_FAILURE);
    const auto arrows = CallLog::Calls("vob_hlink_create");
    ASSERT_EQ(arrows.size(), 1u);
    EXPECT_EQ(arrows[0].status, 0) << "the arrow was made before the write failed";
    EXPECT_NE(messages.Text().find("Cannot write the merge into"), std::string::npos) << messages.Text();
    EXPECT_EQ(messages.Text().find("Recorded merge arrow"), std::string::npos) << "nothing claims what was undone";
  }
  EXPECT_EQ(HyperlinkCount(dev1), 0) << "the arrow went with the failed merge";
  EXPECT_EQ(Read(File("public/src/" + leaf)), "a\nb\nc\nd\ne\nf\ng\n");
  // The whole command failing says so and does nothing.
  CallLog::InjectFailure("cmd_merge", Failure{TBS_ST_INTERRUPTED, {{IMSG_ERROR, "stopped\n"}}, 1});
  EXPECT_EQ(Merge({kDev1}), TBS_ST_INTERRUPTED);
  EXPECT_EQ(Target(), "a\nb\nc\nD (mine)\ne\nf\nG\n");
  EXPECT_EQ(MergedInto(checked_out), 0u);
}

}  // namespace
