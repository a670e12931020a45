// rvdlg --gui: the graphical host on the sample repository, offscreen, with
// Qt's real buttons clicked as a person would.
#include <sys/stat.h>

#include "rvdlg_fixture.h"
#include "support/env_scope.h"
#include "support/qt_user.h"

namespace rvdlg {
namespace {

using test::RvdlgTest;

TEST_F(RvdlgTest, GuiUncheckoutClickedYesRestoresTheFileReadOnlyAsTheScriptedRunDoes) {
  rv_test::OffscreenApp();
  ASSERT_EQ(Run({"init"}), 0) << err.str();
  const auto util = ViewFile("public/src/util.c");
  const std::string selected_before = Read(util);
  Write(util, selected_before + "my edits\n");
  rv_test::PersonAtTheScreen person;
  person.Click("Confirm Undo Check Out", 6);  // Yes
  ASSERT_EQ(Run({"--gui", "uncheckout", util.string()}), 0) << err.str() << out.str();
  EXPECT_TRUE(person.Done());
  EXPECT_NE(out.str().find("util.c succeeded\n"), std::string::npos) << out.str();
  struct stat st{};
  ASSERT_EQ(::stat(util.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0222, 0u) << "read-only again";
  EXPECT_NE(Read(util), selected_before + "my edits\n");
}

TEST_F(RvdlgTest, GuiWithoutADisplayExitsTwoNamingTheReason) {
  const EnvScope no_x("DISPLAY", nullptr), no_wayland("WAYLAND_DISPLAY", nullptr), no_qpa("QT_QPA_PLATFORM", nullptr);
  ASSERT_EQ(Run({"init"}), 0) << err.str();
  const auto util = ViewFile("public/src/util.c");
  const std::string before = Read(util);
  EXPECT_EQ(Run({"--gui", "uncheckout", util.string()}), 2);
  EXPECT_EQ(err.str(), "rvdlg: --gui: no display: neither DISPLAY nor WAYLAND_DISPLAY is set\n");
  EXPECT_EQ(Read(util), before);  // nothing happened
  const EnvScope by_variable("RVDLG_HOST", "gui");
  EXPECT_EQ(Run({"uncheckout", util.string()}), 2);
  EXPECT_EQ(Read(util), before);
}

}  // namespace
}  // namespace rvdlg
