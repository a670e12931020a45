// File-system objects: the pathname, file status and protection; elements,
// derived objects and VOB symbolic links.
#include "rvl_filesysobj.h"

#include <ostream>

#include "cmd_utl.h"
#include "fileutl.h"
#include "gcl_indent.h"
#include "gcl_status.h"
#include "rvl_call.h"
#include "rvl_namedobj.h"
#include "rvl_version.h"
#include "tbs.h"
#include "tbs_oid.h"
#include "vob.h"
#include "vob_attr.h"

namespace {

constexpr std::size_t kPathSize = 4096;

// The parent of a plain pathname, or empty with the code on the status.
GCL_String ParentOf(GCL_Status& status, const GCL_String& plain) {
  if (!status.ok()) return GCL_String();
  char parent[kPathSize];
  if (RVL_Call(status, [&] { return fileutl_strip_leaf(plain.c_str(), parent, sizeof parent); }) != 0)
    return GCL_String();
  return GCL_String(parent);
}

}  // namespace

// ---- File-system objects ----

RVL_FileSysObjRep::RVL_FileSysObjRep(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid,
                                     std::uint32_t expected_mtype, bool check, const GCL_String& text)
    : RVL_VobObjectRep(status, vob, dbid, expected_mtype, text) {
  if (!status.ok() || expected_mtype != 0 || !check) return;
  std::uint32_t mtype = 0;
  if (RVL_Call(status, [&] { return vob_obj_get_mtype(vob.handle(), dbid, &mtype); }) != 0) return;
  set_mtype(mtype);
  if (!vob_mtype_is_fs_object(mtype)) {
    status.reset(TBS_ST_NOT_FS_OBJECT);
    status.push_message(GCL_String("Object is a ") + vob_utl_mtype_to_str(mtype) + ", not a file system object.");
  }
}

RVL_FileSysObjRep::RVL_FileSysObjRep(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, Resolved known,
                                     const GCL_String& text)
    : RVL_VobObjectRep(status, vob, dbid, known, text) {}

GCL_String RVL_FileSysObjRep::display_name(GCL_Status& status) const {
  char path[kPathSize];
  if (RVL_Call(status, [&] { return vob_obj_to_pname_flags(vob_handle(), dbid(), 0, path, sizeof path); }) == 0)
    return GCL_String(path);
  return RVL_VobObjectRep::display_name(status);
}

void RVL_FileSysObjRep::file_status(GCL_Status& status, vob_fstat_s& stat) const {
  RVL_Call(status, [&] { return vob_obj_get_fstat_db(vob_handle(), dbid(), &stat); });
}

void RVL_FileSysObjRep::protect(GCL_Status& status, std::uint32_t mode) const {
  RVL_Call(status, [&] { return vob_obj_protect(vob_handle(), dbid(), mode); });
}

void RVL_FileSysObjRep::print(std::ostream& out) const {
  RVL_VobObjectRep::print(out);
  print_file_system_object(out);
}

void RVL_FileSysObjRep::print_file_system_object(std::ostream& out) const {
  GCL_IndentSection section("File System Object");
  const GCL_String prefix = GCL_IndentPrefix();
  GCL_Status status;
  char path[kPathSize];
  if (RVL_Call(status, [&] { return vob_obj_to_pname_flags(vob_handle(), dbid(), 0, path, sizeof path); }) == 0)
    out << prefix << "Pathname: " << path << "\n";
  else
    out << prefix << "ERROR: Failed to get pathname." << status.messages() << "\n";
}

RVL_FileSysObj::RVL_FileSysObj(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid,
                               std::uint32_t expected_mtype, bool check)
    : RVL_VobObject(new RVL_FileSysObjRep(status, vob, dbid, expected_mtype, check)) {}

RVL_FileSysObj::RVL_FileSysObj(GCL_Status& status, const RVL_Vob& vob, const GCL_String& pathname) {
  vob_dbid_t dbid = 0;
  std::uint32_t mtype = 0;
  if (RVL_Call(status, [&] { return vob_resolve_general(vob.handle(), pathname.c_str(), &dbid, &mtype); }) != 0)
    return;
  if (!vob_mtype_is_fs_object(mtype)) {
    status.reset(TBS_ST_NOT_FS_OBJECT);
    return;
  }
  set_rep(new RVL_FileSysObjRep(status, vob, dbid, RVL_VobObjectRep::Resolved{mtype}, pathname));
}

GCL_String RVL_FileSysObj::pathname(GCL_Status& status, bool plain) const {
  if (!require_body(status, __LINE__)) return GCL_String();
  char path[kPathSize];
  if (RVL_Call(status, [&] { return vob_obj_to_pname_flags(rep()->vob_handle(), dbid(), 0, path, sizeof path); }) != 0)
    return GCL_String();
  if (!plain) return GCL_String(path);
  char stripped[kPathSize];
  if (RVL_Call(status, [&] { return tbs_strip_ver_ext_chars(path, stripped, sizeof stripped); }) != 0)
    return GCL_String();
  return GCL_String(stripped);
}

void RVL_FileSysObj::file_status(GCL_Status& status, vob_fstat_s& stat) const {
  if (require_body(status, __LINE__)) fs_rep()->file_status(status, stat);
}

void RVL_FileSysObj::protect(GCL_Status& status, std::uint32_t mode) const {
  if (require_body(status, __LINE__)) fs_rep()->protect(status, mode);
}

// ---- Elements ----

void RVL_ElementRep::print(std::ostream& out) const {
  RVL_FileSysObjRep::print(out);
  GCL_IndentSection section("Element");
  const GCL_String prefix = GCL_IndentPrefix();
  GCL_Status status;
  vob_dbid_t type = 0;
  char name[1100];
  if (RVL_Call(status, [&] { return vob_obj_get_type(vob_handle(), dbid(), &type); }) == 0 &&
      RVL_Call(status, [&] { return vob_obj_get_name(vob_handle(), type, name, sizeof name); }) == 0)
    out << prefix << "Element Type " << name << "\n";
  else
    out << prefix << "ERROR: Failed to get type ." << status.messages() << "\n";
  int directory = 0;
  if (RVL_Call(status, [&] { return vob_elem_is_directory(vob_handle(), dbid(), &directory); }) == 0)
    out << prefix << "Is Directory: " << (directory ? "TRUE" : "FALSE") << "\n";
  else
    out << prefix << "ERROR: Failed to get is_directory." << status.messages() << "\n";
}

RVL_Element::RVL_Element(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, std::uint32_t expected_mtype)
    : RVL_FileSysObj(new RVL_ElementRep(status, vob, dbid, expected_mtype)) {}

RVL_Element::RVL_Element(GCL_Status& status, const RVL_Vob& vob, const GCL_String& pathname) {
  vob_dbid_t dbid = 0;
  if (RVL_Call(status, [&] { return vob_resolve_elem(vob.handle(), pathname.c_str(), &dbid); }) != 0) return;
  std::uint32_t mtype = 0;
  if (RVL_Call(status, [&] { return vob_obj_get_mtype(vob.handle(), dbid, &mtype); }) != 0) return;
  set_rep(new RVL_ElementRep(status, vob, dbid, RVL_VobObjectRep::Resolved{mtype}, pathname));
}

RVL_Element::RVL_Element(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, RVL_VobObjectRep::Resolved known,
                         const GCL_String& text)
    : RVL_FileSysObj(new RVL_ElementRep(status, vob, dbid, known, text)) {}

RVL_NamedObj RVL_Element::element_type(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return RVL_NamedObj();
  vob_dbid_t type = 0;
  if (RVL_Call(status, [&] { return vob_obj_get_type(rep()->vob_handle(), dbid(), &type); }) != 0)
    return RVL_NamedObj();
  return RVL_NamedObj(status, rep()->vob(), type, RVL_VobObjectRep::Resolved{VOB_MTYPE_ELTYPE}, GCL_String());
}

bool RVL_Element::is_directory(GCL_Status& status) const {
  int directory = 0;
  if (require_body(status, __LINE__))
    RVL_Call(status, [&] { return vob_elem_is_directory(rep()->vob_handle(), dbid(), &directory); });
  return status.ok() && directory;
}

GCL_String RVL_Element::parent_directory(GCL_Status& status) const {
  const GCL_String plain = pathname(status, true);
  return ParentOf(status, plain);
}

RVL_Version RVL_Element::checkout(GCL_Status& status, const GCL_String& view, bool reserved,
                                  const GCL_String& comment) const {
  if (!require_body(status, __LINE__)) return RVL_Version();
  vob_dbid_t version = 0;
  if (RVL_Call(status, [&] {
        return cmd_utl_checkout(rep()->vob_handle(), dbid(), view.c_str(), reserved ? 1 : 0, comment.c_str(), &version);
      }) != 0)
    return RVL_Version();
  return RVL_Version(status, rep()->vob(), version, RVL_VobObjectRep::Resolved{0}, GCL_String());
}

// ---- Derived objects ----

void RVL_DerivedObjectRep::print(std::ostream& out) const {
  RVL_FileSysObjRep::print(out);
  GCL_IndentSection section("Derived Object");
}

RVL_DerivedObject::RVL_DerivedObject(GCL_Status& status, const RVL_Vob& vob, const GCL_String& pathname) {
  vob_dbid_t dbid = 0;
  if (RVL_Call(status, [&] { return vob_resolve_do(vob.handle(), pathname.c_str(), &dbid); }) != 0) return;
  set_rep(new RVL_DerivedObjectRep(status, vob, dbid, RVL_VobObjectRep::Resolved{VOB_MTYPE_DERIVED_OBJECT}, pathname));
}

bool RVL_DerivedObject::data_status(GCL_Status& status, vob_fstat_s& stat) const {
  if (!require_body(status, __LINE__)) return false;
  const RVL_Oid id = oid(status);
  if (!status.ok()) return false;
  return RVL_Call(status, [&] { return vob_do_oid_get_fstat_if_data(rep()->vob_handle(), &id.oid(), &stat); }) == 0;
}

void RVL_DerivedObject::owner_and_group(GCL_Status& status, GCL_OSUser& owner, GCL_OSGroup& group) const {
  std::uint32_t mode = 0;
  protection(status, owner, group, mode);
}

void RVL_FileSysObj::protection(GCL_Status& status, GCL_OSUser& owner, GCL_OSGroup& group,
                                std::uint32_t& mode) const {
  if (!require_body(status, __LINE__)) return;
  char owner_sid[kPathSize];
  char group_sid[kPathSize];
  if (RVL_Call(status, [&] {
        return vob_obj_get_protection(rep()->vob_handle(), dbid(), owner_sid, sizeof owner_sid, group_sid,
                                      sizeof group_sid, &mode);
      }) != 0)
    return;
  owner = GCL_OSUser::from_sid(GCL_String(owner_sid), status);
  if (status.ok()) group = GCL_OSGroup::from_sid(GCL_String(group_sid), status);
}

RVL_DerivedObject::RVL_DerivedObject(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid,
                                     RVL_VobObjectRep::Resolved known, const GCL_String& text)
    : RVL_FileSysObj(new RVL_DerivedObjectRep(status, vob, dbid, known, text)) {}

// ---- VOB symbolic links ----

void RVL_VobSymlinkRep::print(std::ostream& out) const {
  RVL_FileSysObjRep::print(out);
  GCL_IndentSection section("Vob Symlink");
  const GCL_String prefix = GCL_IndentPrefix();
  GCL_Status status;
  char text[kPathSize];
  if (RVL_Call(status, [&] { return vob_slink_get_text(vob_handle(), dbid(), text, sizeof text); }) == 0)
    out << prefix << "Target " << text << "\n";
  else
    out << prefix << "ERROR: Failed to get target." << status.messages() << "\n";
}

RVL_VobSymlink::RVL_VobSymlink(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid,
                               std::uint32_t expected_mtype)
    : RVL_FileSysObj(new RVL_VobSymlinkRep(status, vob, dbid, expected_mtype)) {}

RVL_VobSymlink::RVL_VobSymlink(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid,
                               RVL_VobObjectRep::Resolved known, const GCL_String& text)
    : RVL_FileSysObj(new RVL_VobSymlinkRep(status, vob, dbid, known, text)) {}

GCL_String RVL_VobSymlink::target(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return GCL_String();
  char text[kPathSize];
  if (RVL_Call(status, [&] { return vob_slink_get_text(rep()->vob_handle(), dbid(), text, sizeof text); }) != 0)
    return GCL_String();
  return GCL_String(text);
}

GCL_String RVL_VobSymlink::parent_directory(GCL_Status& status) const {
  const GCL_String plain = pathname(status, true);
  return ParentOf(status, plain);
}
