// rvDisplayPropertySheet: one name as a modal sheet on the caller's thread,
// several as one sheet thread each (view tags go to the describe tool), and
// the caller waits for them all.
#include "propsheet/display_property_sheet.h"

#include <memory>
#include <vector>

#include "clp.h"
#include "flm.h"
#include "gcl_capture.h"
#include "gcl_status.h"
#include "kelp.h"
#include "platform/dialog.h"
#include "platform/process.h"
#include "platform/resources.h"
#include "propsheet/property_messages.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "rvcmndlg/entries.h"
#include "propsheet/property_sheet.h"
#include "rvl_resolve.h"
#include "rvl_view.h"
#include "rvl_vob.h"
#include "rvl_vobobject.h"
#include "tbs.h"

namespace rvcmndlg {

namespace {

constexpr const char* kDescribeTool = "stratadescribe";
constexpr const char* kUsageEvent = "stratadetails";

SheetOutcome::Kind KindOfResult(int result) {
  return result == plat::IdOk ? SheetOutcome::Kind::Ok : SheetOutcome::Kind::Cancel;
}

SheetOutcome Failed(const std::string& name, const std::string& message) {
  return SheetOutcome{name, SheetOutcome::Kind::Failed, message};
}

SheetOutcome ReportCannotDisplay(const std::string& name, const GCL_Status& status) {
  ShowCannotDisplay(name, status);
  return Failed(name, CannotDisplayText(name, status));
}

// The record of a Tracklane-enabled activity whose project works with
// Tracklane; null for any other object. Failed queries are kept for the
// caller to show once the client lock is released; the check goes on past
// them where it can.
FLM_TLEntityID BoundTracklaneRecord(const FLM_Activity& activity, std::vector<GCL_Status>& failures) {
  const auto ask = [&failures](auto&& call) {
    GCL_Status status;
    const bool ok = GCL_CapturedCall(status, call) == TBS_ST_OK;
    if (!ok && status.code() != TBS_ST_WRONG_KIND) failures.push_back(status);
    return ok;
  };
  FLM_Stream stream;
  // Another kind of object answers "wrong kind": no activity, no check.
  if (!ask([&] { return activity.stream(&stream); })) return {};
  FLM_Project project;
  bool project_enabled = false;
  FLM_TLEntityID record;
  if (ask([&] { return stream.project(&project); })) ask([&] { return project.is_tl_enabled(&project_enabled); });
  ask([&] { return activity.bound_tl_entity_id(&record); });
  return project_enabled ? record : FLM_TLEntityID();
}

// The Tracklane check: true when it showed the Tracklane form instead of the
// sheet. A name that does not resolve is left to the sheet, which reports it
// once; the check's own failures are plain boxes, then the sheet.
bool TracklaneFormShown(const std::string& name) {
  std::vector<GCL_Status> failures;
  FLM_TLEntityID record;
  {
    CRvPropertyBase::DiradoAccess lock;
    GCL_Status status;
    std::unique_ptr<GCL_HandleBase> object = RVL_ResolveHandle(status, GCL_String(name.c_str()));
    const auto* vob_object = dynamic_cast<const RVL_VobObject*>(object.get());
    if (!vob_object) return false;
    FLM_Vob vob;
    if (GCL_CapturedCall(status, [&] { return FLM_Vob::construct_from_handle(vob_object->vob().handle(), &vob); }))
      failures.push_back(status);
    else
      record = BoundTracklaneRecord(FLM_Activity(vob.handle(), vob_object->dbid()), failures);
  }
  for (const GCL_Status& failure : failures)
    if (failure.code() != TBS_ST_NOT_FOUND) ShowStatusError(failure);
  if (record.is_null()) return false;
  GCL_Status shown;
  if (GCL_CapturedCall(shown, [&] { return CKelp_CA_TL_UI::OpenTLRecordForm(record); }) == TBS_ST_OK) return true;
  if (shown.code() != TBS_ST_NOT_FOUND) ShowCannotDisplay(name, shown);
  return false;
}

SheetOutcome ShowModally(const std::string& name, const std::string& tab) {
  CRvPropertySheet sheet;
  GCL_Status status;
  sheet.SetObjectByName(status, GCL_String(name.c_str()));
  if (!status.ok()) return ReportCannotDisplay(name, status);
  if (!tab.empty()) sheet.SetActivePage(StartPageForTab(tab, sheet.GetPageCount()));
  const int result = sheet.DoModal();
  // No page would show: each said why as it refused.
  if (result < 0) return Failed(name, plat::LoadString(res::IDS_PAGE_INIT_FAILED));
  return SheetOutcome{name, KindOfResult(result), {}};
}

SheetOutcome Describe(const std::string& name, int pname, const std::string& tab) {
  plat::ProcessSpec spec;
  spec.use_argv = true;
  spec.argv = {kDescribeTool};
  if (!tab.empty()) spec.argv.insert(spec.argv.end(), {"/tab", tab});
  if (pname) spec.argv.push_back("/pname");
  spec.argv.push_back(name);
  const plat::StartResult started = plat::CurrentLauncher()->Start(spec);
  if (started) return SheetOutcome{name, SheetOutcome::Kind::Described, {}};
  const std::string text =
      plat::FormatPrintf(plat::LoadString(res::IDS_EXEC_FAILED), {kDescribeTool, started.error().code});
  plat::MessageBox(nullptr, text, std::string(), plat::mb::Ok | plat::mb::IconError);
  return Failed(name, text);
}

// Starts the name's sheet thread; the outcome's result cell is read once
// every thread has ended.
SheetOutcome StartInThread(const std::string& name, int pname, const std::string& tab,
                           std::shared_ptr<std::atomic<int>>& result) {
  GCL_Status status;
  std::unique_ptr<GCL_HandleBase> object;
  {
    CRvPropertyBase::DiradoAccess lock;
    object = RVL_ResolveHandle(status, GCL_String(name.c_str()));
  }
  if (!object) return ReportCannotDisplay(name, status);
  if (typeid(*object) == typeid(RVL_ViewTag)) return Describe(name, pname, tab);
  auto thread = CRvPropertyThread::CreateObject();
  thread->SetObject(status, *object, GCL_String(name.c_str()));
  if (!status.ok()) {
    thread.reset();
    return ReportCannotDisplay(name, status);
  }
  if (!tab.empty()) thread->SetActivePage(1);
  result = thread->ResultCell();
  CRvPropertyThread::Start(std::move(thread));
  return SheetOutcome{name, SheetOutcome::Kind::Cancel, {}};
}

}  // namespace

const char* OutcomeWord(SheetOutcome::Kind kind) {
  switch (kind) {
    case SheetOutcome::Kind::Ok: return "OK";
    case SheetOutcome::Kind::Cancel: return "Cancel";
    case SheetOutcome::Kind::Described: return "described";
    case SheetOutcome::Kind::Failed: break;
  }
  return "failed";
}

int StartPageForTab(const std::string& tab, int page_count) {
  int index = 0;
  if (tab == "configspec") index = page_count - 2;
  else if (tab == "loadrules" || tab == "activities") index = 1;
  return index >= 0 && index < page_count ? index : 0;
}

std::vector<SheetOutcome> DisplayPropertySheets(const std::vector<std::string>& names, int pname,
                                                const std::string& tab, int direct) {
  if (names.size() == 1) {
    if (!direct && TracklaneFormShown(names.front())) return {SheetOutcome{names.front(), SheetOutcome::Kind::Ok, {}}};
    return {ShowModally(names.front(), tab)};
  }
  clp_collectdatai(kUsageEvent, static_cast<long>(names.size()));
  std::vector<SheetOutcome> outcomes;
  std::vector<std::shared_ptr<std::atomic<int>>> results(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) outcomes.push_back(StartInThread(names[i], pname, tab, results[i]));
  CRvPropertyThread::WaitWhileActive();
  for (std::size_t i = 0; i < names.size(); ++i)
    if (results[i]) {
      const int result = results[i]->load();
      outcomes[i].kind = result < 0 ? SheetOutcome::Kind::Failed : KindOfResult(result);
    }
  return outcomes;
}

}  // namespace rvcmndlg

long rvDisplayPropertySheet(const std::vector<std::string>& names, int pname, const std::string& tab, int direct) {
  rvcmndlg::EntryScope resources;
  (void)rvcmndlg::DisplayPropertySheets(names, pname, tab, direct);
  return 0;
}

void rvPropertiesAddToResourceChain() { plat::AddToResourceChain(&rvcmndlg::LibraryResources()); }
