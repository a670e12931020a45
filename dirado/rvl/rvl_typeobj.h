#pragma once
// Type objects: attribute, element, branch, label, hyperlink and trigger
// types and replicas. They read their definitions, describe them, and
// apply updates that redefine them.
#include <cstdint>
#include <vector>

#include "rvl_namedobj.h"
#include "rvl_typeinfo.h"

class RVL_TypeObjUpdate;
struct vob_type_def_s;

// Printed names of the definitions' enumerations.
const char* RVL_OccursName(std::uint32_t occurs);          // "UNKNOWN OCCURS" for another value
const char* RVL_GlobalnessName(std::uint32_t globalness);  // "UNKNOWN GLOBALNESS"
const char* RVL_MasterKindName(std::uint32_t kind);        // "UNKNOWN MASTER_KIND"
// The value kind's name ("integer", ...); null for a value that is no kind.
const char* RVL_ValueKindName(std::uint32_t kind);

class RVL_TypeObjRep : public RVL_NamedObjRep {
 public:
  using RVL_NamedObjRep::RVL_NamedObjRep;
  void print(std::ostream& out) const override;
  // Redefine (when the update changes the definition), then the named
  // object's steps.
  void apply(GCL_Status& status, const RVL_Update& update) const override;
  // The kind number of this type's own update class.
  virtual int update_kind() const = 0;

 protected:
  // Writes the definition: the update's values where its bits are set, the
  // current ones elsewhere. def holds the type-level values already.
  virtual void redefine(GCL_Status& status, const RVL_TypeObjUpdate& update, const vob_type_def_s& def) const = 0;
};

class RVL_TypeObj : public RVL_NamedObj {
 public:
  RVL_TypeObj() = default;
  std::uint32_t occurs(GCL_Status& status) const;
  std::uint32_t globalness(GCL_Status& status) const;
  std::uint32_t master_kind(GCL_Status& status) const;
  // The element types this one derives from, nearest first (empty for other
  // types, and on failure).
  std::vector<RVL_NamedObj> super_types(GCL_Status& status) const;

 protected:
  explicit RVL_TypeObj(RVL_TypeObjRep* rep) : RVL_NamedObj(rep) {}
};

#define RVL_TYPE_REP(Rep, Kind)                                                                         \
  class Rep : public RVL_TypeObjRep {                                                                   \
   public:                                                                                              \
    using RVL_TypeObjRep::RVL_TypeObjRep;                                                               \
    void print(std::ostream& out) const override;                                                       \
    int update_kind() const override { return Kind; }                                                   \
                                                                                                        \
   protected:                                                                                           \
    void redefine(GCL_Status& status, const RVL_TypeObjUpdate& update, const vob_type_def_s& def) const \
        override;                                                                                       \
  }
RVL_TYPE_REP(RVL_BranchTypeRep, 5);
RVL_TYPE_REP(RVL_LabelTypeRep, 6);
RVL_TYPE_REP(RVL_ElementTypeRep, 7);
RVL_TYPE_REP(RVL_AttributeTypeRep, 8);
RVL_TYPE_REP(RVL_HyperlinkTypeRep, 9);
RVL_TYPE_REP(RVL_TriggerTypeRep, 10);
RVL_TYPE_REP(RVL_ReplicaTypeRep, 11);
#undef RVL_TYPE_REP

// Each type class is made for its meta-type; another meta-type gives
// TBS_ST_WRONG_KIND.
#define RVL_TYPE_HANDLE(Handle, Rep, Mtype)                                                                 \
  class Handle : public RVL_TypeObj {                                                                       \
   public:                                                                                                  \
    Handle() = default;                                                                                     \
    Handle(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid)                                      \
        : RVL_TypeObj(new Rep(status, vob, dbid, Mtype)) {}                                                 \
    Handle(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, RVL_VobObjectRep::Resolved known,    \
           const GCL_String& text)                                                                          \
        : RVL_TypeObj(new Rep(status, vob, dbid, known, text)) {}
#define RVL_TYPE_HANDLE_END }

RVL_TYPE_HANDLE(RVL_BranchType, RVL_BranchTypeRep, 13)
RVL_TYPE_HANDLE_END;
RVL_TYPE_HANDLE(RVL_LabelType, RVL_LabelTypeRep, 14)
RVL_TYPE_HANDLE_END;
RVL_TYPE_HANDLE(RVL_ElementType, RVL_ElementTypeRep, 12)
  // The definition; the supertype is 0 when there is none.
  struct Definition {
    std::uint32_t supertype = 0;
    GCL_String manager;  // empty: the super type's
    bool ptime = false;
    std::uint32_t merge_type = 0;
  };
  Definition definition(GCL_Status& status) const;
  std::uint32_t merge_type(GCL_Status& status) const;
  // The manager in force (the type's, else its nearest super type's).
  GCL_String manager_name(GCL_Status& status) const;
RVL_TYPE_HANDLE_END;
RVL_TYPE_HANDLE(RVL_AttributeType, RVL_AttributeTypeRep, 15)
  RVL_AttributeTypeInfo definition(GCL_Status& status) const;
RVL_TYPE_HANDLE_END;
RVL_TYPE_HANDLE(RVL_HyperlinkType, RVL_HyperlinkTypeRep, 16)
  std::uint32_t from_occurs(GCL_Status& status) const;
  std::uint32_t to_occurs(GCL_Status& status) const;
  // The attribute types its hyperlinks carry.
  std::vector<RVL_AttributeType> attribute_types(GCL_Status& status) const;
RVL_TYPE_HANDLE_END;
RVL_TYPE_HANDLE(RVL_TriggerType, RVL_TriggerTypeRep, 17)
  RVL_TriggerTypeInfo definition(GCL_Status& status) const;
RVL_TYPE_HANDLE_END;
RVL_TYPE_HANDLE(RVL_ReplicaType, RVL_ReplicaTypeRep, 18)
  RVL_ReplicaTypeInfo definition(GCL_Status& status) const;
RVL_TYPE_HANDLE_END;
#undef RVL_TYPE_HANDLE
#undef RVL_TYPE_HANDLE_END
