#pragma once
// File-system objects of a VOB: elements, derived objects and VOB symbolic
// links (versions and branches are in rvl_version.h).
#include <cstdint>
#include <vector>

#include "gcl_osuser.h"
#include "rvl_vobobject.h"

struct vob_fstat_s;
class RVL_Branch;
class RVL_Version;

class RVL_FileSysObjRep : public RVL_VobObjectRep {
 public:
  // With check set and no expected meta-type, the meta-type is fetched and
  // must be a file-system one (2, 3, 5, 6, 7, 8, 9, 11 or 26): else TBS_ST_NOT_FS_OBJECT.
  RVL_FileSysObjRep(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, std::uint32_t expected_mtype = 0,
                    bool check = false, const GCL_String& text = GCL_String());
  RVL_FileSysObjRep(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, Resolved known,
                    const GCL_String& text);
  void print(std::ostream& out) const override;
  // The pathname; the base's name when it cannot be found.
  GCL_String display_name(GCL_Status& status) const override;
  virtual void file_status(GCL_Status& status, vob_fstat_s& stat) const;
  virtual void protect(GCL_Status& status, std::uint32_t mode) const;

 protected:
  void print_file_system_object(std::ostream& out) const;
};

class RVL_FileSysObj : public RVL_VobObject {
 public:
  RVL_FileSysObj() = default;
  RVL_FileSysObj(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, std::uint32_t expected_mtype = 0,
                 bool check = false);
  // The file-system object a pathname names in the VOB.
  RVL_FileSysObj(GCL_Status& status, const RVL_Vob& vob, const GCL_String& pathname);

  // The pathname with its version extension; plain: without it.
  GCL_String pathname(GCL_Status& status, bool plain = false) const;
  void file_status(GCL_Status& status, vob_fstat_s& stat) const;
  void protect(GCL_Status& status, std::uint32_t mode) const;
  // The names of its owner and group (from their security identifiers) and
  // its protection mode.
  void protection(GCL_Status& status, GCL_OSUser& owner, GCL_OSGroup& group, std::uint32_t& mode) const;

 protected:
  explicit RVL_FileSysObj(RVL_FileSysObjRep* rep) : RVL_VobObject(rep) {}
  RVL_FileSysObjRep* fs_rep() const { return static_cast<RVL_FileSysObjRep*>(rep()); }
};

class RVL_ElementRep : public RVL_FileSysObjRep {
 public:
  using RVL_FileSysObjRep::RVL_FileSysObjRep;
  void print(std::ostream& out) const override;
};

class RVL_Element : public RVL_FileSysObj {
 public:
  RVL_Element() = default;
  RVL_Element(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, std::uint32_t expected_mtype = 0);
  // The element a pathname names (vob_resolve_elem: another kind is TBS_ST_WRONG_KIND).
  RVL_Element(GCL_Status& status, const RVL_Vob& vob, const GCL_String& pathname);
  RVL_Element(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, RVL_VobObjectRep::Resolved known,
              const GCL_String& text);

  // The element type.
  RVL_NamedObj element_type(GCL_Status& status) const;
  bool is_directory(GCL_Status& status) const;
  // The directory the element is in (its plain pathname without the leaf).
  GCL_String parent_directory(GCL_Status& status) const;
  // The trigger types attached to the element.
  std::vector<RVL_NamedObj> triggers(GCL_Status& status) const;
  // Checks out the element's branch "main" in the view; the checked-out
  // version.
  RVL_Version checkout(GCL_Status& status, const GCL_String& view, bool reserved, const GCL_String& comment) const;
};

class RVL_DerivedObjectRep : public RVL_FileSysObjRep {
 public:
  using RVL_FileSysObjRep::RVL_FileSysObjRep;
  void print(std::ostream& out) const override;
};

class RVL_DerivedObject : public RVL_FileSysObj {
 public:
  RVL_DerivedObject() = default;
  // The derived object a pathname names (vob_resolve_do: another kind is
  // TBS_ST_WRONG_KIND).
  RVL_DerivedObject(GCL_Status& status, const RVL_Vob& vob, const GCL_String& pathname);
  // The status of its data; false (with TBS_ST_NOT_FOUND) when it has none.
  bool data_status(GCL_Status& status, vob_fstat_s& stat) const;
  // The names of its owner and group (from their security identifiers).
  void owner_and_group(GCL_Status& status, GCL_OSUser& owner, GCL_OSGroup& group) const;
  RVL_DerivedObject(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, RVL_VobObjectRep::Resolved known,
                    const GCL_String& text);
};

class RVL_VobSymlinkRep : public RVL_FileSysObjRep {
 public:
  using RVL_FileSysObjRep::RVL_FileSysObjRep;
  void print(std::ostream& out) const override;
};

class RVL_VobSymlink : public RVL_FileSysObj {
 public:
  RVL_VobSymlink() = default;
  RVL_VobSymlink(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, std::uint32_t expected_mtype = 0);
  RVL_VobSymlink(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, RVL_VobObjectRep::Resolved known,
                 const GCL_String& text);
  // The link text.
  GCL_String target(GCL_Status& status) const;
  GCL_String parent_directory(GCL_Status& status) const;
};
