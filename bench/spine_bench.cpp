// The cost of the file-operation spine: a run of N files through the entry's
// machinery (worker, progress window, per-file capture and outcome) against
// the same client calls made in a bare loop (each file's read and series
// mark, the run's usage record), with the store in memory (the spine's own
// cost shows) and on disk.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench_timing.h"
#include "clp.h"
#include "fileops/common_operation.h"
#include "rvcmndlg/file_operation_list.h"
#include "fileops/run_operation.h"
#include "gcl_status.h"
#include "local/store.h"
#include "ntregy.h"
#include "platform/dialog.h"
#include "platform/hosts.h"
#include "platform/registry.h"
#include "res/resource_ids.h"
#include "vob_utl_series.h"

namespace {

// One repository read per file, as a light operation makes.
int RepositoryCall(int i) {
  char buffer[64];
  return ntregy_get_param(i % 8, buffer, sizeof buffer);
}

class ReadingOperation : public CCommonOperation {
 public:
  using CCommonOperation::CCommonOperation;

 protected:
  void ProcessFile(GCL_Status& status, CFileItem&) override {
    if (RepositoryCall(index_++) != 0) status.set_code(1001);
  }

 private:
  int index_ = 0;
};

void UseStore(bool on_disk) {
  if (!on_disk) {
    client_local::UseStore(client_local::Store::OpenMemory());
    return;
  }
  const auto path = std::filesystem::temp_directory_path() / "rv_spine_bench.db";
  std::filesystem::remove(path);
  std::string error;
  client_local::UseStore(client_local::Store::OpenFile(path, &error));
}

void BM_SpineAgainstBareLoop(benchmark::State& state) {
  const int files = static_cast<int>(state.range(0));
  const bool on_disk = state.range(1) != 0;
  plat::Registry::UseMemory();
  UseStore(on_disk);
  for (int p = 0; p < 8; ++p) ntregy_set_param(p, ("value " + std::to_string(p)).c_str());
  plat::SetUiHost(std::make_shared<plat::AutomaticHost>());
  const std::size_t heap_before = mallinfo2().uordblks;
  CFileOperationList list;
  for (int i = 0; i < files; ++i) list.AddFile("C:\\views\\bench\\file" + std::to_string(i) + ".c");
  double bare = 0, spine = 0;
  for (auto _ : state) {
    // The client calls a run makes besides the operation's own: the series
    // mark of each file and the run's usage record.
    bare += Seconds([&] {
      for (int i = 0; i < files; ++i) {
        benchmark::DoNotOptimize(vob_utl_set_series_next_op(i == 0, i == files - 1));
        benchmark::DoNotOptimize(RepositoryCall(i));
      }
      clp_collectdatai("bench", files);
    });
    const double run = Seconds([&] {
      const int done = RunFileOperation(list, nullptr, 1,
                                        OperationRun{rvcmndlg::res::IDS_CHECKING_IN, rvcmndlg::res::IDR_AVI_CHECKIN,
                                                     "bench"},
                                        [](CProgressDlg& progress, plat::ObjectArray& entries) {
                                          return std::make_unique<ReadingOperation>(progress, entries);
                                        });
      benchmark::DoNotOptimize(done);
    });
    spine += run;
    state.SetIterationTime(run);
  }
  state.counters["bare_us_per_file"] = bare * 1e6 / (static_cast<double>(state.iterations()) * files);
  state.counters["spine_us_per_file"] = spine * 1e6 / (static_cast<double>(state.iterations()) * files);
  state.counters["spine_over_bare"] = bare > 0 ? spine / bare : 0;
  // What the entries and every run left on the heap, per file: runs add
  // nothing, so this is the entries' own size.
  const std::size_t heap_after = mallinfo2().uordblks;
  state.counters["heap_bytes_per_file"] =
      heap_after > heap_before ? static_cast<double>(heap_after - heap_before) / files : 0;
  plat::SetUiHost(nullptr);
  client_local::UseStore(nullptr);
}
BENCHMARK(BM_SpineAgainstBareLoop)
    ->ArgsProduct({{100, 1000, 10000}, {0, 1}})
    ->ArgNames({"files", "disk"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
