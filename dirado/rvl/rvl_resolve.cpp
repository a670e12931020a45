// Names to objects of their exact class.
#include "rvl_resolve.h"

#include "cmd_resolve.h"
#include "gcl_status.h"
#include "rvl_call.h"
#include "rvl_hyperlink.h"
#include "rvl_namedobj.h"
#include "rvl_version.h"

std::unique_ptr<RVL_VobObject> RVL_ResolveName(GCL_Status& status, const GCL_String& name) {
  cmd_resolve_result_s found;
  if (RVL_Call(status, [&] { return cmd_resolve_general(name.c_str(), &found); }) != 0) return nullptr;
  return RVL_MakeObject(status, RVL_Vob(found.vob), found.dbid, found.mtype, name);
}

std::unique_ptr<RVL_VobObject> RVL_MakeObject(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid,
                                              std::uint32_t mtype, const GCL_String& name) {
  if (mtype == 0 && RVL_Call(status, [&] { return vob_obj_get_mtype(vob.handle(), dbid, &mtype); }) != 0)
    return nullptr;
  const RVL_VobObjectRep::Resolved known{mtype};
  switch (mtype) {
    case VOB_MTYPE_DIR_ELEMENT:
    case VOB_MTYPE_FILE_ELEMENT:
      return std::make_unique<RVL_Element>(status, vob, dbid, known, name);
    case VOB_MTYPE_DIR_VERSION:
    case VOB_MTYPE_VERSION:
      return std::make_unique<RVL_Version>(status, vob, dbid, known, name);
    case VOB_MTYPE_BRANCH:
      return std::make_unique<RVL_Branch>(status, vob, dbid, known, name);
    case VOB_MTYPE_DERIVED_OBJECT:
    case VOB_MTYPE_DO_VERSION:
      return std::make_unique<RVL_DerivedObject>(status, vob, dbid, known, name);
    case VOB_MTYPE_SYMLINK:
      return std::make_unique<RVL_VobSymlink>(status, vob, dbid, known, name);
    case VOB_MTYPE_HLINK:
      return std::make_unique<RVL_Hyperlink>(status, vob, dbid, known, name);
    case VOB_MTYPE_VOB:
    case VOB_MTYPE_POOL:
    case VOB_MTYPE_ELTYPE:
    case VOB_MTYPE_BRTYPE:
    case VOB_MTYPE_LBTYPE:
    case VOB_MTYPE_ATTYPE:
    case VOB_MTYPE_HLTYPE:
    case VOB_MTYPE_TRTYPE:
    case VOB_MTYPE_REPLICA:
      return std::make_unique<RVL_NamedObj>(status, vob, dbid, known, name);
    default:
      return std::unique_ptr<RVL_VobObject>(new RVL_VobObject(status, vob, dbid));
  }
}
