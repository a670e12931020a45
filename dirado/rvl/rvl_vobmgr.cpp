// The type and object managers of a VOB.
#include "rvl_vobmgr.h"

#include "gcl_status.h"
#include "rvl_call.h"
#include "tbs.h"
#include "vob_ob.h"
#include "vob_val.h"

namespace {

// Walks a cursor call to its end; the cursor is closed on every path.
template <class Next>
bool Walk(GCL_Status& status, std::vector<std::uint32_t>* out, Next&& next) {
  out->clear();
  vob_ob_cursor_t cursor = 0;
  int rc = 0;
  for (;;) {
    vob_dbid_t dbid = 0;
    rc = RVL_Call(status, [&] { return next(&cursor, &dbid); });
    if (rc != 0) break;
    out->push_back(dbid);
  }
  if (cursor) vob_ob_cursor_close(cursor);
  if (rc == TBS_ST_NOT_FOUND) {
    status.make_ok();
    return true;
  }
  out->clear();
  return false;
}

}  // namespace

bool RVL_TypeManager::list(GCL_Status& status, std::vector<std::uint32_t>* types) const {
  return Walk(status, types, [&](vob_ob_cursor_t* cursor, vob_dbid_t* dbid) {
    return vob_ob_next_objs(vob_, mtype_, cursor, dbid);
  });
}

bool RVL_TypeManager::list_names(GCL_Status& status, std::vector<GCL_String>* names) const {
  names->clear();
  std::vector<std::uint32_t> types;
  if (!list(status, &types)) return false;
  for (std::uint32_t type : types) {
    char name[1100];
    if (RVL_Call(status, [&] { return vob_obj_get_name(vob_, type, name, sizeof name); }) != 0) {
      names->clear();
      return false;
    }
    names->push_back(GCL_String(name));
  }
  return true;
}

std::uint32_t RVL_TypeManager::create(GCL_Status& status, const GCL_String& name, const GCL_String& comment) const {
  vob_dbid_t type = 0;
  RVL_Call(status, [&] { return vob_mktype(vob_, mtype_, name.c_str(), comment.c_str(), &type); });
  return status.ok() ? type : 0;
}

bool RVL_TypeManager::remove(GCL_Status& status, std::uint32_t type) const {
  return RVL_Call(status, [&] {
           switch (mtype_) {
             case VOB_MTYPE_ATTYPE: return vob_attype_delete(vob_, type);
             case VOB_MTYPE_LBTYPE: return vob_lbtype_delete(vob_, type);
             case VOB_MTYPE_BRTYPE: return vob_brtype_delete(vob_, type);
             case VOB_MTYPE_ELTYPE: return vob_eltype_delete(vob_, type);
             case VOB_MTYPE_HLTYPE: return vob_hltype_delete(vob_, type);
             default: return TBS_ST_WRONG_KIND;
           }
         }) == 0;
}

RVL_AttributeTypeManager::RVL_AttributeTypeManager(std::uint32_t vob) : RVL_TypeManager(vob, VOB_MTYPE_ATTYPE) {}

std::uint32_t RVL_AttributeTypeManager::create(GCL_Status& status, const GCL_String& name,
                                               const GCL_String& comment) const {
  return create_kind(status, name, VOB_VAL_STRING, comment);
}

std::uint32_t RVL_AttributeTypeManager::create_kind(GCL_Status& status, const GCL_String& name, int kind,
                                                    const GCL_String& comment) const {
  vob_dbid_t type = 0;
  RVL_Call(status, [&] {
    return vob_attype_create(vob(), name.c_str(), static_cast<vob_val_kind_t>(kind), comment.c_str(), &type);
  });
  return status.ok() ? type : 0;
}

RVL_LabelTypeManager::RVL_LabelTypeManager(std::uint32_t vob) : RVL_TypeManager(vob, VOB_MTYPE_LBTYPE) {}
std::uint32_t RVL_LabelTypeManager::create(GCL_Status& status, const GCL_String& name,
                                           const GCL_String& comment) const {
  vob_dbid_t type = 0;
  RVL_Call(status, [&] { return vob_lbtype_create(vob(), name.c_str(), comment.c_str(), &type); });
  return status.ok() ? type : 0;
}

RVL_BranchTypeManager::RVL_BranchTypeManager(std::uint32_t vob) : RVL_TypeManager(vob, VOB_MTYPE_BRTYPE) {}
std::uint32_t RVL_BranchTypeManager::create(GCL_Status& status, const GCL_String& name,
                                            const GCL_String& comment) const {
  vob_dbid_t type = 0;
  RVL_Call(status, [&] { return vob_brtype_create(vob(), name.c_str(), comment.c_str(), &type); });
  return status.ok() ? type : 0;
}

RVL_ElementManager::RVL_ElementManager(std::uint32_t vob) : RVL_TypeManager(vob, VOB_MTYPE_ELTYPE) {}
std::uint32_t RVL_ElementManager::create(GCL_Status& status, const GCL_String& name,
                                         const GCL_String& comment) const {
  vob_dbid_t type = 0;
  RVL_Call(status, [&] { return vob_eltype_create(vob(), name.c_str(), comment.c_str(), &type); });
  return status.ok() ? type : 0;
}

RVL_HyperlinkManager::RVL_HyperlinkManager(std::uint32_t vob) : RVL_TypeManager(vob, VOB_MTYPE_HLTYPE) {}
std::uint32_t RVL_HyperlinkManager::create(GCL_Status& status, const GCL_String& name,
                                           const GCL_String& comment) const {
  vob_dbid_t type = 0;
  RVL_Call(status, [&] { return vob_hltype_create(vob(), name.c_str(), comment.c_str(), &type); });
  return status.ok() ? type : 0;
}

std::uint32_t RVL_HyperlinkManager::link(GCL_Status& status, const GCL_String& type, std::uint32_t from,
                                         std::uint32_t to_vob, std::uint32_t to) const {
  vob_dbid_t hlink = 0;
  RVL_Call(status, [&] { return vob_hlink_create(vob(), type.c_str(), vob(), from, to_vob, to, "", "", &hlink); });
  return status.ok() ? hlink : 0;
}

bool RVL_HyperlinkManager::unlink(GCL_Status& status, std::uint32_t hlink) const {
  return RVL_Call(status, [&] { return vob_hlink_delete(vob(), hlink); }) == 0;
}

bool RVL_HyperlinkManager::links_of(GCL_Status& status, std::uint32_t object,
                                    std::vector<std::uint32_t>* hlinks) const {
  return Walk(status, hlinks, [&](vob_ob_cursor_t* cursor, vob_dbid_t* dbid) {
    return vob_obj_next_hlinks(vob(), object, cursor, dbid);
  });
}
