// rvdlg describe on the sample: elements, versions, branches, named objects,
// files through the view, VOBs, views, tags and hosts; unknown names print
// their status text and the others are still described.
#include "rvdlg_fixture.h"

namespace {

class RvdlgDescribe : public rvdlg::test::RvdlgTest {
 protected:
  void SetUp() override {
    RvdlgTest::SetUp();
    ASSERT_EQ(Run({"--yes", "init"}), 0) << err.str();
  }
};

TEST_F(RvdlgDescribe, PrintsElementVersionBranchSelectorAndViewFile) {
  ASSERT_EQ(Run({"describe", "\\public\\src\\hello.c", "\\public\\src\\hello.c@@\\main\\1",
                 "\\public\\src\\hello.c@@\\main\\dev", "brtype:dev@\\public",
                 "\\\\view\\sample_view\\public\\src\\hello.c"}),
            0)
      << err.str();
  for (const char* line :
       {"\\public\\src\\hello.c:\n", "Pathname: \\public\\src\\hello.c@@\n", "Element Type text_file\n",
        "Is Directory: FALSE\n", "Pathname: \\public\\src\\hello.c@@\\main\\1\n",
        "Pathname: \\public\\src\\hello.c@@\\main\\dev\n", "Tag: \\public\n", "OID:  ", "Name: dev\n",
        "Pathname: \\public\\src\\hello.c@@\\main\\2\n"})
    EXPECT_TRUE(OutHas(line)) << line << "\n" << out.str();
  EXPECT_EQ(err.str(), "");
}

TEST_F(RvdlgDescribe, KnowsVobsViewsTagsAndHosts) {
  ASSERT_EQ(Run({"describe", "vob:\\public", "view:sample_view", "vobtag:\\public", "viewtag:sample_view", "host:"}),
            0)
      << err.str();
  for (const char* text : {"Tag: \\public", "VOB replica oid: ", "Tag: sample_view", "Kind: dynamic",
                           "Global Path: \\\\view\\sample_view", "Mount All:            TRUE",
                           "Pool Map:             <UNKNOWN>", "Host Name: ", "Operating System: "})
    EXPECT_TRUE(OutHas(text)) << text << " in\n" << out.str();
  ASSERT_EQ(Run({"describe", "\\\\view\\sample_view\\public\\src\\util.c"}), 0) << err.str();
  EXPECT_TRUE(OutHas("\\main\\CHECKEDOUT")) << out.str();
  for (const char* bad : {"vob:\\nosuch", "view:no such", "vobtag:\\nosuch", "viewtag:", "host:nohost"}) {
    EXPECT_EQ(Run({"describe", bad}), 1) << bad;
    EXPECT_TRUE(ErrHas("Not found")) << bad << ": " << err.str();
  }
}

TEST_F(RvdlgDescribe, UnknownNamesPrintTheStatusTextAndFail) {
  EXPECT_EQ(Run({"describe", "\\public\\src\\nothing.c", "\\public\\src\\hello.c"}), 1);
  EXPECT_TRUE(ErrHas("rvdlg: describe: \\public\\src\\nothing.c: Not found\n")) << err.str();
  EXPECT_TRUE(ErrHas("Unable to find \"\\public\\src\\nothing.c\".")) << err.str();
  EXPECT_TRUE(OutHas("Pathname: \\public\\src\\hello.c@@\n"));  // the others are still described
  EXPECT_EQ(Run({"describe", "lbtype:bad name@\\public"}), 1);
  EXPECT_TRUE(ErrHas("Invalid argument")) << err.str();
  EXPECT_EQ(Run({"describe"}), 2);
}

}  // namespace
