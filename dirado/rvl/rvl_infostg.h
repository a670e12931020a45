#pragma once
// Information records: one record of the repository (an event, lock,
// hyperlink or check-out record) and the VOB it came from. The texts inside
// the records live in one process-wide storage area: the first record
// creates it (stg_create_area(4096)), the last one to go resets it
// (stg_free_area(area, 1)), and the next first record uses it again.
#include <cstdint>
#include <iosfwd>

#include "rvl_vob.h"
#include "stg.h"
#include "vob.h"

// The shared area: Acquire takes a use (creating the area the first time),
// Release gives it back (resetting the area at the last use).
stg_area_t RVL_InfoStgAcquire();
void RVL_InfoStgRelease();
// For tests: the uses, and the area (STG_NULL_AREA before the first).
int RVL_InfoStgUseCount();
stg_area_t RVL_InfoStgArea();

template <class Record>
class RVL_InfoStg {
 public:
  explicit RVL_InfoStg(const RVL_Vob& vob = RVL_Vob()) : vob_(vob) { area_ = RVL_InfoStgAcquire(); }
  RVL_InfoStg(const RVL_InfoStg& other) : record_(other.record_), vob_(other.vob_) {
    area_ = RVL_InfoStgAcquire();
  }
  RVL_InfoStg& operator=(const RVL_InfoStg& other) {
    record_ = other.record_;
    vob_ = other.vob_;
    return *this;
  }
  ~RVL_InfoStg() { RVL_InfoStgRelease(); }

  Record& record() { return record_; }
  const Record& record() const { return record_; }
  const RVL_Vob& vob() const { return vob_; }
  void set_vob(const RVL_Vob& vob) { vob_ = vob; }
  // Where the record's texts go.
  stg_area_t area() const { return area_; }

 private:
  Record record_{};
  RVL_Vob vob_;
  stg_area_t area_ = STG_NULL_AREA;
};

// "Event Information": time and date, user, group, host and comment, each
// "UNKNOWN" when the record has none.
void RVL_DescribeEvent(std::ostream& out, const RVL_InfoStg<vob_event_info_s>& event);
