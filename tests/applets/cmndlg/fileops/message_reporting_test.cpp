// How the repository's messages reach the user: callbacks by kind, the
// message window of long work, and the shared boxes.
#include <gtest/gtest.h>

#include "fileops/common_status.h"
#include "fileops/imsg_callback.h"
#include "fileops/imsg_progress_dlg.h"
#include "imsg.h"
#include "platform/dialog.h"
#include "platform/hosts.h"
#include "platform/message.h"
#include "platform/sync.h"
#include "res/resource_ids.h"
#include "support/ui.h"

namespace {

bool SameRouting(const imsg_redirect_procs_t& a) {
  imsg_redirect_procs_t now;
  imsg_get_redirect_procs(&now);
  return now == a;
}

class Kinds : public CIMsgCallBack {
 public:
  std::string log;
  void OnNotice(const char* t) override { log += "0:" + std::string(t); }
  void OnTrace(const char* t) override { log += "3:" + std::string(t); }
  void OnError(const char* t) override { log += "6:" + std::string(t); }
  void OnInternalError(const char* t) override { log += "10:" + std::string(t); }
};

TEST(MessageCallBack, InstalledOnceAndUninstalledOnlyWhenInstalled) {
  imsg_redirect_procs_t before;
  imsg_get_redirect_procs(&before);
  Kinds callback;
  callback.Uninstall();
  EXPECT_TRUE(SameRouting(before)) << "never installed: nothing changes";
  callback.Install();
  callback.Install();
  imsg_print_text(IMSG_NOTICE, "n\n");
  imsg_print_text(IMSG_TRACE, "t\n");
  imsg_print_text(IMSG_ERROR, "e\n");
  imsg_print_text(IMSG_INTERNAL_ERROR, "i\n");
  callback.Uninstall();
  EXPECT_TRUE(SameRouting(before)) << "one uninstall undoes the double install";
  callback.Uninstall();
  EXPECT_TRUE(SameRouting(before));
  EXPECT_EQ(callback.log, "0:n\n3:t\n6:e\n10:i\n");
}

TEST(MessageCallBack, TheProgressCallBackShowsAndKeepsOnlyWhatUsersRead) {
  CIMsgProgressCallBack callback;
  callback.Install();
  const char mark[] = {IMSG_STYLE_MARK, IMSG_STYLE_BOLD, 0};
  imsg_print_text(IMSG_NOTICE_CONT, (std::string("note ") + mark + "bold\n").c_str());
  imsg_print_text(IMSG_VERBOSE, "verbose\n");
  imsg_print_text(IMSG_WARNING_CONT, "warned\n");
  imsg_print_text(IMSG_DEBUG, "debug\n");
  imsg_print_text(IMSG_OUTPUT, "output\n");
  callback.Uninstall();
  imsg_print_text(IMSG_OUTPUT, "after\n");
  EXPECT_EQ(callback.Text(), "note bold\nwarned\n");
  const bool expected[] = {true, false, false, false, true, false, false, false, false, false, false};
  for (int kind = 0; kind < 11; ++kind) EXPECT_EQ(callback.Seen(kind), expected[kind]) << kind;
  EXPECT_FALSE(callback.Seen(11));
  EXPECT_FALSE(callback.Seen(-1));
}

class BoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::SetAppName("Tools");
  }
  plat::test::ScriptedUser host;
};

TEST_F(BoxTest, TheStatusBoxShowsOnlyWhenThereIsSomethingToSay) {
  GCL_Status clean;
  ShowStatusBox(nullptr, "Changes saved.", clean);
  EXPECT_TRUE(host->Transcript().empty());
  GCL_Status failed(1002);
  host->OnMessage("Could not read the label.\r\n").Click("OK");
  ShowStatusBox(nullptr, "Could not read the label.", failed);
  EXPECT_NE(host->TranscriptText().find("[message box, error]"), std::string::npos);
  CCommonStatus warned;  // its collector takes the warning
  imsg_print_text(IMSG_WARNING, "lock is obsolete\n");
  EXPECT_TRUE(warned.HasSomethingToReport());
  host->OnMessage("lock is obsolete").Click("OK");
  warned.Report();
  EXPECT_NE(host->TranscriptText().find("[message box, information]"), std::string::npos);
}

TEST_F(BoxTest, TheRedirectorBoxJoinsTheModelsMessages) {
  {
    CErrorMsgHandler handler;
    ShowRedirectorBox(nullptr, 0, handler);  // empty and no error: nothing
    imsg_print_text(IMSG_ERROR, "stream is locked\n");
    imsg_print_text(IMSG_ERROR_CONT, "try later\n");
    EXPECT_EQ(handler.AllMessages(), "stream is locked\ntry later\n");
    host->OnMessage("stream is locked\ntry later").Click("OK");
    ShowRedirectorBox(nullptr, 1, handler);
  }
  EXPECT_NE(host->TranscriptText().find("[message box, error]"), std::string::npos);
  host->OnMessage("Plain words").Click("OK");
  ShowPlainBox(nullptr, "Plain words");
}

TEST_F(BoxTest, TheMessageWindowShowsWhatAWorkerPrintsAndGivesTheOwnerBack) {
  plat::DialogTemplate t;
  t.id = 902;
  t.caption = "Views";
  plat::AppResources().AddDialog(t);
  plat::Dialog owner(902);
  ASSERT_TRUE(owner.Create());
  {
    CIMsgProgressDlg window(rvcmndlg::res::IDS_REMOVING_VIEW);
    ASSERT_TRUE(window.Create(&owner));
    EXPECT_FALSE(owner.IsEnabled());
    EXPECT_EQ(window.Text(), "Removing View...");
    plat::WorkerThread worker([&] {
      window.SetLine1("my_view");
      imsg_print_text(IMSG_NOTICE, "Removing references from VOB \"\\public\".\n");
      imsg_print_text(IMSG_TRACE, "not for the user\n");
      window.StopRunning();
      return 0;
    });
    window.RunModalLoop();
    worker.Join();
    plat::PumpPendingMessages();
    EXPECT_EQ(window.GetDlgItemText(rvcmndlg::res::IDC_PROGRESS_LINE1), "my_view");
    EXPECT_EQ(window.GetDlgItemText(rvcmndlg::res::IDC_PROGRESS_LINE2), "Removing references from VOB \"\\public\".\n");
    EXPECT_TRUE(window.Callback().Seen(0));
  }
  EXPECT_TRUE(owner.IsEnabled());
}

}  // namespace
