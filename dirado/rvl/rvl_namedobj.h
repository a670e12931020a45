#pragma once
// Named objects of a VOB: the VOB object, types, replicas and pools, named
// by a selector ("lbtype:REL1@\vob").
#include <cstdint>

#include "rvl_vobobject.h"

class RVL_NamedObjRep : public RVL_VobObjectRep {
 public:
  using RVL_VobObjectRep::RVL_VobObjectRep;
  void print(std::ostream& out) const override;
  // The selector; the base's name when it cannot be read.
  GCL_String display_name(GCL_Status& status) const override;
  // Renames (when the update names a new name), then the base's steps.
  void apply(GCL_Status& status, const RVL_Update& update) const override;
};

class RVL_NamedObj : public RVL_VobObject {
 public:
  RVL_NamedObj() = default;
  RVL_NamedObj(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, std::uint32_t expected_mtype = 0);
  // The named object a selector names in the VOB (vob_obj_resolve).
  RVL_NamedObj(GCL_Status& status, const RVL_Vob& vob, const GCL_String& selector);
  RVL_NamedObj(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, RVL_VobObjectRep::Resolved known,
               const GCL_String& text);

  GCL_String name(GCL_Status& status) const;
  // The name, or "<name not available>".
  GCL_String display_form_name(GCL_Status& status) const;
  GCL_String selector(GCL_Status& status) const;

 protected:
  // For the subclasses' own bodies.
  explicit RVL_NamedObj(RVL_NamedObjRep* rep) : RVL_VobObject(rep) {}
};
