// The shared storage area of information records, and event descriptions.
#include "rvl_infostg.h"

#include <mutex>
#include <ostream>

#include "gcl_indent.h"
#include "gcl_time.h"

namespace {

// The area outlives every reset: it is created once and used again after
// the last record has reset it.
struct SharedArea {
  std::mutex mutex;
  stg_area_t area = STG_NULL_AREA;
  int uses = 0;
};

SharedArea& Shared() {
  static SharedArea shared;
  return shared;
}

const char* OrUnknown(const char* text) { return text && *text ? text : "UNKNOWN"; }

}  // namespace

stg_area_t RVL_InfoStgAcquire() {
  SharedArea& shared = Shared();
  std::lock_guard lock(shared.mutex);
  if (shared.area == STG_NULL_AREA) shared.area = stg_create_area(4096);
  ++shared.uses;
  return shared.area;
}

void RVL_InfoStgRelease() {
  SharedArea& shared = Shared();
  std::lock_guard lock(shared.mutex);
  if (shared.uses <= 0) return;
  if (--shared.uses == 0 && shared.area != STG_NULL_AREA) stg_free_area(shared.area, 1);
}

int RVL_InfoStgUseCount() {
  SharedArea& shared = Shared();
  std::lock_guard lock(shared.mutex);
  return shared.uses;
}

stg_area_t RVL_InfoStgArea() {
  SharedArea& shared = Shared();
  std::lock_guard lock(shared.mutex);
  return shared.area;
}

void RVL_DescribeEvent(std::ostream& out, const RVL_InfoStg<vob_event_info_s>& event) {
  GCL_IndentSection section("Event Information");
  const GCL_String prefix = GCL_IndentPrefix();
  const vob_event_info_s& info = event.record();
  const GCL_String when = GCL_Time(info.time.secs, info.time.usecs).long_date_time();
  out << prefix << "Time/Date: " << OrUnknown(when.c_str()) << "\n";
  out << prefix << "User: " << OrUnknown(info.user) << "\n";
  out << prefix << "Group: " << OrUnknown(info.group) << "\n";
  out << prefix << "Host: " << OrUnknown(info.host) << "\n";
  out << prefix << "Comment: " << OrUnknown(info.comment) << "\n";
}
