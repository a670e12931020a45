// The cost of a version's property sheet: opened through the entry (the
// scripted user answering OK) against the repository reads its General page
// needs, made by a bare loop of the same client calls. The calls the sheet
// makes are counted too: a page never activated makes none.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "bench_timing.h"
#include "cmd_resolve.h"
#include "cmd_utl.h"
#include "flm.h"
#include "local/calllog.h"
#include "local/store.h"
#include "platform/hosts.h"
#include "platform/pathmap.h"
#include "platform/registry.h"
#include "propsheet/display_property_sheet.h"
#include "res/library_resources.h"
#include "rgy.h"
#include "stg.h"
#include "tbs_uuid.h"
#include "view.h"
#include "vob.h"

namespace {

constexpr const char* kVersion = "\\bench\\f.c@@\\main\\CHECKEDOUT";

// A VOB \bench with \f.c checked out reserved in the view bench_view.
void MakeRepository() {
  // The view's directory goes under a scratch home.
  const auto home = std::filesystem::temp_directory_path() / "rv_general_bench";
  std::filesystem::remove_all(home);
  plat::SetHome(home);
  client_local::UseStore(client_local::Store::OpenMemory());
  rgy_add_region("bench", "bench region");
  rgy_set_default_region("bench");
  view_create("bench_view", 0, "the bench view");
  vob_handle_t vob = 0;
  vob_dbid_t file = 0, out = 0;
  vob_create("\\bench", "bench", &vob);
  vob_mkelem(vob, "\\f.c", 0, "a file", &file);
  cmd_utl_checkout(vob, file, "bench_view", 1, "bench work", &out);
}

// What the General page of a checked-out version reads, call for call.
void BareReads() {
  cmd_resolve_result_s object;
  cmd_resolve_general(kVersion, &object);
  const stg_area_t area = stg_create_area(4096);
  char path[1024];
  vob_obj_to_pname_flags(object.vob, object.dbid, 0, path, sizeof path);
  std::uint32_t mtype = 0;
  vob_obj_get_mtype(object.vob, object.dbid, &mtype);
  vob_dbid_t pred = 0;
  vob_ver_get_pred_ver(object.vob, object.dbid, &pred);
  vob_obj_to_pname_flags(object.vob, pred, 0, path, sizeof path);
  vob_ckout_info_s checkout;
  vob_ver_get_ckout_info(object.vob, object.dbid, area, &checkout);
  tbs_uuid_t uuid;
  char region[256];
  rgy_cursor_t cursor = 0;
  rgy_entry_t entry{};
  int count = 0;
  if (tbs_str_to_uuid(checkout.view_uuid, &uuid) == 0 && rgy_get_default_region(region, sizeof region) == 0 &&
      rgy_open_cursor(RGY_KIND_VIEW_TAG, region, &cursor) == 0) {
    rgy_findbyuuid_entry(cursor, &uuid, 1, &entry, &count);
    rgy_close_cursor(cursor);
  }
  vob_eventh_t event = 0;
  vob_obj_find_eventh(object.vob, object.dbid, &event);
  vob_event_info_s info;
  vob_event_get_info(object.vob, event, area, &info);
  FLM_Vob flm_vob;
  FLM_Activity activity;
  if (FLM_Vob::construct_from_handle(object.vob, &flm_vob) == 0)
    FLM_Version(flm_vob.handle(), object.dbid).activity(&activity);
  stg_delete_area(area);
}

void OpenSheet() {
  rvcmndlg::EntryScope resources;
  benchmark::DoNotOptimize(rvcmndlg::DisplayPropertySheets({kVersion}, 0, {}, 1));
}

std::size_t CallsOf(const std::function<void()>& work) {
  client_local::CallLog::StartRecording();
  work();
  const std::size_t calls = client_local::CallLog::Calls().size();
  client_local::CallLog::StopRecording();
  return calls;
}

void BM_VersionSheetAgainstBareReads(benchmark::State& state) {
  plat::Registry::UseMemory();
  MakeRepository();
  auto host = std::make_shared<plat::ScriptedHost>();
  host->OnCaption(std::string("Properties of ") + kVersion).Click("OK").Always();
  plat::SetUiHost(host);
  state.counters["sheet_calls"] = static_cast<double>(CallsOf(OpenSheet));
  state.counters["bare_calls"] = static_cast<double>(CallsOf(BareReads));
  double bare = 0, sheet = 0;
  for (auto _ : state) {
    bare += Seconds(BareReads);
    const double run = Seconds(OpenSheet);
    sheet += run;
    state.SetIterationTime(run);
  }
  state.counters["bare_us"] = bare * 1e6 / static_cast<double>(state.iterations());
  state.counters["sheet_us"] = sheet * 1e6 / static_cast<double>(state.iterations());
  state.counters["sheet_over_bare"] = bare > 0 ? sheet / bare : 0;
  plat::SetUiHost(nullptr);
  client_local::UseStore(nullptr);
}
BENCHMARK(BM_VersionSheetAgainstBareReads)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
