#pragma once
// VOBs: a handle onto a body that holds the repository's handle of a VOB,
// its identity and its five type and object managers (made on first use and
// kept for the life of the body). Two handles are equal when they name the
// same VOB. RVL_VobHandle is the bare repository handle.
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <vector>

#include "gcl_handle.h"
#include "gcl_string.h"

class GCL_Status;
class RVL_AttributeTypeManager;
class RVL_LabelTypeManager;
class RVL_BranchTypeManager;
class RVL_ElementManager;
class RVL_HyperlinkManager;

class RVL_VobRep : public GCL_Body {
 public:
  explicit RVL_VobRep(std::uint32_t handle);
  ~RVL_VobRep() override;
  RVL_VobRep(const RVL_VobRep&) = delete;
  RVL_VobRep& operator=(const RVL_VobRep&) = delete;
  bool is_null() const override { return handle_ == 0; }
  bool equals(const GCL_Body& other) const override;
  // "Vob" section: reference count, handle, tag and "VOB replica oid: ".
  void print(std::ostream& out) const override;
  std::uint32_t handle() const { return handle_; }

  // The managers, made on first use (each first use writes one diagnostic
  // line to the standard error stream, as the body always has).
  RVL_AttributeTypeManager& attribute_manager() const;
  RVL_LabelTypeManager& label_manager() const;
  RVL_BranchTypeManager& branch_manager() const;
  RVL_ElementManager& element_manager() const;
  RVL_HyperlinkManager& hyperlink_manager() const;

 private:
  const std::uint32_t handle_;
  mutable std::mutex managers_mutex_;
  mutable std::unique_ptr<RVL_AttributeTypeManager> attribute_manager_;
  mutable std::unique_ptr<RVL_LabelTypeManager> label_manager_;
  mutable std::unique_ptr<RVL_BranchTypeManager> branch_manager_;
  mutable std::unique_ptr<RVL_ElementManager> element_manager_;
  mutable std::unique_ptr<RVL_HyperlinkManager> hyperlink_manager_;
};

class RVL_Vob : public GCL_Handle<RVL_VobRep> {
 public:
  RVL_Vob() = default;
  // The VOB of a repository handle (0: the null VOB).
  explicit RVL_Vob(std::uint32_t handle);
  // The VOB with the tag ("\name"); the status gets the repository's code
  // and the handle stays null when there is none.
  static RVL_Vob from_tag(GCL_Status& status, const GCL_String& tag);

  // The repository's VOB handle; 0 for the null VOB.
  std::uint32_t handle() const { return rep() ? rep()->handle() : 0; }
  bool is_null() const { return handle() == 0; }
  // The VOB a pathname is in: "\vob\...", or through a view
  // ("\\view\TAG\vob\...", "M:\TAG\vob\...").
  static RVL_Vob from_pathname(GCL_Status& status, const GCL_String& pathname);
  // The VOB whose VOB object has the OID (either text form).
  static RVL_Vob from_oid(GCL_Status& status, const GCL_String& oid);
  // The tags of the views that have used the VOB, with their UUIDs.
  bool views(GCL_Status& status, std::vector<GCL_String>* tags, std::vector<GCL_String>* uuids) const;

  // The VOB's tag; empty on failure (the code goes on the status).
  GCL_String tag(GCL_Status& status) const;
  GCL_String uuid(GCL_Status& status) const;
  GCL_String replica_oid(GCL_Status& status) const;
  bool is_replicated(GCL_Status& status) const;
  // The directory the VOB is reached under in a view.
  GCL_String mount_dir(GCL_Status& status) const;
  // "vob:\tag".
  GCL_String selector(GCL_Status& status) const;
  bool is_pvob(GCL_Status& status) const;
  // The owner's SID; changing owner and group ("" leaves a part as it is)
  // of the VOB object, or of every object in the VOB.
  GCL_String owner(GCL_Status& status) const;
  bool protect(GCL_Status& status, const GCL_String& owner_sid, const GCL_String& group_sid,
               bool all_objects) const;
  // Locking the VOB object.
  bool is_locked(GCL_Status& status) const;
  bool lock(GCL_Status& status, const GCL_String& comment) const;
  bool unlock(GCL_Status& status) const;

  // The managers (a null VOB has none: callers test is_null first).
  RVL_AttributeTypeManager& attribute_manager() const { return rep()->attribute_manager(); }
  RVL_LabelTypeManager& label_manager() const { return rep()->label_manager(); }
  RVL_BranchTypeManager& branch_manager() const { return rep()->branch_manager(); }
  RVL_ElementManager& element_manager() const { return rep()->element_manager(); }
  RVL_HyperlinkManager& hyperlink_manager() const { return rep()->hyperlink_manager(); }

  void describe(std::ostream& out) const;

  bool operator==(const RVL_Vob& other) const { return handle() == other.handle(); }
  bool operator!=(const RVL_Vob& other) const { return handle() != other.handle(); }
};

class RVL_VobHandleRep : public GCL_Body {
 public:
  explicit RVL_VobHandleRep(std::uint32_t handle) : handle_(handle) {}
  bool is_null() const override { return handle_ == 0; }
  bool equals(const GCL_Body& other) const override;
  const std::uint32_t handle_;
};

class RVL_VobHandle : public GCL_Handle<RVL_VobHandleRep> {
 public:
  RVL_VobHandle() = default;
  explicit RVL_VobHandle(std::uint32_t handle);
  std::uint32_t handle() const { return rep() ? rep()->handle_ : 0; }
  RVL_Vob vob() const { return RVL_Vob(handle()); }
};
