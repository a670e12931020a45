// VOB objects: identity, flags, locks, events and the describe output.
#include "rvl_vobobject.h"

#include <cstdio>
#include <ostream>

#include "gcl_indent.h"
#include "gcl_status.h"
#include "rvl_call.h"
#include "rvl_infostg.h"
#include "rvl_namedobj.h"
#include "tbs.h"
#include "vob.h"

namespace {
constexpr const char* kModule = "\\dirado\\rvl\\rvl_vob_object_rep.cxx";
}

// ---- Body ----

RVL_VobObjectRep::RVL_VobObjectRep(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid,
                                   std::uint32_t expected_mtype, const GCL_String& text)
    : vob_(vob), dbid_(dbid), text_(text) {
  status.make_ok();
  if (expected_mtype == 0) return;
  std::uint32_t mtype = 0;
  if (RVL_Call(status, [&] { return vob_obj_get_mtype(vob.handle(), dbid, &mtype); }) != 0) return;
  mtype_ = mtype;
  if (mtype != expected_mtype) {
    status.reset(TBS_ST_WRONG_KIND);
    status.push_message(GCL_String("Object is a ") + vob_utl_mtype_to_str(mtype) + ", not a " +
                        vob_utl_mtype_to_str(expected_mtype) + ".");
  }
}

RVL_VobObjectRep::RVL_VobObjectRep(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, Resolved known,
                                   const GCL_String& text)
    : vob_(vob), dbid_(dbid), mtype_(known.mtype), text_(text) {
  status.make_ok();
}

bool RVL_VobObjectRep::equals(const GCL_Body& other) const {
  const auto* object = dynamic_cast<const RVL_VobObjectRep*>(&other);
  return object && object->dbid_ == dbid_ && object->vob_ == vob_;
}

RVL_Oid RVL_VobObjectRep::oid(GCL_Status& status) const {
  if (!oid_.is_null()) {
    status.make_ok();
    return oid_;
  }
  tbs_oid_t oid = TBS_OID_NULL;
  if (RVL_Call(status, [&] { return vob_obj_get_oid(vob_handle(), dbid_, &oid); }) != 0) return RVL_Oid();
  oid_ = RVL_Oid(oid);
  return oid_;
}

std::uint32_t RVL_VobObjectRep::mtype(GCL_Status& status) const {
  if (mtype_ != 0) {
    status.make_ok();
    return mtype_;
  }
  std::uint32_t mtype = 0;
  if (RVL_Call(status, [&] { return vob_obj_get_mtype(vob_handle(), dbid_, &mtype); }) != 0) return 0;
  return mtype;
}

void RVL_VobObjectRep::reset() {
  dbid_ = 0;
  oid_ = RVL_Oid();
  mtype_ = 0;
}

void RVL_VobObjectRep::dump(GCL_Status& status) const {
  RVL_Call(status, [&] { return vob_obj_dump(vob_handle(), dbid_); });
}

bool RVL_VobObjectRep::check_state(GCL_Status& status) const {
  status.make_ok();
  return true;
}

GCL_String RVL_VobObjectRep::display_name(GCL_Status& status) const {
  status.make_ok();
  char text[16];
  std::snprintf(text, sizeof text, "%u", dbid_);
  return GCL_String(text);
}

void RVL_VobObjectRep::print(std::ostream& out) const { print_vob_object(out); }

void RVL_VobObjectRep::print_vob_object(std::ostream& out) const {
  GCL_IndentSection section("Vob Object");
  const GCL_String prefix = GCL_IndentPrefix();
  out << prefix;
  GCL_Body::print(out);
  out << prefix << "Vob that contains this object:\n";
  if (vob_.is_null())
    out << prefix << "Vob is currently NULL\n";
  else
    vob_.describe(out);
  GCL_Status status;
  RVL_InfoStg<vob_event_info_s> event(vob_);
  vob_eventh_t handle = 0;
  if (dbid_ && RVL_Call(status, [&] { return vob_obj_find_eventh(vob_handle(), dbid_, &handle); }) == 0 &&
      RVL_Call(status, [&] { return vob_event_get_info(vob_handle(), handle, event.area(), &event.record()); }) == 0) {
    out << prefix << "Creation Event:\n";
    RVL_DescribeEvent(out, event);
  } else {
    out << prefix << "Could not get creation event.\n";
  }
  out << prefix << "OID:  " << oid(status).to_string() << "\n";
  out << prefix << "DBID: " << dbid_ << "\n";
}

// ---- Handle ----

RVL_VobObject::RVL_VobObject(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, std::uint32_t expected_mtype)
    : GCL_Handle<RVL_VobObjectRep>(new RVL_VobObjectRep(status, vob, dbid, expected_mtype)) {}

RVL_VobObject::RVL_VobObject(GCL_Status& status, const RVL_Vob& vob, const GCL_String& name) {
  vob_dbid_t dbid = 0;
  std::uint32_t mtype = 0;
  const bool selector = name.find(":") != GCL_String::npos && name.find("\\\\") != 0 && name[1] != ':';
  const int code = RVL_Call(status, [&] {
    return selector ? vob_obj_resolve(vob.handle(), name.c_str(), &dbid, &mtype)
                    : vob_resolve_general(vob.handle(), name.c_str(), &dbid, &mtype);
  });
  if (code != 0) return;
  set_rep(new RVL_VobObjectRep(status, vob, dbid, RVL_VobObjectRep::Resolved{mtype}, name));
}

bool RVL_VobObject::require_body(GCL_Status& status, int line) const {
  if (rep()) return true;
  RVL_InternalError(status, kModule, line, "operation on a null VOB object");
  return false;
}

RVL_Oid RVL_VobObject::oid(GCL_Status& status) const {
  return require_body(status, __LINE__) ? rep()->oid(status) : RVL_Oid();
}

std::uint32_t RVL_VobObject::dbid_from_oid(GCL_Status& status, const RVL_Oid& oid) const {
  if (!require_body(status, __LINE__)) return 0;
  vob_dbid_t dbid = 0;
  if (RVL_Call(status, [&] { return vob_obj_oid_to_dbid(rep()->vob_handle(), &oid.oid(), &dbid); }) != 0) return 0;
  return dbid;
}

bool RVL_VobObject::exists(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return false;
  int exists = 0;
  RVL_Call(status, [&] { return vob_obj_exists(rep()->vob_handle(), dbid(), &exists); });
  return status.ok() && exists;
}

std::uint32_t RVL_VobObject::mtype(GCL_Status& status) const {
  return require_body(status, __LINE__) ? rep()->mtype(status) : 0;
}

GCL_String RVL_VobObject::mtype_string(GCL_Status& status) const {
  const std::uint32_t code = mtype(status);
  return status.ok() ? GCL_String(vob_utl_mtype_to_str(code)) : GCL_String();
}

void RVL_VobObject::reset() {
  if (rep()) rep()->reset();
}

GCL_String RVL_VobObject::display_name(GCL_Status& status) const {
  return require_body(status, __LINE__) ? rep()->display_name(status) : GCL_String();
}

void RVL_VobObject::dump(GCL_Status& status) const {
  if (require_body(status, __LINE__)) rep()->dump(status);
}

void RVL_VobObject::describe(std::ostream& out) const {
  if (rep())
    rep()->print(out);
  else
    out << GCL_IndentPrefix() << "Vob Object is currently NULL\n";
}

void RVL_VobObject::lock_info(GCL_Status& status, RVL_InfoStg<vob_lock_info_s>& info) const {
  if (!require_body(status, __LINE__)) return;
  info.set_vob(rep()->vob());
  RVL_Call(status, [&] { return vob_obj_get_lock(rep()->vob_handle(), dbid(), info.area(), &info.record()); });
}

void RVL_VobObject::lock(GCL_Status& status, const GCL_String& comment) const {
  if (require_body(status, __LINE__))
    RVL_Call(status, [&] { return vob_obj_lock(rep()->vob_handle(), dbid(), comment.c_str()); });
}

void RVL_VobObject::unlock(GCL_Status& status) const {
  if (require_body(status, __LINE__)) RVL_Call(status, [&] { return vob_obj_unlock(rep()->vob_handle(), dbid()); });
}

bool RVL_VobObject::is_obsolete(GCL_Status& status) const {
  int flag = 0;
  if (require_body(status, __LINE__))
    RVL_Call(status, [&] { return vob_obj_get_obsolete(rep()->vob_handle(), dbid(), &flag); });
  return status.ok() && flag;
}

bool RVL_VobObject::is_predefined(GCL_Status& status) const {
  int flag = 0;
  if (require_body(status, __LINE__))
    RVL_Call(status, [&] { return vob_obj_is_predefined(rep()->vob_handle(), dbid(), &flag); });
  return status.ok() && flag;
}

void RVL_VobObject::creation_event(GCL_Status& status, RVL_InfoStg<vob_event_info_s>& event) const {
  if (!require_body(status, __LINE__)) return;
  event.set_vob(rep()->vob());
  vob_eventh_t handle = 0;
  if (RVL_Call(status, [&] { return vob_obj_find_eventh(rep()->vob_handle(), dbid(), &handle); }) != 0) return;
  RVL_Call(status, [&] { return vob_event_get_info(rep()->vob_handle(), handle, event.area(), &event.record()); });
}

std::vector<RVL_InfoStg<vob_event_info_s>> RVL_VobObject::event_history(GCL_Status& status) const {
  std::vector<RVL_InfoStg<vob_event_info_s>> events;
  if (!require_body(status, __LINE__)) return events;
  vob_eventh_t handle = 0;
  for (;;) {
    const int code = RVL_Call(status, [&] { return vob_obj_next_evenths(rep()->vob_handle(), dbid(), &handle); });
    if (code == TBS_ST_NOT_FOUND) {
      status.make_ok();
      return events;
    }
    if (code != 0) {
      events.clear();
      return events;
    }
    RVL_InfoStg<vob_event_info_s> event(rep()->vob());
    if (RVL_Call(status, [&] { return vob_event_get_info(rep()->vob_handle(), handle, event.area(), &event.record()); }) !=
        0) {
      events.clear();
      return events;
    }
    events.push_back(event);
  }
}

void RVL_VobObject::change_event_comment(GCL_Status& status, const RVL_InfoStg<vob_event_info_s>& event,
                                         const GCL_String& comment) const {
  if (!require_body(status, __LINE__)) return;
  RVL_Call(status, [&] {
    return vob_event_change_comment(rep()->vob_handle(), event.record().handle, comment.c_str());
  });
}

RVL_NamedObj RVL_VobObject::type_object(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return RVL_NamedObj();
  vob_dbid_t type = 0;
  if (RVL_Call(status, [&] { return vob_type_find_gtype(rep()->vob_handle(), dbid(), &type); }) != 0)
    return RVL_NamedObj();
  return RVL_NamedObj(status, rep()->vob(), type);
}

bool RVL_VobObject::has_hyperlinks(GCL_Status& status) const {
  int has = 0;
  if (require_body(status, __LINE__))
    RVL_Call(status, [&] { return vob_obj_has_hlink(rep()->vob_handle(), dbid(), &has); });
  return status.ok() && has;
}
