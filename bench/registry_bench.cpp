// Finding VOB tags by name through a loaded registry object against one
// rgy_findbystring_entry per name (the bare client call, on one open
// cursor), with 5,000 tags in a store in memory.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_timing.h"
#include "gcl_status.h"
#include "local/store.h"
#include "rgy.h"
#include "rvl_registry.h"

namespace {

std::vector<std::string> MakeTags(int count) {
  client_local::UseStore(client_local::Store::OpenMemory());
  rgy_add_region("bench", "");
  rgy_set_default_region("bench");
  rgy_set_server_host("benchhost");
  std::vector<std::string> names;
  client_local::CurrentStore()->Command([&](client_local::Store&) {
    for (int i = 0; i < count; ++i) {
      names.push_back("\\vob" + std::to_string(i));
      rgy_entry_t entry = nullptr;
      rgy_create_entry(RGY_KIND_VOB_TAG, &entry);
      rgy_setstring_in_entry(entry, RGY_KEY_TAG, names.back().c_str());
      rgy_setstring_in_entry(entry, RGY_KEY_ACCESS, "public");
      rgy_add_entry("bench", entry);
      rgy_delete_entry(entry);
    }
    return 0;
  });
  return names;
}

void BM_RegistryFindAgainstFindByString(benchmark::State& state) {
  const std::vector<std::string> names = MakeTags(static_cast<int>(state.range(0)));
  double bare = 0, load = 0, registry = 0;
  std::size_t found = 0;
  for (auto _ : state) {
    bare += Seconds([&] {
      rgy_cursor_t cursor = nullptr;
      rgy_open_cursor(RGY_KIND_VOB_TAG, "bench", &cursor);
      for (const std::string& name : names) {
        rgy_entry_t entry = nullptr;
        int count = 0;
        rgy_findbystring_entry(cursor, RGY_KEY_TAG, name.c_str(), 1, &entry, &count);
        if (count == 1) rgy_delete_entry(entry);
        found += static_cast<std::size_t>(count);
      }
      rgy_close_cursor(cursor);
    });
    RVL_VobRegistry::forget_all();
    GCL_Status status;
    const RVL_VobRegistry kept = RVL_VobRegistry::default_registry(status);
    load += Seconds([&] { kept.find_tag(status, GCL_String("\\vob0")); });
    registry += Seconds([&] {
      for (const std::string& name : names)
        if (!kept.find_tag(status, GCL_String(name.c_str())).is_null()) ++found;
    });
  }
  benchmark::DoNotOptimize(found);
  const double n = static_cast<double>(state.iterations()) * static_cast<double>(names.size());
  state.counters["bare_us_per_find"] = bare / n * 1e6;
  state.counters["registry_us_per_find"] = registry / n * 1e6;
  state.counters["load_us_per_tag"] = load / n * 1e6;
  state.counters["bare_over_registry"] = bare / registry;
  RVL_VobRegistry::forget_all();
}
BENCHMARK(BM_RegistryFindAgainstFindByString)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
