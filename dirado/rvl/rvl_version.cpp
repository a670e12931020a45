// Branches and versions, and the version operations.
#include "rvl_version.h"

#include <ostream>

#include "cmd_utl.h"
#include "gcl_indent.h"
#include "gcl_status.h"
#include "platform/pathmap.h"
#include "rvl_call.h"
#include "rvl_infostg.h"
#include "rvl_namedobj.h"
#include "tbs.h"
#include "view_ws.h"
#include "vob.h"
#include "vob_attr.h"

namespace {

constexpr const char* kVersionModule = "\\dirado\\rvl\\rvl_version_rep.cxx";
constexpr std::size_t kPathSize = 4096;

bool ThroughView(const GCL_String& name) { return plat::ReadViewName(name.c_str()).has_value(); }

}  // namespace

// ---- Branches ----

void RVL_BranchRep::print(std::ostream& out) const {
  RVL_FileSysObjRep::print(out);
  GCL_IndentSection section("Branch");
}

void RVL_BranchRep::file_status(GCL_Status& status, vob_fstat_s&) const { status.make_ok(); }
void RVL_BranchRep::protect(GCL_Status& status, std::uint32_t) const { status.make_ok(); }

RVL_Branch::RVL_Branch(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, std::uint32_t expected_mtype)
    : RVL_FileSysObj(new RVL_BranchRep(status, vob, dbid, expected_mtype)) {}

RVL_Branch::RVL_Branch(GCL_Status& status, const RVL_Vob& vob, const GCL_String& pathname) {
  vob_dbid_t dbid = 0;
  std::uint32_t mtype = 0;
  if (RVL_Call(status, [&] { return vob_resolve_general(vob.handle(), pathname.c_str(), &dbid, &mtype); }) != 0)
    return;
  if (mtype != VOB_MTYPE_BRANCH) {
    status.reset(TBS_ST_WRONG_KIND);
    return;
  }
  set_rep(new RVL_BranchRep(status, vob, dbid, RVL_VobObjectRep::Resolved{mtype}, pathname));
}

RVL_Branch::RVL_Branch(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, RVL_VobObjectRep::Resolved known,
                       const GCL_String& text)
    : RVL_FileSysObj(new RVL_BranchRep(status, vob, dbid, known, text)) {}

GCL_String RVL_Branch::branch_pathname(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return GCL_String();
  char path[kPathSize];
  if (RVL_Call(status, [&] { return vob_branch_get_pname(rep()->vob_handle(), dbid(), path, sizeof path); }) != 0)
    return GCL_String();
  return GCL_String(path);
}

RVL_Element RVL_Branch::element(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return RVL_Element();
  vob_dbid_t elem = 0;
  if (RVL_Call(status, [&] { return vob_branch_get_elem(rep()->vob_handle(), dbid(), &elem); }) != 0)
    return RVL_Element();
  return RVL_Element(status, rep()->vob(), elem, RVL_VobObjectRep::Resolved{0}, GCL_String());
}

RVL_Version RVL_Branch::latest_version(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return RVL_Version();
  vob_dbid_t version = 0;
  if (RVL_Call(status, [&] { return vob_branch_get_latest_ver(rep()->vob_handle(), dbid(), &version); }) != 0)
    return RVL_Version();
  return RVL_Version(status, rep()->vob(), version, RVL_VobObjectRep::Resolved{0}, GCL_String());
}

RVL_Version RVL_Branch::sprouted_from(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return RVL_Version();
  vob_dbid_t version = 0;
  if (RVL_Call(status, [&] { return vob_branch_get_pred_ver(rep()->vob_handle(), dbid(), &version); }) != 0)
    return RVL_Version();
  return RVL_Version(status, rep()->vob(), version, RVL_VobObjectRep::Resolved{0}, GCL_String());
}

RVL_NamedObj RVL_Branch::branch_type(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return RVL_NamedObj();
  vob_dbid_t type = 0;
  if (RVL_Call(status, [&] { return vob_obj_get_type(rep()->vob_handle(), dbid(), &type); }) != 0)
    return RVL_NamedObj();
  return RVL_NamedObj(status, rep()->vob(), type, RVL_VobObjectRep::Resolved{VOB_MTYPE_BRTYPE}, GCL_String());
}

// ---- Versions ----

void RVL_VersionRep::print(std::ostream& out) const {
  RVL_FileSysObjRep::print(out);
  GCL_IndentSection section("Version");
}

bool RVL_VersionRep::check_state(GCL_Status& status) const {
  if (dbid() != 0) {
    status.make_ok();
    return true;
  }
  RVL_InternalError(status, kVersionModule, __LINE__, "version object is NULL");
  return false;
}

void RVL_VersionRep::file_status(GCL_Status& status, vob_fstat_s&) const { status.make_ok(); }
void RVL_VersionRep::protect(GCL_Status& status, std::uint32_t) const { status.make_ok(); }

RVL_Version::RVL_Version(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, std::uint32_t expected_mtype)
    : RVL_FileSysObj(new RVL_VersionRep(status, vob, dbid, expected_mtype)) {}

RVL_Version::RVL_Version(GCL_Status& status, const RVL_Vob& vob, const GCL_String& pathname) {
  vob_dbid_t version = 0;
  if (ThroughView(pathname)) {
    char view[256];
    vob_handle_t found = 0;
    if (RVL_Call(status, [&] {
          return view_ws_lookup_pn(pathname.c_str(), view, sizeof view, &found, &version);
        }) != 0)
      return;
    if (found != vob.handle()) {
      status.reset(TBS_ST_WRONG_KIND);
      status.push_message("The pathname is not in this VOB.");
      return;
    }
    // Reached through a view: the view's replica of the VOB is the one to
    // ask from now on.
    tbs_uuid_t replica = TBS_UUID_NULL;
    if (RVL_Call(status, [&] { return vob_get_uuid(found, &replica); }) != 0 ||
        RVL_Call(status, [&] { return vob_ob_register_replica(found, &replica); }) != 0)
      return;
  } else if (RVL_Call(status, [&] { return vob_resolve_ver(vob.handle(), pathname.c_str(), &version); }) != 0) {
    return;
  }
  set_rep(new RVL_VersionRep(status, vob, version, RVL_VobObjectRep::Resolved{0}, pathname));
}

RVL_Version::RVL_Version(GCL_Status& status, const RVL_Element& element, const GCL_String& idstr) {
  if (!element.has_body()) {
    RVL_InternalError(status, kVersionModule, __LINE__, "element object is NULL");
    return;
  }
  vob_dbid_t version = 0;
  const RVL_Vob vob = element.vob();
  if (RVL_Call(status, [&] {
        return vob_elem_idstr_to_version(vob.handle(), element.dbid(), idstr.c_str(), &version);
      }) != 0)
    return;
  set_rep(new RVL_VersionRep(status, vob, version, RVL_VobObjectRep::Resolved{0}, GCL_String()));
}

RVL_Version::RVL_Version(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, RVL_VobObjectRep::Resolved known,
                         const GCL_String& text)
    : RVL_FileSysObj(new RVL_VersionRep(status, vob, dbid, known, text)) {}

RVL_Version RVL_Version::view_version(GCL_Status& status, const RVL_Element& element, const GCL_String& view) {
  if (!element.has_body()) {
    RVL_InternalError(status, kVersionModule, __LINE__, "element object is NULL");
    return RVL_Version();
  }
  vob_dbid_t version = 0;
  const RVL_Vob vob = element.vob();
  if (RVL_Call(status, [&] {
        return vob_elem_get_view_version(vob.handle(), element.dbid(), view.c_str(), &version);
      }) != 0)
    return RVL_Version();
  return RVL_Version(status, vob, version, RVL_VobObjectRep::Resolved{0}, GCL_String());
}

bool RVL_Version::is_checked_out(GCL_Status& status) const {
  int checked_out = 0;
  if (require_body(status, __LINE__))
    RVL_Call(status, [&] { return vob_ver_is_checked_out(rep()->vob_handle(), dbid(), &checked_out); });
  return status.ok() && checked_out;
}

GCL_String RVL_Version::version_id(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return GCL_String();
  char text[kPathSize];
  if (RVL_Call(status, [&] { return vob_ver_get_idstr(rep()->vob_handle(), dbid(), text, sizeof text); }) != 0)
    return GCL_String();
  return GCL_String(text);
}

std::vector<GCL_String> RVL_Version::labels(GCL_Status& status) const {
  std::vector<GCL_String> names;
  if (!require_body(status, __LINE__)) return names;
  vob_dbid_t cursor = 0;
  for (;;) {
    const int code = RVL_Call(status, [&] { return vob_ver_next_labels(rep()->vob_handle(), dbid(), &cursor); });
    if (code == TBS_ST_NOT_FOUND) {
      status.make_ok();
      return names;
    }
    char name[1100];
    if (code != 0 ||
        RVL_Call(status, [&] { return vob_obj_get_name(rep()->vob_handle(), cursor, name, sizeof name); }) != 0) {
      names.clear();
      return names;
    }
    names.emplace_back(name);
  }
}

void RVL_Version::add_label(GCL_Status& status, const GCL_String& label, bool move) const {
  if (!require_body(status, __LINE__)) return;
  RVL_Call(status, [&] {
    return move ? vob_ver_move_label(rep()->vob_handle(), dbid(), label.c_str())
                : vob_ver_add_label(rep()->vob_handle(), dbid(), label.c_str());
  });
}

void RVL_Version::drop_label(GCL_Status& status, const GCL_String& label) const {
  if (!require_body(status, __LINE__)) return;
  int has = 0;
  if (RVL_Call(status, [&] { return vob_ver_has_label(rep()->vob_handle(), dbid(), label.c_str(), &has); }) != 0)
    return;
  if (!has) {
    status.reset(TBS_ST_ERR);
    return;
  }
  RVL_Call(status, [&] { return vob_ver_drop_label(rep()->vob_handle(), dbid(), label.c_str()); });
}

RVL_Version RVL_Version::merged_from(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return RVL_Version();
  vob_dbid_t from = 0;
  if (RVL_Call(status, [&] { return vob_ver_find_merge(rep()->vob_handle(), dbid(), &from); }) != 0)
    return RVL_Version();
  return RVL_Version(status, rep()->vob(), from, RVL_VobObjectRep::Resolved{0}, GCL_String());
}

RVL_Element RVL_Version::element(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return RVL_Element();
  vob_dbid_t elem = 0;
  if (RVL_Call(status, [&] { return vob_ver_get_elem(rep()->vob_handle(), dbid(), &elem); }) != 0)
    return RVL_Element();
  return RVL_Element(status, rep()->vob(), elem, RVL_VobObjectRep::Resolved{0}, GCL_String());
}

RVL_Branch RVL_Version::branch(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return RVL_Branch();
  vob_dbid_t branch = 0;
  if (RVL_Call(status, [&] { return vob_ver_get_branch(rep()->vob_handle(), dbid(), &branch); }) != 0)
    return RVL_Branch();
  return RVL_Branch(status, rep()->vob(), branch, RVL_VobObjectRep::Resolved{VOB_MTYPE_BRANCH}, GCL_String());
}

RVL_Version RVL_Version::predecessor(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return RVL_Version();
  vob_dbid_t pred = 0;
  if (RVL_Call(status, [&] { return vob_ver_get_pred_ver(rep()->vob_handle(), dbid(), &pred); }) != 0)
    return RVL_Version();
  return RVL_Version(status, rep()->vob(), pred, RVL_VobObjectRep::Resolved{0}, GCL_String());
}

RVL_Version RVL_Version::checkout(GCL_Status& status, const GCL_String& view, bool reserved,
                                  const GCL_String& comment) const {
  if (!require_body(status, __LINE__) || !rep()->check_state(status)) return RVL_Version();
  vob_dbid_t version = 0;
  if (RVL_Call(status, [&] {
        return cmd_utl_checkout(rep()->vob_handle(), dbid(), view.c_str(), reserved ? 1 : 0, comment.c_str(), &version);
      }) != 0)
    return RVL_Version();
  return RVL_Version(status, rep()->vob(), version, RVL_VobObjectRep::Resolved{0}, GCL_String());
}

void RVL_Version::checkout_info(GCL_Status& status, RVL_InfoStg<vob_ckout_info_s>& info) const {
  if (!require_body(status, __LINE__) || !rep()->check_state(status)) return;
  info.set_vob(rep()->vob());
  RVL_Call(status, [&] { return vob_ver_get_ckout_info(rep()->vob_handle(), dbid(), info.area(), &info.record()); });
}

void RVL_Version::reserve(GCL_Status& status) const {
  if (require_body(status, __LINE__) && rep()->check_state(status))
    RVL_Call(status, [&] { return vob_branch_reserve(rep()->vob_handle(), dbid()); });
}

void RVL_Version::unreserve(GCL_Status& status) const {
  if (require_body(status, __LINE__) && rep()->check_state(status))
    RVL_Call(status, [&] { return vob_branch_unreserve(rep()->vob_handle(), dbid()); });
}

bool RVL_Version::checkout_place(GCL_Status& status, GCL_String& view, GCL_String& pathname) const {
  if (!require_body(status, __LINE__) || !rep()->check_state(status)) return false;
  {
    RVL_InfoStg<vob_ckout_info_s> info(rep()->vob());
    checkout_info(status, info);
    if (!status.ok()) return false;
    view = GCL_String(info.record().view);
  }
  pathname = this->pathname(status, true);
  return status.ok();
}

void RVL_Version::checkin(GCL_Status& status, const GCL_String& comment) const {
  GCL_String view, plain;
  if (!checkout_place(status, view, plain)) return;
  vob_dbid_t version = 0;
  RVL_Call(status, [&] {
    return vob_utl_checkin(rep()->vob_handle(), plain.c_str(), view.c_str(), comment.c_str(), &version);
  });
}

void RVL_Version::uncheckout(GCL_Status& status) const {
  GCL_String view, plain;
  if (!checkout_place(status, view, plain)) return;
  // Each step stops the operation at its failure, so a later step that
  // succeeds never hides an earlier one.
  if (RVL_Call(status, [&] { return vob_utl_uncheckout(rep()->vob_handle(), plain.c_str(), view.c_str()); }) != 0)
    return;
  RVL_Call(status, [&] { return view_inval_obj(view.c_str(), rep()->vob_handle(), dbid()); });
}
