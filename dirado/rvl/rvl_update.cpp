// Updates, and how a VOB object applies the part every object has.
#include "rvl_update.h"

#include "gcl_status.h"
#include "rvl_call.h"
#include "rvl_vobobject.h"
#include "tbs.h"
#include "vob.h"
#include "vob_attr.h"

RVL_VobObjectUpdate::RVL_VobObjectUpdate(const RVL_Update& other) {
  if (other.is_a(kKind)) *this = dynamic_cast<const RVL_VobObjectUpdate&>(other);
}

void RVL_VobObjectUpdate::set_comment(const GCL_String& comment) {
  comment_ = comment;
  changes_ |= kCommentBit;
}

void RVL_VobObjectUpdate::set_owner(const GCL_OSUser& owner) {
  owner_ = owner;
  changes_ |= kOwnerBit;
}

void RVL_VobObjectUpdate::set_group(const GCL_OSGroup& group) {
  group_ = group;
  changes_ |= kGroupBit;
}

namespace {

// The security identifier of a user or group named in an update; on failure
// the status says which name is unknown.
template <class Principal>
GCL_String SidOf(GCL_Status& status, const Principal& principal, const char* what) {
  GCL_String sid = principal.sid(status);
  if (!status.ok()) status.push_message(GCL_String("Unknown ") + what + " \"" + principal + "\".");
  return sid;
}

}  // namespace

void RVL_VobObjectRep::apply(GCL_Status& status, const RVL_Update& update) const {
  status.make_ok();
  if (!update.is_a(RVL_VobObjectUpdate::kKind)) return;
  const auto& changes = dynamic_cast<const RVL_VobObjectUpdate&>(update);
  if (changes.comment_changed()) {
    vob_eventh_t event = 0;
    if (RVL_Call(status, [&] { return vob_obj_find_eventh(vob_handle(), dbid(), &event); }) != 0) return;
    if (RVL_Call(status, [&] { return vob_event_change_comment(vob_handle(), event, changes.comment().c_str()); }) != 0)
      return;
  }
  if (changes.owner_changed() || changes.group_changed()) {
    GCL_String owner_sid, group_sid;
    if (changes.owner_changed()) {
      owner_sid = SidOf(status, changes.owner(), "user");
      if (!status.ok()) return;
    }
    if (changes.group_changed()) {
      group_sid = SidOf(status, changes.group(), "group");
      if (!status.ok()) return;
    }
    RVL_Call(status, [&] {
      return vob_obj_protect_sid(vob_handle(), dbid(), changes.owner_changed() ? owner_sid.c_str() : CREDUTL_SID_DONTCARE,
                                 changes.group_changed() ? group_sid.c_str() : CREDUTL_SID_DONTCARE,
                                 VOB_MODE_DONTCARE);
    });
  }
}

void RVL_VobObject::apply(GCL_Status& status, const RVL_Update& update) const {
  if (require_body(status, __LINE__)) rep()->apply(status, update);
}
