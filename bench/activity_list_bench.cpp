// The cost of filling Select Activity: the dialog over a stream of N
// activities (read, filtered by owner, listed with headline and owner)
// against a bare loop of the same model calls.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench_timing.h"
#include "cm/activity_entries.h"
#include "flm_admin.h"
#include "local/store.h"
#include "platform/hosts.h"
#include "platform/registry.h"

namespace {

// The calls a fill makes, without the dialog: the stream's activities and
// the current user, then per activity its owner (the filter), its
// mastership, headline, and owner's login name (the row).
void BareLoop(const FLM_Stream& stream) {
  FLM_ActivityList activities;
  FLM_OsUser me;
  benchmark::DoNotOptimize(stream.activities(&activities));
  benchmark::DoNotOptimize(FLM_OsUser::current_user(&me));
  for (const auto& activity : activities) {
    FLM_OsUser owner;
    bool local = false;
    std::string text;
    benchmark::DoNotOptimize(activity.owner(&owner));
    benchmark::DoNotOptimize(owner == me);
    benchmark::DoNotOptimize(activity.has_local_mastership(&local));
    benchmark::DoNotOptimize(activity.headline(&text));
    benchmark::DoNotOptimize(activity.owner(&owner));
    benchmark::DoNotOptimize(owner.login_name(&text));
  }
}

void BM_SelectActivityAgainstBareLoop(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  plat::Registry::UseMemory();
  client_local::UseStore(client_local::Store::OpenMemory());
  vob_handle_t pvob = 0;
  FLM_Folder root;
  FLM_Project project;
  FLM_Stream integration, stream;
  if (vob_create("\\projects", "bench", &pvob) || flm_admin_mkrootfolder(pvob, &root) ||
      flm_admin_mkproject(root, "big", "Big", false, &project) ||
      flm_admin_mkstream(project, "int", "int", true, "int", nullptr, &integration) ||
      flm_admin_mkstream(project, "dev", "dev", false, "dev", nullptr, &stream)) {
    state.SkipWithError("the stream could not be made");
    return;
  }
  FLM_Activity first;
  for (int i = 0; i < count; ++i) {
    FLM_Activity activity;
    const std::string name = "a" + std::to_string(i);
    if (flm_admin_mkactivity(stream, name.c_str(), name.c_str(), nullptr, &activity)) {
      state.SkipWithError("an activity could not be made");
      return;
    }
    if (i == 0) first = activity;
  }
  // The preselected first activity is taken at once: the time is the fill.
  plat::SetUiHost(std::make_shared<plat::AutomaticHost>());
  double bare = 0, dialog = 0;
  for (auto _ : state) {
    bare += Seconds([&] { BareLoop(stream); });
    const double run = Seconds([&] {
      FLM_Activity chosen = first;
      benchmark::DoNotOptimize(rvBrowseForActivity(stream, chosen, nullptr, 1, 0));
    });
    dialog += run;
    state.SetIterationTime(run);
  }
  state.counters["bare_ms"] = bare * 1e3 / static_cast<double>(state.iterations());
  state.counters["dialog_ms"] = dialog * 1e3 / static_cast<double>(state.iterations());
  state.counters["dialog_over_bare"] = bare > 0 ? dialog / bare : 0;
  plat::SetUiHost(nullptr);
  client_local::UseStore(nullptr);
}
BENCHMARK(BM_SelectActivityAgainstBareLoop)
    ->Arg(10000)
    ->ArgName("activities")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
