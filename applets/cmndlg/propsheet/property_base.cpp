// The object side of a page: activation with its one fetch, and the
// class-wide registry of page classes that decides which pages an object gets.
#include <cstring>
#include <memory>
#include <mutex>

#include "gcl_status.h"
#include "ntcs.h"
#include "platform/dialog.h"
#include "platform/resources.h"
#include "propsheet/page_registration.h"
#include "propsheet/property_messages.h"
#include "propsheet/property_sheet.h"
#include "rvl_cache.h"

namespace {

// The registry grows by whole steps of m_subclass_info_growth entries, as
// callers that count on its allocation expect.
struct Registry {
  std::mutex mutex;
  std::unique_ptr<CRvPropertyBase::SubclassInfo[]> infos;
  std::size_t count = 0;
  std::size_t alloc = 0;
};

Registry& TheRegistry() {
  static auto* registry = new Registry;  // never emptied, never freed
  return *registry;
}

void EnsureLibraryPagesRegistered() {
  static std::once_flag once;
  std::call_once(once, [] { rvcmndlg::RegisterLibraryPages(); });
}

}  // namespace

CRvPropertyBase::~CRvPropertyBase() = default;

void CRvPropertyBase::SetObject(GCL_Status& status, const GCL_HandleBase&) { status.make_ok(); }

void CRvPropertyBase::fetch_data(GCL_Status& status) { status.make_ok(); }

bool CRvPropertyBase::base_set_active(plat::PropertyPage* page, bool first) {
  if (first && !first_set_active()) {
    rvcmndlg::ShowPageUnavailable();
    return false;
  }
  bool fetched_now = false;
  if (!m_data_fetched) {
    GCL_Status status;
    {
      DiradoAccess lock;
      const RVL_VobObjectCache fetch_mode;  // the object cache stays in one generation
      fetch_data(status);
    }
    if (!status.ok()) {
      rvcmndlg::ShowPageFetchFailed(status);
      return false;
    }
    m_data_fetched = true;
    fetched_now = true;
  }
  // A page refused earlier by a failed fetch fills its controls now too.
  if ((first || fetched_now) && page && !page->UpdateData(false)) {
    rvcmndlg::ShowPageUnavailable();
    return false;
  }
  return true;
}

void CRvPropertyBase::register_page_subclass(const SubclassInfo& info) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (r.count + 1 > r.alloc) {
    const std::size_t alloc = r.alloc + m_subclass_info_growth;
    auto grown = std::make_unique<SubclassInfo[]>(alloc);
    for (std::size_t i = 0; i < r.count; ++i) grown[i] = r.infos[i];
    r.infos = std::move(grown);
    r.alloc = alloc;
  }
  r.infos[r.count++] = info;
}

std::vector<CRvPropertyBase::SubclassInfo> CRvPropertyBase::registered_subclasses() {
  EnsureLibraryPagesRegistered();
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  return std::vector<SubclassInfo>(r.infos.get(), r.infos.get() + r.count);
}

std::size_t CRvPropertyBase::subclass_info_alloc() {
  EnsureLibraryPagesRegistered();
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  return r.alloc;
}

void CRvPropertyBase::begin_dirado_access() { nt_enter_critical_section(); }

void CRvPropertyBase::end_dirado_access() { (void)nt_leave_critical_section(); }
