// rvdlg startview, stopview, rmview and logon over the sample's views: what
// is printed, the exit status, and what the views' directories and drives
// hold afterwards.
#include "rvdlg_fixture.h"

#include "local/store.h"
#include "view.h"

namespace {

namespace fs = std::filesystem;

class RvdlgViewOps : public rvdlg::test::RvdlgTest {
 protected:
  void SetUp() override {
    RvdlgTest::SetUp();
    ASSERT_EQ(Run({"--yes", "init"}), 0) << err.str();
  }
  // Runs with an answer file holding the text.
  int Answered(const std::string& answers, std::vector<std::string> args) {
    args.insert(args.begin(), {"--answers", WriteFile("answers", answers).string()});
    return Run(args);
  }
  int StartOnDrive(const std::string& tag, const std::string& drive, bool restart) {
    return Answered("window 24329\n  page All\n  select 24610 " + tag + "\n  select 24607 " + drive + "\n  " +
                        (restart ? "check" : "uncheck") + " 24587\n  click OK\n",
                    {"startview"});
  }
  std::string Link(char letter) const {
    std::error_code error;
    return fs::read_symlink(home / "drives" / std::string(1, letter), error).string();
  }
  // The view stops as it does when the user logs off: its drives and logon
  // entry stay.
  void StopAsAtLogoff(const char* tag) {
    std::string error;
    auto previous = client_local::UseStore(client_local::Store::OpenFile(home / "rvdlg.db", &error));
    EXPECT_EQ(view_mfs_unregister_tag(tag), 0) << error;
    client_local::UseStore(std::move(previous));
  }
  std::string Logon() {
    EXPECT_EQ(Run({"logon", "--show"}), 0) << err.str();
    return out.str();
  }
};

TEST_F(RvdlgViewOps, StartOnADriveStopAndStartAgainKeepTheViewsWork) {
  ASSERT_EQ(StartOnDrive("build_view", "K:", true), 0) << out.str() << err.str();
  EXPECT_TRUE(OutHas("build_view succeeded\n")) << out.str();
  EXPECT_EQ(Link('k'), (home / "views" / "build_view").string());
  EXPECT_EQ(Logon(), "K: build_view\n");

  Write(ViewFile("public/src/util.c"), "edited\n");
  EXPECT_EQ(Run({"--yes", "stopview", "sample_view"}), 0) << out.str() << err.str();
  EXPECT_TRUE(OutHas("sample_view succeeded\n")) << out.str();
  EXPECT_FALSE(fs::exists(home / "views" / "sample_view"));
  EXPECT_EQ(Read(home / "viewstore" / "sample_view.vws" / "public" / "src" / "util.c"), "edited\n");
  ASSERT_EQ(Answered("window 24329\n  page Local\n  select 24614 sample_view\n  click OK\n", {"startview"}), 0) << out.str();
  EXPECT_EQ(Read(ViewFile("public/src/util.c")), "edited\n");

  EXPECT_EQ(Answered("window 24330\n  click Cancel\n", {"stopview"}), 1);
  EXPECT_TRUE(ErrHas("rvdlg: stopview: cancelled")) << err.str();
  EXPECT_EQ(Run({"startview", "--bogus"}), 2);
}

TEST_F(RvdlgViewOps, RemovingWithoutTheDialogRefusesACheckOutAndSkipsANonView) {
  const std::string answers = "message \"If you remove the view\"\n  always\n  click Yes\n"
                              "message \"checked out\"\n  click OK\n";
  EXPECT_EQ(Answered(answers, {"rmview", "--no-dialog", "sample_view", "nothing_here"}), 1);
  EXPECT_TRUE(OutHas("sample_view failed\n    The view \"sample_view\" has \"\\public\\src\\util.c\" checked out"))
      << out.str();
  EXPECT_TRUE(OutHas("nothing_here not processed\n")) << out.str();
  EXPECT_TRUE(fs::exists(ViewFile("public/src/util.c")));

  // A file inside a view's directory names its view.
  EXPECT_EQ(Answered("message \"snap_view'\"\n  click Yes\n",
                     {"rmview", "--no-dialog", (home / "views" / "snap_view" / "public").string()}),
            0)
      << out.str() << err.str();
  EXPECT_EQ(out.str().rfind("snap_view succeeded\n", 0), 0u) << out.str();
  EXPECT_FALSE(fs::exists(home / "views" / "snap_view"));
}

TEST_F(RvdlgViewOps, LogonDropsPassingDrivesAndStartsTheRestartedViews) {
  ASSERT_EQ(StartOnDrive("build_view", "J:", true), 0) << out.str();
  ASSERT_EQ(StartOnDrive("remote_view", "L:", false), 0) << out.str();
  EXPECT_EQ(Logon(), "J: build_view\n");
  StopAsAtLogoff("build_view");

  ASSERT_EQ(Run({"logon"}), 0) << out.str() << err.str();
  EXPECT_EQ(out.str(), "J: build_view succeeded\n");
  EXPECT_EQ(Link('j'), (home / "views" / "build_view").string());
  EXPECT_EQ(Link('l'), "") << "a drive without restart is gone";
  EXPECT_TRUE(fs::exists(home / "views" / "build_view" / "public"));

  // A view that cannot start is reported, and its entry stays for next time.
  StopAsAtLogoff("build_view");
  fs::create_directories(home / "views" / "build_view");
  EXPECT_EQ(Run({"logon"}), 1);
  EXPECT_TRUE(OutHas("J: build_view failed\n    ")) << out.str();
  EXPECT_EQ(Logon(), "J: build_view\n");
}

}  // namespace
