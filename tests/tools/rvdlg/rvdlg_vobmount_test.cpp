// rvdlg mountvob and unmountvob over the sample's VOBs, and the VOBs the
// logon mounts again.
#include <sstream>

#include "commands.h"
#include "local/calllog.h"
#include "logon_vobs.h"
#include "rvcmndlg/home.h"
#include "rvdlg_fixture.h"
#include "tbs.h"

namespace {

using client_local::CallLog;

class RvdlgVobMount : public rvdlg::test::RvdlgTest {
 protected:
  void SetUp() override {
    RvdlgTest::SetUp();
    ASSERT_EQ(Run({"--yes", "init"}), 0) << err.str();
  }
  void TearDown() override {
    CallLog::ClearFailures();
    RvdlgTest::TearDown();
  }

  // A logon function run on the home as rvdlg runs it: its status, with
  // what it printed in out and err.
  int Logon(int (*step)(rvdlg::Context&)) {
    std::string error;
    const auto opened = rvcmndlg::Home::Open(home.string(), &error);
    EXPECT_TRUE(opened) << error;
    std::istringstream in;
    out.str({});
    err.str({});
    rvdlg::Context context{in, out, err, home.string()};
    return step(context);
  }
  std::string Registered() {
    EXPECT_EQ(Logon(rvdlg::ShowLogonVobs), 0) << err.str();
    return out.str();
  }
};

TEST_F(RvdlgVobMount, MountRegistersTheVobAndLogonMountsItAgainOnlyWhenUnmounted) {
  ASSERT_EQ(Run({"--yes", "mountvob", "\\public"}), 0) << err.str();
  EXPECT_TRUE(OutHas("\\public succeeded\n")) << out.str();
  EXPECT_EQ(Run({"mount", "\\public"}), 1) << "mounted already";
  EXPECT_EQ(Registered(), "\\public\n");

  ASSERT_EQ(Run({"umount", "\\public"}), 0) << err.str();
  EXPECT_EQ(Logon(rvdlg::ReconnectVobsAtLogon), 0) << err.str();
  EXPECT_EQ(out.str(), "\\public succeeded\n");
  EXPECT_EQ(Run({"mount", "\\public"}), 1) << "the logon mounted it";
  CallLog::StartRecording();
  EXPECT_EQ(Logon(rvdlg::ReconnectVobsAtLogon), 0) << err.str();
  EXPECT_EQ(out.str(), "\\public succeeded\n");
  EXPECT_TRUE(CallLog::Calls("view_mfs_ioctl").empty()) << "no second mount";
  CallLog::StopRecording();

  ASSERT_EQ(Run({"--yes", "unmountvob", "\\public"}), 0) << err.str();
  EXPECT_TRUE(OutHas("\\public succeeded\n")) << out.str();
  EXPECT_EQ(Registered(), "");
}

TEST_F(RvdlgVobMount, ALogonMountThatFailsIsReportedAndTheVobStaysRegistered) {
  ASSERT_EQ(Run({"--yes", "mountvob", "\\public", "\\private"}), 0) << err.str();
  ASSERT_EQ(Run({"umount", "\\public"}), 0) << err.str();
  ASSERT_EQ(Run({"umount", "\\private"}), 0) << err.str();
  CallLog::InjectFailure("view_mfs_ioctl", client_local::Failure{TBS_ST_FAILURE, {{6, "driver busy\n"}}, 1});
  EXPECT_EQ(Logon(rvdlg::ReconnectVobsAtLogon), 1);
  // Registered in the order mounted, which is the list's.
  EXPECT_EQ(out.str().find("\\private failed\n"), 0u) << out.str();
  EXPECT_TRUE(OutHas("\n    driver busy\n")) << out.str();
  EXPECT_TRUE(OutHas("\n\\public succeeded\n")) << out.str();
  EXPECT_EQ(Registered(), "\\private\n\\public\n");
}

TEST_F(RvdlgVobMount, CancelUnlistedTagsAndAMissingFileSystemFail) {
  const auto cancel = WriteFile("cancel", "window 24320\n  click Cancel\n");
  EXPECT_EQ(Run({"--answers", cancel.string(), "mountvob", "\\public"}), 1);
  EXPECT_TRUE(OutHas("\\public not processed\n")) << out.str();
  EXPECT_TRUE(ErrHas("rvdlg: mountvob: cancelled")) << err.str();
  EXPECT_EQ(Run({"--yes", "unmountvob", "\\public"}), 1) << "not mounted: not listed";
  EXPECT_TRUE(OutHas("\\public not processed\n")) << out.str();
  ASSERT_EQ(Run({"rvfs", "off"}), 0);
  EXPECT_EQ(Run({"--yes", "mountvob"}), 1);
  EXPECT_TRUE(OutHas("the RVFS is not installed")) << out.str();
}

}  // namespace
