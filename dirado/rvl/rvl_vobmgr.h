#pragma once
// The type and object managers of a VOB: each lists the VOB's types of its
// kind, makes and deletes them; the hyperlink manager also makes, deletes
// and lists hyperlinks.
#include <cstdint>
#include <vector>

#include "gcl_string.h"

class GCL_Status;

class RVL_TypeManager {
 public:
  RVL_TypeManager(std::uint32_t vob, std::uint32_t mtype) : vob_(vob), mtype_(mtype) {}
  virtual ~RVL_TypeManager() = default;
  RVL_TypeManager(const RVL_TypeManager&) = delete;
  RVL_TypeManager& operator=(const RVL_TypeManager&) = delete;

  std::uint32_t meta_type() const { return mtype_; }
  // The VOB's types of this kind, by DBID, oldest first.
  bool list(GCL_Status& status, std::vector<std::uint32_t>* types) const;
  // Their names, in the same order.
  bool list_names(GCL_Status& status, std::vector<GCL_String>* names) const;
  // A new type; 0 with the code on the status on failure.
  virtual std::uint32_t create(GCL_Status& status, const GCL_String& name, const GCL_String& comment) const;
  bool remove(GCL_Status& status, std::uint32_t type) const;

 protected:
  std::uint32_t vob() const { return vob_; }

 private:
  const std::uint32_t vob_;
  const std::uint32_t mtype_;
};

class RVL_AttributeTypeManager : public RVL_TypeManager {
 public:
  explicit RVL_AttributeTypeManager(std::uint32_t vob);
  // String-valued attribute types; create_kind chooses the value kind
  // (vob_val_kind_t).
  std::uint32_t create(GCL_Status& status, const GCL_String& name, const GCL_String& comment) const override;
  std::uint32_t create_kind(GCL_Status& status, const GCL_String& name, int kind, const GCL_String& comment) const;
};

class RVL_LabelTypeManager : public RVL_TypeManager {
 public:
  explicit RVL_LabelTypeManager(std::uint32_t vob);
  std::uint32_t create(GCL_Status& status, const GCL_String& name, const GCL_String& comment) const override;
};

class RVL_BranchTypeManager : public RVL_TypeManager {
 public:
  explicit RVL_BranchTypeManager(std::uint32_t vob);
  std::uint32_t create(GCL_Status& status, const GCL_String& name, const GCL_String& comment) const override;
};

// Element types.
class RVL_ElementManager : public RVL_TypeManager {
 public:
  explicit RVL_ElementManager(std::uint32_t vob);
  std::uint32_t create(GCL_Status& status, const GCL_String& name, const GCL_String& comment) const override;
};

class RVL_HyperlinkManager : public RVL_TypeManager {
 public:
  explicit RVL_HyperlinkManager(std::uint32_t vob);
  std::uint32_t create(GCL_Status& status, const GCL_String& name, const GCL_String& comment) const override;
  // A hyperlink of the type from one object to another (the other may be in
  // another VOB).
  std::uint32_t link(GCL_Status& status, const GCL_String& type, std::uint32_t from, std::uint32_t to_vob,
                     std::uint32_t to) const;
  bool unlink(GCL_Status& status, std::uint32_t hlink) const;
  // The object's hyperlinks (either end), by DBID.
  bool links_of(GCL_Status& status, std::uint32_t object, std::vector<std::uint32_t>* hlinks) const;
};
