// Undo check-out and reserve from the entry to the repository and the
// view's files, answered through the scripted host.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "support/repository.h"
#include "view.h"
#include "cmd_utl.h"
#include "fileops/entry_points.h"
#include "rvcmndlg/file_operation_list.h"
#include "file_query.h"
#include "rvcmndlg/user_options.h"
#include "view_ws.h"
#include "local/calllog.h"
#include "platform/hosts.h"
#include "platform/pathmap.h"
#include "platform/window.h"
#include "platform/registry.h"
#include "res/resource_ids.h"
#include "support/ui.h"

namespace {

using namespace rvcmndlg::res;
using client_local::CallLog;

constexpr const char* kHello = "\\\\view\\v1\\public\\src\\hello.c";
constexpr const char* kUtil = "\\\\view\\v1\\public\\src\\util.c";
constexpr const char* kReadme = "\\\\view\\v1\\public\\doc\\README.txt";

class UncheckoutTest : public rv_test::ViewTest {
 protected:
  void SetUp() override {
    rv_test::ViewTest::SetUp();
    plat::Registry::UseMemory();
  }
  void CheckOut(vob_dbid_t element, const std::string& file, const std::string& edit, const char* view = "v1") {
    vob_dbid_t out = 0;
    ASSERT_EQ(cmd_utl_checkout(vob, element, view, 1, "", &out), 0);
    if (!edit.empty()) Write(File(file), edit);
  }
  static bool ReadOnly(const std::filesystem::path& path) {
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) == 0;
  }
  std::vector<int> Statuses(CFileOperationList& list) {
    std::vector<int> out;
    for (int i = 0; i < list.GetSize(); ++i) out.push_back(list.Entry(i)->Status());
    return out;
  }
  int ReservedIn(const char* name) {
    std::vector<cmd_lscheckout_entry_s> checkouts;
    EXPECT_EQ(cmd_lscheckout_get_list(name, 0, &checkouts), 0);
    return checkouts.size() == 1 ? checkouts[0].reserved : -1;
  }
  plat::test::ScriptedUser host;
};

// While alive, no file of this process may grow (writes fail with EFBIG,
// not a signal): a copy of a file cannot be made.
class NoFileMayGrow {
 public:
  NoFileMayGrow() : previous_handler_(::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit none = previous_;
    none.rlim_cur = 0;
    ::setrlimit(RLIMIT_FSIZE, &none);
  }
  ~NoFileMayGrow() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    ::signal(SIGXFSZ, previous_handler_);
  }
  NoFileMayGrow(const NoFileMayGrow&) = delete;
  NoFileMayGrow& operator=(const NoFileMayGrow&) = delete;

 private:
  rlimit previous_{};
  void (*previous_handler_)(int);
};

TEST_F(UncheckoutTest, YesWithTheBoxTickedKeepsACopyAndPutsTheVersionBack) {
  CheckOut(hello, "public/src/hello.c", "my edits to hello\n");
  CheckOut(util, "public/src/util.c", "my edits to util\n");
  CheckOut(readme, "public/doc/README.txt", "");
  host->OnTemplate(IDD_CONFIRM_UNDO_CHECKOUT).Check(IDC_CONFIRM_UNDO_KEEP).Click("Yes").Times(3);
  CFileOperationList list;
  for (const char* f : {kHello, kUtil, kReadme}) list.AddFile(f);
  EXPECT_EQ(list.Uncheckout(), 3);
  EXPECT_EQ(Read(File("public/src/hello.c")), "hello 2\n");
  EXPECT_TRUE(ReadOnly(File("public/src/hello.c")));
  EXPECT_EQ(Read(File("public/src/hello.c.keep")), "my edits to hello\n");
  EXPECT_EQ(Read(File("public/src/util.c.keep")), "my edits to util\n");
  vob_dbid_t version = 0;
  char view[64];
  ASSERT_EQ(view_ws_lookup_pn(kHello, view, sizeof view, &vob, &version), 0);
  EXPECT_EQ(version, hello2) << "the view selects the checked-in version again";
}

TEST_F(UncheckoutTest, YesToAllAsksOnceAndNoSkipsAFile) {
  CheckOut(hello, "public/src/hello.c", "edit\n");
  CheckOut(util, "public/src/util.c", "edit\n");
  CheckOut(readme, "public/doc/README.txt", "edit\n");
  host->OnTemplate(IDD_CONFIRM_UNDO_CHECKOUT).Click("No");
  host->OnTemplate(IDD_CONFIRM_UNDO_CHECKOUT).Uncheck(IDC_CONFIRM_UNDO_KEEP).Click("Yes to All");
  CFileOperationList list;
  for (const char* f : {kHello, kUtil, kReadme}) list.AddFile(f);
  EXPECT_EQ(list.Uncheckout(), 2);
  EXPECT_EQ(Statuses(list), (std::vector<int>{2, 0, 0}));
  EXPECT_EQ(Read(File("public/src/hello.c")), "edit\n") << "a file the user declined is untouched";
  EXPECT_FALSE(std::filesystem::exists(File("public/src/util.c.keep")));
  EXPECT_EQ(Read(File("public/doc/README.txt")), "read me\n");
}

TEST_F(UncheckoutTest, NoToAllOnTheSecondLeavesTheRestNotProcessed) {
  CheckOut(hello, "public/src/hello.c", "");
  CheckOut(util, "public/src/util.c", "");
  CheckOut(readme, "public/doc/README.txt", "");
  host->OnTemplate(IDD_CONFIRM_UNDO_CHECKOUT).Click("Yes");
  host->OnTemplate(IDD_CONFIRM_UNDO_CHECKOUT).Click("No to All");
  CFileOperationList list;
  for (const char* f : {kHello, kUtil, kReadme}) list.AddFile(f);
  EXPECT_EQ(list.Uncheckout(), 1);
  EXPECT_EQ(Statuses(list), (std::vector<int>{0, 2, 2}));
}

TEST_F(UncheckoutTest, OneFileAndADirectoryGreyTheButtonsTheyCannotUse) {
  vob_dbid_t out = 0;
  ASSERT_EQ(cmd_utl_checkout(vob, src, "v1", 1, "", &out), 0);
  host->OnTemplate(IDD_CONFIRM_UNDO_CHECKOUT).Click("Yes");
  CFileOperationList list;
  EXPECT_EQ(list.Uncheckout("\\\\view\\v1\\public\\src"), 1);
  const auto text = host->TranscriptText();
  EXPECT_NE(text.find("[24595] <Yes to All>(disabled)"), std::string::npos) << text;
  EXPECT_NE(text.find("extension.  (disabled)"), std::string::npos) << "no .keep for a directory";
}

TEST_F(UncheckoutTest, NotCheckedOutHijackedAndMissingFilesFailWithTheirReasons) {
  const auto util_file = File("public/src/util.c");
  ::chmod(util_file.c_str(), 0644);
  Write(util_file, "changed by hand\n");
  Write(File("public/src/private.txt"), "mine\n");
  host->OnMessage("Element is not checked out to view 'v1'.").Click("OK");
  host->OnMessage("The file is currently hijacked.").Click("OK");
  host->OnMessage("Error undoing the check out for '\\\\view\\v1\\public\\src\\gone.c'.").Click("OK");
  CFileOperationList list;
  for (const char* f : {kHello, kUtil, "\\\\view\\v1\\public\\src\\private.txt", "\\\\view\\v1\\public\\src\\gone.c"})
    list.AddFile(f);
  CUserOptions().SetConfirmUncheckout(0);
  EXPECT_EQ(list.Uncheckout(), 1) << "only the view-private file succeeds, doing nothing";
  EXPECT_EQ(Statuses(list), (std::vector<int>{1, 1, 0, 1}));
  EXPECT_EQ(Read(File("public/src/private.txt")), "mine\n");
}

TEST_F(UncheckoutTest, AKeepCopyNeverOverwritesAndAFailedUndoChangesNothing) {
  CheckOut(hello, "public/src/hello.c", "second edit\n");
  Write(File("public/src/hello.c.keep"), "an older copy\n");
  CFileOperationList list;
  list.AddFile(kHello);
  list.SetUNCOKeepFile(1);
  CallLog::InjectFailure("vob_utl_uncheckout", client_local::Failure{1051, {{6, "no permission to undo\n"}}, 1});
  host->OnMessage("no permission to undo").Click("OK");
  EXPECT_EQ(list.UncheckoutWithOptions(), 0);
  EXPECT_EQ(Read(File("public/src/hello.c")), "second edit\n");
  EXPECT_FALSE(std::filesystem::exists(File("public/src/hello.c.keep.1"))) << "the copy made is taken back";
  CallLog::ClearFailures();
  EXPECT_EQ(list.UncheckoutWithOptions(), 1);
  EXPECT_EQ(Read(File("public/src/hello.c.keep")), "an older copy\n");
  EXPECT_EQ(Read(File("public/src/hello.c.keep.1")), "second edit\n");
  EXPECT_EQ(list.Entry(0)->Messages(), "") << "a successful undo says nothing";
}

TEST_F(UncheckoutTest, AnInjectedCommandFailureLeavesFileAndStoreAsTheyWere) {
  CheckOut(util, "public/src/util.c", "edited\n");
  CallLog::InjectFailure("cmd_uncheckout", client_local::Failure{1001, {{6, "the server is down\n"}}, -1});
  host->OnMessage("the server is down").Click("OK");
  CFileOperationList list;
  list.SetUNCOKeepFile(1);
  EXPECT_EQ(list.UncheckoutWithOptions(kUtil), 0);
  EXPECT_EQ(Read(File("public/src/util.c")), "edited\n");
  EXPECT_FALSE(std::filesystem::exists(File("public/src/util.c.keep")));
  std::vector<cmd_lscheckout_entry_s> checkouts;
  ASSERT_EQ(cmd_lscheckout_get_list(kUtil, 0, &checkouts), 0);
  EXPECT_EQ(checkouts.size(), 1u) << "still checked out";
}

TEST_F(UncheckoutTest, ReserveAFileThatIsNotCheckedOutSucceedsWithoutACall) {
  CallLog::ClearFailures();
  client_local::CallLogScope log;
  CFileOperationList list;
  EXPECT_EQ(list.Reserve(kReadme), 1);
  EXPECT_TRUE(CallLog::Calls("vob_branch_reserve").empty());
}

TEST_F(UncheckoutTest, AReserveConflictShowsItsBoxEvenWhenErrorsAreSuppressed) {
  vob_dbid_t out = 0;
  ASSERT_EQ(cmd_utl_checkout(vob, hello, "other", 1, "", &out), 0);
  ASSERT_EQ(cmd_utl_checkout(vob, hello, "v1", 0, "", &out), 0);
  CheckOut(util, "public/src/util.c", "");
  CUserOptions().SetSuppressErrors(1);
  host->OnMessage("Error changing reserved status of  '\\\\view\\v1\\public\\src\\hello.c'.").Click("Cancel");
  CFileOperationList list;
  for (const char* f : {kHello, kUtil}) list.AddFile(f);
  EXPECT_EQ(list.Reserve(), 0);
  EXPECT_EQ(Statuses(list), (std::vector<int>{1, 2}));
}

// An entry by VOB, object and view tag whose VOB or view cannot be made
// fails in every operation with the reason it could not be made, changes
// nothing, and the other entries still run.
TEST_F(UncheckoutTest, AVobFormEntryThatCannotBeMadeFailsEveryOperationWithItsReason) {
  CheckOut(hello, "public/src/hello.c", "edit\n");
  CheckOut(util, "public/src/util.c", "edit\n");
  CUserOptions().SetConfirmUncheckout(0);
  CUserOptions().SetUncheckoutSaveFile(0);
  auto list_of = [&] {
    auto list = std::make_unique<CFileOperationList>();
    list->AddFile(4242, static_cast<std::uint32_t>(hello), "v1");
    list->AddFile(vob, static_cast<std::uint32_t>(hello), "no-such-view");
    list->AddFile(kUtil);
    return list;
  };
  struct Operation {
    const char* name;
    int (*run)(CFileOperationList&);
    int reserved_after;  // util.c's check-out
  };
  const Operation operations[] = {
      {"unreserve", [](CFileOperationList& l) { l.SetRESReserve(0); return l.Reserve(); }, 0},
      {"reserve", [](CFileOperationList& l) { l.SetRESReserve(1); return l.Reserve(); }, 1},
      {"undo check-out", [](CFileOperationList& l) { return l.UncheckoutWithOptions(); }, -1},
  };
  for (const Operation& operation : operations) {
    SCOPED_TRACE(operation.name);
    host->OnMessage("names no VOB").Click("OK");
    host->OnMessage("no-such-view").Click("OK");
    auto list = list_of();
    EXPECT_EQ(operation.run(*list), 1);
    EXPECT_EQ(Statuses(*list), (std::vector<int>{1, 1, 0}));
    EXPECT_NE(list->Entry(0)->Messages().find("names no VOB"), std::string::npos) << list->Entry(0)->Messages();
    EXPECT_NE(list->Entry(1)->Messages().find("\"no-such-view\""), std::string::npos) << list->Entry(1)->Messages();
    EXPECT_EQ(ReservedIn(kHello), 1) << "hello.c is untouched";
    EXPECT_EQ(Read(File("public/src/hello.c")), "edit\n");
    if (operation.reserved_after >= 0) {
      EXPECT_EQ(ReservedIn(kUtil), operation.reserved_after);
    }
  }
  EXPECT_EQ(State(kUtil), VIEW_FILE_CHECKED_IN);
}

TEST(RunFileOperationEx, CodesThatRunNothingReportEverySlotAsDone) {
  const char* paths[] = {"C:\\a.c", "C:\\b.c"};
  int results[2] = {-1, -1};
  EXPECT_EQ(rvRunFileOperationEx(paths, results, 2, plat::Hwnd::Null, 42, 1), 0);
  EXPECT_EQ(results[0], 1);
  EXPECT_EQ(results[1], 1);
  EXPECT_EQ(rvRunFileOperationEx(nullptr, nullptr, 0, plat::Hwnd::Null, 6, 0), 0) << "no crash";
  EXPECT_EQ(rvRunFileOperationEx(paths, nullptr, 2, plat::Hwnd::Null, 42, 0), 0);
}

}  // namespace

TEST_F(UncheckoutTest, AKeepCopyThatCannotBeMadeStopsTheUndoAndChangesNothing) {
  CheckOut(hello, "public/src/hello.c", "my edits\n");
  host->OnMessage("Cannot save a copy").Click("OK");
  CFileOperationList list;
  list.SetUNCOKeepFile(1);
  {
    NoFileMayGrow no_copy;
    EXPECT_EQ(list.UncheckoutWithOptions(kHello), 0);
  }
  EXPECT_EQ(Read(File("public/src/hello.c")), "my edits\n");
  EXPECT_TRUE(Writable(File("public/src/hello.c")));
  EXPECT_FALSE(std::filesystem::exists(File("public/src/hello.c.keep")));
  EXPECT_EQ(State(kHello), VIEW_FILE_CHECKED_OUT);
}

TEST_F(UncheckoutTest, DriveNamesOfAViewUndoTheCheckOutOfTheirFile) {
  ASSERT_EQ(plat::AssignDrive('X', "\\\\view\\v1"), plat::AssignStatus::kOk);
  ASSERT_EQ(plat::AssignDrive('Y', "\\\\view\\v1\\public\\src"), plat::AssignStatus::kOk);
  CUserOptions().SetConfirmUncheckout(0);
  for (const char* name : {"X:\\public\\src\\hello.c", "M:\\v1\\public\\src\\hello.c", "Y:\\hello.c"}) {
    SCOPED_TRACE(name);
    CheckOut(hello, "public/src/hello.c", "my edits\n");
    CFileOperationList list;
    EXPECT_EQ(list.UncheckoutWithOptions(name), 1) << list.Entry(0)->Messages();
    EXPECT_EQ(Read(File("public/src/hello.c")), "hello 2\n");
    EXPECT_FALSE(Writable(File("public/src/hello.c")));
    EXPECT_EQ(State(kHello), VIEW_FILE_CHECKED_IN);
  }
  plat::UnassignDrive('X');
  plat::UnassignDrive('Y');
}

TEST_F(UncheckoutTest, FrameworkFreeEntriesRunTheirOperationOnEachPath) {
  CheckOut(hello, "public/src/hello.c", "edit\n");
  CheckOut(util, "public/src/util.c", "edit\n");
  const char* paths[] = {kHello, kUtil, kReadme};
  int results[3] = {-1, -1, -1};
  // 4 unreserves, 3 reserves again; README.txt is not checked out: nothing to do.
  EXPECT_EQ(rvRunFileOperationEx(paths, results, 3, plat::Hwnd::Null, 4, 1), 0);
  EXPECT_EQ((std::vector<int>(results, results + 3)), (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(ReservedIn(kHello), 0);
  EXPECT_EQ(ReservedIn(kUtil), 0);
  EXPECT_EQ(rvRunFileOperationEx(paths, results, 2, plat::Hwnd::Null, 3, 1), 0);
  EXPECT_EQ(ReservedIn(kHello), 1);
  // 2 without prompts undoes both; README.txt fails (not checked out).
  CUserOptions().SetUncheckoutSaveFile(0);
  host->OnMessage("Error undoing the check out for '\\\\view\\v1\\public\\doc\\README.txt'.").Click("OK");
  EXPECT_EQ(rvRunFileOperationEx(paths, results, 3, plat::Hwnd::Null, 2, 1), 0);
  EXPECT_EQ((std::vector<int>(results, results + 3)), (std::vector<int>{1, 1, 0}));
  EXPECT_EQ(Read(File("public/src/hello.c")), "hello 2\n");
  EXPECT_EQ(Read(File("public/src/util.c")), "util 1\n");

  // The plain entry asks the user first.
  CheckOut(util, "public/src/util.c", "edit again\n");
  host->OnTemplate(IDD_CONFIRM_UNDO_CHECKOUT).Uncheck(IDC_CONFIRM_UNDO_KEEP).Click("Yes");
  EXPECT_EQ(rvRunFileOperation(paths + 1, 1, plat::Hwnd::Null, 2), 0);
  EXPECT_EQ(Read(File("public/src/util.c")), "util 1\n");
  EXPECT_EQ(State(kUtil), VIEW_FILE_CHECKED_IN);
}

TEST_F(UncheckoutTest, TheHwndFormsTakeACallersWindow) {
  CheckOut(hello, "public/src/hello.c", "edit\n");
  plat::Window owner;
  ASSERT_TRUE(owner.CreateWindowObject(nullptr, 0, "Caller", 0));
  CFileOperationList list;
  list.AddFile(kHello);
  list.SetRESReserve(0);
  EXPECT_EQ(list.ReserveWithHwnd(owner.GetHwnd()), 1);
  EXPECT_EQ(ReservedIn(kHello), 0);
  list.SetUNCOKeepFile(1);
  list.SetUNCOShowProgressDlg(0);
  EXPECT_EQ(list.UncheckoutWithHwnd(owner.GetHwnd(), 1), 1);
  EXPECT_EQ(Read(File("public/src/hello.c.keep")), "edit\n");
  EXPECT_EQ(Read(File("public/src/hello.c")), "hello 2\n");
}
