// rvdlg registry: listing, showing and changing the sample registry as a
// person sees it, and every refusal as one line with exit status 1.
#include <optional>

#include "platform/machine.h"
#include "rvdlg_fixture.h"

namespace {

class RvdlgRegistry : public rvdlg::test::RvdlgTest {
 protected:
  void SetUp() override {
    RvdlgTest::SetUp();
    ASSERT_EQ(Run({"init"}), 0) << err.str();
    host = plat::MachineInfo().host_name;
  }
  void TearDown() override {
    plat::SetMachineProfile(std::nullopt);
    RvdlgTest::TearDown();
  }
  std::string host;
};

TEST_F(RvdlgRegistry, ListsALineForEachEntry) {
  struct Case {
    const char* what;
    std::vector<std::string> lines;
  };
  const std::string store = "\\\\" + host + "\\c$\\rvdlg\\vobstore\\";
  for (const Case& c : {Case{"tags", {"\\private  private  " + store + "private.vbs", "\\public  public  " + store + "public.vbs"}},
                        Case{"objects", {"  " + host + "  C:\\rvdlg\\vobstore\\private.vbs"}},
                        Case{"regions", {"rvdlg (default)  the sample region of rvdlg"}},
                        Case{"hosts", {host}}}) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(Run({"registry", "list", c.what}), 0) << err.str();
    for (const std::string& line : c.lines) EXPECT_TRUE(OutHas(line + "\n")) << out.str();
    EXPECT_EQ(err.str(), "");
  }
  EXPECT_EQ(Run({"registry", "list", "views"}), 2);
}

TEST_F(RvdlgRegistry, SetChangesWhatDiffersAndAFreshRunShowsIt) {
  ASSERT_EQ(Run({"registry", "set", "\\public", "--comment", "shared sources", "--options", "ro,", "--private"}), 0)
      << err.str();
  EXPECT_EQ(out.str(), "\\public: changed comment, mount options, access\n");
  ASSERT_EQ(Run({"registry", "set", "\\public", "--comment", "shared sources"}), 0) << err.str();
  EXPECT_EQ(out.str(), "\\public: nothing to change\n");
  ASSERT_EQ(Run({"registry", "show", "\\public", "server"}), 0) << err.str();
  EXPECT_TRUE(OutHas("Comment:     shared sources\n")) << out.str();
  EXPECT_TRUE(OutHas("Mount Options: ro,\n")) << out.str();
  EXPECT_TRUE(OutHas("Mount Access:  private\n")) << out.str();
  EXPECT_TRUE(OutHas("Registry on server \"" + host + "\"\n")) << out.str();
}

TEST_F(RvdlgRegistry, RefusalsChangeNothing) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"registry", "set", "\\nosuch", "--comment", "x"}, "set \\nosuch: no such VOB tag"},
      {{"registry", "set", "\\public", "--comment", "x", "--options", "bogus"}, "Unknown mount option \"bogus\""},
      {{"registry", "show", "region:nowhere"}, "show region:nowhere: no such tag, object or region"},
      {{"registry", "rmtag", "\\nosuch"}, "rmtag \\nosuch: no such VOB tag"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(Run(c.args), 1);
    EXPECT_TRUE(ErrHas(c.message)) << err.str();
    EXPECT_EQ(err.str().find('\n'), err.str().size() - 1) << "one line: " << err.str();
  }
  ASSERT_EQ(Run({"registry", "show", "\\public"}), 0);
  EXPECT_TRUE(OutHas("Comment:     sample public VOB\n")) << out.str();
  // Another user may not change the tags this one made.
  plat::MachineProfile other = plat::MachineInfo();
  other.user_name = "someone-else";
  plat::SetMachineProfile(other);
  EXPECT_EQ(Run({"registry", "set", "\\public", "--comment", "mine now"}), 1);
  EXPECT_TRUE(ErrHas("only its creator or a privileged user may change it")) << err.str();
  EXPECT_EQ(Run({"registry", "rmtag", "\\public"}), 1);
  plat::SetMachineProfile(std::nullopt);
  ASSERT_EQ(Run({"registry", "show", "\\public"}), 0);
  EXPECT_TRUE(OutHas("Comment:     sample public VOB\n")) << out.str();
}

TEST_F(RvdlgRegistry, RemovingATagMountedHereIsRefusedThenDone) {
  ASSERT_EQ(Run({"mount", "\\private"}), 0) << err.str();
  EXPECT_EQ(Run({"registry", "rmtag", "\\private"}), 1);
  EXPECT_TRUE(ErrHas("unmount it first")) << err.str();
  ASSERT_EQ(Run({"umount", "\\private"}), 0) << err.str();
  ASSERT_EQ(Run({"registry", "rmtag", "\\private"}), 0) << err.str();
  EXPECT_EQ(out.str(), "\\private: removed\n");
  EXPECT_EQ(Run({"mount", "\\private"}), 1);
  ASSERT_EQ(Run({"registry", "list", "tags"}), 0);
  EXPECT_FALSE(OutHas("\\private")) << out.str();
}

TEST_F(RvdlgRegistry, RegionsAreMadeAndTheirCommentsChanged) {
  ASSERT_EQ(Run({"registry", "region", "far", "--comment", "far away"}), 0) << err.str();
  EXPECT_EQ(out.str(), "far: made\n");
  ASSERT_EQ(Run({"registry", "region", "far", "--comment", "nearer"}), 0) << err.str();
  EXPECT_EQ(out.str(), "far: changed comment\n");
  ASSERT_EQ(Run({"registry", "region", "far"}), 0) << err.str();
  EXPECT_EQ(out.str(), "far: nothing to change\n");
  ASSERT_EQ(Run({"registry", "list", "regions"}), 0);
  EXPECT_EQ(out.str(), "far  nearer\nrvdlg (default)  the sample region of rvdlg\n");
}

}  // namespace
