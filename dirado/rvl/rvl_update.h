#pragma once
// Updates: what a caller wants changed on a VOB object, gathered field by
// field (each setter stores the value and sets its change bit) and handed to
// the object's apply. An update of a base kind may be applied to any object;
// only the parts whose kind the update is a kind of are applied.
#include <cstdint>

#include "gcl_osuser.h"
#include "gcl_string.h"

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

// Changes of any VOB object: its creation event's comment, its owner and
// its group.
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

  bool comment_changed() const { return (changes_ & kCommentBit) != 0; }
  bool owner_changed() const { return (changes_ & kOwnerBit) != 0; }
  bool group_changed() const { return (changes_ & kGroupBit) != 0; }
  const GCL_String& comment() const { return comment_; }
  const GCL_OSUser& owner() const { return owner_; }
  const GCL_OSGroup& group() const { return group_; }

 private:
  static constexpr std::uint32_t kCommentBit = 1u << 0;
  static constexpr std::uint32_t kOwnerBit = 1u << 1;
  static constexpr std::uint32_t kGroupBit = 1u << 2;

  GCL_String comment_;
  GCL_OSUser owner_;
  GCL_OSGroup group_;
  std::uint32_t changes_ = 0;
};
