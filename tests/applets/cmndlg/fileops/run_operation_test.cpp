// An entry's whole run with an operation of the tests' own: the count it
// returns, the usage event, the caller's window, and exceptions.
#include <gtest/gtest.h>

#include <stdexcept>

#include "fileops/common_operation.h"
#include "rvcmndlg/file_operation_list.h"
#include "fileops/run_operation.h"
#include "support/operation_fixture.h"
#include "gcl_status.h"
#include "local/store.h"
#include "local/usage.h"
#include "platform/dialog.h"
#include "platform/hosts.h"
#include "platform/registry.h"
#include "res/resource_ids.h"

namespace {

using namespace rvcmndlg::res;

class Throwing : public CCommonOperation {
 public:
  using CCommonOperation::CCommonOperation;

 protected:
  void ProcessFile(GCL_Status&, CFileItem& item) override {
    if (item.DisplayName() == "boom") throw std::runtime_error("the repository went away");
  }
};

using RunOperationTest = OperationFixture;

TEST_F(RunOperationTest, AnExceptionInsideTheWorkIsThatFilesFailureAndTheRunGoesOn) {
  CFileOperationList list;
  for (const char* f : {"a", "boom", "c"}) list.AddFile(f);
  for (int show : {1, 0}) {
    const int succeeded = RunFileOperation(list, &caller, show, OperationRun{IDS_CHECKING_IN, IDR_AVI_CHECKIN, "rvCheckinOp"},
                                           [](CProgressDlg& progress, plat::ObjectArray& entries) {
                                             return std::make_unique<Throwing>(progress, entries);
                                           });
    EXPECT_EQ(succeeded, 2);
    EXPECT_EQ(list.Entry(1)->Status(), COperationObj::kFailed);
    EXPECT_EQ(list.Entry(1)->Messages(), "the repository went away\n");
    EXPECT_TRUE(caller.IsEnabled());
  }
  const auto usage = client_local::UsageLog();
  ASSERT_EQ(usage.size(), 2u);
  EXPECT_EQ(usage[0].event, "rvCheckinOp");
  EXPECT_EQ(usage[0].number, 3);
}

TEST_F(RunOperationTest, AnEmptyListRunsNothingAndReturnsZero) {
  CFileOperationList list;
  int made = 0;
  EXPECT_EQ(RunFileOperation(list, &caller, 1, OperationRun{IDS_RESERVING, IDR_AVI_OTHER, "rvReserveOp"},
                             [&made](CProgressDlg& progress, plat::ObjectArray& entries) {
                               ++made;
                               return std::make_unique<Throwing>(progress, entries);
                             }),
            0);
  EXPECT_EQ(made, 1);
  EXPECT_TRUE(host->Transcript().empty()) << "no prompt, no progress for a quick empty run";
}

TEST_F(RunOperationTest, AFactoryThatThrowsBecomesAnErrorBoxNotACrash) {
  CFileOperationList list;
  list.AddFile("a");
  host->OnMessage("cannot make the operation").Click("OK");
  EXPECT_EQ(RunFileOperation(list, &caller, 1, OperationRun{IDS_CHECKING_OUT, IDR_AVI_CHECKOUT, "rvCheckoutOp"},
                             [](CProgressDlg&, plat::ObjectArray&) -> std::unique_ptr<CCommonOperation> {
                               throw std::runtime_error("cannot make the operation");
                             }),
            0);
  EXPECT_TRUE(caller.IsEnabled());
  EXPECT_TRUE(host->Unmet().empty());
}

}  // namespace
