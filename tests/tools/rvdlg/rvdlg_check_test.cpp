// rvdlg check [--repair] on the sample: what it reports, what it repairs and
// what it never touches.
#include <filesystem>
#include <functional>

#include "rvdlg_fixture.h"

namespace rvdlg {
namespace {

namespace fs = std::filesystem;
using test::RvdlgTest;

class RvdlgCheck : public RvdlgTest {
 protected:
  void SetUp() override {
    RvdlgTest::SetUp();
    ASSERT_EQ(Run({"init"}), 0) << err.str();
  }
};

TEST_F(RvdlgCheck, AFreshSampleAgrees) {
  EXPECT_EQ(Run({"check"}), 0) << out.str();
  EXPECT_TRUE(OutHas(" files, 0 disagreements\n")) << out.str();
  EXPECT_EQ(out.str().find(':'), std::string::npos) << "no disagreement line: " << out.str();
}

struct Fault {
  const char* name;
  const char* file;  // in the sample view
  std::function<void(const fs::path&)> make;
  const char* line;       // what check prints for it
  bool repairable;
};

void Hijack(const fs::path& path) {
  fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
  rv_test::WriteFile(path, rv_test::ReadFile(path) + "edited by hand\n");
}

TEST_F(RvdlgCheck, ReportsEachDisagreementAndRepairsOnlyWhatLosesNothing) {
  const Fault faults[] = {
      {"hijacked", "public/src/hello.c", Hijack, "sample_view public/src/hello.c: hijacked", false},
      {"missing copy", "public/src/hello.c", [](const fs::path& p) { fs::remove(p); },
       "sample_view public/src/hello.c: missing", true},
      {"read-only check-out", "public/src/util.c",
       [](const fs::path& p) { fs::permissions(p, fs::perms(0444)); }, "sample_view public/src/util.c: read-only check-out",
       true},
      {"missing check-out", "public/src/util.c", [](const fs::path& p) { fs::remove(p); },
       "sample_view public/src/util.c: missing check-out", false},
  };
  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.name);
    ASSERT_EQ(Run({"init", "--force"}), 0) << err.str();
    const fs::path path = ViewFile(fault.file);
    const bool existed = fs::exists(path);
    const std::string before = existed ? Read(path) : "";
    fault.make(path);
    const std::string made = fs::exists(path) ? Read(path) : "(none)";

    EXPECT_EQ(Run({"check"}), 1);
    EXPECT_TRUE(OutHas(fault.line)) << out.str();
    EXPECT_TRUE(OutHas(" files, 1 disagreements\n")) << out.str();

    EXPECT_EQ(Run({"check", "--repair"}), fault.repairable ? 0 : 1) << out.str();
    EXPECT_TRUE(OutHas(std::string(fault.line)) && OutHas(fault.repairable ? "; repaired\n" : ")\n")) << out.str();
    EXPECT_TRUE(OutHas(fault.repairable ? ", 1 repaired\n" : ", 0 repaired\n")) << out.str();
    if (fault.repairable) {
      EXPECT_EQ(Read(path), before) << "the store's bytes are back";
      EXPECT_EQ(Run({"check"}), 0) << out.str();
    } else {
      EXPECT_EQ(fs::exists(path) ? Read(path) : "(none)", made) << "left as the user made it";
    }
  }
}

TEST_F(RvdlgCheck, RepairNeverOverwritesACheckoutsEdits) {
  const fs::path util = ViewFile("public/src/util.c");
  Write(util, "my unsaved work\n");
  fs::permissions(util, fs::perms(0444));
  EXPECT_EQ(Run({"check", "--repair"}), 0) << out.str();
  EXPECT_EQ(Read(util), "my unsaved work\n");
  EXPECT_TRUE(rv_test::IsWritable(util));
  // A view-private file is no disagreement, and repair leaves it alone too.
  Write(ViewFile("public/src/scratch.txt"), "mine\n");
  EXPECT_EQ(Run({"check", "--repair"}), 0) << out.str();
  EXPECT_EQ(Read(ViewFile("public/src/scratch.txt")), "mine\n");
}

TEST_F(RvdlgCheck, TheProgramExitsOneOnAHijackedFile) {
  std::string output;
  ASSERT_EQ(Rvdlg({"check"}, &output), 0) << output;
  Hijack(ViewFile("public/src/hello.c"));
  EXPECT_EQ(Rvdlg({"check"}, &output), 1);
  EXPECT_NE(output.find("public/src/hello.c: hijacked"), std::string::npos) << output;
}

}  // namespace
}  // namespace rvdlg
