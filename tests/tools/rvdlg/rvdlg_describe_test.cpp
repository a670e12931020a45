// rvdlg describe: the describe output of an element, a version by extended
// name, a branch and a named object of a repository a fixture builds in the
// scratch home's store; unknown names print their status text.
#include <gtest/gtest.h>

#include <string>

#include "cmd_utl.h"
#include "local/store.h"
#include "rvdlg_fixture.h"
#include "vob.h"

namespace {

class RvdlgDescribe : public rvdlg::test::RvdlgTest {
 protected:
  void SetUp() override {
    RvdlgTest::SetUp();
    std::string error;
    auto store = client_local::Store::OpenFile(home / "rvdlg.db", &error);
    ASSERT_TRUE(store) << error;
    auto previous = client_local::UseStore(std::move(store));
    Build();
    client_local::UseStore(std::move(previous));
  }

  void Build() {
    ASSERT_EQ(vob_create("\\public", "sample", &vob), 0);
    ASSERT_EQ(vob_mkelem(vob, "\\src", 1, "", nullptr), 0);
    ASSERT_EQ(vob_mkelem(vob, "\\src\\hello.c", 0, "greeting", &hello), 0);
    vob_dbid_t checked_out = 0;
    ASSERT_EQ(cmd_utl_checkout(vob, hello, "dev_view", 1, "first words", &checked_out), 0);
    ASSERT_EQ(vob_utl_checkin(vob, "\\public\\src\\hello.c", "dev_view", "checked in", &v1), 0);
    ASSERT_EQ(vob_mktype(vob, VOB_MTYPE_BRTYPE, "dev", "", nullptr), 0);
    ASSERT_EQ(vob_mkbranch(vob, v1, "dev", "", &dev), 0);
  }

  bool OutHas(const std::string& text) const { return out.str().find(text) != std::string::npos; }

  vob_handle_t vob = 0;
  vob_dbid_t hello = 0, v1 = 0, dev = 0;
};

TEST_F(RvdlgDescribe, PrintsElementVersionAndBranch) {
  ASSERT_EQ(Run({"describe", "\\public\\src\\hello.c", "\\public\\src\\hello.c@@\\main\\1",
                 "\\public\\src\\hello.c@@\\main\\dev"}),
            0)
      << err.str();
  for (const std::string& line :
       {std::string("\\public\\src\\hello.c:\n"), std::string("Pathname: \\public\\src\\hello.c@@\n"),
        std::string("Element Type text_file\n"), std::string("Is Directory: FALSE\n"),
        "DBID: " + std::to_string(hello) + "\n", std::string("Comment: greeting\n"),
        std::string("Pathname: \\public\\src\\hello.c@@\\main\\1\n"), "DBID: " + std::to_string(v1) + "\n",
        std::string("Comment: first words\n"), std::string("Pathname: \\public\\src\\hello.c@@\\main\\dev\n"),
        "DBID: " + std::to_string(dev) + "\n", std::string("Tag: \\public\n"), std::string("OID:  ")}) {
    EXPECT_TRUE(OutHas(line)) << line << "\n" << out.str();
  }
  EXPECT_EQ(err.str(), "");
}

TEST_F(RvdlgDescribe, PrintsSelectorsAndViewNames) {
  ASSERT_EQ(Run({"describe", "brtype:dev@\\public", "\\\\view\\dev_view\\public\\src\\hello.c"}), 0) << err.str();
  EXPECT_TRUE(OutHas("Name: dev\n")) << out.str();
  EXPECT_TRUE(OutHas("Pathname: \\public\\src\\hello.c@@\\main\\1\n")) << out.str();
}

TEST_F(RvdlgDescribe, UnknownNamesPrintTheStatusTextAndFail) {
  EXPECT_EQ(Run({"describe", "\\public\\src\\nothing.c", "\\public\\src\\hello.c"}), 1);
  EXPECT_NE(err.str().find("rvdlg: describe: \\public\\src\\nothing.c: Not found\n"), std::string::npos)
      << err.str();
  EXPECT_NE(err.str().find("Unable to find \"\\public\\src\\nothing.c\"."), std::string::npos) << err.str();
  EXPECT_TRUE(OutHas("Pathname: \\public\\src\\hello.c@@\n"));  // the others are still described
  EXPECT_EQ(Run({"describe", "lbtype:bad name@\\public"}), 1);
  EXPECT_NE(err.str().find("Invalid argument"), std::string::npos) << err.str();
  EXPECT_EQ(Run({"describe"}), 2);
}

}  // namespace
