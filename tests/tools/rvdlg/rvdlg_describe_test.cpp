// rvdlg describe on the sample: elements, versions, branches, named objects,
// files through the view, VOBs, views, tags and hosts; unknown names print
// their status text and the others are still described.
#include <filesystem>
#include <string>
#include <vector>

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

// The change-management objects by selector: their fields and relations.
TEST_F(RvdlgDescribe, ChangeManagementObjectsPrintTheirFieldsAndRelations) {
  const struct {
    const char* selector;
    std::vector<const char*> lines;
  } cases[] = {
      {"stream:hello_dev@\\projects",
       {"  project: hello\n", "  deliver to: hello_int\n", "  foundation baselines: BL2 hello_BL2\n",
        "  activities: fix_greeting\n", "  views: hello_dev_view\n"}},
      {"project:hello@\\projects", {"  integration stream: hello_int\n", "  streams: hello_int hello_dev pat_dev\n"}},
      {"baseline:BL1@\\projects", {"  label status: full\n", "  predecessor: public_INITIAL\n", "  label type: REL1\n"}},
      {"baseline:hello_BL2@\\projects", {"  component: hello_all\n", "  members: BL2\n"}},
      {"baseline:BL1_bad@\\projects", {"  obsolete: yes\n"}},
      {"component:public@\\projects", {"  root directory: \\public@@\n"}},
      {"activity:fix_greeting@\\projects",
       {"  headline: Fix the greeting\n", "  change set: \\public\\src\\hello.c@@\\main\\hello_dev\\1\n"}},
      {"activity:deliver.hello_dev.1@\\projects", {"  state: done\n", "  contributors: fix_greeting\n"}},
      {"activity:tidy_util@\\projects", {"  owner: pat\n"}},
      {"folder:RootFolder@\\projects", {"  projects: hello tracked\n"}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Run({"describe", c.selector}), 0) << c.selector << ": " << err.str();
    EXPECT_TRUE(OutHas(std::string(c.selector) + ":\n")) << out.str();
    for (const char* line : c.lines) EXPECT_TRUE(OutHas(line)) << c.selector << " lacks " << line << out.str();
  }
  EXPECT_EQ(Run({"describe", "stream:nothing@\\projects", "project:hello_dev@\\projects"}), 1);
  EXPECT_TRUE(ErrHas("stream:nothing@\\projects: Not found\n")) << err.str();
  EXPECT_TRUE(ErrHas("There is no object \"stream:nothing@\\projects\".")) << err.str();
  EXPECT_TRUE(ErrHas("project:hello_dev@\\projects: ")) << "a stream is no project: " << err.str();
  EXPECT_EQ(out.str(), "");
}

// A file named from inside a view's directory is described through its view.
TEST_F(RvdlgDescribe, AFileInsideAViewsDirectoryIsNamedThroughItsView) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(ViewFile("public/doc"));
  const int status = Run({"describe", "README.txt", "../src/hello.c"});
  std::filesystem::current_path(before);
  ASSERT_EQ(status, 0) << err.str();
  EXPECT_TRUE(OutHas("\\main\\CHECKEDOUT")) << out.str();
  EXPECT_TRUE(OutHas("Pathname: \\public\\src\\hello.c@@\\main\\2\n")) << out.str();
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
