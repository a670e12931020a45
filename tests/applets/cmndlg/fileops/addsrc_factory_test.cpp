// The add-to-source factory as its callers drive it: files added one by one
// over a run, then Finish; the parent directories it checks out and back in,
// and what it leaves when a make-element or a check-in fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fileops/addsrc_factory.h"
#include "fileops/file_item.h"
#include "fileops/progress_dlg.h"
#include "gcl_status.h"
#include "platform/clock.h"
#include "platform/hosts.h"
#include "platform/message.h"
#include "platform/resources.h"
#include "local/calllog.h"
#include "platform/registry.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "rvcmndlg/file_operation_list.h"
#include "rvcmndlg/user_options.h"
#include "support/repository.h"
#include "tbs.h"
#include "view.h"
#include "view_ws.h"
#include "vob.h"
#include "vob_ob.h"

namespace {

namespace fs = std::filesystem;
using namespace rvcmndlg::res;
using client_local::CallLog;

class AddToSrcFactoryTest : public rv_test::ViewTest {
 protected:
  void SetUp() override {
    rv_test::ViewTest::SetUp();
    plat::Registry::UseMemory();
  }

  // Adds each file of the run through one factory, then finishes; the
  // statuses of the files and of Finish.
  std::vector<std::uint32_t> Run(const std::vector<std::string>& relatives, int keep = 0,
                                 GCL_Status* finished = nullptr, const std::string& comment = "") {
    std::vector<std::string> names;
    for (const auto& relative : relatives) names.push_back(ViewName(relative));
    CAddToSrcFactory factory;
    std::vector<std::uint32_t> codes;
    for (const std::string& name : names) {
      COperationObj entry;
      entry.m_path = name;
      GCL_Status status;
      CFileItem item;
      item.Init(status, entry);
      factory.Add(status, item, comment, keep, 0, *in_use, 0, names, nullptr, nullptr);
      codes.push_back(status.code());
    }
    GCL_Status end;
    factory.Finish(end);
    if (finished) *finished = end;
    return codes;
  }
  static bool CheckedOut(const std::string& relative) { return CheckedOutAt(ViewName(relative)) != 0; }
  // The comment of the last check-in of the directory's element.
  std::string LastEvent(const std::string& relative) {
    char view[64];
    vob_handle_t found = 0;
    vob_dbid_t version = 0;
    if (view_ws_lookup_pn(ViewName(relative).c_str(), view, sizeof view, &found, &version) != 0) return "(none)";
    const stg_area_t area = stg_create_area(0);
    vob_eventh_t event = 0;
    vob_event_info_s last;
    std::string text = "(none)";
    while (vob_obj_next_evenths(found, version, &event) == 0)
      if (vob_event_get_info(found, event, area, &last) == 0) text = std::string(last.kind) + ": " + last.comment;
    stg_delete_area(area);
    return text;
  }

  rvcmndlg::EntryScope resources;  // as the entries that use the factory have them
  CProgressDlg progress{IDS_ADDING_TO_SOURCE, IDR_AVI_OTHER, 0};
  CProgressDlg* in_use = &progress;
};

// Records each new second line of the shown progress window, as a person reads it.
class SecondLineHost : public plat::ScriptedHost {
 public:
  void WindowUpdated(plat::Window& window) override {
    auto* line = window.TemplateId() == IDD_PROGRESS ? window.FindChild(IDC_PROGRESS_LINE2) : nullptr;
    if (line && !line->Text().empty() && (lines.empty() || lines.back() != line->Text())) lines.push_back(line->Text());
    plat::ScriptedHost::WindowUpdated(window);
  }
  std::vector<std::string> lines;
};

TEST_F(AddToSrcFactoryTest, TwoFilesInOneDirectoryCheckItOutOnceAndInWithoutAComment) {
  WritePrivate("public/src/a.c", "a\n");
  WritePrivate("public/src/b.c", "b\n");
  client_local::CallLogScope log;
  GCL_Status finished;
  EXPECT_EQ(Run({"public/src/a.c", "public/src/b.c"}, 0, &finished, "two files"),
            (std::vector<std::uint32_t>{0, 0}));
  EXPECT_TRUE(finished.ok()) << finished.messages();
  EXPECT_EQ(CallLog::Calls("cmd_checkout").size(), 1u) << "the parent once, for the first file";
  EXPECT_FALSE(CheckedOut("public/src"));
  EXPECT_EQ(LastEvent("public/src"), "checkin version: ") << "no comment for a directory not in the run";
  for (const char* file : {"public/src/a.c", "public/src/b.c"}) {
    EXPECT_EQ(State(ViewName(file)), VIEW_FILE_CHECKED_IN) << file;
    EXPECT_FALSE(Writable(File(file)));
  }
  EXPECT_EQ(Read(File("public/src/b.c")), "b\n");
}

TEST_F(AddToSrcFactoryTest, KeptDirectoryAddedAndUsedAsAParentStaysCheckedOut) {
  WritePrivate("public/tools/build.sh", "echo\n");
  GCL_Status finished;
  EXPECT_EQ(Run({"public/tools", "public/tools/build.sh"}, 1, &finished, "tools"),
            (std::vector<std::uint32_t>{0, 0}));
  EXPECT_TRUE(finished.ok()) << finished.messages();
  EXPECT_TRUE(CheckedOut("public/tools"));
  EXPECT_TRUE(CheckedOut("public/tools/build.sh"));
  EXPECT_TRUE(Writable(File("public/tools/build.sh")));
  EXPECT_FALSE(CheckedOut("public")) << "the VOB's root went back in";
  // Without keep, the run's directory goes in with the run's comment.
  WritePrivate("public/more/x.c");
  EXPECT_EQ(Run({"public/more", "public/more/x.c"}, 0, nullptr, "more"), (std::vector<std::uint32_t>{0, 0}));
  EXPECT_FALSE(CheckedOut("public/more"));
  EXPECT_EQ(LastEvent("public/more"), "checkin version: more");
}

TEST_F(AddToSrcFactoryTest, AFailedMakeElementUndoesOnlyAParentCheckedOutForItAlone) {
  WritePrivate("public/src/a.c");
  WritePrivate("public/src/b.c");
  struct Case {
    const char* name;
    int failing_call;  // which make-element call fails
    std::vector<std::uint32_t> codes;
  };
  const Case cases[] = {
      {"first of one", 1, {TBS_ST_FAILURE}},
      {"second of two", 2, {0, TBS_ST_FAILURE}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    client_local::Failure failure = rv_test::Failing(TBS_ST_FAILURE, "cannot make it");
    failure.nth = c.failing_call;
    failure.times = 1;
    CallLog::InjectFailure("cmd_utl_mkelem", failure);
    const std::vector<std::string> files =
        c.codes.size() == 1 ? std::vector<std::string>{"public/src/a.c"}
                            : std::vector<std::string>{"public/src/a.c", "public/src/b.c"};
    GCL_Status finished;
    EXPECT_EQ(Run(files, 0, &finished), c.codes);
    CallLog::ClearFailures();
    EXPECT_TRUE(finished.ok()) << finished.messages();
    EXPECT_FALSE(CheckedOut("public/src")) << "undone, or checked in at the end";
    if (c.codes.size() == 2) {
      EXPECT_EQ(LastEvent("public/src"), "checkin version: ");
    }
  }
  EXPECT_EQ(State(ViewName("public/src/b.c")), VIEW_FILE_PRIVATE);
  EXPECT_EQ(State(ViewName("public/src/a.c")), VIEW_FILE_CHECKED_IN);
}

TEST_F(AddToSrcFactoryTest, AFailedParentCheckInIsAFailureOfTheRun) {
  WritePrivate("public/src/a.c");
  CallLog::InjectFailure("cmd_checkin", rv_test::Failing(TBS_ST_PERMISSION, "no right to check it in"));
  GCL_Status finished;
  EXPECT_EQ(Run({"public/src/a.c"}, 0, &finished), (std::vector<std::uint32_t>{0}));
  CallLog::ClearFailures();
  EXPECT_EQ(finished.code(), static_cast<std::uint32_t>(TBS_ST_PERMISSION));
  EXPECT_NE(std::string(finished.messages().c_str()).find("no right to check it in"), std::string::npos);
  EXPECT_TRUE(CheckedOut("public/src"));
}

TEST_F(AddToSrcFactoryTest, AParentMasteredElsewhereStaysCheckedOutWithANotice) {
  vob_dbid_t replica = 0, branch = 0;
  ASSERT_EQ(vob_replica_create(vob, "far", "", &replica), 0);
  char view[64];
  vob_handle_t found = 0;
  vob_dbid_t version = 0;
  ASSERT_EQ(view_ws_lookup_pn(ViewName("public/src").c_str(), view, sizeof view, &found, &version), 0);
  ASSERT_EQ(vob_ver_get_branch(vob, version, &branch), 0);
  ASSERT_EQ(vob_obj_set_master(vob, branch, replica), 0);
  WritePrivate("public/src/a.c");
  GCL_Status finished;
  EXPECT_EQ(Run({"public/src/a.c"}, 0, &finished), (std::vector<std::uint32_t>{0}));
  EXPECT_TRUE(finished.ok());
  EXPECT_NE(std::string(finished.messages().c_str())
                .find("The parent directory '\\\\view\\v1\\public\\src' has been checked out unreserved, nonmastered"),
            std::string::npos)
      << finished.messages();
  EXPECT_TRUE(CheckedOut("public/src"));
  EXPECT_EQ(State(ViewName("public/src/a.c")), VIEW_FILE_CHECKED_IN);
}

// A file in a view-private directory, with the progress window shown: its
// second line names each stage, the directories' and the file's, in order.
TEST_F(AddToSrcFactoryTest, TheShownProgressWindowNamesEachStage) {
  const auto clock = plat::UseManualClock();
  const auto host = std::make_shared<SecondLineHost>();
  plat::SetUiHost(host);
  {
    CProgressDlg shown(IDS_ADDING_TO_SOURCE, IDR_AVI_OTHER, 1);
    ASSERT_TRUE(shown.Create(nullptr));
    shown.AllowShowing();
    plat::PumpPendingMessages();
    clock->Advance(1000);
    plat::PumpPendingMessages();
    ASSERT_TRUE(shown.IsVisible());
    in_use = &shown;
    WritePrivate("public/tools/build.sh");
    EXPECT_EQ(Run({"public/tools/build.sh"}), (std::vector<std::uint32_t>{0}));
    plat::PumpPendingMessages();
    in_use = &progress;
  }
  plat::SetUiHost(nullptr);
  plat::SetClock(nullptr);
  std::vector<std::string> expected;
  for (int id : {IDS_ADDSRC_CHECKING_OUT_DIRECTORY, IDS_ADDSRC_PUTTING_DIRECTORY, IDS_ADDSRC_CHECKING_OUT_DIRECTORY,
                 IDS_ADDSRC_PUTTING_FILE, IDS_ADDSRC_CHECKING_OUT, IDS_ADDSRC_CHECKING_IN,
                 IDS_ADDSRC_CHECKING_IN_DIRECTORY})
    expected.push_back(plat::LoadString(id));
  EXPECT_EQ(host->lines, expected);
  EXPECT_EQ(State(ViewName("public/tools/build.sh")), VIEW_FILE_CHECKED_IN);
  EXPECT_FALSE(CheckedOut("public/tools"));
}

// An exception out of the make-element command fails that file with its
// text; the parent checked out for it alone is given back.
TEST_F(AddToSrcFactoryTest, AnExceptionFromTheCommandFailsTheFileWithItsText) {
  WritePrivate("public/src/a.c");
  ASSERT_TRUE(CallLog::InjectThrow("cmd_utl_mkelem", "the disk went away"));
  CAddToSrcFactory factory;
  const std::vector<std::string> names{ViewName("public/src/a.c")};
  COperationObj entry;
  entry.m_path = names[0];
  GCL_Status status;
  CFileItem item;
  item.Init(status, entry);
  EXPECT_EQ(factory.Add(status, item, "", 0, 0, progress, 0, names, nullptr, nullptr), 0);
  CallLog::ClearFailures();
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
  EXPECT_NE(std::string(status.messages().c_str())
                .find(plat::LoadString(IDS_EXCEPTION_THROWN) + plat::LoadString(IDS_EXCEPTION_TEXT) +
                      "the disk went away"),
            std::string::npos)
      << status.messages();
  GCL_Status end;
  factory.Finish(end);
  EXPECT_TRUE(end.ok());
  EXPECT_EQ(State(names[0]), VIEW_FILE_PRIVATE);
  EXPECT_FALSE(CheckedOut("public/src"));
}

}  // namespace
