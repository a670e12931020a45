// The General pages, driven as a user would through rvDisplayPropertySheet:
// what each page shows for each kind of object, and what Apply leaves in the
// repository.
#include <gtest/gtest.h>

#include "gcl_status.h"
#include "gu.h"
#include "local/calllog.h"
#include "platform/process.h"
#include "propsheet/display_property_sheet.h"
#include "propsheet/property_sheet.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "rvl_filesysobj.h"
#include "rvl_infostg.h"
#include "rvl_resolve.h"
#include "rvl_version.h"
#include "support/repository.h"
#include "support/ui.h"
#include "tbs.h"
#include "view.h"
#include "vob_attr.h"

namespace {

using client_local::CallLog;
using rvcmndlg::SheetOutcome;
using namespace rvcmndlg::res;
using Kind = SheetOutcome::Kind;

class GeneralPagesTest : public rv_test::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    launcher = plat::UseRecordingLauncher();
    GCL_Status status;
    const RVL_Vob public_vob(vob);
    // util.c at \main\2, checked out reserved in v1.
    vob_dbid_t util2 = 0;
    Version(util, "\\src\\util.c", "util 2\n", &util2);
    RVL_Element(status, public_vob, GCL_String(util_path.c_str())).checkout(status, GCL_String("v1"), true,
                                                                                GCL_String("edit util"));
    ASSERT_TRUE(status.ok()) << status.messages().c_str();
    // README.txt checked out unreserved by a view that is then removed.
    ASSERT_EQ(view_create("old_view", 0, "a view that goes"), 0);
    RVL_Element(status, public_vob, GCL_String(readme_path.c_str()))
        .checkout(status, GCL_String("old_view"), false, GCL_String("old work"));
    ASSERT_TRUE(status.ok()) << status.messages().c_str();
    ASSERT_EQ(view_remove("old_view"), 0);
    ASSERT_EQ(vob_mkdo(vob, "\\src\\hello.o", "object code", nullptr), 0);
    ASSERT_EQ(vob_mkslink(vob, "\\doc\\latest.txt", "README.txt", "the latest notes", nullptr), 0);
    CallLog::StartRecording();
  }
  void TearDown() override {
    CallLog::ClearFailures();
    CallLog::StopRecording();
    plat::SetLauncher(nullptr);
    EXPECT_EQ(CRvPropertyThread::ActiveCount(), 0);
    ViewTest::TearDown();
  }
  std::vector<SheetOutcome> Display(const std::string& name) {
    rvcmndlg::EntryScope resources;
    return rvcmndlg::DisplayPropertySheets({name}, 0, {}, 1);
  }
  // The General page as the user last saw it.
  static std::string LastDrawn(plat::test::ScriptedUser& user) {
    const std::vector<std::string> lines = user->Transcript();
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
      if (it->find("General") != std::string::npos && it->find("Name:") != std::string::npos) return *it;
    return {};
  }
  std::string CommentOf(const std::string& name) {
    GCL_Status status;
    auto object = RVL_ResolveName(status, GCL_String(name.c_str()));
    EXPECT_TRUE(object) << name;
    RVL_InfoStg<vob_event_info_s> event;
    if (object) object->creation_event(status, event);
    return event.record().comment ? event.record().comment : "";
  }

  const std::string util_path = "\\public\\src\\util.c";
  const std::string readme_path = "\\public\\doc\\README.txt";
  const std::string util_co = "\\public\\src\\util.c@@\\main\\CHECKEDOUT";
  std::shared_ptr<plat::RecordingLauncher> launcher;
};

TEST_F(GeneralPagesTest, Render) {
  plat::test::ScriptedUser user;
  for (std::string n : std::vector<std::string>{"\\public\\src\\hello.c", "\\public\\src\\hello.c@@\\main\\1", readme_path + "@@\\main\\CHECKEDOUT", "\\public\\src\\hello.c@@\\main\\dev", "\\public\\src\\hello.o", "\\public\\doc\\latest.txt", "lbtype:REL1@\\public", "\\public\\src\\hello.c@@\\main\\0"}) {
    user->OnCaption("Properties of " + n).Click("OK");
    Display(n);
  }
  std::cout << user->TranscriptText() << std::endl;
}

}  // namespace
