// What the per-file item finds out about a file of a view, each answer found
// once, with the repository's status and messages left in the status.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <vector>

#include "support/repository.h"
#include "view.h"
#include "vob_ob.h"
#include "cmd_utl.h"
#include "fileops/file_item.h"
#include "rvcmndlg/file_operation_list.h"
#include "gcl_status.h"
#include "gcl_string.h"
#include "tbs.h"

namespace {

using client_local::CallLog;
using client_local::CallLogScope;
using client_local::Failure;

constexpr const char* kHello = "\\\\view\\v1\\public\\src\\hello.c";

class FileItemTest : public rv_test::ViewTest {
 protected:
  CFileItem Item(const std::string& path) {
    COperationObj entry;
    entry.m_path = path;
    CFileItem item;
    GCL_Status status;
    item.Init(status, entry);
    return item;
  }
  // The VOB form: an object of a VOB in a view.
  static void InitByVob(CFileItem& item, GCL_Status& status, vob_handle_t vob, vob_dbid_t object,
                        const std::string& view) {
    COperationObj entry;
    entry.m_vob = vob;
    entry.m_objectId = object;
    entry.m_viewTag = view;
    item.Init(status, entry);
  }
 public:
  // Checks hello.c out in the view.
  void CheckOut(const char* view, int reserved, const char* comment) {
    ASSERT_EQ(cmd_utl_checkout(vob, hello, view, reserved, comment, nullptr), 0) << view;
  }
  // Checks in a new version of hello.c from another view; its DBID.
  vob_dbid_t CheckInElsewhere(const char* text) {
    vob_dbid_t made = 0;
    Version(hello, "\\public\\src\\hello.c", text, &made);
    return made;
  }
};

TEST_F(FileItemTest, ACheckedInFileOfTheView) {
  CFileItem item = Item("\\\\view\\v1\\public\\src\\hello.c");
  GCL_Status status;
  EXPECT_TRUE(item.IsInView(status));
  EXPECT_TRUE(item.Exists(status));
  EXPECT_EQ(item.ViewTag(status), "v1");
  EXPECT_NE(item.Element(status), 0u);
  EXPECT_FALSE(item.IsDirectory(status));
  EXPECT_FALSE(item.IsCheckedOut(status));
  EXPECT_FALSE(item.HasReservedCheckout(status));
  EXPECT_FALSE(item.IsHijacked(status));
  EXPECT_TRUE(status.ok()) << status.messages().c_str();
  CFileItem dir = Item("\\\\view\\v1\\public\\src");
  EXPECT_TRUE(dir.IsDirectory(status));
}

TEST_F(FileItemTest, CheckOutsInThisViewAndInOthers) {
  vob_dbid_t out = 0;
  ASSERT_EQ(cmd_utl_checkout(vob, hello, "v1", 0, "", &out), 0);
  ASSERT_EQ(cmd_utl_checkout(vob, util, "elsewhere", 1, "", &out), 0);
  GCL_Status status;
  CFileItem hello_item = Item("\\\\view\\v1\\public\\src\\hello.c");
  EXPECT_TRUE(hello_item.IsCheckedOut(status));
  EXPECT_FALSE(hello_item.HasReservedCheckout(status)) << "unreserved";
  CFileItem util_item = Item("\\\\view\\v1\\public\\src\\util.c");
  EXPECT_FALSE(util_item.IsCheckedOut(status)) << "checked out in another view only";
  EXPECT_TRUE(util_item.HasReservedCheckout(status));
  EXPECT_TRUE(status.ok());
}

TEST_F(FileItemTest, AHijackedFileAndAMissingOneAreAnswersNotFailures) {
  const auto file = File("public/src/util.c");
  ::chmod(file.c_str(), 0644);
  Write(file, "changed by hand\n");
  GCL_Status status;
  EXPECT_TRUE(Item("\\\\view\\v1\\public\\src\\util.c").IsHijacked(status));
  CFileItem missing = Item("\\\\view\\v1\\public\\src\\nothing.c");
  EXPECT_FALSE(missing.Exists(status));
  EXPECT_FALSE(missing.IsHijacked(status));
  EXPECT_TRUE(status.ok());
  EXPECT_EQ(missing.Element(status), 0u);
  EXPECT_FALSE(status.ok()) << "a file that is no element leaves the lookup's status";
}

TEST_F(FileItemTest, EachAnswerIsFoundOnceAndAFailureKeepsItsMessages) {
  client_local::CallLogScope log;
  GCL_Status status;
  CFileItem item = Item("\\\\view\\v1\\public\\src\\hello.c");
  item.IsCheckedOut(status);
  item.HasReservedCheckout(status);
  item.IsCheckedOut(status);
  EXPECT_EQ(client_local::CallLog::Calls("cmd_lscheckout_get_list").size(), 1u);

  client_local::CallLog::InjectFailure("cmd_lscheckout_get_list",
                                       client_local::Failure{1001, {{6, "the check-out list is unreadable\n"}}, 1});
  CFileItem other = Item("\\\\view\\v1\\public\\src\\util.c");
  GCL_Status failing;
  EXPECT_FALSE(other.IsCheckedOut(failing));
  EXPECT_EQ(failing.code(), 1001u);
  EXPECT_STREQ(failing.messages().c_str(), "the check-out list is unreadable\n");
}

// ---- Change management, mastership, check-out records and merges ----

// What every file of the sample answers while nothing is change-managed and
// the VOB has one replica.
void ExpectPlainRepository(CFileItem& item, GCL_Status& status) {
  EXPECT_FALSE(item.View(status).is_null());
  EXPECT_EQ(item.View(status).tag(), "v1");
  EXPECT_FALSE(item.IsChangeManagedView(status));
  EXPECT_TRUE(item.Stream(status).is_null());
  EXPECT_TRUE(item.Project(status).is_null());
  EXPECT_FALSE(item.IsReplicated(status));
  EXPECT_TRUE(status.ok()) << status.messages().c_str();
}

TEST_F(FileItemTest, ACheckedOutFileGivesItsCheckOutsCommentAndNoActivity) {
  vob_dbid_t checked_out = 0;
  ASSERT_EQ(cmd_utl_checkout(vob, hello, "v1", 1, "fixing the greeting", &checked_out), 0);
  CFileItem item = Item(kHello);
  GCL_Status status;
  ExpectPlainRepository(item, status);
  EXPECT_EQ(item.Version(status), checked_out);
  EXPECT_EQ(item.CheckoutComment(status), "fixing the greeting");
  EXPECT_TRUE(item.CheckoutActivity(status).is_null());
  EXPECT_FALSE(item.RecordsActivity(status));
  EXPECT_TRUE(item.IsMasteredHere(status));
  EXPECT_FALSE(item.NeedsMerge(status)) << "checked out from the latest version";
  EXPECT_TRUE(status.ok()) << status.messages().c_str();
}

// Mastership is the branch's: the branch of the version the view selects.
TEST_F(FileItemTest, AFileIsMasteredHereWhenTheBranchItSelectsIs) {
  vob_dbid_t remote = 0;
  ASSERT_EQ(vob_replica_create(vob, "remote", "", &remote), 0);
  ASSERT_EQ(vob_obj_set_master(vob, main_branch, remote), 0);
  GCL_Status status;
  CFileItem on_main = Item(kHello);
  EXPECT_TRUE(on_main.IsReplicated(status));
  EXPECT_FALSE(on_main.IsMasteredHere(status)) << "main is mastered by remote";
  view_handle_t view = 0;
  ASSERT_EQ(view_get_handle_by_tag("v1", &view), 0);
  ASSERT_EQ(SetSpec(view, "element * \\main\\dev\\LATEST\nelement * \\main\\LATEST\n"), 0);
  view_free_handle(view);
  CFileItem on_dev = Item(kHello);
  EXPECT_TRUE(on_dev.IsMasteredHere(status)) << "dev is mastered here, though its element's main is not";
  EXPECT_TRUE(status.ok()) << status.messages().c_str();
}

TEST_F(FileItemTest, ACheckedInFileHasNoCheckOutRecord) {
  CFileItem item = Item("M:\\v1\\public\\src\\util.c");
  GCL_Status status;
  ExpectPlainRepository(item, status);
  EXPECT_FALSE(item.RecordsActivity(status));
  EXPECT_TRUE(item.IsMasteredHere(status));
  EXPECT_FALSE(item.NeedsMerge(status));
  EXPECT_TRUE(item.CheckoutActivity(status).is_null());
  EXPECT_TRUE(status.ok()) << status.messages().c_str();
  EXPECT_EQ(item.CheckoutComment(status), "");
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_WRONG_KIND)) << "a checked-in version was read";
}

TEST_F(FileItemTest, AViewPrivateFileHasAViewAndAVobButNoElement) {
  Write(File("public/src/notes.txt"), "private notes\n");
  CFileItem item = Item("\\\\view\\v1\\public\\src\\notes.txt");
  GCL_Status status;
  ExpectPlainRepository(item, status);
  struct Query {
    const char* name;
    bool (*ask)(CFileItem&, GCL_Status&);
  };
  const Query element_queries[] = {
      {"records activity", [](CFileItem& i, GCL_Status& s) { return i.RecordsActivity(s); }},
      {"mastered here", [](CFileItem& i, GCL_Status& s) { return i.IsMasteredHere(s); }},
      {"needs merge", [](CFileItem& i, GCL_Status& s) { return i.NeedsMerge(s); }},
      {"check-out comment", [](CFileItem& i, GCL_Status& s) { return !i.CheckoutComment(s).empty(); }},
      {"check-out activity", [](CFileItem& i, GCL_Status& s) { return !i.CheckoutActivity(s).is_null(); }},
  };
  for (const Query& query : element_queries) {
    GCL_Status asked;
    EXPECT_FALSE(query.ask(item, asked)) << query.name;
    EXPECT_EQ(asked.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND)) << query.name << ": no element";
  }
}

// A query of the per-file item, its answer as text.
struct Query {
  const char* name;
  std::string (*ask)(CFileItem&, GCL_Status&);
};

// The states hello.c is put in, each from checked in.
struct FileState {
  const char* what;
  void (*make)(FileItemTest&);
};

class VobForm : public FileItemTest {
 protected:
  // For each state of hello.c, each query of its VOB form (its VOB, element
  // and the view's tag) answers as the same file by pathname does, with the
  // same status. The VOB form makes its VOB and view once, at Init.
  void ExpectAnswersAsByPathname(const std::vector<Query>& queries) {
    const FileState states[] = {
        {"checked in", [](FileItemTest&) {}},
        {"checked out here, unreserved", [](FileItemTest& t) { t.CheckOut("v1", 0, "by VOB"); }},
        {"checked out elsewhere, reserved", [](FileItemTest& t) { t.CheckOut("other", 1, "theirs"); }},
        {"checked out here, then a newer version",
         [](FileItemTest& t) {
           t.CheckOut("v1", 0, "behind");
           t.CheckInElsewhere("hello 3\n");
         }},
    };
    for (const FileState& state : states) {
      SCOPED_TRACE(state.what);
      state.make(*this);
      CFileItem by_path = Item(kHello);
      CFileItem by_vob;
      {
        CallLogScope log;
        GCL_Status made;
        InitByVob(by_vob, made, vob, hello, "v1");
        ASSERT_TRUE(made.ok()) << made.messages().c_str();
        EXPECT_EQ(CallLog::Calls("FLM_Vob::construct_from_handle").size(), 1u);
        EXPECT_EQ(CallLog::Calls("FLM_View::construct_from_tag").size(), 1u);
      }
      EXPECT_EQ(by_vob.ObjectId(), hello);
      EXPECT_EQ(by_vob.Vob(), vob);
      for (const Query& query : queries) {
        GCL_Status path_status, vob_status;
        EXPECT_EQ(query.ask(by_vob, vob_status), query.ask(by_path, path_status)) << query.name;
        EXPECT_EQ(vob_status.code(), path_status.code()) << query.name << ": " << vob_status.messages().c_str();
      }
      for (const char* view : {"v1", "other"}) vob_utl_uncheckout(vob, "\\public\\src\\hello.c", view);
    }
  }
};

TEST_F(VobForm, AnswersAsTheSameFileByPathname) {
  ExpectAnswersAsByPathname({
      {"in view", [](CFileItem& i, GCL_Status& s) { return std::to_string(i.IsInView(s)); }},
      {"exists", [](CFileItem& i, GCL_Status& s) { return std::to_string(i.Exists(s)); }},
      {"view tag", [](CFileItem& i, GCL_Status& s) { return i.ViewTag(s); }},
      {"view", [](CFileItem& i, GCL_Status& s) { return i.View(s).tag(); }},
      {"version", [](CFileItem& i, GCL_Status& s) { return std::to_string(i.Version(s)); }},
      {"element", [](CFileItem& i, GCL_Status& s) { return std::to_string(i.Element(s)); }},
      {"directory", [](CFileItem& i, GCL_Status& s) { return std::to_string(i.IsDirectory(s)); }},
      {"change-managed", [](CFileItem& i, GCL_Status& s) { return std::to_string(i.IsChangeManagedView(s)); }},
      {"records activity", [](CFileItem& i, GCL_Status& s) { return std::to_string(i.RecordsActivity(s)); }},
      {"comment", [](CFileItem& i, GCL_Status& s) { return i.CheckoutComment(s); }},
      {"replicated", [](CFileItem& i, GCL_Status& s) { return std::to_string(i.IsReplicated(s)); }},
      {"mastered here", [](CFileItem& i, GCL_Status& s) { return std::to_string(i.IsMasteredHere(s)); }},
      {"needs merge", [](CFileItem& i, GCL_Status& s) { return std::to_string(i.NeedsMerge(s)); }},
  });
}

TEST_F(VobForm, TellsItsCheckOutsAsTheSameFileByPathname) {
  ExpectAnswersAsByPathname({
      {"checked out", [](CFileItem& i, GCL_Status& s) { return std::to_string(i.IsCheckedOut(s)); }},
      {"reserved", [](CFileItem& i, GCL_Status& s) { return std::to_string(i.HasReservedCheckout(s)); }},
  });
}

TEST_F(FileItemTest, AVobFormThatCannotBeMadeLeavesItsFailureForGood) {
  struct Case {
    const char* what;
    vob_handle_t vob;
    const char* view;
    const char* message;
  };
  const Case cases[] = {
      {"bad VOB handle", 4242, "v1", "names no VOB"},
      {"unknown view tag", 0, "no-such-view", "\"no-such-view\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CFileItem item;
    GCL_Status status;
    InitByVob(item, status, c.vob ? c.vob : vob, hello, c.view);
    EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
    const std::string messages = status.messages().c_str();
    EXPECT_NE(messages.find(c.message), std::string::npos) << messages;

    // No later query goes to the repository or clears the failure, even on a
    // status that was cleared in between.
    CallLogScope log;
    EXPECT_EQ(item.Element(status), 0u);
    EXPECT_FALSE(item.IsCheckedOut(status));
    EXPECT_FALSE(item.NeedsMerge(status));
    EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
    GCL_Status fresh;
    EXPECT_FALSE(item.Exists(fresh));
    EXPECT_TRUE(item.View(fresh).is_null());
    EXPECT_EQ(fresh.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
    EXPECT_EQ(std::string(fresh.messages().c_str()), messages);
    EXPECT_TRUE(CallLog::Calls().empty());
  }
}

TEST_F(FileItemTest, InitNeverClearsAFailureTheStatusAlreadyHeld) {
  GCL_Status status;
  status.set_code(1001);
  status.push_message(GCL_String("an earlier file failed\n"));
  CFileItem item;
  InitByVob(item, status, vob, hello, "v1");
  EXPECT_EQ(status.code(), 1001u);
  EXPECT_STREQ(status.messages().c_str(), "an earlier file failed\n");
  CFileItem path_item;
  COperationObj entry;
  entry.m_path = kHello;
  path_item.Init(status, entry);
  EXPECT_EQ(status.code(), 1001u);
}

TEST_F(FileItemTest, ACheckOutNeedsAMergeUntilTheLatestVersionIsMergedIn) {
  vob_dbid_t checked_out = 0;
  ASSERT_EQ(cmd_utl_checkout(vob, hello, "v1", 0, "", &checked_out), 0);
  GCL_Status status;
  EXPECT_FALSE(Item(kHello).NeedsMerge(status));

  const vob_dbid_t third = CheckInElsewhere("hello 3\n");
  EXPECT_TRUE(Item(kHello).NeedsMerge(status)) << "\\main\\3 came after the check-out";
  ASSERT_EQ(vob_hlink_create(vob, "Merge", vob, hello2, vob, checked_out, "", "", nullptr), 0);
  EXPECT_TRUE(Item(kHello).NeedsMerge(status)) << "a merge from an older version does not count";
  ASSERT_EQ(vob_hlink_create(vob, "Merge", vob, third, vob, checked_out, "", "", nullptr), 0);
  EXPECT_FALSE(Item(kHello).NeedsMerge(status)) << "the latest is merged in";

  const vob_dbid_t fourth = CheckInElsewhere("hello 4\n");
  EXPECT_TRUE(Item(kHello).NeedsMerge(status)) << "\\main\\4 is not merged in yet";
  ASSERT_EQ(vob_hlink_create(vob, "Merge", vob, fourth, vob, checked_out, "", "", nullptr), 0);
  EXPECT_FALSE(Item(kHello).NeedsMerge(status)) << "the last merge recorded is from the latest";
  EXPECT_TRUE(status.ok()) << status.messages().c_str();

  // A checked-in file has nothing to merge into, whatever its branch holds.
  EXPECT_FALSE(Item("\\\\view\\v1\\public\\src\\util.c").NeedsMerge(status));
}

TEST_F(FileItemTest, EachChangeManagementAnswerIsResolvedOnce) {
  ASSERT_EQ(cmd_utl_checkout(vob, hello, "v1", 0, "once", nullptr), 0);
  ASSERT_NE(CheckInElsewhere("hello 3\n"), 0u);
  CallLogScope log;
  CFileItem item = Item(kHello);
  GCL_Status status;
  for (int round = 0; round < 2; ++round) {
    item.View(status);
    item.IsChangeManagedView(status);
    item.Stream(status);
    item.Project(status);
    item.RecordsActivity(status);
    item.CheckoutComment(status);
    item.CheckoutActivity(status);
    item.IsReplicated(status);
    item.IsMasteredHere(status);
    EXPECT_TRUE(item.NeedsMerge(status));
  }
  EXPECT_TRUE(status.ok()) << status.messages().c_str();
  for (const char* call :
       {"view_get_view_info", "FLM_View::construct_from_uuid", "FLM_View::is_flm_view", "FLM_View::stream",
        "view_ws_lookup_pn", "FLM_Version::element", "FLM_Element::crde", "vob_ver_get_ckout_info",
        "FLM_Version::activity", "vob_ob_is_replicated", "vob_obj_get_master", "vob_ob_get_wk_obj",
        "vob_ver_get_pred_ver", "vob_branch_get_latest_ver", "vob_ver_find_merge"})
    EXPECT_EQ(CallLog::Calls(call).size(), 1u) << call;
  EXPECT_TRUE(CallLog::Calls("FLM_Stream::project").empty()) << "a view without a stream has no project to ask";
}

TEST_F(FileItemTest, AFailedCallLeavesItsStatusAndTheNextAskTriesAgain) {
  ASSERT_EQ(cmd_utl_checkout(vob, hello, "v1", 0, "retry", nullptr), 0);
  struct Case {
    const char* call;
    bool (*ask)(CFileItem&, GCL_Status&);
  };
  const Case cases[] = {
      {"view_get_view_info", [](CFileItem& i, GCL_Status& s) { return !i.View(s).is_null(); }},
      {"FLM_View::construct_from_uuid", [](CFileItem& i, GCL_Status& s) { return !i.View(s).is_null(); }},
      {"FLM_View::is_flm_view", [](CFileItem& i, GCL_Status& s) { return !i.IsChangeManagedView(s); }},
      {"FLM_View::stream", [](CFileItem& i, GCL_Status& s) { return i.Stream(s).is_null(); }},
      {"FLM_View::stream", [](CFileItem& i, GCL_Status& s) { return i.Project(s).is_null(); }},
      {"FLM_Version::element", [](CFileItem& i, GCL_Status& s) { return !i.RecordsActivity(s); }},
      {"FLM_Element::crde", [](CFileItem& i, GCL_Status& s) { return !i.RecordsActivity(s); }},
      {"vob_ver_get_ckout_info", [](CFileItem& i, GCL_Status& s) { return i.CheckoutComment(s) == "retry"; }},
      {"FLM_Version::activity", [](CFileItem& i, GCL_Status& s) { return i.CheckoutActivity(s).is_null(); }},
      {"vob_ob_is_replicated", [](CFileItem& i, GCL_Status& s) { return !i.IsReplicated(s); }},
      {"vob_obj_get_master", [](CFileItem& i, GCL_Status& s) { return i.IsMasteredHere(s); }},
      {"vob_ob_get_wk_obj", [](CFileItem& i, GCL_Status& s) { return i.IsMasteredHere(s); }},
      {"vob_ver_is_checked_out", [](CFileItem& i, GCL_Status& s) { return !i.NeedsMerge(s); }},
      {"vob_ver_get_pred_ver", [](CFileItem& i, GCL_Status& s) { return !i.NeedsMerge(s); }},
      {"vob_branch_get_latest_ver", [](CFileItem& i, GCL_Status& s) { return !i.NeedsMerge(s); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    CallLogScope log;
    CFileItem item = Item(kHello);
    CallLog::InjectFailure(c.call, Failure{1001, {{6, "the repository is unreachable\n"}}, 1});
    GCL_Status failing;
    c.ask(item, failing);
    EXPECT_EQ(failing.code(), 1001u);
    EXPECT_STREQ(failing.messages().c_str(), "the repository is unreachable\n");
    GCL_Status again;
    EXPECT_TRUE(c.ask(item, again)) << "the right answer once the call works";
    EXPECT_TRUE(again.ok()) << again.messages().c_str();
  }
}

}  // namespace
