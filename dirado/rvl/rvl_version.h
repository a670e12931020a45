#pragma once
// Versions and branches of elements, and the version operations: check-out,
// reserve and unreserve, check-in and undoing a check-out.
#include <cstdint>
#include <vector>

#include "rvl_filesysobj.h"

struct vob_ckout_info_s;

class RVL_BranchRep : public RVL_FileSysObjRep {
 public:
  using RVL_FileSysObjRep::RVL_FileSysObjRep;
  void print(std::ostream& out) const override;
  // Branches have no file status and take no protection.
  void file_status(GCL_Status& status, vob_fstat_s& stat) const override;
  void protect(GCL_Status& status, std::uint32_t mode) const override;
};

class RVL_Branch : public RVL_FileSysObj {
 public:
  RVL_Branch() = default;
  RVL_Branch(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, std::uint32_t expected_mtype = 0);
  // The branch an extended pathname names ("f.c@@\main"); another kind is TBS_ST_WRONG_KIND.
  RVL_Branch(GCL_Status& status, const RVL_Vob& vob, const GCL_String& pathname);
  RVL_Branch(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, RVL_VobObjectRep::Resolved known,
             const GCL_String& text);

  // vob_branch_get_pname.
  GCL_String branch_pathname(GCL_Status& status) const;
  RVL_Element element(GCL_Status& status) const;
  RVL_Version latest_version(GCL_Status& status) const;
  // The version the branch sprouted from (null for a main branch, with TBS_ST_NOT_FOUND).
  RVL_Version sprouted_from(GCL_Status& status) const;
  RVL_NamedObj branch_type(GCL_Status& status) const;
};

class RVL_VersionRep : public RVL_FileSysObjRep {
 public:
  using RVL_FileSysObjRep::RVL_FileSysObjRep;
  void print(std::ostream& out) const override;
  // A null version is an internal error.
  bool check_state(GCL_Status& status) const override;
  void file_status(GCL_Status& status, vob_fstat_s& stat) const override;
  void protect(GCL_Status& status, std::uint32_t mode) const override;
};

class RVL_Version : public RVL_FileSysObj {
 public:
  RVL_Version() = default;
  RVL_Version(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, std::uint32_t expected_mtype = 0);
  // The version a pathname names: an extended name in the VOB
  // (vob_resolve_ver), or a name through a view (view_ws_lookup_pn).
  RVL_Version(GCL_Status& status, const RVL_Vob& vob, const GCL_String& pathname);
  // An element's version by its identifier ("\main\2").
  RVL_Version(GCL_Status& status, const RVL_Element& element, const GCL_String& idstr);
  RVL_Version(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, RVL_VobObjectRep::Resolved known,
              const GCL_String& text);

  // The version the view selects for the element.
  static RVL_Version view_version(GCL_Status& status, const RVL_Element& element, const GCL_String& view);

  bool is_checked_out(GCL_Status& status) const;
  GCL_String version_id(GCL_Status& status) const;
  // The names of the labels on the version.
  std::vector<GCL_String> labels(GCL_Status& status) const;
  // With move, a label another version of the element holds moves here.
  void add_label(GCL_Status& status, const GCL_String& label, bool move = false) const;
  // A version without the label gives code 1 and changes nothing.
  void drop_label(GCL_Status& status, const GCL_String& label) const;
  // The version merged into this one.
  RVL_Version merged_from(GCL_Status& status) const;
  RVL_Element element(GCL_Status& status) const;
  RVL_Branch branch(GCL_Status& status) const;
  RVL_Version predecessor(GCL_Status& status) const;

  // Checks out the version's branch in the view; the checked-out version.
  RVL_Version checkout(GCL_Status& status, const GCL_String& view, bool reserved, const GCL_String& comment) const;
  void checkout_info(GCL_Status& status, RVL_InfoStg<vob_ckout_info_s>& info) const;
  void reserve(GCL_Status& status) const;
  void unreserve(GCL_Status& status) const;
  // Checks in this checked-out version; it becomes the branch's next version.
  void checkin(GCL_Status& status, const GCL_String& comment) const;
  // Drops this checked-out version and its check-out, and tells the view to
  // forget it. The first failure ends the operation and stays on the status.
  void uncheckout(GCL_Status& status) const;

 private:
  // The view of this version's check-out and its plain pathname.
  bool checkout_place(GCL_Status& status, GCL_String& view, GCL_String& pathname) const;
};
