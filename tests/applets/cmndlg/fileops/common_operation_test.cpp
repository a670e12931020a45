// The per-file loop of every file operation, driven by an operation of the
// tests' own: outcomes, the error box, Cancel, the series flags and the
// message routing around the run.
#include <gtest/gtest.h>

#include <functional>

#include "fileops/common_operation.h"
#include "rvcmndlg/file_operation_list.h"
#include "fileops/progress_dlg.h"
#include "support/operation_fixture.h"
#include "gcl_status.h"
#include "imsg.h"
#include "local/calllog.h"
#include "local/store.h"
#include "platform/dialog.h"
#include "platform/hosts.h"
#include "platform/message.h"
#include "platform/registry.h"
#include "res/resource_ids.h"

namespace {

using namespace rvcmndlg::res;

// Fails the files whose names start with "bad", printing an error as the
// repository would; can ask to cancel or skip at a given file.
class TestOperation : public CCommonOperation {
 public:
  using CCommonOperation::CCommonOperation;
  int report_id = IDS_ERROR_CHECKIN;
  bool ask = true;  // show the error box (as SuppressErrors off)
  bool stop_on_cancel_answer = false;
  std::function<void(int index, TestOperation&)> during;
  std::vector<std::string> seen;
  int begun = 0, ended = 0;
  std::atomic<int> index{0};
  void Cancel() { m_cancelled = 1; }
  void Skip() { m_skipCurrent = 1; }

 protected:
  void BeginRun() override { ++begun; }
  void EndRun() override { ++ended; }
  void ProcessFile(GCL_Status& status, CFileItem& item) override {
    seen.push_back(item.DisplayName());
    if (during) during(index, *this);
    ++index;
    if (item.DisplayName().rfind("bad", 0) == 0) {
      imsg_print(IMSG_ERROR, "cannot process \"%s\"\n", item.DisplayName());
      status.set_code(1001);
    } else {
      imsg_print(IMSG_NOTICE, "processed %s\n", item.DisplayName());
    }
  }
  bool ContinueAfterError(GCL_Status& status, CFileItem& item) override {
    if (!ask) return true;
    const bool go_on = ReportAndAsk(status, &item, report_id);
    return stop_on_cancel_answer ? go_on : true;
  }
};

class CommonOperationTest : public OperationFixture {
 protected:
  void SetUp() override {
    OperationFixture::SetUp();
    plat::SetAppName("Explorer");
  }
  // What an entry function does: the progress window over the caller, the
  // operation on its worker, the loop on this thread.
  int RunOperation(CFileOperationList& list, const std::function<void(TestOperation&)>& setup = {}) {
    CProgressDlg progress(IDS_CHECKING_IN, IDR_AVI_CHECKIN, 1);
    EXPECT_TRUE(progress.Create(&caller));
    TestOperation operation(progress, list);
    if (setup) setup(operation);
    operation.Start();
    progress.RunModalLoop();
    operation.Join();
    last_seen = operation.seen;
    return operation.SuccessCount();
  }
  static std::vector<int> Statuses(CFileOperationList& list) {
    std::vector<int> out;
    for (int i = 0; i < list.GetSize(); ++i) out.push_back(list.Entry(i)->Status());
    return out;
  }
  std::vector<std::string> last_seen;
};

TEST_F(CommonOperationTest, TheSecondOfThreeFailsShowsItsBoxAndTheRunGoesOn) {
  CFileOperationList list;
  for (const char* f : {"C:\\a.c", "bad name.c", "C:\\c.c"}) list.AddFile(f);
  host->OnMessage("Error checking in 'bad name.c'.").Click("OK");
  EXPECT_EQ(RunOperation(list), 2);
  EXPECT_EQ(Statuses(list), (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(list.Entry(0)->Messages(), "processed C:\\a.c\n");
  EXPECT_EQ(list.Entry(1)->Messages(), "cannot process \"bad name.c\"\n");
  const auto text = host->TranscriptText();
  EXPECT_NE(text.find("+-- Explorer -- [message box, error]\n|  Error checking in 'bad name.c'.\n"
                      "|  cannot process \"bad name.c\"\n|  \n|  [1] <OK>*  [2] <Cancel>\n"),
            std::string::npos)
      << text;
  EXPECT_TRUE(caller.IsEnabled());
}

TEST_F(CommonOperationTest, CancelInTheErrorBoxOfReserveStopsAndTheRestAreNotProcessed) {
  CFileOperationList list;
  for (const char* f : {"bad1", "b", "c"}) list.AddFile(f);
  host->OnMessage("Error changing reserved status of  'bad1'.").Click("Cancel");
  EXPECT_EQ(RunOperation(list,
                         [](TestOperation& op) {
                           op.report_id = IDS_ERROR_RESERVE;
                           op.stop_on_cancel_answer = true;
                         }),
            0);
  EXPECT_EQ(Statuses(list), (std::vector<int>{1, 2, 2}));
  EXPECT_EQ(last_seen.size(), 1u);
}

TEST_F(CommonOperationTest, CancelDuringFileKLeavesKAndTheRestNotProcessed) {
  CFileOperationList list;
  for (const char* f : {"a", "b", "c", "d"}) list.AddFile(f);
  // The cancel arrives through the operation's own flag while file 1 runs:
  // whether its Cancel was pressed in a prompt or in the progress window,
  // the current file is not counted as done.
  EXPECT_EQ(RunOperation(list,
                         [](TestOperation& op) {
                           op.during = [](int index, TestOperation& self) {
                             if (index == 1) self.Cancel();
                           };
                         }),
            1);
  EXPECT_EQ(Statuses(list), (std::vector<int>{0, 2, 2, 2}));
}

TEST_F(CommonOperationTest, TheProgressWindowsCancelCountsLikeTheOperationsOwn) {
  CFileOperationList list;
  for (const char* f : {"a", "b", "c"}) list.AddFile(f);
  CProgressDlg progress(IDS_CHECKING_IN, IDR_AVI_CHECKIN, 1);
  ASSERT_TRUE(progress.Create(&caller));
  TestOperation operation(progress, list);
  operation.during = [&progress](int index, TestOperation&) {
    if (index != 0) return;
    // The user presses Cancel in the progress window while file 0 runs.
    progress.AllowShowing();
    plat::RunOnWindowThread(progress, [&progress] {
      plat::PumpPendingMessages();
      plat::ApplyAction(progress, plat::Action{plat::Action::Kind::Click, "Cancel", {}});
    });
  };
  operation.Start();
  progress.RunModalLoop();
  operation.Join();
  EXPECT_EQ(operation.SuccessCount(), 0);
  EXPECT_EQ(Statuses(list), (std::vector<int>{2, 2, 2}));
}

TEST_F(CommonOperationTest, ASkippedFileIsNotProcessedAndTheRunGoesOn) {
  CFileOperationList list;
  for (const char* f : {"a", "b", "c"}) list.AddFile(f);
  EXPECT_EQ(RunOperation(list,
                         [](TestOperation& op) {
                           op.during = [](int index, TestOperation& self) {
                             if (index == 1) self.Skip();
                           };
                         }),
            2);
  EXPECT_EQ(Statuses(list), (std::vector<int>{0, 2, 0}));
}

TEST_F(CommonOperationTest, SeriesFlagsMarkTheFirstAndTheLastFile) {
  client_local::CallLogScope log;
  CFileOperationList list;
  list.AddFile("only");
  EXPECT_EQ(RunOperation(list), 1);
  CFileOperationList three;
  for (const char* f : {"a", "b", "c"}) three.AddFile(f);
  EXPECT_EQ(RunOperation(three), 3);
  std::vector<std::string> flags;
  for (const auto& call : client_local::CallLog::Calls("vob_utl_set_series_next_op"))
    flags.push_back(call.args[0] + call.args[1]);
  EXPECT_EQ(flags, (std::vector<std::string>{"11", "10", "00", "01"}));
}

TEST_F(CommonOperationTest, AFailureWithoutTextStillShowsItsHeadline) {
  CFileOperationList list;
  list.AddFile("quiet");
  class Quiet : public CCommonOperation {
   public:
    using CCommonOperation::CCommonOperation;

   protected:
    void ProcessFile(GCL_Status& status, CFileItem&) override { status.set_code(1001); }
    bool ContinueAfterError(GCL_Status& status, CFileItem& item) override {
      return ReportAndAsk(status, &item, 10);
    }
  };
  host->OnMessage("Error undoing the check out for 'quiet'.").Click("OK");
  CProgressDlg progress(IDS_UNDOING_CHECKOUT, IDR_AVI_OTHER, 0);
  ASSERT_TRUE(progress.Create(&caller));
  Quiet operation(progress, list);
  operation.Start();
  progress.RunModalLoop();
  operation.Join();
  EXPECT_EQ(list.Entry(0)->Status(), 1);
}

TEST_F(CommonOperationTest, ACleanStatusWithTextShowsInformationAndWithoutTextNothing) {
  CFileOperationList list;
  list.AddFile("x");
  CProgressDlg progress(IDS_ADDING_TO_SOURCE, IDR_AVI_OTHER, 0);
  ASSERT_TRUE(progress.Create(&caller));
  class Reporter : public CCommonOperation {
   public:
    using CCommonOperation::CCommonOperation;
    std::vector<bool> answers;

   protected:
    void ProcessFile(GCL_Status&, CFileItem&) override {}
    void EndRun() override {
      GCL_Status clean;
      answers.push_back(ReportAndAsk(clean, nullptr, 0));  // nothing to say: no box
      clean.push_message("2 parent directories checked in\n");
      answers.push_back(ReportAndAsk(clean, nullptr, 0));
    }
  } operation(progress, list);
  host->OnMessage("2 parent directories checked in").Click("Cancel");
  operation.Start();
  progress.RunModalLoop();
  operation.Join();
  EXPECT_EQ(operation.answers, (std::vector<bool>{true, false}));
  EXPECT_NE(host->TranscriptText().find("[message box, information]"), std::string::npos);
}

TEST_F(CommonOperationTest, TheRoutingAndPrefixesAreBackAfterTheRun) {
  imsg_redirect_procs_t before;
  imsg_get_redirect_procs(&before);
  const int prefix = imsg_suppress_prefix(0);
  CFileOperationList list;
  list.AddFile("a");
  EXPECT_EQ(RunOperation(list), 1);
  imsg_redirect_procs_t after;
  imsg_get_redirect_procs(&after);
  EXPECT_TRUE(before == after);
  EXPECT_EQ(imsg_suppress_prefix(prefix), 0) << "the prefix setting came back";
}

TEST_F(CommonOperationTest, AnElementThatIsNoFileEntryIsLeftAlone) {
  CFileOperationList list;
  list.AddFile("a");
  plat::Object stranger;
  list.plat::ObjectArray::Add(&stranger);
  list.AddFile("c");
  EXPECT_EQ(RunOperation(list), 2);
  EXPECT_EQ(last_seen, (std::vector<std::string>{"a", "c"}));
  list.plat::ObjectArray::RemoveAt(1);  // not the list's to delete
}

TEST(FileOperationList, EntriesAndOptionDefaults) {
  plat::Registry::UseMemory();
  client_local::UseStore(client_local::Store::OpenMemory());
  CFileOperationList list;
  EXPECT_EQ(list.m_CIPrompt, 1);
  EXPECT_EQ(list.m_COReserved, 1);
  EXPECT_EQ(list.m_COUnreserved, 0);
  EXPECT_EQ(list.m_UNCOKeepFile, 1);
  EXPECT_EQ(list.m_CIShowProgress, 1);
  EXPECT_EQ(list.m_RESReserve, 1);
  EXPECT_EQ(list.AddFile("C:\\a b.c", 7), 0);
  EXPECT_EQ(list.AddFile(vob_handle_t{3}, 42, "my_view"), 1);
  EXPECT_EQ(list.Entry(0)->m_flags, 7u);
  EXPECT_EQ(list.Entry(1)->m_path, "");
  EXPECT_EQ(list.Entry(1)->m_objectId, 42u);
  EXPECT_THROW(list.GetAt(2), std::invalid_argument);
  EXPECT_THROW(list.RemoveAt(-1), std::invalid_argument);
  list.RemoveAt(0);
  EXPECT_EQ(list.GetSize(), 1);
  EXPECT_EQ(list.Entry(0)->m_viewTag, "my_view");
  client_local::UseStore(nullptr);
}

}  // namespace
