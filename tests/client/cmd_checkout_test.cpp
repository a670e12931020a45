// The check-out command: the records it leaves, the candidates it offers and
// the answers it takes, reservations, mastership, hijacked files, and every
// failure leaving the repository and the view's directory as they were.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "cmd_checkout.h"
#include "cmd_utl.h"
#include "local/calllog.h"
#include "stg.h"
#include "strutl.h"
#include "flm_admin.h"
#include "support/flm_sample.h"
#include "support/message_capture.h"
#include "support/repository.h"
#include "tbs.h"
#include "view.h"
#include "view_ws.h"
#include "vob.h"
#include "vob_ob.h"

namespace {

namespace fs = std::filesystem;
using client_local::CallLog;

constexpr const char* kHello = "\\\\view\\v1\\public\\src\\hello.c";
constexpr const char* kRelHello = "\\\\view\\rel1\\public\\src\\hello.c";
constexpr const char* kRelMerge = "\\\\view\\rel1\\public\\src\\m.c";

// What the callback saw, and how it answers.
struct Script {
  int answer = 0;
  int use_modified = 1;
  int hijacked = -1;
  std::vector<cmd_checkout_candidate_s> seen;  // their texts live in the command's area

  static int Confirm(const char*, std::uint32_t count, const cmd_checkout_candidate_s* candidates, int, int hijacked,
                     int* use_modified, void* context) {
    auto* self = static_cast<Script*>(context);
    self->hijacked = hijacked;
    self->seen.assign(candidates, candidates + count);
    *use_modified = self->use_modified;
    return self->answer;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& candidate : seen) names.emplace_back(candidate.name);
    return names;
  }
};

struct Ask {
  int reserved = 1, unreserved = 0, nonmastered = 0, preserve_time = 0, version_flag = 0;
  const char* comment = "my work";
};

int CheckOutIn(stg_area_t area, const std::string& name, const Ask& ask = {}, Script* script = nullptr) {
  const char* names[] = {name.c_str()};
  cmd_checkout_args_s args;
  args.area = area;
  args.pnames = names;
  args.pname_count = 1;
  args.reserved = ask.reserved;
  args.unreserved = ask.unreserved;
  args.nonmastered = ask.nonmastered;
  args.preserve_time = ask.preserve_time;
  args.version_flag = ask.version_flag;
  args.comment = ask.comment;
  args.comment_mode = ask.comment ? CMD_CHECKOUT_COMMENT_GIVEN : CMD_CHECKOUT_COMMENT_NONE;
  if (script) {
    args.callback = Script::Confirm;
    args.context = script;
  }
  return cmd_checkout(&args);
}

// The sample with the view "rel1" (REL1 over main's latest) and \src\m.c:
// \main\1 "a b c" (REL1), \main\2 "a b C" (a letter a line).
class CheckoutCommand : public rv_test::ViewTest {
 protected:
  explicit CheckoutCommand(bool store_in_file = false) : ViewTest(store_in_file) {}
  void SetUp() override {
    ViewTest::SetUp();
    ASSERT_EQ(vob_mkelem(vob, "\\src\\m.c", 0, "", &merge_elem), 0);
    Version(merge_elem, "\\public\\src\\m.c", "a\nb\nc\n", &m1);
    Version(merge_elem, "\\public\\src\\m.c", "a\nb\nC\n", &m2);
    ASSERT_EQ(vob_ver_add_label(vob, m1, "REL1"), 0);
    MakeView("rel1", "element * CHECKEDOUT\nelement * REL1\nelement * \\main\\LATEST\n");
    area = stg_create_area(0);
  }
  void TearDown() override {
    stg_delete_area(area);
    ViewTest::TearDown();
  }

  int CheckOut(const std::string& name, const Ask& ask = {}, Script* script = nullptr) {
    return CheckOutIn(area, name, ask, script);
  }
  static vob_dbid_t CheckedOut(const std::string& name) { return CheckedOutAt(name); }
  vob_ckout_info_s Info(vob_dbid_t version) {
    vob_ckout_info_s info;
    EXPECT_EQ(vob_ver_get_ckout_info(vob, version, area, &info), 0);
    return info;
  }
  vob_dbid_t Pred(vob_dbid_t version) {
    vob_dbid_t pred = 0;
    EXPECT_EQ(vob_ver_get_pred_ver(vob, version, &pred), 0);
    return pred;
  }
  fs::path RelFile(const std::string& relative) const { return home / "views" / "rel1" / relative; }
  void Hijack(const fs::path& file, const std::string& text) {
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    Write(file, text);
  }

  stg_area_t area = STG_NULL_AREA;
  vob_dbid_t merge_elem = 0, m1 = 0, m2 = 0, remote = 0;
};

TEST_F(CheckoutCommand, ReservedAndUnreservedRecordsWithTheirEventAndAWritableFile) {
  struct Case {
    const char* name;
    const char* relative;
    int reserved;
    const char* comment;
    vob_dbid_t pred;
    std::string text;
  };
  const Case cases[] = {
      {kHello, "public/src/hello.c", 1, "my work", hello2, "hello 2\n"},
      {"\\\\view\\v1\\public\\src\\util.c", "public/src/util.c", 0, nullptr, 0, "util 1\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Ask ask;
    ask.reserved = c.reserved;
    ask.comment = c.comment;
    rv_test::MessageCapture messages;
    ASSERT_EQ(CheckOut(c.name, ask), 0) << messages.Text();
    EXPECT_NE(messages.Text().find("Checked out \"" + std::string(c.name) + "\""), std::string::npos);
    const vob_dbid_t out = CheckedOut(c.name);
    ASSERT_NE(out, 0u);
    const vob_ckout_info_s info = Info(out);
    EXPECT_EQ(info.reserved, c.reserved);
    EXPECT_EQ(info.nonmastered, 0);
    EXPECT_STREQ(info.view, "v1");
    EXPECT_STREQ(info.comment, c.comment ? c.comment : "");
    vob_eventh_t event = 0;
    vob_event_info_s last;
    while (vob_obj_next_evenths(vob, out, &event) == 0) ASSERT_EQ(vob_event_get_info(vob, event, area, &last), 0);
    EXPECT_STREQ(last.kind, "checkout version");
    if (c.pred) {
      EXPECT_EQ(Pred(out), c.pred);
    }
    EXPECT_EQ(Read(File(c.relative)), c.text);
    EXPECT_TRUE(Writable(File(c.relative)));
    EXPECT_EQ(State(c.name), VIEW_FILE_CHECKED_OUT);
  }
}

TEST_F(CheckoutCommand, PreserveTimeKeepsTheFilesModificationTimeElseItIsNow) {
  for (int preserve : {1, 0}) {
    SCOPED_TRACE(preserve);
    const auto old_time = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(File("public/src/hello.c"), old_time);
    Ask ask;
    ask.preserve_time = preserve;
    ASSERT_EQ(CheckOut(kHello, ask), 0);
    const auto now = fs::last_write_time(File("public/src/hello.c"));
    if (preserve)
      EXPECT_EQ(now, old_time);
    else
      EXPECT_GT(now, old_time + std::chrono::hours(23));
    ASSERT_EQ(vob_utl_uncheckout(vob, "\\public\\src\\hello.c", "v1"), 0);
  }
}

TEST_F(CheckoutCommand, RefusalsChangeNothing) {
  ASSERT_EQ(CheckOut(kHello), 0);
  struct Case {
    const char* name;
    int version_flag;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {kHello, 0, TBS_ST_ALREADY, "is already checked out to view \"v1\""},
      {"\\public\\src\\util.c", 0, TBS_ST_INVALID_ARG, "is not a file through a view"},
      {"\\\\view\\nosuch\\public\\src\\util.c", 0, TBS_ST_NOT_FOUND, "No such view"},
      {"\\\\view\\v1\\public\\src\\none.c", 0, TBS_ST_NOT_FOUND, "Unable to find"},
      {"\\\\view\\v1\\public\\src\\util.c", 1, TBS_ST_INVALID_ARG, "names no version"},
      {"\\\\view\\v1\\public\\src\\util.c@@\\main\\9", 1, TBS_ST_NOT_FOUND, "No version \"\\main\\9\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rv_test::MessageCapture messages;
    Ask ask;
    ask.version_flag = c.version_flag;
    EXPECT_EQ(CheckOut(c.name, ask), c.status);
    EXPECT_NE(messages.Text().find(c.message), std::string::npos) << messages.Text();
  }
  EXPECT_EQ(CheckedOut("\\\\view\\v1\\public\\src\\util.c"), 0u);
  EXPECT_FALSE(Writable(File("public/src/util.c")));

  cmd_checkout_args_s bad;
  EXPECT_EQ(cmd_checkout(nullptr), TBS_ST_INVALID_ARG);
  EXPECT_EQ(cmd_checkout(&bad), TBS_ST_INVALID_ARG) << "no area, no names";
  const char* names[] = {"\\\\view\\v1\\public\\src\\util.c"};
  bad.area = area;
  bad.pnames = names;
  bad.pname_count = 1;
  bad.version = 7;
  EXPECT_EQ(cmd_checkout(&bad), TBS_ST_INVALID_ARG) << "an older block";
  bad.version = 8;
  bad.comment_mode = CMD_CHECKOUT_COMMENT_GIVEN;
  EXPECT_EQ(cmd_checkout(&bad), TBS_ST_INVALID_ARG) << "a comment given without its text";
  EXPECT_EQ(CheckedOut(names[0]), 0u);
}

TEST_F(CheckoutCommand, ADirectoryElementIsCheckedOutAndStaysADirectory) {
  const std::string dir = "\\\\view\\v1\\public\\src";
  ASSERT_EQ(CheckOut(dir), 0);
  const vob_dbid_t out = CheckedOut(dir);
  ASSERT_NE(out, 0u);
  EXPECT_EQ(Info(out).reserved, 1);
  EXPECT_TRUE(fs::is_directory(File("public/src")));
  EXPECT_EQ(Read(File("public/src/hello.c")), "hello 2\n");
}

TEST_F(CheckoutCommand, AReleaseViewOffersTheSelectedAndTheLatestVersion) {
  struct Case {
    int answer;
    int status;
    vob_dbid_t pred;  // 0: nothing checked out
    std::string text;
  };
  const Case cases[] = {
      {0, 0, hello1, "hello 1\n"},
      {1, 0, hello2, "hello 2\n"},
      {CMD_CHECKOUT_NONE, TBS_ST_INTERRUPTED, 0, "hello 1\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    Script script;
    script.answer = c.answer;
    rv_test::MessageCapture messages;
    EXPECT_EQ(CheckOut(kRelHello, {}, &script), c.status);
    ASSERT_EQ(script.seen.size(), 2u);
    EXPECT_EQ(script.Names(), (std::vector<std::string>{"\\public\\src\\hello.c@@\\main\\1",
                                                      "\\public\\src\\hello.c@@\\main\\2"}));
    EXPECT_STREQ(script.seen[0].branch, "\\main");
    EXPECT_STRNE(script.seen[0].creator, "");
    EXPECT_STRNE(script.seen[0].created, "");
    EXPECT_STREQ(script.seen[1].master, "original");
    EXPECT_EQ(script.hijacked, 0);
    const auto& selected = script.seen[0];
    const auto& latest = script.seen[1];
    EXPECT_EQ(selected.not_latest, 1);
    EXPECT_EQ(selected.not_loaded, 0);
    EXPECT_EQ(latest.not_latest, 0);
    EXPECT_EQ(latest.not_loaded, 1);
    for (const auto& candidate : script.seen) {
      EXPECT_EQ(candidate.auto_merge, 1);
      EXPECT_EQ(candidate.not_allowed + candidate.branch_exists + candidate.needs_hijack_merge +
                    candidate.unloaded_after_update + candidate.reserved_elsewhere + candidate.not_mastered_here,
                0);
    }
    const vob_dbid_t out = CheckedOut(kRelHello);
    EXPECT_EQ(Read(RelFile("public/src/hello.c")), c.text);
    if (!c.pred) {
      EXPECT_EQ(out, 0u);
      EXPECT_EQ(messages.Text(), "") << "nothing chosen: silent";
      EXPECT_FALSE(Writable(RelFile("public/src/hello.c")));
      continue;
    }
    ASSERT_NE(out, 0u);
    EXPECT_EQ(Pred(out), c.pred);
    EXPECT_TRUE(Writable(RelFile("public/src/hello.c")));
    ASSERT_EQ(vob_utl_uncheckout(vob, "\\public\\src\\hello.c", "rel1"), 0);
  }
}

TEST_F(CheckoutCommand, TheVersionFlagChecksOutTheNamedVersionExactly) {
  Script script;
  Ask ask;
  ask.version_flag = 1;
  ASSERT_EQ(CheckOut(std::string(kRelHello) + "@@\\main\\2", ask, &script), 0);
  EXPECT_EQ(script.Names(), std::vector<std::string>{"\\public\\src\\hello.c@@\\main\\2"}) << "one candidate";
  EXPECT_EQ(Pred(CheckedOut(kRelHello)), hello2);
  EXPECT_EQ(Read(RelFile("public/src/hello.c")), "hello 2\n");
}

// hello.c's main branch is reserved in the view "other" and mastered by the
// replica "remote": what the options allow, and the refusals' messages.
TEST_F(CheckoutCommand, ABranchReservedElsewhereOrMasteredElsewhereNeedsTheOptionsThatAllowIt) {
  vob_dbid_t theirs = 0;
  ASSERT_EQ(cmd_utl_checkout(vob, hello, "other", 1, "", &theirs), 0);
  ASSERT_EQ(vob_replica_create(vob, "remote", "", &remote), 0);
  ASSERT_EQ(vob_obj_set_master(vob, main_branch, remote), 0);
  const std::string reserved_msg = "Branch \"\\public\\src\\hello.c@@\\main\" is checked out reserved in view \"other\".";
  const std::string master_msg = "Branch \"\\public\\src\\hello.c@@\\main\" is mastered by replica \"remote\": only an "
                                 "unreserved, nonmastered check-out is allowed here.";
  struct Case {
    const char* what;
    int reserved, unreserved, nonmastered, answer, status;
    int flag13, forbidden;
    std::string message;  // of the refusal
  };
  const Case cases[] = {
      {"nothing chosen", 1, 0, 0, CMD_CHECKOUT_NONE, TBS_ST_ALREADY, 1, 1, reserved_msg + "\n" + master_msg},
      {"reserved, chosen anyway", 1, 0, 1, 0, TBS_ST_ALREADY, 1, 1, reserved_msg},
      {"mastered, chosen anyway", 1, 1, 0, 0, TBS_ST_ALREADY, 1, 1, master_msg},
      {"fallback and nonmastered", 1, 1, 1, 0, 0, 1, 0, ""},
      {"nonmastered answered", 1, 1, 0, CMD_CHECKOUT_NONMASTERED, 0, 1, 1, ""},
      {"unreserved asked", 0, 0, 1, 0, 0, 0, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Script script;
    script.answer = c.answer;
    Ask ask;
    ask.reserved = c.reserved;
    ask.unreserved = c.unreserved;
    ask.nonmastered = c.nonmastered;
    rv_test::MessageCapture messages;
    EXPECT_EQ(CheckOut(kHello, ask, &script), c.status);
    ASSERT_EQ(script.seen.size(), 1u);
    const cmd_checkout_candidate_s& seen = script.seen[0];
    EXPECT_EQ(seen.reserved_elsewhere, c.flag13);
    EXPECT_EQ(seen.not_mastered_here, 1);
    EXPECT_EQ(seen.not_allowed, c.forbidden);
    EXPECT_STREQ(seen.reserved_by, "other");
    EXPECT_STREQ(seen.master, "remote");
    const vob_dbid_t out = CheckedOut(kHello);
    if (c.status) {
      EXPECT_NE(messages.Text().find(c.message), std::string::npos) << messages.Text();
      EXPECT_EQ(out, 0u);
      EXPECT_FALSE(Writable(File("public/src/hello.c")));
      continue;
    }
    ASSERT_NE(out, 0u);
    EXPECT_EQ(Info(out).reserved, 0) << "another view holds it reserved; it is mastered elsewhere";
    EXPECT_EQ(Info(out).nonmastered, 1);
    ASSERT_EQ(vob_utl_uncheckout(vob, "\\public\\src\\hello.c", "v1"), 0);
  }
  vob_dbid_t master = 0, original = 0;
  ASSERT_EQ(vob_obj_get_master(vob, main_branch, &master), 0);
  EXPECT_EQ(master, remote);
  ASSERT_EQ(vob_obj_get_master(vob, hello, &original), 0);
  EXPECT_NE(original, remote) << "the element keeps its VOB's master";
  EXPECT_EQ(vob_obj_set_master(vob, hello, remote), TBS_ST_WRONG_KIND) << "only branches";
  EXPECT_EQ(vob_obj_set_master(vob, main_branch, hello), TBS_ST_WRONG_KIND) << "only to replicas";
  EXPECT_EQ(vob_replica_create(vob, "remote", "", nullptr), TBS_ST_ALREADY);
}

TEST_F(CheckoutCommand, AHijackedFileIsKeptOrRenamedBesideEarlierCopies) {
  const fs::path file = File("public/src/hello.c");
  struct Case {
    int use_modified;
    std::string text;  // the file afterwards
  };
  for (const Case& c : {Case{1, "my edit\n"}, Case{0, "hello 2\n"}}) {
    SCOPED_TRACE(c.use_modified);
    Hijack(file, "my edit\n");
    Write(fs::path(file) += ".hijack", "an older copy\n");
    Script script;
    script.use_modified = c.use_modified;
    ASSERT_EQ(CheckOut(kHello, {}, &script), 0);
    EXPECT_EQ(script.hijacked, 1);
    ASSERT_EQ(script.seen.size(), 1u);
    EXPECT_EQ(script.seen[0].needs_hijack_merge, 0) << "the loaded version";
    EXPECT_EQ(Read(file), c.text);
    EXPECT_EQ(Pred(CheckedOut(kHello)), hello2);
    EXPECT_EQ(State(kHello), VIEW_FILE_CHECKED_OUT);
    EXPECT_EQ(Read(fs::path(file) += ".hijack"), "an older copy\n") << "never overwritten";
    EXPECT_EQ(fs::exists(fs::path(file) += ".hijack.1"), c.use_modified == 0);
    if (!c.use_modified) {
      EXPECT_EQ(Read(fs::path(file) += ".hijack.1"), "my edit\n");
    }
    ASSERT_EQ(vob_utl_uncheckout(vob, "\\public\\src\\hello.c", "v1"), 0);
    fs::remove(fs::path(file) += ".hijack");
  }
}

TEST_F(CheckoutCommand, AHijackedFileIsMergedIntoALaterVersionUnlessTheyConflict) {
  struct Case {
    std::string edit;
    int status;
    std::string text;  // the file afterwards
  };
  const Case cases[] = {
      {"A\nb\nc\n", 0, "A\nb\nC\n"},
      {"a\nb\nX\n", TBS_ST_FAILURE, "a\nb\nX\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edit);
    Hijack(RelFile("public/src/m.c"), c.edit);
    Script script;
    script.answer = 1;
    rv_test::MessageCapture messages;
    EXPECT_EQ(CheckOut(kRelMerge, {}, &script), c.status) << messages.Text();
    ASSERT_EQ(script.seen.size(), 2u);
    EXPECT_EQ(script.seen[0].needs_hijack_merge, 0);
    EXPECT_EQ(script.seen[1].needs_hijack_merge, 1);
    EXPECT_EQ(Read(RelFile("public/src/m.c")), c.text);
    const vob_dbid_t out = CheckedOut(kRelMerge);
    if (c.status) {
      EXPECT_NE(messages.Text().find("conflicts with \"\\public\\src\\m.c@@\\main\\2\" (line 3)"), std::string::npos)
          << messages.Text();
      EXPECT_EQ(out, 0u);
      EXPECT_EQ(State(kRelMerge), VIEW_FILE_HIJACKED);
      continue;
    }
    EXPECT_EQ(Pred(out), m2);
    ASSERT_EQ(vob_utl_uncheckout(vob, "\\public\\src\\m.c", "rel1"), 0);
  }
}

// While alive, the process works as a user that may not write the view's
// directory (root writes everywhere; it takes another user's rights).
class UnwritableDirectory {
 public:
  UnwritableDirectory(const fs::path& home, const fs::path& dir) : dir_(dir) {
    fs::permissions(dir, fs::perms(0555));
    if (::geteuid() == 0) {
      fs::permissions(home, fs::perms(0755));
      as_other_ = ::seteuid(65534) == 0;
    }
  }
  ~UnwritableDirectory() {
    if (as_other_) {
      EXPECT_EQ(::seteuid(0), 0);
    }
    fs::permissions(dir_, fs::perms(0755));
  }

 private:
  fs::path dir_;
  bool as_other_ = false;
};

TEST_F(CheckoutCommand, EveryFailureLeavesTheRepositoryAndTheViewAsTheyWere) {
  const fs::path file = RelFile("public/src/hello.c");
  struct Case {
    const char* what;
    std::function<void()> inject;
    std::function<void()> clear;
  };
  std::unique_ptr<UnwritableDirectory> unwritable;
  const Case cases[] = {
      {"the command", [] { CallLog::InjectFailure("cmd_checkout", rv_test::Failing(TBS_ST_NO_ACCESS)); },
       [] { CallLog::ClearFailures(); }},
      {"a call mid-command", [] { CallLog::InjectFailure("view_inval_obj", rv_test::Failing(TBS_ST_NO_ACCESS)); },
       [] { CallLog::ClearFailures(); }},
      {"an unwritable view directory",
       [&] { unwritable = std::make_unique<UnwritableDirectory>(home, file.parent_path()); },
       [&] { unwritable.reset(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Script script;
    script.answer = 1;  // the latest: the file must be written
    c.inject();
    const int status = CheckOut(kRelHello, {}, &script);
    c.clear();
    EXPECT_NE(status, 0);
    EXPECT_EQ(CheckedOut(kRelHello), 0u);
    EXPECT_EQ(Read(file), "hello 1\n");
    EXPECT_FALSE(Writable(file));
    EXPECT_EQ(State(kRelHello), VIEW_FILE_CHECKED_IN);
  }
}

// The name a mastership request is made of (the directory, "\", the leaf,
// "@@" and the candidate's branch) comes through whole at any length.
TEST_F(CheckoutCommand, AMastershipRequestNameOfAnyLengthIsBuiltWhole) {
  const std::string dir = "\\public\\" + std::string(1500, 'd');
  const std::string leaf = std::string(300, 'f') + ".c";
  const char* got_dir = nullptr;
  const char* got_leaf = nullptr;
  ASSERT_EQ(vob_utl_strip_leaf((dir + "\\" + leaf).c_str(), area, &got_dir, &got_leaf), 0);
  EXPECT_EQ(got_dir, dir);
  EXPECT_EQ(got_leaf, leaf);
  const char* joined = strutl_concat(area, strutl_concat(area, got_dir, "\\"), got_leaf);
  const char* request = strutl_concat(area, strutl_concat(area, joined, tbs_version_ext_pname()), "\\main");
  ASSERT_NE(request, nullptr);
  EXPECT_EQ(std::string(request), dir + "\\" + leaf + "@@\\main");
  EXPECT_EQ(vob_utl_strip_leaf("notes.txt", area, &got_dir, &got_leaf), 0);
  EXPECT_STREQ(got_dir, ".");
  EXPECT_STREQ(got_leaf, "notes.txt");
  EXPECT_EQ(vob_utl_strip_leaf(nullptr, area, &got_dir, &got_leaf), TBS_ST_INVALID_ARG);
  EXPECT_EQ(strutl_concat(area, nullptr, "x"), nullptr);
}

// The store in a file, so that its commit can be made to fail.
class CheckoutRollback : public CheckoutCommand {
 protected:
  CheckoutRollback() : CheckoutCommand(/*store_in_file=*/true) {}
};

TEST_F(CheckoutRollback, AFailedCommitPutsBackTheHijackedFileAndTakesAwayItsCopy) {
  const fs::path file = File("public/src/hello.c");
  Hijack(file, "my edit\n");
  const auto mtime = fs::last_write_time(file);
  Script script;
  script.use_modified = 0;
  {
    rv_test::MessageCapture messages;
    rv_test::StoreReadLock lock(StoreFile());
    EXPECT_NE(CheckOut(kHello, {}, &script), 0);
    EXPECT_NE(messages.Text().find("cannot save the changes"), std::string::npos) << messages.Text();
  }
  EXPECT_EQ(Read(file), "my edit\n");
  EXPECT_EQ(fs::last_write_time(file), mtime);
  EXPECT_FALSE(fs::exists(fs::path(file) += ".hijack"));
  EXPECT_EQ(State(kHello), VIEW_FILE_HIJACKED);
  EXPECT_EQ(CheckedOut(kHello), 0u);
}

// In a stream view the checked-out version joins the view's current
// activity; with none current the check-out is refused and changes nothing.
class StreamViewCheckout : public rv_test::FlmSampleTest {};

TEST_F(StreamViewCheckout, TheVersionJoinsTheCurrentActivityOrWithoutOneNothingHappens) {
  const stg_area_t area = stg_create_area(0);
  rv_test::MessageCapture messages;
  ASSERT_EQ(CheckOutIn(area, kHello), 0) << messages.Text();
  FLM_VersionList changes;
  ASSERT_EQ(fix.change_set(&changes), 0);
  ASSERT_EQ(changes.length(), 2u) << "the version it had and the checked-out one";
  int out = 0;
  EXPECT_EQ(vob_ver_is_checked_out(vob, changes[1].dbid(), &out), 0);
  EXPECT_EQ(out, 1);

  ASSERT_EQ(flm_admin_set_view_stream("v1", hello_dev, FLM_Activity()), 0);
  const std::string before = Read(File("public/src/util.c"));
  EXPECT_EQ(CheckOutIn(area, "\\\\view\\v1\\public\\src\\util.c"), TBS_ST_FAILURE);
  EXPECT_NE(messages.Text().find("View \"v1\" has no current activity"), std::string::npos) << messages.Text();
  EXPECT_FALSE(Writable(File("public/src/util.c")));
  EXPECT_EQ(Read(File("public/src/util.c")), before);
  stg_delete_area(area);
}

}  // namespace
