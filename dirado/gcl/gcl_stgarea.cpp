// Storage areas.
#include "gcl_stgarea.h"

#include <ostream>

#include "gcl_status.h"
#include "tbs.h"

GCL_StgAreaRep::~GCL_StgAreaRep() {
  if (area_ != STG_NULL_AREA) stg_delete_area(area_);
}

bool GCL_StgAreaRep::equals(const GCL_Body& other) const {
  return area_ == static_cast<const GCL_StgAreaRep&>(other).area_;
}

void GCL_StgAreaRep::print(std::ostream& out) const {
  GCL_Body::print(out);
  out << "Storage area: " << area_ << "\n";
}

GCL_StgArea GCL_StgArea::create(GCL_Status& status, std::size_t size) {
  GCL_StgArea result;
  const stg_area_t area = stg_create_area(size);
  if (area == STG_NULL_AREA) {
    status.set_code(TBS_ST_NO_MEMORY);
    return result;
  }
  result.set_rep(new GCL_StgAreaRep(area));
  status.set_code(0);
  return result;
}
