// The view and VOB entries ask whether the versioning file system is there
// before they do anything.
#include <gtest/gtest.h>

#include "support/operation_fixture.h"
#include "local/calllog.h"
#include "tbs.h"
#include "tbs_rvfs.h"
#include "viewvob/rvfs_check.h"

namespace {

class RvfsCheckTest : public OperationFixture {
 protected:
  void TearDown() override {
    client_local::SetRvfsInstalled(true);
    client_local::CallLog::ClearFailures();
    OperationFixture::TearDown();
  }
  static constexpr const char* kNotInstalled = "This operation is not available because the RVFS is not installed.";
};

TEST_F(RvfsCheckTest, WithTheFileSystemThereNothingIsShown) {
  EXPECT_FALSE(RvfsNotInstalled(&caller));
  EXPECT_TRUE(host->Transcript().empty()) << host->TranscriptText();
}

TEST_F(RvfsCheckTest, WithoutItTheUserIsToldOverTheCallersWindow) {
  client_local::SetRvfsInstalled(false);
  host->OnMessage(kNotInstalled).Click("OK");
  EXPECT_TRUE(RvfsNotInstalled(&caller));
  const std::string text = host->TranscriptText();
  EXPECT_NE(text.find(kNotInstalled), std::string::npos) << text;
  EXPECT_EQ(text.find("Cancel"), std::string::npos) << "OK is the only answer: " << text;
  EXPECT_TRUE(caller.IsEnabled()) << "the caller's window comes back after the box";
}

TEST_F(RvfsCheckTest, ADriverThatCannotAnswerCountsAsMissing) {
  client_local::CallLog::InjectFailure("tbs_rvfs_ws_dyn_flags", client_local::Failure{TBS_ST_FAILURE, {}, 1});
  host->OnMessage(kNotInstalled).Click("OK");
  EXPECT_TRUE(RvfsNotInstalled(nullptr));
}

}  // namespace
