// The failure sweep: each file operation runs once cleanly with the call log
// recording, then once more from the same start for every call of that run,
// with that call failing. After every run each file is either done as the
// operation promises and reported so, or untouched and reported failed or
// not processed; no storage area, message routing or window is left behind;
// the store and the view's directory agree; and no edit is lost.
#include <gtest/gtest.h>

#include <cstdio>
#include <cctype>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cmd_utl.h"
#include "file_query.h"
#include "imsg.h"
#include "local/calllog.h"
#include "platform/hosts.h"
#include "rvcmndlg/entries.h"
#include "rvcmndlg/file_operation_list.h"
#include "stg.h"
#include "support/repository.h"
#include "tbs.h"
#include "view.h"
#include "view_check.h"

namespace {

using client_local::CallLog;
using client_local::CallRecord;

constexpr const char* kMergeTarget = "\\\\view\\v1\\public\\src\\merge.c";
constexpr const char* kMergeDev1 = "\\public\\src\\merge.c@@\\main\\dev\\1";
constexpr const char* kMerged = "a\nB\nc\nD\ne\nf\nG\n";

std::string LibraryName(const std::string& relative) {
  std::string name = "\\\\view\\v1\\" + relative;
  for (char& c : name)
    if (c == '/') c = '\\';
  return name;
}

// The scripted user of the sweep: answers every error box with its default
// and counts the windows that are open.
class SweepHost : public plat::ScriptedHost {
 public:
  SweepHost() { OnMessage("").Default().Always().Optional(); }
  void WindowShown(plat::Window& window, bool modal) override {
    open_.insert(&window);
    ScriptedHost::WindowShown(window, modal);
  }
  void WindowHidden(plat::Window& window) override {
    open_.erase(&window);
    ScriptedHost::WindowHidden(window);
  }
  std::size_t Open() const { return open_.size(); }

 private:
  std::set<plat::Window*> open_;
};

// What a file of the view is, as far as an operation may change it.
struct FileSnapshot {
  bool exists = false;
  std::string bytes;
  bool writable = false;
  bool keep = false;
  std::string keep_bytes;
  std::string checkouts;  // "VIEW:RESERVED ..." of the element
  int state = -1;         // VIEW_FILE_*

  bool operator==(const FileSnapshot&) const = default;
  std::string Text() const {
    std::ostringstream out;
    out << (exists ? "'" + bytes + "'" : std::string("absent")) << (writable ? " writable" : " read-only")
        << (keep ? " keep '" + keep_bytes + "'" : std::string()) << " checkouts [" << checkouts << "] state "
        << state;
    return out.str();
  }
};

// One scenario: the merge sample in a scratch home, from a fresh start.
class Scenario : public rv_test::MergeTest {
 public:
  void Begin() { SetUp(); }
  void End() { TearDown(); }
  void TestBody() override {}

  FileSnapshot Snapshot(const std::string& relative) const {
    FileSnapshot s;
    const auto path = File(relative);
    s.exists = std::filesystem::exists(path);
    if (s.exists) {
      if (!std::filesystem::is_directory(path)) s.bytes = Read(path);
      s.writable = Writable(path);
    }
    s.state = State(LibraryName(relative));
    const auto keep = File(relative + ".keep");
    s.keep = std::filesystem::exists(keep);
    if (s.keep) s.keep_bytes = Read(keep);
    std::vector<cmd_lscheckout_entry_s> list;
    if (cmd_lscheckout_get_list(LibraryName(relative).c_str(), 0, &list) == 0)
      for (const auto& c : list) s.checkouts += c.view + ":" + std::to_string(c.reserved) + " ";
    return s;
  }
  // Checks the element out to v1 and puts the user's edit in its file.
  void CheckOutWithEdit(vob_dbid_t elem, const std::string& relative, int reserved) {
    vob_dbid_t out = 0;
    ASSERT_EQ(cmd_utl_checkout(vob, elem, "v1", reserved, "", &out), 0);
    Edit(relative, "edit of " + relative + "\n");
  }
  void CheckOutAll(int reserved) {
    CheckOutWithEdit(hello, "public/src/hello.c", reserved);
    CheckOutWithEdit(util, "public/src/util.c", reserved);
    CheckOutWithEdit(readme, "public/doc/README.txt", reserved);
  }
  // Whether the merge from \main\dev\1 is recorded on the check-out.
  bool Merged() const { return MergedInto(checked_out) == dev1; }
  void Edit(const std::string& relative, const std::string& text) {
    std::filesystem::create_directories(File(relative).parent_path());
    Write(File(relative), text);
    edits[relative] = text;
  }
  std::string VersionText(const std::string& relative) const {
    return relative == "public/src/hello.c" ? "hello 2\n" : relative == "public/src/util.c" ? "util 1\n" : "read me\n";
  }

  std::map<std::string, std::string> edits;  // the user's unsaved work, by file
  std::map<std::string, int> reported;       // each file's status after the run
  std::string transcript;                    // what the user saw
};

// An operation of the sweep: its files, the start it runs from, the run (the
// status of each file; the entry's count must match) and what a file that
// succeeded must be.
struct Operation {
  const char* name;
  std::vector<std::string> files;
  std::function<void(Scenario&)> prepare;
  std::function<std::vector<int>(Scenario&, const std::vector<std::string>&, int* count)> run;
  std::function<bool(Scenario&, const std::string&, const FileSnapshot& before, const FileSnapshot& after)> done;
  // A success may rewrite the file: the user's edit is then what done() says.
  bool success_rewrites_file = false;
  // Whether a file reported failed may still have been changed, by another
  // file of the run that succeeded.
  std::function<bool(Scenario&, const std::string&, const FileSnapshot& after)> changed_by_another = nullptr;
};

// Test names and failures show the operation by its name.
void PrintTo(const Operation& op, std::ostream* out) { *out << op.name; }

const std::vector<std::string> kThreeFiles = {"public/src/hello.c", "public/src/util.c", "public/doc/README.txt"};

using ListRun = std::function<int(CFileOperationList&)>;
using Run = std::function<std::vector<int>(Scenario&, const std::vector<std::string>&, int* count)>;

// A run of a list operation over the files: the statuses of its entries.
Run OverList(ListRun run) {
  return [run](Scenario&, const std::vector<std::string>& files, int* count) {
    CFileOperationList list;
    for (const auto& f : files) list.AddFile(LibraryName(f));
    *count = run(list);
    std::vector<int> statuses;
    for (int i = 0; i < list.GetSize(); ++i) statuses.push_back(list.Entry(i)->Status());
    return statuses;
  };
}

bool Unchanged(const FileSnapshot& before, const FileSnapshot& after) { return before == after; }

// The view-private files and directory that add to source makes elements.
const std::vector<std::string> kPrivateFiles = {"public/src/new.c", "public/tools", "public/tools/build.sh"};

// Checked in: the file's bytes as they were, read-only, no check-out left.
bool CheckedIn(const FileSnapshot& before, const FileSnapshot& after) {
  return after.exists && after.bytes == before.bytes && !after.writable && after.checkouts.empty() &&
         after.state == VIEW_FILE_CHECKED_IN;
}

std::vector<Operation> Operations() {
  auto undone = [](bool keep) {
    return [keep](Scenario& s, const std::string& f, const FileSnapshot& before, const FileSnapshot& after) {
      return after.exists && after.bytes == s.VersionText(f) && !after.writable && after.checkouts.empty() &&
             after.keep == keep && (!keep || after.keep_bytes == before.bytes);
    };
  };
  auto uncheckout = [](int keep) {
    return OverList([keep](CFileOperationList& list) {
      list.SetUNCOKeepFile(keep);
      list.SetUNCOShowProgressDlg(0);
      return list.UncheckoutWithOptions();
    });
  };
  auto reserve = [](int reserve_it) {
    return OverList([reserve_it](CFileOperationList& list) {
      list.SetRESReserve(reserve_it);
      list.SetRESShowProgressDlg(0);
      return list.Reserve();
    });
  };
  auto reserved_now = [](int reserved) {
    return [reserved](Scenario&, const std::string&, const FileSnapshot& before, const FileSnapshot& after) {
      FileSnapshot expected = before;
      expected.checkouts = "v1:" + std::to_string(reserved) + " ";
      return after == expected;
    };
  };
  return {
      {"checkout", kThreeFiles, [](Scenario&) {},
       OverList([](CFileOperationList& list) {
         list.SetCOReserved(1);
         list.SetCOUnreserved(0);
         list.SetCOShowProgressDlg(0);
         return list.CheckoutWithOptions();
       }),
       [](Scenario&, const std::string&, const FileSnapshot& before, const FileSnapshot& after) {
         return after.exists && after.bytes == before.bytes && after.writable && after.checkouts == "v1:1 ";
       }},
      {"uncheckout --keep", kThreeFiles, [](Scenario& s) { s.CheckOutAll(1); }, uncheckout(1), undone(true)},
      {"uncheckout --no-keep", kThreeFiles, [](Scenario& s) { s.CheckOutAll(1); }, uncheckout(0), undone(false),
       true},
      {"reserve", kThreeFiles, [](Scenario& s) { s.CheckOutAll(0); }, reserve(1), reserved_now(1)},
      {"unreserve", kThreeFiles, [](Scenario& s) { s.CheckOutAll(1); }, reserve(0), reserved_now(0)},
      {"checkin", kThreeFiles, [](Scenario& s) { s.CheckOutAll(1); },
       OverList([](CFileOperationList& list) {
         list.SetCIComment("sweep");
         list.SetCIIdentical(0);
         list.SetCIPrompt(0);
         list.SetCIUseCheckoutInfo(0);
         list.SetCIPreserveTime(0);
         list.SetCIShowProgressDlg(0);
         return list.CheckinWithOptions();
       }),
       [](Scenario&, const std::string&, const FileSnapshot& before, const FileSnapshot& after) {
         return CheckedIn(before, after);
       }},
      {"add", kPrivateFiles,
       [](Scenario& s) {
         s.Edit("public/src/new.c", "new file\n");
         s.Edit("public/tools/build.sh", "echo build\n");
       },
       OverList([](CFileOperationList& list) {
         list.SetATSComment("sweep");
         list.SetATSKeepCheckedOut(0);
         list.SetATSPreserveTime(0);
         list.SetATSShowProgressDlg(0);
         return list.AddToSrcWithOptions();
       }),
       [](Scenario& s, const std::string& f, const FileSnapshot& before, const FileSnapshot& after) {
         // A directory whose check-in at the end failed stays checked out, and the closing box says so.
         const bool told = s.transcript.find("injected failure") != std::string::npos;
         if (f == "public/tools")
           return after.exists && after.state == VIEW_FILE_DIRECTORY && (after.checkouts.empty() || told);
         return CheckedIn(before, after);
       },
       false,
       // Adding a file makes the directories on its way elements.
       [](Scenario& s, const std::string& f, const FileSnapshot& after) {
         return f == "public/tools" && s.reported["public/tools/build.sh"] == COperationObj::kSucceeded &&
                after.state == VIEW_FILE_DIRECTORY;
       }},
      {"merge", {"public/src/merge.c"}, [](Scenario& s) { s.Edit("public/src/merge.c", "a\nb\nc\nD\ne\nf\nG\n"); },
       [](Scenario&, const std::vector<std::string>&, int* count) {
         const int status = rvMergeFiles(kMergeTarget, "", {kMergeDev1}, 0);
         *count = status == 0 ? 1 : 0;
         return std::vector<int>{status == 0 ? COperationObj::kSucceeded : COperationObj::kFailed};
       },
       [](Scenario& s, const std::string&, const FileSnapshot& before, const FileSnapshot& after) {
         FileSnapshot expected = before;
         expected.bytes = kMerged;
         return after == expected && s.Merged();
       },
       true},
  };
}

struct Figures {
  int run = 0, passed = 0;
};
Figures g_total;

// One scenario: from a fresh start, the operation with the failure (or none);
// what went wrong, empty when nothing did. The calls of the run go to *calls.
std::vector<std::string> RunScenario(const Operation& op, const CallRecord* failing, int nth,
                                     std::vector<CallRecord>* calls) {
  std::vector<std::string> problems;
  auto host = std::make_shared<SweepHost>();
  plat::SetUiHost(host);
  Scenario s;
  s.Begin();
  op.prepare(s);
  if (::testing::Test::HasFatalFailure()) return {"the start could not be made"};
  std::vector<FileSnapshot> before;
  for (const auto& f : op.files) before.push_back(s.Snapshot(f));
  const int areas = stg_live_area_count();
  imsg_redirect_procs_t routing_before, routing_after;
  imsg_get_redirect_procs(&routing_before);

  int count = -1;
  std::vector<int> statuses;
  bool injected = false;
  {
    client_local::CallLogScope log;
    if (failing) {
      auto failure = rv_test::Failing(TBS_ST_FAILURE, "injected failure of " + failing->name);
      failure.nth = nth;
      failure.times = 1;
      CallLog::InjectFailure(failing->name, failure);
    }
    statuses = op.run(s, op.files, &count);
    if (calls) *calls = CallLog::Calls();
    for (const auto& c : CallLog::Calls()) injected = injected || c.injected;
  }

  if (failing && !injected) problems.push_back("the failure was never met");
  for (std::size_t i = 0; i < op.files.size() && i < statuses.size(); ++i) s.reported[op.files[i]] = statuses[i];
  s.transcript = host->TranscriptText();
  int succeeded = 0;
  for (int st : statuses) succeeded += st == COperationObj::kSucceeded;
  if (statuses.size() != op.files.size() || succeeded != count)
    problems.push_back("the entry's count " + std::to_string(count) + " is not its " + std::to_string(succeeded) +
                       " successes");
  for (std::size_t i = 0; i < op.files.size() && i < statuses.size(); ++i) {
    const auto& f = op.files[i];
    const FileSnapshot after = s.Snapshot(f);
    if (statuses[i] == COperationObj::kSucceeded) {
      if (!op.done(s, f, before[i], after))
        problems.push_back(f + " reported done but is " + after.Text() + " (was " + before[i].Text() + ")");
    } else if (!Unchanged(before[i], after) && !(op.changed_by_another && op.changed_by_another(s, f, after))) {
      problems.push_back(f + " reported " + std::to_string(statuses[i]) + " but changed to " + after.Text() +
                         " (was " + before[i].Text() + ")");
    }
    const auto edit = s.edits.find(f);
    if (edit != s.edits.end() && !(op.success_rewrites_file && statuses[i] == COperationObj::kSucceeded) &&
        after.bytes != edit->second && after.keep_bytes != edit->second)
      problems.push_back(f + ": the edit is lost");
  }
  // An area whose release is made to fail stays: that is the failure itself.
  const bool release_failed = failing && failing->name == "stg_delete_area";
  if (stg_live_area_count() != areas + (release_failed ? 1 : 0)) problems.push_back("a storage area is left");
  imsg_get_redirect_procs(&routing_after);
  if (!(routing_after == routing_before)) problems.push_back("the message routing is not restored");
  if (host->Open() != 0) problems.push_back(std::to_string(host->Open()) + " windows are left open");
  for (const auto& failure : host->Failures()) problems.push_back("the user saw: " + failure);
  view_check_result_t check;
  if (view_check_views(0, &check) != 0) problems.push_back("the check did not run");
  for (const auto& d : check.findings)
    problems.push_back("the check finds " + d.path + ": " + view_check_kind_text(d.kind));

  s.End();
  plat::SetUiHost(nullptr);
  return problems;
}

class FailureSweep : public ::testing::TestWithParam<Operation> {};

TEST_P(FailureSweep, EveryFailingCallLeavesTheFilesDoneOrUntouched) {
  const Operation& op = GetParam();
  Figures figures;
  auto count = [&](const std::string& scenario, const std::vector<std::string>& problems) {
    ++figures.run;
    if (problems.empty()) {
      ++figures.passed;
      return;
    }
    std::string text;
    for (const auto& p : problems) text += "\n  " + p;
    ADD_FAILURE() << op.name << ", " << scenario << ":" << text;
  };
  std::vector<CallRecord> calls;
  count("clean run", RunScenario(op, nullptr, 0, &calls));
  ASSERT_FALSE(calls.empty());
  std::map<std::string, int> seen;
  for (const CallRecord& call : calls) {
    const int nth = ++seen[call.name];
    count(call.name + " #" + std::to_string(nth) + " failing", RunScenario(op, &call, nth, nullptr));
  }
  std::printf("sweep: %s: %d scenarios run, %d passed\n", op.name, figures.run, figures.passed);
  g_total.run += figures.run;
  g_total.passed += figures.passed;
}

INSTANTIATE_TEST_SUITE_P(Operations, FailureSweep, ::testing::ValuesIn(Operations()),
                         [](const ::testing::TestParamInfo<Operation>& param) {
                           std::string name;
                           for (const char* c = param.param.name; *c; ++c)
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           return name;
                         });

// The figure over every operation that ran in this process.
class SweepFigure : public ::testing::Environment {
 public:
  void TearDown() override {
    std::printf("sweep: %d scenarios run, %d passed\n", g_total.run, g_total.passed);
  }
};
[[maybe_unused]] const auto* const g_figure = ::testing::AddGlobalTestEnvironment(new SweepFigure);

}  // namespace
