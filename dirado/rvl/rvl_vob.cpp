// VOB handles.
#include "rvl_vob.h"

#include <ostream>

#include <cstring>
#include <iostream>
#include <string>

#include "gcl_indent.h"
#include "gcl_status.h"
#include "platform/pathmap.h"
#include "rvl_call.h"
#include "rvl_vobmgr.h"
#include "stg.h"
#include "tbs.h"
#include "tbs_oid.h"
#include "vob.h"
#include "vob_ob.h"

RVL_VobRep::RVL_VobRep(std::uint32_t handle) : handle_(handle) {}
RVL_VobRep::~RVL_VobRep() = default;

namespace {

template <class Manager>
Manager& Made(std::mutex& mutex, std::unique_ptr<Manager>& manager, std::uint32_t vob, const char* what) {
  std::lock_guard lock(mutex);
  if (!manager) {
    std::cerr << "RVL_VobRep::" << what << ": Assertion failure: m_" << what << " != 0\n";
    manager = std::make_unique<Manager>(vob);
  }
  return *manager;
}

}  // namespace

RVL_AttributeTypeManager& RVL_VobRep::attribute_manager() const {
  return Made(managers_mutex_, attribute_manager_, handle_, "attribute_manager");
}
RVL_LabelTypeManager& RVL_VobRep::label_manager() const {
  return Made(managers_mutex_, label_manager_, handle_, "label_manager");
}
RVL_BranchTypeManager& RVL_VobRep::branch_manager() const {
  return Made(managers_mutex_, branch_manager_, handle_, "branch_manager");
}
RVL_ElementManager& RVL_VobRep::element_manager() const {
  return Made(managers_mutex_, element_manager_, handle_, "element_manager");
}
RVL_HyperlinkManager& RVL_VobRep::hyperlink_manager() const {
  return Made(managers_mutex_, hyperlink_manager_, handle_, "hyperlink_manager");
}

bool RVL_VobRep::equals(const GCL_Body& other) const {
  const auto* vob = dynamic_cast<const RVL_VobRep*>(&other);
  return vob && vob->handle_ == handle_;
}

void RVL_VobRep::print(std::ostream& out) const {
  GCL_IndentSection section("Vob");
  const GCL_String prefix = GCL_IndentPrefix();
  out << prefix;
  GCL_Body::print(out);
  out << prefix << "Vob Handle: " << handle_ << "\n";
  char tag[1100];
  if (handle_ && vob_get_tag(handle_, tag, sizeof tag) == 0)
    out << prefix << "Tag: " << tag << "\n";
  else
    out << prefix << "Tag: UNKNOWN\n";
  tbs_oid_t oid;
  char text[64];
  if (handle_ && vob_ob_get_replica_oid(handle_, &oid) == 0 && tbs_oid_to_str(&oid, text, sizeof text) == 0)
    out << prefix << "VOB replica oid: " << text << "\n";
}

RVL_Vob::RVL_Vob(std::uint32_t handle) : GCL_Handle<RVL_VobRep>(handle ? new RVL_VobRep(handle) : nullptr) {}

RVL_Vob RVL_Vob::from_tag(GCL_Status& status, const GCL_String& tag) {
  vob_handle_t handle = 0;
  if (RVL_Call(status, [&] { return vob_lookup_tag(tag.c_str(), &handle); }) != 0) return RVL_Vob();
  return RVL_Vob(handle);
}

GCL_String RVL_Vob::tag(GCL_Status& status) const {
  char text[1100];
  if (RVL_Call(status, [&] { return vob_get_tag(handle(), text, sizeof text); }) != 0) return GCL_String();
  return GCL_String(text);
}

void RVL_Vob::describe(std::ostream& out) const {
  if (rep()) {
    rep()->print(out);
  } else {
    out << GCL_IndentPrefix() << "Vob is currently NULL\n";
  }
}

RVL_Vob RVL_Vob::from_pathname(GCL_Status& status, const GCL_String& pathname) {
  // Through a view, the name below the view's root; else a name in a VOB.
  const auto through_view = plat::ReadViewName(pathname.c_str());
  std::string rest = through_view ? through_view->InView() : std::string(pathname.c_str());
  for (char& c : rest)
    if (c == '/') c = '\\';
  if (rest.compare(0, 2, "\\\\") == 0) rest.clear();  // another server's name
  if (rest.size() < 2 || rest[0] != '\\') {
    status.reset(TBS_ST_NOT_FOUND);
    return RVL_Vob();
  }
  const std::size_t end = rest.find_first_of("\\@", 1);
  return from_tag(status, GCL_String(rest.substr(0, end).c_str()));
}

GCL_String RVL_Vob::uuid(GCL_Status& status) const {
  tbs_uuid_t id;
  char text[TBS_UUID_STR_SIZE];
  if (RVL_Call(status, [&] { return vob_get_uuid(handle(), &id); }) != 0) return GCL_String();
  tbs_uuid_to_str(&id, text, sizeof text);
  return GCL_String(text);
}

GCL_String RVL_Vob::replica_oid(GCL_Status& status) const {
  tbs_oid_t oid;
  char text[64];
  if (RVL_Call(status, [&] { return vob_ob_get_replica_oid(handle(), &oid); }) != 0) return GCL_String();
  tbs_oid_to_str(&oid, text, sizeof text);
  return GCL_String(text);
}

bool RVL_Vob::is_replicated(GCL_Status& status) const {
  int replicated = 0;
  return RVL_Call(status, [&] { return vob_ob_is_replicated(handle(), &replicated); }) == 0 && replicated;
}

GCL_String RVL_Vob::mount_dir(GCL_Status& status) const {
  char text[1100];
  if (RVL_Call(status, [&] { return vob_ob_get_mount_dir_pname(handle(), text, sizeof text); }) != 0)
    return GCL_String();
  return GCL_String(text);
}

GCL_String RVL_Vob::selector(GCL_Status& status) const {
  vob_dbid_t object = 0;
  char text[1100];
  if (RVL_Call(status, [&] {
        const int rc = vob_get_vob_object(handle(), &object);
        return rc ? rc : vob_obj_get_selector(handle(), object, text, sizeof text);
      }) != 0)
    return GCL_String();
  return GCL_String(text);
}

bool RVL_Vob::is_locked(GCL_Status& status) const {
  vob_dbid_t object = 0;
  if (RVL_Call(status, [&] { return vob_get_vob_object(handle(), &object); }) != 0) return false;
  vob_lock_info_s info;
  const stg_area_t area = stg_create_area(1024);
  const int rc = vob_obj_get_lock(handle(), object, area, &info);
  stg_delete_area(area);
  if (rc == TBS_ST_NOT_FOUND) {
    status.make_ok();
    return false;
  }
  status.reset(static_cast<std::uint32_t>(rc));
  return rc == 0;
}

bool RVL_Vob::lock(GCL_Status& status, const GCL_String& comment) const {
  vob_dbid_t object = 0;
  return RVL_Call(status, [&] {
           const int rc = vob_get_vob_object(handle(), &object);
           return rc ? rc : vob_obj_lock(handle(), object, comment.c_str());
         }) == 0;
}

bool RVL_Vob::unlock(GCL_Status& status) const {
  vob_dbid_t object = 0;
  return RVL_Call(status, [&] {
           const int rc = vob_get_vob_object(handle(), &object);
           return rc ? rc : vob_obj_unlock(handle(), object);
         }) == 0;
}

bool RVL_VobHandleRep::equals(const GCL_Body& other) const {
  const auto* vob = dynamic_cast<const RVL_VobHandleRep*>(&other);
  return vob && vob->handle_ == handle_;
}

RVL_VobHandle::RVL_VobHandle(std::uint32_t handle)
    : GCL_Handle<RVL_VobHandleRep>(handle ? new RVL_VobHandleRep(handle) : nullptr) {}

bool RVL_Vob::is_pvob(GCL_Status& status) const {
  int pvob = 0;
  return RVL_Call(status, [&] { return vob_ob_is_pvob(handle(), &pvob); }) == 0 && pvob;
}

GCL_String RVL_Vob::owner(GCL_Status& status) const {
  char sid[256];
  if (RVL_Call(status, [&] { return vob_ob_get_vob_owner_sid(handle(), sid, sizeof sid); }) != 0)
    return GCL_String();
  return GCL_String(sid);
}

bool RVL_Vob::protect(GCL_Status& status, const GCL_String& owner_sid, const GCL_String& group_sid,
                      bool all_objects) const {
  return RVL_Call(status, [&] {
           return all_objects ? vob_ob_protectvob_scan(handle(), owner_sid.c_str(), group_sid.c_str())
                              : vob_ob_protectvob(handle(), owner_sid.c_str(), group_sid.c_str());
         }) == 0;
}

RVL_Vob RVL_Vob::from_oid(GCL_Status& status, const GCL_String& oid) {
  tbs_oid_t id;
  tbs_uuid_t bytes;
  if (tbs_str_to_oid(oid.c_str(), &id) != 0) {
    if (tbs_dstr_to_uuid(oid.c_str(), &bytes) != 0 && tbs_str_to_uuid(oid.c_str(), &bytes) != 0) {
      status.reset(TBS_ST_INVALID_ARG);
      return RVL_Vob();
    }
    std::memcpy(id.bytes, bytes.bytes, sizeof id.bytes);
  }
  vob_handle_t vob = 0;
  if (RVL_Call(status, [&] { return vob_ob_vob_oid_to_vobh(&id, &vob); }) != 0) return RVL_Vob();
  return RVL_Vob(vob);
}

bool RVL_Vob::views(GCL_Status& status, std::vector<GCL_String>* tags, std::vector<GCL_String>* uuids) const {
  tags->clear();
  if (uuids) uuids->clear();
  vob_ob_cursor_t cursor = 0;
  int rc = 0;
  for (;;) {
    char tag[300];
    rc = RVL_Call(status, [&] { return vob_ob_next_views(handle(), &cursor, tag, sizeof tag); });
    if (rc != 0) break;
    tags->push_back(GCL_String(tag));
    if (uuids) {
      tbs_uuid_t id;
      char text[TBS_UUID_STR_SIZE] = "";
      if (vob_ob_view_to_uuid(tag, &id) == 0) tbs_uuid_to_str(&id, text, sizeof text);
      uuids->push_back(GCL_String(text));
    }
  }
  if (cursor) vob_ob_cursor_close(cursor);
  if (rc == TBS_ST_NOT_FOUND) {
    status.make_ok();
    return true;
  }
  tags->clear();
  if (uuids) uuids->clear();
  return false;
}
