// The cost of checking out (and checking in again) N files of one directory through the with-options
// entry (worker, progress window, per-file capture and outcome) against a
// bare loop of the client calls the operation makes per file, each run on a
// fresh repository made the same way (setup untimed). The set-up compares
// both runs' call logs, call name by call name, so the loops stay alike.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench_timing.h"
#include "clp.h"
#include "cmd_checkin.h"
#include "cmd_checkout.h"
#include "file_query.h"
#include "flm.h"
#include "imsg_redirect_scope.h"
#include "local/calllog.h"
#include "local/store.h"
#include "nlbd.h"
#include "ntregy.h"
#include "platform/hosts.h"
#include "platform/pathmap.h"
#include "platform/registry.h"
#include "rgy.h"
#include "rvcmndlg/entries.h"
#include "rvcmndlg/file_operation_list.h"
#include "stg.h"
#include "view.h"
#include "view_ws.h"
#include "vob.h"
#include "vob_ob.h"
#include "vob_utl_series.h"

namespace {

const std::filesystem::path& Homes() {
  static const auto homes = std::filesystem::temp_directory_path() / "rv_checkout_bench";
  return homes;
}

// A VOB \bench whose root directory holds N file elements, loaded into the
// view bench_view; the store in memory or in HOME/bench.db. Each repository
// gets a new home and none is removed until the benchmark ends: removing
// thousands of files just before a timed loop makes the file system's next
// creations slower, and would favour whichever loop runs first. (Homes are
// named by process too: each loop's process makes its own.)
void MakeRepository(int files, bool on_disk) {
  static int made = 0;
  client_local::UseStore(nullptr);
  const auto home = Homes() / (std::to_string(getpid()) + "." + std::to_string(++made));
  std::filesystem::remove_all(home);
  std::filesystem::create_directories(home);
  plat::SetHome(home);
  std::string error;
  client_local::UseStore(on_disk ? client_local::Store::OpenFile(home / "bench.db", &error)
                                 : client_local::Store::OpenMemory());
  rgy_add_region("bench", "bench region");
  rgy_set_default_region("bench");
  vob_handle_t vob = 0;
  vob_create("\\bench", "bench", &vob);
  for (int i = 0; i < files; ++i) {
    vob_dbid_t element = 0;
    vob_mkelem(vob, ("\\f" + std::to_string(i) + ".c").c_str(), 0, "", &element);
  }
  view_create("bench_view", 0, "the bench view");
}

std::string FileOf(int i) { return "\\\\view\\bench_view\\bench\\f" + std::to_string(i) + ".c"; }

int RunEntry(int files) {
  CFileOperationList list;
  for (int i = 0; i < files; ++i) list.AddFile(FileOf(i));
  return rvCheckoutWithOptionsOp(list, "bench work", 1, 0, 0, 0, nullptr, 0, 1, 0);
}

std::map<std::string, int> CallsOf(const std::function<void()>& work) {
  client_local::CallLog::StartRecording();
  work();
  std::map<std::string, int> counts;
  for (const auto& call : client_local::CallLog::Calls()) ++counts[call.name];
  client_local::CallLog::StopRecording();
  return counts;
}

// The settings every run of an entry reads.
void RunSettings() {
  int knob = 0;
  nlbd_knob_get_boolean(6, 0, &knob);
  nlbd_knob_get_boolean(6, 0, &knob);
  nlbd_knob_get_boolean(7, 0, &knob);
  char parameter[8];
  ntregy_get_param(41, parameter, sizeof parameter);
}

// What every entry asks first of each file: the series mark, then the file
// item's lookup, element, kind and check-outs. The version the name selects.
vob_dbid_t FirstQueries(int i, int files, const std::string& name, vob_handle_t* vob) {
  vob_utl_set_series_next_op(i == 0, i == files - 1);
  char tag[1024];
  vob_dbid_t version = 0, element = 0;
  std::uint32_t mtype = 0;
  view_ws_lookup_pn(name.c_str(), tag, sizeof tag, vob, &version);
  vob_ver_get_elem(*vob, version, &element);
  vob_obj_get_mtype(*vob, element, &mtype);
  std::vector<cmd_lscheckout_entry_s> checkouts;
  cmd_lscheckout_get_list(name.c_str(), 0, &checkouts);
  return version;
}

// The client calls the entry makes, in a bare loop: the run's settings and
// usage record, and per file its series mark, the file's queries (element,
// kind, check-outs, view, replication) and its check-out.
void BareLoop(int files) {
  // The command's messages are kept, as the entry keeps each file's.
  std::string messages;
  const imsg_redirect_scope keep(
      [](void* context, int, const char* text) { *static_cast<std::string*>(context) += text; }, &messages);
  RunSettings();
  for (int i = 0; i < files; ++i) {
    const std::string name = FileOf(i);
    vob_handle_t vob = 0;
    const vob_dbid_t version = FirstQueries(i, files, name, &vob);
    benchmark::DoNotOptimize(version);
    view_info_s info;
    view_get_view_info(name.c_str(), &info);
    FLM_View view;
    FLM_View::construct_from_uuid(info.uuid, &view);
    bool flm = false;
    view.is_flm_view(&flm);
    int replicated = 0;
    vob_ob_is_replicated(vob, &replicated);
    const stg_area_t area = stg_create_area(1012);
    const char* names[1] = {name.c_str()};
    cmd_checkout_args_s args;
    args.version = 8;
    args.area = area;
    args.pnames = names;
    args.pname_count = 1;
    args.unreserved = 0;
    args.reserved = 1;
    args.comment = "bench work";
    args.comment_mode = CMD_CHECKOUT_COMMENT_GIVEN;
    benchmark::DoNotOptimize(cmd_checkout(&args));
    stg_delete_area(area);
  }
  clp_collectdatai("rvCheckoutOp", files);
}

// The check-in entry's calls in a bare loop: the run's settings and usage
// record, and per file its series mark, the file item's queries (element,
// kind, check-outs, version, merge, comment, activity), the check-out asked
// for afresh, and the check-in.
void BareCheckinLoop(int files) {
  std::string messages;
  const imsg_redirect_scope keep(
      [](void* context, int, const char* text) { *static_cast<std::string*>(context) += text; }, &messages);
  RunSettings();
  for (int i = 0; i < files; ++i) {
    const std::string name = FileOf(i);
    vob_handle_t vob = 0;
    const vob_dbid_t version = FirstQueries(i, files, name, &vob);
    vob_dbid_t predecessor = 0, branch = 0, latest = 0;  // as the file item asks
    int out = 0;
    vob_ver_is_checked_out(vob, version, &out);
    vob_ver_get_pred_ver(vob, version, &predecessor);
    vob_ver_get_branch(vob, version, &branch);
    vob_branch_get_latest_ver(vob, branch, &latest);
    const stg_area_t info_area = stg_create_area(0);
    vob_ckout_info_s info;
    vob_ver_get_ckout_info(vob, version, info_area, &info);
    stg_delete_area(info_area);
    FLM_Activity activity;
    FLM_Version(vob, version).activity(&activity);
    vob_ver_is_checked_out(vob, version, &out);
    const stg_area_t area = stg_create_area(1000);
    auto** names = static_cast<const char**>(stg_alloc(area, 32 * sizeof(const char*)));
    names[0] = stg_strdup(area, name.c_str());
    cmd_checkin_args_s args;
    args.area = area;
    args.pnames = names;
    args.pname_count = 1;
    args.identical = 1;
    args.comment = "bench done";
    args.comment_mode = CMD_CHECKIN_COMMENT_GIVEN;
    benchmark::DoNotOptimize(cmd_checkin(&args));
    stg_delete_area(area);
  }
  clp_collectdatai("rvCheckinOp", files);
}

int RunCheckinEntry(int files) {
  CFileOperationList list;
  for (int i = 0; i < files; ++i) list.AddFile(FileOf(i));
  return rvCheckinWithOptionsOp(list, "bench done", 1, 0, 0, nullptr, 0, 1);
}

// Both loops make the same calls, name for name, on a small repository.
std::string CallsDiffer(const std::function<void(int)>& bare_loop, const std::function<int(int)>& entries) {
  MakeRepository(3, false);
  const auto bare = CallsOf([&] { bare_loop(3); });
  MakeRepository(3, false);
  const auto entry = CallsOf([&] { entries(3); });
  if (bare == entry) return {};
  std::string differences;
  for (const auto& [name, count] : entry)
    if (bare.count(name) == 0 || bare.at(name) != count)
      differences += " " + name + " " + std::to_string(count) + "/" + std::to_string(bare.count(name) ? bare.at(name) : 0);
  for (const auto& [name, count] : bare)
    if (entry.count(name) == 0) differences += " " + name;
  return "the loops' calls differ:" + differences;
}

// The bare loop on a thread of its own, as the entry's calls run on its
// worker: otherwise the bare loop's allocations share the heap arena that
// built the repository, and the two loops meet different heaps.
void OnWorker(const std::function<void()>& work) { std::thread(work).join(); }

// What one loop did: its times, how many files it carried through, and what
// it left on the heap.
struct LoopRun {
  bool ran = false;
  Timed timed;
  int succeeded = 0;
  std::size_t heap_left = 0;
};

// Runs a loop in a child process of its own, which makes its repository
// first: each loop starts from the same heap, not from one the other loop's
// threads have worn, and takes its heap and its threads' arenas with it. (A
// repository made before the fork would be copied page by page as the child
// writes to it, and that would cost more than the loop.)
LoopRun InChild(const std::function<LoopRun()>& loop) {
  int ends[2];
  if (pipe(ends) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    close(ends[0]);
    LoopRun run = loop();
    run.ran = true;
    const bool written = write(ends[1], &run, sizeof run) == static_cast<ssize_t>(sizeof run);
    _exit(written ? 0 : 1);  // no exit handlers: they belong to the parent
  }
  close(ends[1]);
  LoopRun run;
  if (child < 0 || read(ends[0], &run, sizeof run) != static_cast<ssize_t>(sizeof run)) run.ran = false;
  close(ends[0]);
  int status = 0;
  if (child > 0 && (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0))
    run.ran = false;
  return run;
}

// Both loops' wall-clock and processor seconds, summed over the iterations.
struct Totals {
  Timed bare, entry;
  int succeeded = 0;
  std::size_t heap_left = 0;
  bool failed = false;
  void Count(benchmark::State& state, int files, const char* per_file, const char* ratio) const {
    const double runs = static_cast<double>(state.iterations()) * files;
    state.counters["bare_us_per_file"] = bare.wall * 1e6 / runs;
    state.counters[per_file] = entry.wall * 1e6 / runs;
    state.counters[ratio] = bare.wall > 0 ? entry.wall / bare.wall : 0;
    state.counters["cpu_over_bare"] = bare.cpu > 0 ? entry.cpu / bare.cpu : 0;
  }
};

// One iteration: each loop on a fresh repository in a process of its own, the
// first of them in turn (the entry first in odd iterations), so neither always
// meets a machine the other has just warmed or worn. The entries return how
// many files they carried through.
void TimeBoth(benchmark::State& state, int files, bool on_disk, const std::function<void()>& bare_loop,
              const std::function<int()>& entries, Totals* totals) {
  const bool entry_first = state.iterations() % 2 == 1;
  double run = 0;
  for (int turn = 0; turn < 2; ++turn) {
    const bool entry_turn = (turn == 0) == entry_first;
    const LoopRun loop = InChild([&] {
      MakeRepository(files, on_disk);
      LoopRun child;
      if (entry_turn) {
        const std::size_t heap_before = mallinfo2().uordblks;
        child.timed = Time([&] { child.succeeded = entries(); });
        const std::size_t heap_after = mallinfo2().uordblks;
        child.heap_left = heap_after > heap_before ? heap_after - heap_before : 0;
      } else {
        child.timed = Time([&] { OnWorker(bare_loop); });
      }
      return child;
    });
    totals->failed = totals->failed || !loop.ran;
    Timed& sum = entry_turn ? totals->entry : totals->bare;
    sum.wall += loop.timed.wall;
    sum.cpu += loop.timed.cpu;
    if (entry_turn) {
      run = loop.timed.wall;
      totals->succeeded = loop.succeeded;
      totals->heap_left += loop.heap_left;
    }
  }
  state.SetIterationTime(run);
}

void BM_CheckoutAgainstBareLoop(benchmark::State& state) {
  const int files = static_cast<int>(state.range(0));
  const bool on_disk = state.range(1) != 0;
  plat::Registry::UseMemory();
  plat::SetUiHost(std::make_shared<plat::AutomaticHost>());
  if (const std::string differ = CallsDiffer(BareLoop, RunEntry); !differ.empty()) {
    state.SkipWithError(differ.c_str());
    return;
  }
  Totals totals;
  for (auto _ : state)
    TimeBoth(state, files, on_disk, [&] { BareLoop(files); }, [&] { return RunEntry(files); }, &totals);
  if (totals.failed) state.SkipWithError("a loop's process did not report");
  if (totals.succeeded != files) state.SkipWithError("not every file was checked out");
  totals.Count(state, files, "entry_us_per_file", "checkout_over_bare");
  plat::SetUiHost(nullptr);
  client_local::UseStore(nullptr);
  std::filesystem::remove_all(Homes());
}
// The machine's speed drifts by up to a tenth within minutes: each case
// takes several turns, each loop first in half of them.
BENCHMARK(BM_CheckoutAgainstBareLoop)
    ->ArgsProduct({{1000}, {0, 1}})
    ->ArgNames({"files", "disk"})
    ->Iterations(6)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckoutAgainstBareLoop)
    ->ArgsProduct({{10000}, {0, 1}})
    ->ArgNames({"files", "disk"})
    ->Iterations(4)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
// A run of 100,000 files outlasts the progress window's one-second delay: the
// window shows and every change is posted to it. One iteration of it scatters
// by a quarter from run to run.
BENCHMARK(BM_CheckoutAgainstBareLoop)
    ->Args({100000, 0})
    ->ArgNames({"files", "disk"})
    ->Iterations(4)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// A round trip: N files checked out and checked in again through the
// with-options entries (progress on, no prompts, identical contents allowed)
// against both bare loops; what the entries leave on the heap, per file.
void BareRoundTrip(int files) {
  BareLoop(files);
  BareCheckinLoop(files);
}

int RunRoundTrip(int files) { return RunEntry(files) + RunCheckinEntry(files); }

void BM_CheckoutCheckinRoundTrip(benchmark::State& state) {
  const int files = static_cast<int>(state.range(0));
  const bool on_disk = state.range(1) != 0;
  plat::Registry::UseMemory();
  plat::SetUiHost(std::make_shared<plat::AutomaticHost>());
  if (const std::string differ = CallsDiffer(BareRoundTrip, RunRoundTrip); !differ.empty()) {
    state.SkipWithError(differ.c_str());
    return;
  }
  Totals totals;
  for (auto _ : state)
    TimeBoth(state, files, on_disk, [&] { BareRoundTrip(files); }, [&] { return RunRoundTrip(files); }, &totals);
  if (totals.failed) state.SkipWithError("a loop's process did not report");
  if (totals.succeeded != 2 * files) state.SkipWithError("not every file was checked out and in");
  totals.Count(state, files, "entries_us_per_file", "entries_over_bare");
  state.counters["heap_bytes_per_file"] =
      static_cast<double>(totals.heap_left) / (static_cast<double>(state.iterations()) * files);
  plat::SetUiHost(nullptr);
  client_local::UseStore(nullptr);
  std::filesystem::remove_all(Homes());
}
BENCHMARK(BM_CheckoutCheckinRoundTrip)
    ->ArgsProduct({{1000}, {0, 1}})
    ->ArgNames({"files", "disk"})
    ->Iterations(6)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckoutCheckinRoundTrip)
    ->ArgsProduct({{10000}, {0, 1}})
    ->ArgNames({"files", "disk"})
    ->Iterations(4)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
