#pragma once
// Definitions of types as records the object model owns: an attribute
// type's value rules, a trigger type's actions, restrictions, operations and
// exempt users, a replica's name and host.
#include <cstdint>
#include <optional>

#include "gcl_osuser.h"
#include "gcl_string.h"
#include "lc_collection.h"

class GCL_Status;
struct vob_attype_info_s;
struct vob_attype_vinfo_s;
struct vob_trtype_info_s;
struct vob_rptype_info_s;

class RVL_AttributeTypeInfo {
 public:
  using Values = LC_TDynamicCollection<GCL_String, LC_CUnmanaged>;

  RVL_AttributeTypeInfo() = default;
  RVL_AttributeTypeInfo(std::uint32_t kind, std::optional<GCL_String> lower, std::optional<GCL_String> upper,
                        bool lower_inclusive, std::optional<GCL_String> default_value, bool upper_inclusive,
                        const Values& enum_values);
  // A copy of the texts of a repository record.
  explicit RVL_AttributeTypeInfo(const vob_attype_info_s& record);
  virtual ~RVL_AttributeTypeInfo() = default;
  RVL_AttributeTypeInfo(const RVL_AttributeTypeInfo&) = default;
  RVL_AttributeTypeInfo& operator=(const RVL_AttributeTypeInfo&) = default;

  // The value kind: the repository's vob_val_kind_t.
  std::uint32_t kind() const { return kind_; }
  const std::optional<GCL_String>& lower() const { return lower_; }
  const std::optional<GCL_String>& upper() const { return upper_; }
  const std::optional<GCL_String>& default_value() const { return default_; }
  bool lower_inclusive() const { return lower_inclusive_; }
  bool upper_inclusive() const { return upper_inclusive_; }
  const Values& enum_values() const { return enums_; }

  // The rules parsed by the repository (vob_attype_strs_to_vinfo); the caller
  // frees the record with vob_attype_free_vinfo. Bad text: TBS_ST_INVALID_ARG
  // with the repository's message on the status.
  void to_vinfo(GCL_Status& status, vob_attype_vinfo_s& vinfo) const;

 private:
  std::uint32_t kind_ = 0;
  std::optional<GCL_String> lower_, upper_, default_;
  bool lower_inclusive_ = false, upper_inclusive_ = false;
  Values enums_;
};

struct RVL_TriggerTypeAction {
  GCL_String command;  // the command line run when the trigger fires
  bool operator==(const RVL_TriggerTypeAction&) const = default;
};
struct RVL_TriggerTypeRestriction {
  GCL_String selector;  // a type the trigger is limited to
  bool operator==(const RVL_TriggerTypeRestriction&) const = default;
};
class RVL_TriggerTypeActionList : public LC_TDynamicCollection<RVL_TriggerTypeAction> {};
class RVL_TriggerTypeRestrictionList : public LC_TDynamicCollection<RVL_TriggerTypeRestriction> {};
class RVL_VobOperationList : public LC_TDynamicCollection<std::uint32_t> {};

class RVL_TriggerTypeInfo {
 public:
  RVL_TriggerTypeInfo() = default;
  // A copy of a repository record (which the caller still frees).
  explicit RVL_TriggerTypeInfo(const vob_trtype_info_s& record);
  virtual ~RVL_TriggerTypeInfo() = default;
  RVL_TriggerTypeInfo(const RVL_TriggerTypeInfo&) = default;
  RVL_TriggerTypeInfo& operator=(const RVL_TriggerTypeInfo&) = default;

  RVL_TriggerTypeActionList actions;
  RVL_TriggerTypeRestrictionList restrictions;
  RVL_VobOperationList operations;  // vob_op_t values
  GCL_OSUserList exempt_users;

  // The repository record, its parts allocated in the storage area (they
  // live until the area is freed). False when the area has no room.
  bool to_record(std::uint32_t area, vob_trtype_info_s& record) const;
};

class RVL_ReplicaTypeInfo {
 public:
  RVL_ReplicaTypeInfo() = default;
  RVL_ReplicaTypeInfo(const GCL_String& name, const GCL_String& host) : name_(name), host_(host) {}
  explicit RVL_ReplicaTypeInfo(const vob_rptype_info_s& record);
  virtual ~RVL_ReplicaTypeInfo() = default;
  RVL_ReplicaTypeInfo(const RVL_ReplicaTypeInfo&) = default;
  RVL_ReplicaTypeInfo& operator=(const RVL_ReplicaTypeInfo&) = default;

  const GCL_String& name() const { return name_; }
  const GCL_String& host() const { return host_; }

 private:
  GCL_String name_, host_;
};
