// rvdlg tracklane over the sample: installed by init, removed and put back,
// and the records it lists.
#include "rvdlg_fixture.h"

namespace {

using RvdlgTracklane = rvdlg::test::RvdlgTest;

TEST_F(RvdlgTracklane, ListsTheRecordsWhileInstalled) {
  ASSERT_EQ(Run({"--yes", "init"}), 0) << err.str();
  ASSERT_EQ(Run({"tracklane"}), 0) << err.str();
  EXPECT_EQ(out.str(),
            "Tracklane: installed\n"
            "SAMPL00000001 Defect Opened \"The greeting is garbled\"\n"
            "SAMPL00000002 Enhancement Submitted \"Add a farewell\"\n"
            "SAMPL00000003 Defect Closed \"Old build break\"\n");
  ASSERT_EQ(Run({"tracklane", "uninstall"}), 0) << err.str();
  EXPECT_EQ(out.str(), "Tracklane: not installed\n");
  ASSERT_EQ(Run({"tracklane"}), 0) << err.str();
  EXPECT_EQ(out.str(), "Tracklane: not installed\n") << "the machine value is kept";
  ASSERT_EQ(Run({"tracklane", "install"}), 0) << err.str();
  EXPECT_TRUE(OutHas("SAMPL00000002 Enhancement Submitted \"Add a farewell\"\n")) << out.str();
  EXPECT_EQ(Run({"tracklane", "remove"}), 2);
}

}  // namespace
