// Updates, and how a VOB object applies the part every object has.
#include "rvl_update.h"

#include "gcl_status.h"
#include "rvl_call.h"
#include "rvl_namedobj.h"
#include "tbs.h"
#include "vob.h"
#include "vob_attr.h"
#include "vob_type.h"

RVL_VobObjectUpdate::RVL_VobObjectUpdate(const RVL_Update& other) {
  if (other.is_a(kKind)) *this = dynamic_cast<const RVL_VobObjectUpdate&>(other);
}

void RVL_VobObjectUpdate::set_comment(const GCL_String& comment) {
  comment_ = comment;
  changes_ |= kCommentBit;
}

void RVL_VobObjectUpdate::set_owner(const GCL_OSUser& owner) {
  owner_ = owner;
  changes_ |= kOwnerBit;
}

void RVL_VobObjectUpdate::set_group(const GCL_OSGroup& group) {
  group_ = group;
  changes_ |= kGroupBit;
}

void RVL_VobObjectUpdate::set_mode(std::uint32_t mode) {
  mode_ = mode;
  changes_ |= kModeBit;
}

RVL_NamedObjUpdate::RVL_NamedObjUpdate(const RVL_Update& other) : RVL_VobObjectUpdate(other) {
  if (!other.is_a(kKind)) return;
  const auto& named = dynamic_cast<const RVL_NamedObjUpdate&>(other);
  name_ = named.name_;
  name_changes_ = named.name_changes_;
}

void RVL_NamedObjUpdate::set_name(const GCL_String& name) {
  name_ = name;
  name_changes_ = 1;
}

RVL_TypeObjUpdate::RVL_TypeObjUpdate(const RVL_Update& other) : RVL_NamedObjUpdate(other) {
  if (!other.is_a(kKind)) return;
  const auto& type = dynamic_cast<const RVL_TypeObjUpdate&>(other);
  occurs_ = type.occurs_;
  globalness_ = type.globalness_;
  master_kind_ = type.master_kind_;
  type_changes_ = type.type_changes_;
}

void RVL_TypeObjUpdate::set_occurs(std::uint32_t occurs) {
  occurs_ = occurs;
  type_changes_ |= kOccursBit;
}

void RVL_TypeObjUpdate::set_globalness(std::uint32_t globalness) {
  globalness_ = globalness;
  type_changes_ |= kGlobalnessBit;
}

void RVL_TypeObjUpdate::set_master_kind(std::uint32_t master_kind) {
  master_kind_ = master_kind;
  type_changes_ |= kMasterKindBit;
}

RVL_ElementTypeUpdate::RVL_ElementTypeUpdate(const RVL_Update& other) : RVL_TypeKindUpdate(other) {
  if (!other.is_a(kKind)) return;
  const auto& element = dynamic_cast<const RVL_ElementTypeUpdate&>(other);
  supertype_ = element.supertype_;
  manager_ = element.manager_;
  ptime_ = element.ptime_;
  merge_type_ = element.merge_type_;
}

void RVL_ElementTypeUpdate::set_supertype(std::uint32_t supertype) {
  supertype_ = supertype;
  mark(kSupertypeBit);
}

void RVL_ElementTypeUpdate::set_manager(const GCL_String& manager) {
  manager_ = manager;
  mark(kManagerBit);
}

void RVL_ElementTypeUpdate::set_ptime(bool ptime) {
  ptime_ = ptime;
  mark(kPtimeBit);
}

void RVL_ElementTypeUpdate::set_merge_type(std::uint32_t merge_type) {
  merge_type_ = merge_type;
  mark(kMergeTypeBit);
}

RVL_AttributeTypeUpdate::RVL_AttributeTypeUpdate(const RVL_Update& other) : RVL_TypeKindUpdate(other) {
  if (other.is_a(kKind)) info_ = dynamic_cast<const RVL_AttributeTypeUpdate&>(other).info_;
}

void RVL_AttributeTypeUpdate::set_info(const RVL_AttributeTypeInfo& info) {
  info_ = info;
  mark(1);
}

RVL_TriggerTypeUpdate::RVL_TriggerTypeUpdate(const RVL_Update& other) : RVL_TypeKindUpdate(other) {
  if (other.is_a(kKind)) info_ = dynamic_cast<const RVL_TriggerTypeUpdate&>(other).info_;
}

void RVL_TriggerTypeUpdate::set_info(const RVL_TriggerTypeInfo& info) {
  info_ = info;
  mark(1);
}

RVL_ReplicaTypeUpdate::RVL_ReplicaTypeUpdate(const RVL_Update& other) : RVL_TypeKindUpdate(other) {
  if (other.is_a(kKind)) info_ = dynamic_cast<const RVL_ReplicaTypeUpdate&>(other).info_;
}

void RVL_ReplicaTypeUpdate::set_info(const RVL_ReplicaTypeInfo& info) {
  info_ = info;
  mark(1);
}

namespace {

// The security identifier of a user or group named in an update; on failure
// the status says which name is unknown.
template <class Principal>
GCL_String SidOf(GCL_Status& status, const Principal& principal, const char* what) {
  GCL_String sid = principal.sid(status);
  if (!status.ok()) status.push_message(GCL_String("Unknown ") + what + " \"" + principal + "\".");
  return sid;
}

}  // namespace

void RVL_VobObjectRep::apply(GCL_Status& status, const RVL_Update& update) const {
  status.make_ok();
  if (!update.is_a(RVL_VobObjectUpdate::kKind)) return;
  const auto& changes = dynamic_cast<const RVL_VobObjectUpdate&>(update);
  if (changes.comment_changed()) {
    vob_eventh_t event = 0;
    if (RVL_Call(status, [&] { return vob_obj_find_eventh(vob_handle(), dbid(), &event); }) != 0) return;
    if (RVL_Call(status, [&] { return vob_event_change_comment(vob_handle(), event, changes.comment().c_str()); }) != 0)
      return;
  }
  if (changes.owner_changed() || changes.group_changed() || changes.mode_changed()) {
    GCL_String owner_sid, group_sid;
    if (changes.owner_changed()) {
      owner_sid = SidOf(status, changes.owner(), "user");
      if (!status.ok()) return;
    }
    if (changes.group_changed()) {
      group_sid = SidOf(status, changes.group(), "group");
      if (!status.ok()) return;
    }
    RVL_Call(status, [&] {
      return vob_obj_protect_sid(vob_handle(), dbid(), changes.owner_changed() ? owner_sid.c_str() : CREDUTL_SID_DONTCARE,
                                 changes.group_changed() ? group_sid.c_str() : CREDUTL_SID_DONTCARE,
                                 changes.mode_changed() ? changes.mode() : VOB_MODE_DONTCARE);
    });
  }
}

void RVL_NamedObjRep::apply(GCL_Status& status, const RVL_Update& update) const {
  status.make_ok();
  if (update.is_a(RVL_NamedObjUpdate::kKind)) {
    const auto& changes = dynamic_cast<const RVL_NamedObjUpdate&>(update);
    if (changes.name_changed() &&
        RVL_Call(status, [&] { return vob_obj_set_name(vob_handle(), dbid(), changes.name().c_str()); }) != 0)
      return;
  }
  RVL_VobObjectRep::apply(status, update);
}

namespace {

// One transaction of the repository for the scope: committed by commit(),
// else undone when the scope ends (a failure, an early return, an
// exception).
class TransactionScope {
 public:
  explicit TransactionScope(GCL_Status& status) { open_ = RVL_Call(status, [] { return vob_txn_begin(); }) == 0; }
  ~TransactionScope() {
    if (open_) vob_txn_end(0);
  }
  TransactionScope(const TransactionScope&) = delete;
  TransactionScope& operator=(const TransactionScope&) = delete;
  bool open() const { return open_; }
  // Commits; a failed commit undoes everything and stays on the status.
  void commit(GCL_Status& status) {
    open_ = false;
    RVL_Call(status, [] { return vob_txn_end(1); });
  }

 private:
  bool open_ = false;
};

}  // namespace

void RVL_VobObject::apply(GCL_Status& status, const RVL_Update& update) const {
  if (!require_body(status, __LINE__)) return;
  status.make_ok();
  if (!update.has_changes()) return;
  TransactionScope transaction(status);
  if (!transaction.open()) return;
  rep()->apply(status, update);
  if (status.ok()) transaction.commit(status);
}
