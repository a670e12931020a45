#pragma once
// Storage areas: a handle onto a body that holds one storage area of the
// client's memory pools. The last handle to let go deletes the area, and
// everything allocated in it.
#include <cstddef>

#include "gcl_handle.h"
#include "stg.h"

class GCL_Status;

class GCL_StgAreaRep : public GCL_Body {
 public:
  explicit GCL_StgAreaRep(stg_area_t area) : area_(area) {}
  ~GCL_StgAreaRep() override;
  bool is_null() const override { return area_ == STG_NULL_AREA; }
  bool equals(const GCL_Body& other) const override;
  void print(std::ostream& out) const override;
  stg_area_t area() const { return area_; }

 private:
  const stg_area_t area_;
};

class GCL_StgArea : public GCL_Handle<GCL_StgAreaRep> {
 public:
  // No area.
  GCL_StgArea() = default;
  // A new area (stg_create_area with size; 0: the default block size). On
  // failure the handle stays null and the status gets TBS_ST_NO_MEMORY.
  static GCL_StgArea create(GCL_Status& status, std::size_t size = 0);

  // The area, or STG_NULL_AREA for a null handle.
  stg_area_t area() const { return rep() ? rep()->area() : STG_NULL_AREA; }
  bool is_null() const { return area() == STG_NULL_AREA; }
  // Equal when they hold the same area.
  bool operator==(const GCL_StgArea& other) const { return area() == other.area(); }
  bool operator!=(const GCL_StgArea& other) const { return !(*this == other); }
};
