// One sheet on its own user-interface thread, and the count of such threads
// that the callers of several sheets wait on.
#include <mutex>

#include "platform/sync.h"
#include "res/library_resources.h"
#include "propsheet/property_sheet.h"

namespace {

struct ThreadCount {
  std::mutex m_count_critical_section;
  int m_count = 0;
  plat::Event m_no_active_event{true, true};
};

ThreadCount& Threads() {
  static auto* count = new ThreadCount;  // sheet threads may end while the process does
  return *count;
}

}  // namespace

std::unique_ptr<CRvPropertyThread> CRvPropertyThread::CreateObject() {
  return std::unique_ptr<CRvPropertyThread>(new CRvPropertyThread);
}

CRvPropertyThread::CRvPropertyThread() = default;
CRvPropertyThread::~CRvPropertyThread() = default;

CRvPropertyThread::Counted::Counted() {
  ThreadCount& t = Threads();
  std::lock_guard<std::mutex> lock(t.m_count_critical_section);
  // A count rising from zero must make the waiters wait again.
  if (t.m_count++ == 0) t.m_no_active_event.Reset();
}

CRvPropertyThread::Counted::~Counted() {
  ThreadCount& t = Threads();
  std::lock_guard<std::mutex> lock(t.m_count_critical_section);
  if (--t.m_count == 0) t.m_no_active_event.Set();
}

void CRvPropertyThread::SetObject(GCL_Status& status, const GCL_HandleBase& object) {
  m_sheet.SetObject(status, object);
}

void CRvPropertyThread::SetObject(GCL_Status& status, const GCL_HandleBase& object, const GCL_String& name) {
  m_sheet.SetObject(status, object, name);
}

void CRvPropertyThread::SetObjectByName(GCL_Status& status, const GCL_String& name) {
  m_sheet.SetObjectByName(status, name);
}

void CRvPropertyThread::SetActivePage(int index) { m_sheet.SetActivePage(index); }

bool CRvPropertyThread::InitInstance() {
  rvcmndlg::EntryScope resources;  // the current module is per thread
  m_result->store(m_sheet.DoModal());
  return false;
}

void CRvPropertyThread::Start(std::unique_ptr<CRvPropertyThread> thread) { plat::UiThread::Start(std::move(thread)); }

int CRvPropertyThread::ActiveCount() {
  ThreadCount& t = Threads();
  std::lock_guard<std::mutex> lock(t.m_count_critical_section);
  return t.m_count;
}

void CRvPropertyThread::WaitWhileActive() {
  // The event may be set by a count that reached zero and rose again: only
  // a count of zero ends the wait.
  while (ActiveCount() > 0) Threads().m_no_active_event.Wait();
}
