#pragma once
// What a file-operation test starts from: settings and store in memory, a
// scripted user, and the caller's window ("Explorer") over which runs go.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "local/store.h"
#include "platform/dialog.h"
#include "platform/hosts.h"
#include "platform/registry.h"

class OperationFixture : public ::testing::Test {
 protected:
  static constexpr int kCallerTemplate = 901;

  void SetUp() override {
    plat::Registry::UseMemory();
    client_local::UseStore(client_local::Store::OpenMemory());
    host = std::make_shared<plat::ScriptedHost>();
    plat::SetUiHost(host);
    plat::DialogTemplate t;
    t.id = kCallerTemplate;
    t.caption = "Explorer";
    plat::AppResources().AddDialog(t);
    ASSERT_TRUE(caller.Create());
  }
  void TearDown() override {
    EXPECT_EQ(host->Finish(), std::vector<std::string>()) << host->TranscriptText();
    plat::SetUiHost(nullptr);
    client_local::UseStore(nullptr);
  }

  std::shared_ptr<plat::ScriptedHost> host;
  plat::Dialog caller{kCallerTemplate};
};

namespace rv_test {

// The statuses of a list's entries, in order.
template <class List>
std::vector<int> Statuses(const List& list) {
  std::vector<int> out;
  for (int i = 0; i < list.GetSize(); ++i) out.push_back(list.Entry(i)->Status());
  return out;
}

}  // namespace rv_test
