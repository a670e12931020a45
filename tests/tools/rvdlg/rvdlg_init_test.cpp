// rvdlg init: the sample repository under the home with its view directory;
// demo from a fresh sample.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "rvdlg_fixture.h"

namespace {

namespace fs = std::filesystem;

using RvdlgInit = rvdlg::test::RvdlgTest;

TEST_F(RvdlgInit, MakesTheViewDirectoryAsItsConfigSpecSelects) {
  ASSERT_EQ(Run({"--yes", "init"}), 0) << err.str();
  struct Expected {
    const char* file;
    bool writable;
    const char* starts;
  };
  const Expected files[] = {
      {"public/src/hello.c", false, "#include <stdio.h>\nint main(void) { puts(\"hello, world\")"},
      {"public/src/util.c", true, "int twice"},  // the checked-out file
      {"public/doc/README.txt", true, "README of the sample.\nThe sample VOB of rvdlg.\nsrc holds"},  // checked out
      {"private/notes.txt", false, "Private notes."},
  };
  for (const Expected& f : files) {
    ASSERT_TRUE(fs::is_regular_file(ViewFile(f.file))) << f.file;
    EXPECT_EQ(rv_test::IsWritable(ViewFile(f.file)), f.writable) << f.file;
    EXPECT_EQ(Read(ViewFile(f.file)).rfind(f.starts, 0), 0u) << f.file << ": " << Read(ViewFile(f.file));
  }
  EXPECT_TRUE(OutHas("view sample_view")) << out.str();
  // The views of the change-management sample show their streams' versions.
  const struct {
    const char* file;
    const char* starts;
  } stream_files[] = {
      {"hello_dev_view/public/src/hello.c", "#include <stdio.h>\nint main(void) { puts(\"Hello, world!\")"},
      {"hello_int_view/public/src/hello.c", "#include <stdio.h>\nint main(void) { puts(\"hello, world\")"},
      {"tracked_dev_view/public/src/util.c", "int twice(int n) { return 2 * n; }\nint thrice"},
  };
  for (const auto& f : stream_files) {
    const fs::path file = home / "views" / f.file;
    ASSERT_TRUE(fs::is_regular_file(file)) << f.file;
    EXPECT_FALSE(rv_test::IsWritable(file)) << f.file;
    EXPECT_EQ(Read(file).rfind(f.starts, 0), 0u) << f.file << ": " << Read(file);
  }
}

// rel1_view shows release 1 and holds README.txt checked out; \private's
// notes are mastered by the replica remote, whose mastership tsldlg, built
// next to rvdlg, requests.
TEST_F(RvdlgInit, TheReleaseViewAndTheRemoteReplica) {
  ASSERT_EQ(Run({"--yes", "init"}), 0) << err.str();
  EXPECT_TRUE(OutHas("view rel1_view")) << out.str();
  EXPECT_TRUE(OutHas("replica remote of \\private")) << out.str();
  const fs::path rel1 = home / "views" / "rel1_view";
  EXPECT_EQ(Read(rel1 / "public/src/hello.c"), "#include <stdio.h>\nint main(void) { puts(\"hello\"); return 0; }\n")
      << "REL1's text";
  EXPECT_TRUE(rv_test::IsWritable(rel1 / "public/doc/README.txt"));
  ASSERT_EQ(Run({"describe", "\\\\view\\rel1_view\\public\\src\\hello.c"}), 0) << err.str();
  EXPECT_TRUE(OutHas("\\public\\src\\hello.c@@\\main\\1")) << out.str();
  std::string said;
  const std::string tsldlg = (fs::path(RVDLG_BINARY).parent_path() / "tsldlg").string();
  EXPECT_EQ(Program(tsldlg, {"--home", home.string(), "/reqmaster", "/objects", "\\private\\notes.txt@@\\main",
                             "/RFMProgress"},
                    &said),
            0)
      << said;
  EXPECT_EQ(said, "tsldlg: mastership of \\private\\notes.txt@@\\main requested from replica remote\n");
}

TEST_F(RvdlgInit, AnExistingRepositoryIsKeptUnlessForced) {
  ASSERT_EQ(Run({"--yes", "init"}), 0) << err.str();
  std::ofstream(ViewFile("public/src/util.c")) << "my work\n";
  std::ofstream(ViewFile("public/src/mine.txt")) << "mine\n";
  EXPECT_EQ(Run({"--yes", "init"}), 0);
  EXPECT_TRUE(OutHas("already exists")) << out.str();
  EXPECT_TRUE(OutHas("rvdlg init --force")) << out.str();
  EXPECT_EQ(Read(ViewFile("public/src/util.c")), "my work\n");
  EXPECT_EQ(Read(ViewFile("public/src/mine.txt")), "mine\n");
  ASSERT_EQ(Run({"--yes", "init", "--force"}), 0) << err.str();
  EXPECT_TRUE(OutHas("Made the sample repository")) << out.str();
  ASSERT_EQ(Run({"describe", "activity:fix_garbled@\\projects"}), 0) << err.str();
  EXPECT_TRUE(OutHas("Tracklane record: SAMPL00000001\n")) << "the records start again: " << out.str();
  EXPECT_EQ(Read(ViewFile("public/src/util.c")).rfind("int twice", 0), 0u);
  EXPECT_FALSE(fs::exists(ViewFile("public/src/mine.txt")));
}

TEST_F(RvdlgInit, ADirectoryInTheWayOfTheViewIsLeftAlone) {
  fs::create_directories(home / "views" / "sample_view");
  std::ofstream(home / "views" / "sample_view" / "keep.txt") << "keep\n";
  EXPECT_EQ(Run({"--yes", "init"}), 0);  // something is there: kept, with the message
  EXPECT_TRUE(OutHas("already exists")) << out.str();
  EXPECT_EQ(Run({"--yes", "init", "--force"}), 1);
  EXPECT_NE(err.str().find("in the way"), std::string::npos) << err.str();
  EXPECT_EQ(Read(home / "views" / "sample_view" / "keep.txt"), "keep\n");
  EXPECT_EQ(Run({"describe", "vob:\\public"}), 1) << "nothing was made";
}

TEST_F(RvdlgInit, TheDemoStartsFromAFreshSample) {
  ASSERT_EQ(Run({"--yes", "init"}), 0) << err.str();
  std::ofstream(ViewFile("public/src/util.c")) << "stale work\n";
  ASSERT_EQ(Run({"demo"}), 0) << err.str();
  EXPECT_TRUE(OutHas("Made the sample repository")) << out.str();
  EXPECT_TRUE(OutHas("\\public\\src\\util.c@@\\main\\CHECKEDOUT")) << out.str();
  EXPECT_EQ(Read(ViewFile("public/src/util.c")).rfind("int twice", 0), 0u);
}

}  // namespace
