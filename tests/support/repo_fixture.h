#pragma once
// A scratch repository in an in-memory store: the VOB \public with the
// directory \src, the file \src\hello.c with versions \main\0..2 (label REL1
// on \main\1) and a branch \main\dev sprouting from \main\1, and a
// hyperlink "Merge" from \main\dev\0 to \main\2.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cmd_utl.h"
#include "local/calllog.h"
#include "local/store.h"
#include "vob.h"

namespace rvl_test {

struct SampleRepository {
  vob_handle_t vob = 0;
  vob_dbid_t src = 0, hello = 0, main_branch = 0, v0 = 0, v1 = 0, v2 = 0, dev = 0, dev0 = 0, merge = 0;
};

// Builds the sample into the store in force; false with a failed assertion
// when a call fails.
inline void BuildSample(SampleRepository& r) {
  ASSERT_EQ(vob_create("\\public", "sample VOB", &r.vob), 0);
  ASSERT_EQ(vob_mkelem(r.vob, "\\src", 1, "sources", &r.src), 0);
  ASSERT_EQ(vob_mkelem(r.vob, "\\src\\hello.c", 0, "greeting", &r.hello), 0);
  ASSERT_EQ(vob_resolve_ver(r.vob, "\\src\\hello.c@@\\main\\0", &r.v0), 0);
  for (vob_dbid_t* version : {&r.v1, &r.v2}) {
    vob_dbid_t out = 0;
    ASSERT_EQ(cmd_utl_checkout(r.vob, r.hello, "dev_view", 1, "edit", &out), 0);
    ASSERT_EQ(vob_ver_set_contents(r.vob, out, version == &r.v1 ? "hello 1\n" : "hello 2\n"), 0);
    ASSERT_EQ(vob_utl_checkin(r.vob, "\\public\\src\\hello.c", "dev_view", "done", version), 0);
  }
  ASSERT_EQ(vob_ver_get_branch(r.vob, r.v0, &r.main_branch), 0);
  ASSERT_EQ(vob_mktype(r.vob, VOB_MTYPE_LBTYPE, "REL1", "release 1", nullptr), 0);
  ASSERT_EQ(vob_ver_add_label(r.vob, r.v1, "REL1"), 0);
  ASSERT_EQ(vob_mktype(r.vob, VOB_MTYPE_BRTYPE, "dev", "development", nullptr), 0);
  ASSERT_EQ(vob_mkbranch(r.vob, r.v1, "dev", "branch", &r.dev), 0);
  ASSERT_EQ(vob_branch_get_latest_ver(r.vob, r.dev, &r.dev0), 0);
  ASSERT_EQ(vob_hlink_create(r.vob, "Merge", r.vob, r.dev0, r.vob, r.v2, "", "", &r.merge), 0);
}

class RepositoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    client_local::CallLog::ClearFailures();
    previous_ = client_local::UseStore(client_local::Store::OpenMemory());
    BuildSample(repo);
  }
  void TearDown() override {
    client_local::CallLog::ClearFailures();
    client_local::UseStore(std::move(previous_));
  }

  static client_local::Failure Fail(int status, const std::string& message = {}) {
    client_local::Failure failure;
    failure.status = status;
    if (!message.empty()) failure.messages.push_back({6, message});
    return failure;
  }
  static std::size_t CallCount(const std::string& name) { return client_local::CallLog::Calls(name).size(); }

  SampleRepository repo;

 private:
  std::unique_ptr<client_local::Store> previous_;
};

}  // namespace rvl_test
