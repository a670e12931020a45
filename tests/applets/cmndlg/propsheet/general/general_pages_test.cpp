// The General pages, driven as a user would through rvDisplayPropertySheet:
// what each page shows for each kind of object, and what Apply leaves in the
// repository.
#include <gtest/gtest.h>

#include <algorithm>

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
#include "platform/machine.h"
#include "sysutl.h"
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

  static std::vector<Kind> Kinds(const std::vector<SheetOutcome>& outcomes) {
    std::vector<Kind> kinds;
    for (const auto& o : outcomes) kinds.push_back(o.kind);
    return kinds;
  }
  bool Reserved(const std::string& name) {
    GCL_Status status;
    auto object = RVL_ResolveName(status, GCL_String(name.c_str()));
    auto* version = dynamic_cast<RVL_Version*>(object.get());
    EXPECT_TRUE(version) << name;
    RVL_InfoStg<vob_ckout_info_s> info;
    if (version) version->checkout_info(status, info);
    EXPECT_TRUE(status.ok());
    return info.record().reserved != 0;
  }
  // Who made the sample's objects, as the pages show it.
  static std::string Creator() {
    char user[256];
    return sysutl_myloginname(user, sizeof user) == 0 ? user : "";
  }
  static std::string Owner() { return Creator(); }
  static std::string Group() {
    char user[256], gsid[64], group[256];
    if (sysutl_myloginname(user, sizeof user) != 0 || sysutl_user_to_gsid(user, gsid, sizeof gsid) != 0 ||
        sysutl_gsid_to_group(gsid, group, sizeof group) != 0)
      return "";
    return group;
  }

  const std::string util_path = "\\public\\src\\util.c";
  const std::string readme_path = "\\public\\doc\\README.txt";
  const std::string util_co = "\\public\\src\\util.c@@\\main\\CHECKEDOUT";
  std::shared_ptr<plat::RecordingLauncher> launcher;
};

// ---- What each page shows ----

TEST_F(GeneralPagesTest, EachKindOfObjectShowsItsGeneralPage) {
  const std::string host = plat::MachineInfo().host_name;
  const struct {
    std::string name;
    int page;
    std::vector<std::string> shown;      // lines of the drawn page
    std::vector<std::string> not_shown;  // texts it must not hold
  } cases[] = {
      {"\\public\\src\\hello.c", IDD_GENERAL_ELEMENT_PAGE,
       {"[7010] edit (read-only): \"\\public\\src\\hello.c\"", "[7006] edit (read-only): \"file element\"",
        "[7005] edit: \"greeting\"", "[7000] edit (read-only): \"text_file\""},
       {"@@"}},
      // A checked-in version: five fields, the check-out's and activity's hidden.
      {"\\public\\src\\hello.c@@\\main\\1", IDD_GENERAL_CHECKOUT_PAGE,
       {"[7010] edit (read-only): \"\\public\\src\\hello.c@@\\main\\1\"", "[7006] edit (read-only): \"version\"",
        "[7005] edit: \"edit\""},
       {"Checkedout", "[7001]", "[7012]", "Reserved", "[7080]"}},
      {"\\public\\src\\util.c@@\\main\\CHECKEDOUT", IDD_GENERAL_CHECKOUT_PAGE,
       {"[7006] edit (read-only): \"Checkedout version\"",
        "[7001] edit (read-only): \"\\public\\src\\util.c@@\\main\\2\"", "[7012] edit (read-only): \"v1\"",
        "[7002] [x] Reserved", "[7005] edit: \"edit util\""},
       {"[7080]"}},
      // The same check-out named through its view.
      {"\\\\view\\v1\\public\\src\\util.c", IDD_GENERAL_CHECKOUT_PAGE,
       {"[7010] edit (read-only): \"\\public\\src\\util.c@@\\main\\CHECKEDOUT\"", "[7012] edit (read-only): \"v1\""},
       {}},
      // The view of this check-out is gone: its host and storage path name it.
      {"\\public\\doc\\README.txt@@\\main\\CHECKEDOUT", IDD_GENERAL_CHECKOUT_PAGE,
       {"[7012] edit (read-only): \"" + host + ":\\\\view\\old_view\"", "[7002] [ ] Reserved",
        "[7005] edit: \"old work\""},
       {}},
      {"\\public\\src\\hello.c@@\\main\\dev", IDD_GENERAL_BRANCH_PAGE,
       {"[7006] edit (read-only): \"branch\"", "[7011] edit (read-only): \"dev\"", "[7295] <Type Properties>"},
       {}},
      {"\\public\\src\\hello.o", IDD_GENERAL_DERIVEDOBJ_PAGE,
       {"[7006] edit (read-only): \"derived object\"", "[7031] edit (read-only): \"" + Owner() + "\"",
        "[7044] edit (read-only): \"" + Group() + "\""},
       {"[7005]", "[7007]"}},
      {"\\public\\doc\\latest.txt", IDD_GENERAL_SYMLINK_PAGE,
       {"[7006] edit (read-only): \"symbolic link\"", "[7004] edit (read-only): \"README.txt\"",
        "[7005] edit: \"the latest notes\""},
       {}},
      {"lbtype:REL1@\\public", IDD_GENERAL_PAGE,
       {"[7010] edit (read-only): \"REL1\"", "[7006] edit (read-only): \"label type\""}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    plat::test::ScriptedUser user;
    user->OnCaption("Properties of " + c.name).Click("OK");
    EXPECT_EQ(Kinds(Display(c.name)), std::vector<Kind>{Kind::Ok});
    const std::string page = LastDrawn(user);
    EXPECT_NE(page.find("-- page " + std::to_string(c.page) + " --"), std::string::npos) << page;
    EXPECT_NE(page.find("tabs: [General]"), std::string::npos) << page;
    for (const auto& line : c.shown) EXPECT_NE(page.find(line), std::string::npos) << line << "\n" << page;
    for (const auto& text : c.not_shown) EXPECT_EQ(page.find(text), std::string::npos) << text << "\n" << page;
    if (c.page != IDD_GENERAL_DERIVEDOBJ_PAGE) {
      EXPECT_NE(page.find("[7007] edit (read-only): \"" + Creator() + "."), std::string::npos) << page;
    }
  }
}

TEST_F(GeneralPagesTest, AFailedReadRefusesThePageAndAFailedViewLookUpIsForgotten) {
  for (const char* call : {"vob_obj_to_pname_flags", "vob_ver_get_pred_ver",
                           "vob_ver_get_ckout_info", "vob_obj_find_eventh", "vob_event_get_info"}) {
    SCOPED_TRACE(call);
    CallLog::ClearFailures();
    ASSERT_TRUE(CallLog::InjectFailure(call, rv_test::Failing(TBS_ST_PERMISSION, "no access for you")));
    plat::test::ScriptedUser user;
    user->OnMessage("The selected property page is currently unavailable").Click("OK");
    // The General page is refused; the next page, Labels, still opens.
    user->OnCaption("Properties of " + util_co).Click("Cancel");
    const auto outcomes = Display(util_co);
    EXPECT_EQ(Kinds(outcomes), std::vector<Kind>{Kind::Cancel});
    EXPECT_NE(user->TranscriptText().find("[Labels]"), std::string::npos) << user->TranscriptText();
  }
  CallLog::ClearFailures();
  // The view's tag cannot be looked up: host and path, and no box.
  ASSERT_TRUE(CallLog::InjectFailure("rgy_findbyuuid_entry", rv_test::Failing(TBS_ST_PERMISSION, "no registry")));
  plat::test::ScriptedUser user;
  user->OnCaption("Properties of " + util_co).Click("OK");
  EXPECT_EQ(Kinds(Display(util_co)), std::vector<Kind>{Kind::Ok});
  EXPECT_NE(LastDrawn(user).find("[7012] edit (read-only): \"" + plat::MachineInfo().host_name + ":\\\\view\\v1\""),
            std::string::npos)
      << LastDrawn(user);
}

// ---- Apply ----

TEST_F(GeneralPagesTest, OkWritesTheDescriptionExactlyAndTheReservedState) {
  const std::string text = "Zeile eins: Grüße\nligne deux: été \xE2\x9C\x93\n\n  indented";
  plat::test::ScriptedUser user;
  user->OnCaption("Properties of " + util_co).Type(IDC_GEN_DESCRIPTION, text).Uncheck(IDC_GEN_RESERVED).Click("OK");
  EXPECT_EQ(Kinds(Display(util_co)), std::vector<Kind>{Kind::Ok});
  EXPECT_EQ(CommentOf(util_co), text);
  EXPECT_FALSE(Reserved(util_co));
  // The description went first.
  const auto calls = CallLog::Calls();
  auto at = [&](const std::string& name) {
    for (std::size_t i = 0; i < calls.size(); ++i)
      if (calls[i].name == name) return i;
    return calls.size();
  };
  EXPECT_LT(at("vob_event_change_comment"), at("vob_branch_unreserve"));
}

TEST_F(GeneralPagesTest, ARefusedDescriptionKeepsBothChangesPendingAndTheSheetOpen) {
  ASSERT_TRUE(CallLog::InjectFailure("vob_event_change_comment",
                                     rv_test::Failing(TBS_ST_PERMISSION, "Not the owner of the event.")));
  plat::test::ScriptedUser user;
  // Apply, then OK: each time the box, and the sheet stays until Cancel.
  user->OnCaption("Properties of " + util_co)
      .Type(IDC_GEN_DESCRIPTION, "new words")
      .Uncheck(IDC_GEN_RESERVED)
      .Click("Apply")
      .Click("OK")
      .Click("Cancel");
  user->OnMessage("Not the owner of the event.").Click("OK").Times(2);
  EXPECT_EQ(Kinds(Display(util_co)), std::vector<Kind>{Kind::Cancel});
  EXPECT_EQ(CallLog::Calls("vob_event_change_comment").size(), 2u);
  EXPECT_TRUE(CallLog::Calls("vob_branch_unreserve").empty());
  EXPECT_EQ(CommentOf(util_co), "edit util");
  EXPECT_TRUE(Reserved(util_co));
}

TEST_F(GeneralPagesTest, UnreservingAVersionCheckedInMeanwhileIsDroppedSilently) {
  // The second read of the check-out (at Apply) answers "checked in".
  client_local::Failure checked_in = rv_test::Failing(TBS_ST_WRONG_KIND);
  checked_in.nth = 2;
  ASSERT_TRUE(CallLog::InjectFailure("vob_ver_get_ckout_info", checked_in));
  plat::test::ScriptedUser user;
  user->OnCaption("Properties of " + util_co).Uncheck(IDC_GEN_RESERVED).Click("OK");
  EXPECT_EQ(Kinds(Display(util_co)), std::vector<Kind>{Kind::Ok});
  EXPECT_TRUE(CallLog::Calls("vob_branch_unreserve").empty());
  EXPECT_TRUE(CallLog::Calls("vob_event_change_comment").empty());
}

TEST_F(GeneralPagesTest, CancelAndUnchangedPagesWriteNothing) {
  const struct {
    std::string name;
    std::vector<plat::Action> actions;
  } cases[] = {
      {util_co, {{plat::Action::Kind::Type, "7005", "dropped"}, {plat::Action::Kind::Uncheck, "7002", ""},
                 {plat::Action::Kind::Click, "Cancel", ""}}},
      {"\\public\\src\\hello.o", {{plat::Action::Kind::Click, "OK", ""}}},
      {"\\public\\src\\hello.c", {{plat::Action::Kind::Click, "OK", ""}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CallLog::Clear();
    plat::test::ScriptedUser user;
    auto expect = user->OnCaption("Properties of " + c.name);
    for (const auto& a : c.actions) expect.Do(a);
    Display(c.name);
    for (const char* write : {"vob_event_change_comment", "vob_branch_reserve", "vob_branch_unreserve",
                              "vob_obj_protect_sid"})
      EXPECT_TRUE(CallLog::Calls(write).empty()) << write;
  }
  EXPECT_EQ(CommentOf(util_co), "edit util");
  EXPECT_TRUE(Reserved(util_co));
}

// ---- Related sheets, menu and help ----

TEST_F(GeneralPagesTest, TypePropertiesOpenTheTypesSheetOnItsOwnThread) {
  const std::string branch = "\\public\\src\\hello.c@@\\main\\dev";
  const std::string element = "\\public\\src\\hello.c";
  plat::test::ScriptedUser user;
  user->OnCaption("Properties of " + branch).Click(IDC_GEN_TYPE_PROPERTIES).Click("OK");
  user->OnCaption("Properties of dev").Click("OK");
  // The element's type from the page's context menu ("TypeName").
  user->OnCaption("Properties of " + element)
      .Do({plat::Action::Kind::Context, std::to_string(IDC_GEN_ELEMENT_TYPE), ""})
      .Click("OK");
  user->OnMenu("Type Properties...");
  user->OnCaption("Properties of text_file").Click("OK");
  EXPECT_EQ(Kinds(Display(branch)), std::vector<Kind>{Kind::Ok});
  EXPECT_EQ(Kinds(Display(element)), std::vector<Kind>{Kind::Ok});
  CRvPropertyThread::WaitWhileActive();
  EXPECT_NE(user->TranscriptText().find("[7010] edit (read-only): \"dev\""), std::string::npos);
}

TEST_F(GeneralPagesTest, HelpOpensEachPagesTopic) {
  const struct {
    std::string name, topic;
  } cases[] = {
      {"\\public\\src\\hello.c", "stratadescribe/rvgeneralelementpage.htm"},
      {util_co, "stratadescribe/rvgeneralcheckoutpage.htm"},
      {"\\public\\src\\hello.c@@\\main\\dev", "stratadescribe/rvgeneralbranchpage.htm"},
      {"\\public\\src\\hello.o", "stratadescribe/rvgeneralderivedobjpage.htm"},
      {"\\public\\doc\\latest.txt", "stratadescribe/rvgeneralsymlinkpage.htm"},
      {"lbtype:REL1@\\public", "stratadescribe/default_topic.htm"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CallLog::Clear();
    plat::test::ScriptedUser user;
    user->OnCaption("Properties of " + c.name).Click("Help").Click("OK");
    Display(c.name);
    const auto help = CallLog::Calls("gu_help");
    ASSERT_EQ(help.size(), 1u);
    EXPECT_NE(std::find(help[0].args.begin(), help[0].args.end(), c.topic), help[0].args.end());
  }
}

}  // namespace
