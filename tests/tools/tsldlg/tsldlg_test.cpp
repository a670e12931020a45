// tsldlg: mastership requests recorded in the home's store and said on
// stdout; objects that name no branch and bad usage.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "local/store.h"
#include "support/scratch_home.h"
#include "tsldlg.h"
#include "vob.h"
#include "vob_ob.h"

namespace {

// A home whose store holds \private\notes.txt with its main branch mastered
// by the replica "remote".
class Tsldlg : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    auto store = client_local::Store::OpenFile(home.Path() / "rvdlg.db", &error);
    ASSERT_TRUE(store) << error;
    client_local::UseStore(std::move(store));
    vob_handle_t vob = 0;
    vob_dbid_t notes = 0, remote = 0, branch = 0;
    std::uint32_t mtype = 0;
    ASSERT_EQ(vob_create("\\private", "", &vob), 0);
    ASSERT_EQ(vob_mkelem(vob, "\\notes.txt", 0, "", &notes), 0);
    ASSERT_EQ(vob_replica_create(vob, "remote", "", &remote), 0);
    ASSERT_EQ(vob_resolve_general(vob, "\\notes.txt@@\\main", &branch, &mtype), 0);
    ASSERT_EQ(vob_obj_set_master(vob, branch, remote), 0);
    client_local::UseStore(nullptr);
  }

  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", home.Path().string()});
    out.str("");
    err.str("");
    return tsldlg::Run(args, out, err);
  }
  // The recorded requests, "object <- replica" each.
  std::vector<std::string> Requests() {
    std::string error;
    auto store = client_local::Store::OpenFile(home.Path() / "rvdlg.db", &error);
    std::vector<std::string> found;
    if (!store) return {error};
    client_local::Statement q(*store, "SELECT object, replica FROM mastership_requests ORDER BY id");
    while (q.Step()) found.push_back(q.Text(0) + " <- " + q.Text(1));
    return found;
  }

  rv_test::ScratchHome home{"rv-tsldlg"};
  std::ostringstream out, err;
};

TEST_F(Tsldlg, EachBranchsRequestIsRecordedAndSaid) {
  // A name longer than any fixed buffer goes through whole.
  const std::string deep = "\\private\\" + std::string(1500, 'd') + "\\notes.txt@@\\main";
  EXPECT_EQ(Run({"/reqmaster", "/objects", "\\private\\notes.txt@@\\main", "/RFMProgress"}), 0) << err.str();
  EXPECT_EQ(out.str(), "tsldlg: mastership of \\private\\notes.txt@@\\main requested from replica remote\n");
  EXPECT_EQ(Requests(), std::vector<std::string>{"\\private\\notes.txt@@\\main <- remote"});

  EXPECT_EQ(Run({"/reqmaster", "/objects", "\\private\\notes.txt@@\\main", "\\private\\gone.txt@@\\main",
                 "\\private\\notes.txt", deep, "/RFMProgress"}),
            1);
  EXPECT_NE(out.str().find("mastership of \\private\\notes.txt@@\\main requested"), std::string::npos);
  EXPECT_NE(err.str().find("\"\\private\\gone.txt@@\\main\" names no branch"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("\"\\private\\notes.txt\" names no branch"), std::string::npos) << "an element";
  EXPECT_NE(err.str().find(deep), std::string::npos) << "the long name whole";
  EXPECT_EQ(Requests().size(), 2u) << "only branches are recorded";
}

TEST_F(Tsldlg, BadUsageChangesNothing) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"/objects", "\\private\\notes.txt@@\\main", "/RFMProgress"},
      {"/reqmaster", "\\private\\notes.txt@@\\main", "/RFMProgress"},
      {"/reqmaster", "/objects", "/RFMProgress"},
      {"/reqmaster", "/objects", "\\private\\notes.txt@@\\main"},
      {"/reqmaster", "/objects", "\\private\\notes.txt@@\\main", "/RFMProgress", "extra"},
      {"--home"},
  };
  for (const auto& args : cases) EXPECT_EQ(Run(args), 2) << args.size();
  EXPECT_TRUE(Requests().empty());
  std::ostringstream no_out, no_err;
  EXPECT_EQ(tsldlg::Run({"--home", (home.Path() / "none").string(), "/reqmaster", "/objects", "x", "/RFMProgress"},
                        no_out, no_err),
            1);
  EXPECT_NE(no_err.str().find("there is no repository"), std::string::npos);
}

}  // namespace
