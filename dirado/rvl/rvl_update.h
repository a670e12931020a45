#pragma once
// Updates: what a caller wants changed on a VOB object, gathered field by
// field (each setter stores the value and sets its change bit) and handed to
// the object's apply. An update of a base kind may be applied to any object;
// only the parts whose kind the update is a kind of are applied.
#include <cstdint>

#include "gcl_osuser.h"
#include "gcl_string.h"
#include "rvl_typeinfo.h"

class RVL_Update {
 public:
  virtual ~RVL_Update() = default;
  // The kind number of the update's class.
  virtual int kind() const = 0;
  // True for the class's own kind and every base's kind.
  virtual bool is_a(int kind) const = 0;
  // True when this class's change word or any base's is not 0.
  virtual bool has_changes() const = 0;

 protected:
  RVL_Update() = default;
  RVL_Update(const RVL_Update&) = default;
  RVL_Update& operator=(const RVL_Update&) = default;
};

// Changes of any VOB object: its creation event's comment, its owner, its
// group and its protection mode (owner, group and mode go in one call).
class RVL_VobObjectUpdate : public RVL_Update {
 public:
  static constexpr int kKind = 1;

  RVL_VobObjectUpdate() = default;
  // Copies this kind's fields when the other update is one of this kind.
  RVL_VobObjectUpdate(const RVL_Update& other);
  RVL_VobObjectUpdate(const RVL_VobObjectUpdate& other) = default;
  RVL_VobObjectUpdate& operator=(const RVL_VobObjectUpdate& other) = default;

  int kind() const override { return kKind; }
  bool is_a(int kind) const override { return kind == kKind; }
  bool has_changes() const override { return changes_ != 0; }

  void set_comment(const GCL_String& comment);
  void set_owner(const GCL_OSUser& owner);
  void set_group(const GCL_OSGroup& group);
  void set_mode(std::uint32_t mode);

  bool comment_changed() const { return (changes_ & kCommentBit) != 0; }
  bool owner_changed() const { return (changes_ & kOwnerBit) != 0; }
  bool group_changed() const { return (changes_ & kGroupBit) != 0; }
  bool mode_changed() const { return (changes_ & kModeBit) != 0; }
  const GCL_String& comment() const { return comment_; }
  const GCL_OSUser& owner() const { return owner_; }
  const GCL_OSGroup& group() const { return group_; }
  std::uint32_t mode() const { return mode_; }

 private:
  static constexpr std::uint32_t kCommentBit = 1u << 0;
  static constexpr std::uint32_t kOwnerBit = 1u << 1;
  static constexpr std::uint32_t kGroupBit = 1u << 2;
  static constexpr std::uint32_t kModeBit = 1u << 3;

  GCL_String comment_;
  GCL_OSUser owner_;
  GCL_OSGroup group_;
  std::uint32_t mode_ = 0;
  std::uint32_t changes_ = 0;
};

// Changes of a named object: its name.
class RVL_NamedObjUpdate : public RVL_VobObjectUpdate {
 public:
  static constexpr int kKind = 2;

  RVL_NamedObjUpdate() = default;
  RVL_NamedObjUpdate(const RVL_Update& other);
  RVL_NamedObjUpdate(const RVL_NamedObjUpdate& other) = default;
  RVL_NamedObjUpdate& operator=(const RVL_NamedObjUpdate& other) = default;

  int kind() const override { return kKind; }
  bool is_a(int kind) const override { return kind == kKind || RVL_VobObjectUpdate::is_a(kind); }
  bool has_changes() const override { return name_changes_ != 0 || RVL_VobObjectUpdate::has_changes(); }

  void set_name(const GCL_String& name);
  bool name_changed() const { return name_changes_ != 0; }
  const GCL_String& name() const { return name_; }

 private:
  GCL_String name_;
  std::uint32_t name_changes_ = 0;
};

// Changes every type's definition has: occurs, globalness, master kind
// (values of the enumerations rvl_typeobj.h names).
class RVL_TypeObjUpdate : public RVL_NamedObjUpdate {
 public:
  static constexpr int kKind = 3;

  RVL_TypeObjUpdate() = default;
  RVL_TypeObjUpdate(const RVL_Update& other);
  RVL_TypeObjUpdate(const RVL_TypeObjUpdate& other) = default;
  RVL_TypeObjUpdate& operator=(const RVL_TypeObjUpdate& other) = default;

  int kind() const override { return kKind; }
  bool is_a(int kind) const override { return kind == kKind || RVL_NamedObjUpdate::is_a(kind); }
  bool has_changes() const override { return has_type_changes() || RVL_NamedObjUpdate::has_changes(); }
  // Whether the definition changes: the type-level values or the kind's own.
  virtual bool has_type_changes() const { return type_changes_ != 0; }

  void set_occurs(std::uint32_t occurs);
  void set_globalness(std::uint32_t globalness);
  void set_master_kind(std::uint32_t master_kind);
  bool occurs_changed() const { return (type_changes_ & kOccursBit) != 0; }
  bool globalness_changed() const { return (type_changes_ & kGlobalnessBit) != 0; }
  bool master_kind_changed() const { return (type_changes_ & kMasterKindBit) != 0; }
  bool type_level_changed() const { return type_changes_ != 0; }
  std::uint32_t occurs() const { return occurs_; }
  std::uint32_t globalness() const { return globalness_; }
  std::uint32_t master_kind() const { return master_kind_; }

 private:
  static constexpr std::uint32_t kOccursBit = 1u << 0;
  static constexpr std::uint32_t kGlobalnessBit = 1u << 1;
  static constexpr std::uint32_t kMasterKindBit = 1u << 2;

  std::uint32_t occurs_ = 0, globalness_ = 0, master_kind_ = 0;
  std::uint32_t type_changes_ = 0;
};

// The base of each type kind's update: its kind number and its own change
// word.
template <int Kind>
class RVL_TypeKindUpdate : public RVL_TypeObjUpdate {
 public:
  static constexpr int kKind = Kind;

  int kind() const override { return kKind; }
  bool is_a(int kind) const override { return kind == kKind || RVL_TypeObjUpdate::is_a(kind); }
  bool has_type_changes() const override { return own_changes_ != 0 || RVL_TypeObjUpdate::has_type_changes(); }
  bool own_changed() const { return own_changes_ != 0; }

 protected:
  RVL_TypeKindUpdate() = default;
  // The base parts, and this kind's change word when the other is of this kind.
  RVL_TypeKindUpdate(const RVL_Update& other) : RVL_TypeObjUpdate(other) {
    if (other.is_a(kKind)) own_changes_ = dynamic_cast<const RVL_TypeKindUpdate&>(other).own_changes_;
  }
  void mark(std::uint32_t bit) { own_changes_ |= bit; }
  bool marked(std::uint32_t bit) const { return (own_changes_ & bit) != 0; }

 private:
  std::uint32_t own_changes_ = 0;
};

class RVL_BranchTypeUpdate : public RVL_TypeKindUpdate<5> {
 public:
  RVL_BranchTypeUpdate() = default;
  RVL_BranchTypeUpdate(const RVL_Update& other) : RVL_TypeKindUpdate(other) {}
};

class RVL_LabelTypeUpdate : public RVL_TypeKindUpdate<6> {
 public:
  RVL_LabelTypeUpdate() = default;
  RVL_LabelTypeUpdate(const RVL_Update& other) : RVL_TypeKindUpdate(other) {}
};

class RVL_HyperlinkTypeUpdate : public RVL_TypeKindUpdate<9> {
 public:
  RVL_HyperlinkTypeUpdate() = default;
  RVL_HyperlinkTypeUpdate(const RVL_Update& other) : RVL_TypeKindUpdate(other) {}
};

class RVL_ElementTypeUpdate : public RVL_TypeKindUpdate<7> {
 public:
  RVL_ElementTypeUpdate() = default;
  RVL_ElementTypeUpdate(const RVL_Update& other);

  // The element type it derives from (its DBID).
  void set_supertype(std::uint32_t supertype);
  // Empty: the super type's manager.
  void set_manager(const GCL_String& manager);
  void set_ptime(bool ptime);
  void set_merge_type(std::uint32_t merge_type);
  bool supertype_changed() const { return marked(kSupertypeBit); }
  bool manager_changed() const { return marked(kManagerBit); }
  bool ptime_changed() const { return marked(kPtimeBit); }
  bool merge_type_changed() const { return marked(kMergeTypeBit); }
  std::uint32_t supertype() const { return supertype_; }
  const GCL_String& manager() const { return manager_; }
  bool ptime() const { return ptime_; }
  std::uint32_t merge_type() const { return merge_type_; }

 private:
  static constexpr std::uint32_t kSupertypeBit = 1u << 0;
  static constexpr std::uint32_t kManagerBit = 1u << 1;
  static constexpr std::uint32_t kPtimeBit = 1u << 2;
  static constexpr std::uint32_t kMergeTypeBit = 1u << 3;

  std::uint32_t supertype_ = 0;
  GCL_String manager_;
  bool ptime_ = false;
  std::uint32_t merge_type_ = 0;
};

class RVL_AttributeTypeUpdate : public RVL_TypeKindUpdate<8> {
 public:
  RVL_AttributeTypeUpdate() = default;
  RVL_AttributeTypeUpdate(const RVL_Update& other);
  void set_info(const RVL_AttributeTypeInfo& info);
  const RVL_AttributeTypeInfo& info() const { return info_; }

 private:
  RVL_AttributeTypeInfo info_;
};

class RVL_TriggerTypeUpdate : public RVL_TypeKindUpdate<10> {
 public:
  RVL_TriggerTypeUpdate() = default;
  RVL_TriggerTypeUpdate(const RVL_Update& other);
  void set_info(const RVL_TriggerTypeInfo& info);
  const RVL_TriggerTypeInfo& info() const { return info_; }

 private:
  RVL_TriggerTypeInfo info_;
};

// Replicas cannot be redefined: an apply with this kind's change is refused.
class RVL_ReplicaTypeUpdate : public RVL_TypeKindUpdate<11> {
 public:
  RVL_ReplicaTypeUpdate() = default;
  RVL_ReplicaTypeUpdate(const RVL_Update& other);
  void set_info(const RVL_ReplicaTypeInfo& info);
  const RVL_ReplicaTypeInfo& info() const { return info_; }

 private:
  RVL_ReplicaTypeInfo info_;
};
