// Type objects: definitions, describe, redefine.
#include "rvl_typeobj.h"

#include <ostream>

#include "gcl_env.h"
#include "gcl_indent.h"
#include "gcl_status.h"
#include "rvl_call.h"
#include "rvl_infostg.h"
#include "rvl_update.h"
#include "stg.h"
#include "tbs.h"
#include "vob_type.h"

namespace {

const char* NameOf(std::uint32_t value, std::initializer_list<const char*> names, const char* other) {
  return value < names.size() ? names.begin()[value] : other;
}

constexpr std::size_t kNameSize = 1100;

GCL_String ObjectName(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid) {
  char name[kNameSize];
  if (RVL_Call(status, [&] { return vob_obj_get_name(vob.handle(), dbid, name, sizeof name); }) != 0)
    return GCL_String();
  return GCL_String(name);
}

// The current definition of every type: the type-level values, overwritten
// by the update where its bits are set.
bool TypeLevel(GCL_Status& status, const RVL_TypeObjRep& type, const RVL_TypeObjUpdate& update, vob_type_def_s& def) {
  const auto vob = type.vob_handle();
  const auto dbid = type.dbid();
  if (RVL_Call(status, [&] { return vob_type_get_occurs(vob, dbid, &def.occurs); }) != 0 ||
      RVL_Call(status, [&] { return vob_type_get_globalness(vob, dbid, &def.globalness); }) != 0 ||
      RVL_Call(status, [&] { return vob_type_get_master_kind(vob, dbid, &def.master_kind); }) != 0)
    return false;
  if (update.occurs_changed()) def.occurs = update.occurs();
  if (update.globalness_changed()) def.globalness = update.globalness();
  if (update.master_kind_changed()) def.master_kind = update.master_kind();
  return true;
}

// This kind's own update, when the update is one of its kind with changes.
template <class Update>
const Update* OwnPart(const RVL_TypeObjUpdate& update) {
  if (!update.is_a(Update::kKind)) return nullptr;
  const auto& own = dynamic_cast<const Update&>(update);
  return own.own_changed() ? &own : nullptr;
}

}  // namespace

const char* RVL_OccursName(std::uint32_t occurs) {
  return NameOf(occurs,
                {"VOB_OCCURS_NULL", "VOB_OCCURS_VER_PER_ELEM", "VOB_OCCURS_VER_PER_BRANCH", "VOB_OCCURS_VER_PER_VER"},
                "UNKNOWN OCCURS");
}

const char* RVL_GlobalnessName(std::uint32_t globalness) {
  return NameOf(globalness,
                {"VOB_GLOBALNESS_NONE", "VOB_GLOBALNESS_GLOBAL", "VOB_GLOBALNESS_LOCAL", "VOB_GLOBALNESS_AS_IS"},
                "UNKNOWN GLOBALNESS");
}

const char* RVL_MasterKindName(std::uint32_t kind) {
  return NameOf(kind, {"VOB_MASTER_NULL", "VOB_MASTER_SHARED", "VOB_MASTER_UNSHARED"}, "UNKNOWN MASTER_KIND");
}

const char* RVL_ValueKindName(std::uint32_t kind) {
  return kind > VOB_VAL_OPAQUE ? nullptr : vob_val_kind_to_str(static_cast<vob_val_kind_t>(kind));
}

// ---- Bodies ----

void RVL_TypeObjRep::print(std::ostream& out) const {
  RVL_NamedObjRep::print(out);
  GCL_IndentSection section("Type Object");
  const GCL_String prefix = GCL_IndentPrefix();
  GCL_Status status;
  std::uint32_t value = 0;
  if (RVL_Call(status, [&] { return vob_type_get_globalness(vob_handle(), dbid(), &value); }) == 0)
    out << prefix << "Globalness: " << RVL_GlobalnessName(value) << "\n";
  else
    out << prefix << "ERROR: Failed to get global." << status.messages() << "\n";
  if (RVL_Call(status, [&] { return vob_type_get_master_kind(vob_handle(), dbid(), &value); }) == 0)
    out << prefix << "Master Kind: " << RVL_MasterKindName(value) << "\n";
  else
    out << prefix << "ERROR: Failed to get Master Kind." << status.messages() << "\n";
  if (RVL_Call(status, [&] { return vob_type_get_occurs(vob_handle(), dbid(), &value); }) == 0)
    out << prefix << "Occurs: " << RVL_OccursName(value) << "\n";
  else
    out << prefix << "ERROR: Failed to get Occurs." << status.messages() << "\n";
}

void RVL_TypeObjRep::apply(GCL_Status& status, const RVL_Update& update) const {
  status.make_ok();
  if (update.is_a(RVL_TypeObjUpdate::kKind)) {
    const auto& changes = dynamic_cast<const RVL_TypeObjUpdate&>(update);
    // An update of another type kind redefines only the type-level values.
    if (changes.type_level_changed() || (update.is_a(update_kind()) && changes.has_type_changes())) {
      vob_type_def_s def;
      if (!TypeLevel(status, *this, changes, def)) return;
      redefine(status, changes, def);
      if (!status.ok()) return;
    }
  }
  RVL_NamedObjRep::apply(status, update);
}

void RVL_BranchTypeRep::print(std::ostream& out) const {
  RVL_TypeObjRep::print(out);
  GCL_IndentSection section("Branch Type");
}

void RVL_BranchTypeRep::redefine(GCL_Status& status, const RVL_TypeObjUpdate&, const vob_type_def_s& def) const {
  RVL_Call(status, [&] { return vob_brtype_redefine(vob_handle(), dbid(), &def); });
}

void RVL_LabelTypeRep::print(std::ostream& out) const {
  RVL_TypeObjRep::print(out);
  GCL_IndentSection section("Label Type");
}

void RVL_LabelTypeRep::redefine(GCL_Status& status, const RVL_TypeObjUpdate&, const vob_type_def_s& def) const {
  RVL_Call(status, [&] { return vob_lbtype_redefine(vob_handle(), dbid(), &def); });
}

void RVL_ElementTypeRep::print(std::ostream& out) const {
  RVL_TypeObjRep::print(out);
  GCL_IndentSection section("Element Type Rep");
  const GCL_String prefix = GCL_IndentPrefix();
  GCL_Status status;
  RVL_InfoStg<vob_eltype_info_s> info(vob());
  if (RVL_Call(status, [&] { return vob_eltype_get_info(vob_handle(), dbid(), info.area(), &info.record()); }) != 0) {
    for (const char* what : {"Super Type", "Type Manager", "PTime", "MergeType"})
      out << prefix << "ERROR: Failed to get " << what << "." << status.messages() << "\n";
    return;
  }
  const auto& record = info.record();
  const GCL_String super = record.supertype ? ObjectName(status, vob(), record.supertype) : GCL_String();
  if (status.ok())
    out << prefix << "Super Type: " << super << "\n";
  else
    out << prefix << "ERROR: Failed to get Super Type." << status.messages() << "\n";
  char manager[kNameSize];
  if (RVL_Call(status, [&] { return vob_type_find_mgr_name(vob_handle(), dbid(), manager, sizeof manager); }) == 0)
    out << prefix << "Type Manager: " << manager << "\n";
  else
    out << prefix << "ERROR: Failed to get Type Manager." << status.messages() << "\n";
  out << prefix << "PTime: " << (record.ptime ? "TRUE" : "FALSE") << "\n";
  out << prefix << "MergeType: " << NameOf(record.mergetype, {"auto", "user", "never", "copy"}, "unknown") << "\n";
}

void RVL_ElementTypeRep::redefine(GCL_Status& status, const RVL_TypeObjUpdate& update,
                                  const vob_type_def_s& def) const {
  RVL_InfoStg<vob_eltype_info_s> info(vob());
  if (RVL_Call(status, [&] { return vob_eltype_get_info(vob_handle(), dbid(), info.area(), &info.record()); }) != 0)
    return;
  auto record = info.record();
  GCL_String manager(record.mgr_name ? record.mgr_name : "");
  if (const auto* own = OwnPart<RVL_ElementTypeUpdate>(update)) {
    if (own->supertype_changed()) record.supertype = own->supertype();
    if (own->manager_changed()) manager = own->manager();
    if (own->ptime_changed()) record.ptime = own->ptime();
    if (own->merge_type_changed()) record.mergetype = own->merge_type();
  }
  RVL_Call(status, [&] {
    return vob_eltype_redefine(vob_handle(), dbid(), &def, record.supertype, manager.c_str(), record.ptime,
                               record.mergetype);
  });
}

void RVL_AttributeTypeRep::print(std::ostream& out) const {
  RVL_TypeObjRep::print(out);
  GCL_IndentSection section("Attribute Type");
  const GCL_String prefix = GCL_IndentPrefix();
  GCL_Status status;
  RVL_InfoStg<vob_attype_info_s> info(vob());
  if (RVL_Call(status, [&] { return vob_attype_get_info(vob_handle(), dbid(), info.area(), &info.record()); }) != 0) {
    out << prefix << "ERROR: Failed to get Attribute Type Restrictions." << status.messages() << "\n";
    return;
  }
  const RVL_AttributeTypeInfo definition(info.record());
  const char* kind = RVL_ValueKindName(definition.kind());
  out << prefix << "Type: " << (kind ? kind : "NULL") << "\n";
  if (definition.default_value()) out << prefix << "Default Value: " << *definition.default_value() << "\n";
  if (definition.lower())
    out << prefix << "Greater than " << (definition.lower_inclusive() ? "or equal to " : "") << *definition.lower()
        << "\n";
  if (definition.upper())
    out << prefix << "Less than " << (definition.upper_inclusive() ? "or equal to " : "") << *definition.upper()
        << "\n";
  if (definition.enum_values().Length()) {
    out << prefix << "Enum Values:\n";
    const GCL_String inner = prefix + GCL_String(GCL_GetIndentSettings().indent.c_str());
    for (std::uint32_t i = 0; i < definition.enum_values().Length(); ++i)
      out << inner << definition.enum_values()[i] << "\n";
  }
}

void RVL_AttributeTypeRep::redefine(GCL_Status& status, const RVL_TypeObjUpdate& update,
                                    const vob_type_def_s& def) const {
  RVL_AttributeTypeInfo definition;
  if (const auto* own = OwnPart<RVL_AttributeTypeUpdate>(update)) {
    definition = own->info();
  } else {
    RVL_InfoStg<vob_attype_info_s> info(vob());
    if (RVL_Call(status, [&] { return vob_attype_get_info(vob_handle(), dbid(), info.area(), &info.record()); }) != 0)
      return;
    definition = RVL_AttributeTypeInfo(info.record());
  }
  vob_attype_vinfo_s vinfo;
  definition.to_vinfo(status, vinfo);
  if (!status.ok()) return;
  RVL_Call(status, [&] { return vob_attype_redefine(vob_handle(), dbid(), &def, &vinfo); });
  vob_attype_free_vinfo(&vinfo);
}

void RVL_HyperlinkTypeRep::print(std::ostream& out) const {
  RVL_TypeObjRep::print(out);
  GCL_IndentSection section("Hyperlink Type");
  const GCL_String prefix = GCL_IndentPrefix();
  GCL_Status status;
  const auto occurs_name = [](std::uint32_t occurs) {
    return occurs == VOB_OCCURS_NULL ? "None" : NameOf(occurs, {"", "VOB_OCCURS_VER_PER_ELEM",
                                                                "VOB_OCCURS_VER_PER_BRANCH", "VOB_OCCURS_VER_PER_VER"},
                                                       "Unknown");
  };
  std::uint32_t occurs = 0;
  if (RVL_Call(status, [&] { return vob_hltype_get_occurs(vob_handle(), dbid(), VOB_HLINK_FROM, &occurs); }) == 0)
    out << prefix << "From Occurs: " << occurs_name(occurs) << "\n";
  if (RVL_Call(status, [&] { return vob_hltype_get_occurs(vob_handle(), dbid(), VOB_HLINK_TO, &occurs); }) == 0)
    out << prefix << "To Occurs: " << occurs_name(occurs) << "\n";
  GCL_String names;
  vob_dbid_t cursor = 0;
  while (vob_type_next_attr_types(vob_handle(), dbid(), &cursor) == 0) {
    if (names.length()) names += ", ";
    names += ObjectName(status, vob(), cursor);
  }
  out << prefix << "Attribute Types: " << names << "\n";
  RVL_InfoStg<vob_event_info_s> event(vob());
  vob_eventh_t handle = 0;
  if (RVL_Call(status, [&] { return vob_obj_find_eventh(vob_handle(), dbid(), &handle); }) == 0 &&
      RVL_Call(status, [&] { return vob_event_get_info(vob_handle(), handle, event.area(), &event.record()); }) == 0)
    out << prefix << "Comments: " << (event.record().comment ? event.record().comment : "") << "\n";
  else
    out << prefix << "ERROR: Failed to get comments ." << status.messages() << "\n";
}

void RVL_HyperlinkTypeRep::redefine(GCL_Status& status, const RVL_TypeObjUpdate&, const vob_type_def_s& def) const {
  RVL_Call(status, [&] { return vob_hltype_redefine(vob_handle(), dbid(), &def); });
}

void RVL_TriggerTypeRep::print(std::ostream& out) const {
  RVL_TypeObjRep::print(out);
  GCL_IndentSection section("Trigger Type");
}

void RVL_TriggerTypeRep::redefine(GCL_Status& status, const RVL_TypeObjUpdate& update,
                                  const vob_type_def_s& def) const {
  RVL_TriggerTypeInfo definition;
  if (const auto* own = OwnPart<RVL_TriggerTypeUpdate>(update)) {
    definition = own->info();
  } else {
    vob_trtype_info_s current;
    if (RVL_Call(status, [&] { return vob_trtype_get_info(vob_handle(), dbid(), &current); }) != 0) return;
    definition = RVL_TriggerTypeInfo(current);
    vob_trtype_free_info(&current);
  }
  RVL_InfoStg<vob_trtype_info_s> record(vob());
  if (!definition.to_record(record.area(), record.record())) {
    status.set_code(TBS_ST_NO_MEMORY);
    return;
  }
  RVL_Call(status, [&] { return vob_trtype_redefine(vob_handle(), dbid(), &def, &record.record()); });
}

void RVL_ReplicaTypeRep::print(std::ostream& out) const {
  RVL_TypeObjRep::print(out);
  GCL_IndentSection section("Replica Type");
}

void RVL_ReplicaTypeRep::redefine(GCL_Status& status, const RVL_TypeObjUpdate&, const vob_type_def_s&) const {
  status.set_code(TBS_ST_INVALID_ARG);
  status.push_message("Changing the definition of a replica is not supported.");
}

// ---- Handles ----

std::uint32_t RVL_TypeObj::occurs(GCL_Status& status) const {
  std::uint32_t value = 0;
  if (require_body(status, __LINE__)) RVL_Call(status, [&] { return vob_type_get_occurs(vob().handle(), dbid(), &value); });
  return value;
}

std::uint32_t RVL_TypeObj::globalness(GCL_Status& status) const {
  std::uint32_t value = 0;
  if (require_body(status, __LINE__))
    RVL_Call(status, [&] { return vob_type_get_globalness(vob().handle(), dbid(), &value); });
  return value;
}

std::uint32_t RVL_TypeObj::master_kind(GCL_Status& status) const {
  std::uint32_t value = 0;
  if (require_body(status, __LINE__))
    RVL_Call(status, [&] { return vob_type_get_master_kind(vob().handle(), dbid(), &value); });
  return value;
}

std::vector<RVL_NamedObj> RVL_TypeObj::super_types(GCL_Status& status) const {
  std::vector<RVL_NamedObj> found;
  if (!require_body(status, __LINE__)) return found;
  vob_dbid_t cursor = 0;
  int rc = 0;
  while ((rc = vob_type_next_supertypes(vob().handle(), dbid(), &cursor)) == 0)
    found.emplace_back(status, vob(), cursor, VOB_MTYPE_ELTYPE);
  // the end of the chain is no failure; anything else is
  if (rc != TBS_ST_NOT_FOUND) status.set_code(static_cast<std::uint32_t>(rc));
  return found;
}

RVL_ElementType::Definition RVL_ElementType::definition(GCL_Status& status) const {
  Definition definition;
  if (!require_body(status, __LINE__)) return definition;
  RVL_InfoStg<vob_eltype_info_s> info(vob());
  if (RVL_Call(status, [&] { return vob_eltype_get_info(vob().handle(), dbid(), info.area(), &info.record()); }) != 0)
    return definition;
  definition.supertype = info.record().supertype;
  definition.manager = GCL_String(info.record().mgr_name ? info.record().mgr_name : "");
  definition.ptime = info.record().ptime != 0;
  definition.merge_type = info.record().mergetype;
  return definition;
}

std::uint32_t RVL_ElementType::merge_type(GCL_Status& status) const {
  vob_mergetype_s value = 0;
  if (require_body(status, __LINE__))
    RVL_Call(status, [&] { return vob_eltype_get_mergetype(vob().handle(), dbid(), &value); });
  return value;
}

GCL_String RVL_ElementType::manager_name(GCL_Status& status) const {
  char name[kNameSize] = "";
  if (require_body(status, __LINE__))
    RVL_Call(status, [&] { return vob_type_find_mgr_name(vob().handle(), dbid(), name, sizeof name); });
  return status.ok() ? GCL_String(name) : GCL_String();
}

RVL_AttributeTypeInfo RVL_AttributeType::definition(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return RVL_AttributeTypeInfo();
  RVL_InfoStg<vob_attype_info_s> info(vob());
  if (RVL_Call(status, [&] { return vob_attype_get_info(vob().handle(), dbid(), info.area(), &info.record()); }) != 0)
    return RVL_AttributeTypeInfo();
  return RVL_AttributeTypeInfo(info.record());
}

std::uint32_t RVL_HyperlinkType::from_occurs(GCL_Status& status) const {
  std::uint32_t value = 0;
  if (require_body(status, __LINE__))
    RVL_Call(status, [&] { return vob_hltype_get_occurs(vob().handle(), dbid(), VOB_HLINK_FROM, &value); });
  return value;
}

std::uint32_t RVL_HyperlinkType::to_occurs(GCL_Status& status) const {
  std::uint32_t value = 0;
  if (require_body(status, __LINE__))
    RVL_Call(status, [&] { return vob_hltype_get_occurs(vob().handle(), dbid(), VOB_HLINK_TO, &value); });
  return value;
}

std::vector<RVL_AttributeType> RVL_HyperlinkType::attribute_types(GCL_Status& status) const {
  std::vector<RVL_AttributeType> found;
  if (!require_body(status, __LINE__)) return found;
  vob_dbid_t cursor = 0;
  int rc = 0;
  while ((rc = vob_type_next_attr_types(vob().handle(), dbid(), &cursor)) == 0) found.emplace_back(status, vob(), cursor);
  if (rc != TBS_ST_NOT_FOUND) status.set_code(static_cast<std::uint32_t>(rc));
  return found;
}

RVL_TriggerTypeInfo RVL_TriggerType::definition(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return RVL_TriggerTypeInfo();
  vob_trtype_info_s record;
  if (RVL_Call(status, [&] { return vob_trtype_get_info(vob().handle(), dbid(), &record); }) != 0)
    return RVL_TriggerTypeInfo();
  RVL_TriggerTypeInfo definition(record);
  vob_trtype_free_info(&record);
  return definition;
}

RVL_ReplicaTypeInfo RVL_ReplicaType::definition(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return RVL_ReplicaTypeInfo();
  vob_rptype_info_s record;
  if (RVL_Call(status, [&] { return vob_rptype_get_info(vob().handle(), dbid(), &record); }) != 0)
    return RVL_ReplicaTypeInfo();
  RVL_ReplicaTypeInfo definition(record);
  vob_rptype_free_info(&record);
  return definition;
}
