// The cost of the project tree: loading a project of N streams through the
// hosted control (member 2) against a bare loop of the model calls it makes
// (the project VOBs, the root folder's contents, the project's streams, and
// for each stream whether it integrates, its owner, name and selector).
#include <benchmark/benchmark.h>

#include <string>

#include "bench_timing.h"
#include "cmctls/cmctls.h"
#include "flm_admin.h"
#include "local/store.h"
#include "platform/hosted_control.h"
#include "platform/registry.h"

namespace {

// The calls the tree makes, without the tree.
void BareLoop() {
  FLM_List<FLM_Vob> vobs;
  benchmark::DoNotOptimize(FLM_Vob::project_vobs(&vobs));
  for (const auto& vob : vobs) {
    FLM_Folder root;
    FLM_FolderList folders;
    FLM_ProjectList projects;
    benchmark::DoNotOptimize(vob.root_folder(&root));
    benchmark::DoNotOptimize(root.contents(&folders, &projects));
    for (const auto& project : projects) {
      FLM_StreamList streams;
      std::string text;
      benchmark::DoNotOptimize(project.name(&text));
      benchmark::DoNotOptimize(project.selector(&text));
      benchmark::DoNotOptimize(project.streams(&streams));
      for (const auto& stream : streams) {
        bool integration = false;
        FLM_OsUser owner;
        benchmark::DoNotOptimize(stream.is_integration(&integration));
        benchmark::DoNotOptimize(stream.owner(&owner));
        benchmark::DoNotOptimize(stream.name(&text));
        benchmark::DoNotOptimize(stream.selector(&text));
      }
    }
  }
}

void BM_ProjectTreeAgainstBareLoop(benchmark::State& state) {
  const int streams = static_cast<int>(state.range(0));
  plat::Registry::UseMemory();
  client_local::UseStore(client_local::Store::OpenMemory());
  vob_handle_t pvob = 0;
  FLM_Folder root;
  FLM_Project project;
  if (vob_create("\\projects", "bench", &pvob) || flm_admin_mkrootfolder(pvob, &root) ||
      flm_admin_mkproject(root, "big", "Big", false, &project)) {
    state.SkipWithError("the project could not be made");
    return;
  }
  for (int i = 0; i < streams; ++i) {
    FLM_Stream stream;
    const std::string name = "s" + std::to_string(i);
    if (flm_admin_mkstream(project, name.c_str(), name.c_str(), i == 0, name.c_str(), nullptr, &stream)) {
      state.SkipWithError("a stream could not be made");
      return;
    }
  }
  cmctls::Install();
  plat::HostedControl tree(cmctls::kProjectTreeClass);
  tree.Invoke(11, plat::DispCall::Method, {plat::DispValue::Text("\\projects")});
  double bare = 0, loading = 0;
  for (auto _ : state) {
    bare += Seconds(BareLoop);
    const double run = Seconds([&] { benchmark::DoNotOptimize(tree.Invoke(2, plat::DispCall::Method)); });
    loading += run;
    state.SetIterationTime(run);
  }
  state.counters["items"] = static_cast<double>(tree.Items().size());
  state.counters["bare_ms"] = bare * 1e3 / static_cast<double>(state.iterations());
  state.counters["tree_ms"] = loading * 1e3 / static_cast<double>(state.iterations());
  state.counters["tree_over_bare"] = bare > 0 ? loading / bare : 0;
  cmctls::Uninstall();
  client_local::UseStore(nullptr);
}
BENCHMARK(BM_ProjectTreeAgainstBareLoop)
    ->Arg(100)
    ->Arg(1000)
    ->ArgName("streams")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
