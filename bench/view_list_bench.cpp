// Filling the view list with every dynamic view of the region (mode 0)
// against a bare walk of the same registry calls: the view objects read
// once, then each tag entry with its fields, with 10,000 views in a store in
// memory.
#include <benchmark/benchmark.h>

#include <set>
#include <string>

#include "bench_timing.h"
#include "local/store.h"
#include "platform/types.h"
#include "rgy.h"
#include "tbs_oid.h"
#include "tbs_uuid.h"
#include "viewvob/view_tag_list_box.h"

namespace {

void MakeViews(int count) {
  client_local::UseStore(client_local::Store::OpenMemory());
  rgy_add_region("bench", "");
  rgy_set_default_region("bench");
  client_local::CurrentStore()->Command([&](client_local::Store&) {
    for (int i = 0; i < count; ++i) {
      const std::string tag = "view" + std::to_string(i);
      tbs_uuid_t uuid{};
      tbs_uuid_gen(&uuid);
      for (int kind : {RGY_KIND_VIEW_TAG, RGY_KIND_VIEW_OBJECT}) {
        rgy_entry_t entry = nullptr;
        rgy_create_entry(kind, &entry);
        rgy_setuuid_in_entry(entry, RGY_KEY_UUID, &uuid);
        rgy_setstring_in_entry(entry, RGY_KEY_TAG, tag.c_str());
        rgy_setstring_in_entry(entry, RGY_KEY_HOST, "benchhost");
        rgy_setstring_in_entry(entry, RGY_KEY_VIEW_KIND, RGY_VIEW_DYNAMIC);
        rgy_add_entry(kind == RGY_KIND_VIEW_TAG ? "bench" : nullptr, entry);
        rgy_delete_entry(entry);
      }
    }
    return 0;
  });
}

std::string Field(rgy_entry_t entry, int key) {
  char text[1024] = "";
  return rgy_getstring_from_entry(entry, key, sizeof text, text) == 0 ? text : std::string();
}

std::string Uuid(rgy_entry_t entry) {
  tbs_uuid_t uuid{};
  char text[TBS_UUID_STR_SIZE] = "";
  rgy_getuuid_from_entry(entry, RGY_KEY_UUID, &uuid);
  tbs_uuid_to_str(&uuid, text, sizeof text);
  return text;
}

// The registry calls a fill makes, and nothing else.
std::size_t BareWalk() {
  char region[1024];
  rgy_get_default_region(region, sizeof region);
  std::set<std::string> dynamic;
  rgy_entry_t batch[32];
  int count = 0;
  rgy_cursor_t objects = nullptr;
  rgy_open_cursor(RGY_KIND_VIEW_OBJECT, nullptr, &objects);
  while (rgy_get_entry(objects, 32, batch, &count) == 0 && count > 0)
    for (int i = 0; i < count; ++i) {
      if (Field(batch[i], RGY_KEY_VIEW_KIND) == RGY_VIEW_DYNAMIC) dynamic.insert(Uuid(batch[i]));
      rgy_delete_entry(batch[i]);
    }
  rgy_close_cursor(objects);
  std::size_t listed = 0;
  rgy_cursor_t tags = nullptr;
  rgy_open_cursor(RGY_KIND_VIEW_TAG, region, &tags);
  while (rgy_get_entry(tags, 32, batch, &count) == 0 && count > 0)
    for (int i = 0; i < count; ++i) {
      if (dynamic.count(Uuid(batch[i])))
        for (int key : {RGY_KEY_TAG, RGY_KEY_UUID, RGY_KEY_HOST, RGY_KEY_GPATH, RGY_KEY_COMMENT, RGY_KEY_ACCESS})
          listed += Field(batch[i], key).empty() ? 0u : 1u;
      rgy_delete_entry(batch[i]);
    }
  rgy_close_cursor(tags);
  return listed;
}

void BM_ViewListFillAgainstBareWalk(benchmark::State& state) {
  MakeViews(static_cast<int>(state.range(0)));
  double bare = 0, fill = 0;
  std::size_t seen = 0;
  CViewTagListBox list;
  list.CreateWindowObject(nullptr, 1, "", plat::lbs::ExtendedSel);
  for (auto _ : state) {
    bare += Seconds([&] { seen += BareWalk(); });
    fill += Seconds([&] { list.Fill(CViewTagListBox::AllRegion); });
    seen += static_cast<std::size_t>(list.GetCount());
  }
  benchmark::DoNotOptimize(seen);
  const double n = static_cast<double>(state.iterations());
  state.counters["bare_ms"] = bare / n * 1e3;
  state.counters["fill_ms"] = fill / n * 1e3;
  state.counters["fill_over_bare"] = fill / bare;
  client_local::UseStore(nullptr);
}
BENCHMARK(BM_ViewListFillAgainstBareWalk)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
