// rvdlg add on the sample: the view-private extra.c and tools/build.sh
// become elements.
#include <sys/stat.h>

#include "rvdlg_fixture.h"

namespace rvdlg {
namespace {

using test::RvdlgTest;

class RvdlgAdd : public RvdlgTest {
 protected:
  void SetUp() override {
    RvdlgTest::SetUp();
    ASSERT_EQ(Run({"init"}), 0) << err.str();
  }
  bool WritableFile(const std::string& relative) const {
    struct stat st{};
    return ::stat(ViewFile(relative).c_str(), &st) == 0 && (st.st_mode & 0200) != 0;
  }
};

TEST_F(RvdlgAdd, ExtraCBecomesMain1ReadOnlyAndItsDirectoryGoesBackIn) {
  const std::string bytes = Read(ViewFile("public/src/extra.c"));
  ASSERT_FALSE(bytes.empty());
  ASSERT_EQ(Run({"--yes", "add", ViewFile("public/src/extra.c").string()}), 0) << err.str() << out.str();
  EXPECT_TRUE(OutHas("\\\\view\\sample_view\\public\\src\\extra.c succeeded\n")) << out.str();
  EXPECT_FALSE(WritableFile("public/src/extra.c"));
  EXPECT_EQ(Read(ViewFile("public/src/extra.c")), bytes);
  ASSERT_EQ(Run({"describe", "\\public\\src\\extra.c@@\\main\\1", "\\\\view\\sample_view\\public\\src"}), 0)
      << err.str();
  EXPECT_FALSE(OutHas("CHECKEDOUT")) << out.str();
  // Done once: a second time it is an element already.
  EXPECT_EQ(Run({"--yes", "add", ViewFile("public/src/extra.c").string()}), 1);
  EXPECT_TRUE(OutHas("extra.c failed\n    Item is already an element.")) << out.str();
}

TEST_F(RvdlgAdd, ADirectoryAndItsFileInOneRunAndTheOptions) {
  ASSERT_EQ(Run({"--yes", "add", ViewFile("public/tools").string(), ViewFile("public/tools/build.sh").string()}), 0)
      << err.str() << out.str();
  EXPECT_TRUE(OutHas("public\\tools succeeded\n")) << out.str();
  EXPECT_TRUE(OutHas("public\\tools\\build.sh succeeded\n")) << out.str();
  EXPECT_FALSE(WritableFile("public/tools/build.sh"));
  ASSERT_EQ(Run({"describe", "\\public\\tools@@\\main\\1", "\\public\\tools\\build.sh@@\\main\\1"}), 0) << err.str();

  Write(ViewFile("public/src/kept.c"), "kept\n");
  ASSERT_EQ(Run({"add", "--keep", "--comment", "kept one", ViewFile("public/src/kept.c").string()}), 0) << out.str();
  EXPECT_TRUE(WritableFile("public/src/kept.c"));
  EXPECT_EQ(Run({"add", "--bogus", ViewFile("public/src/kept.c").string()}), 2);
}

}  // namespace
}  // namespace rvdlg
