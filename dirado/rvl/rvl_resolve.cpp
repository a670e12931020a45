// Names to objects of their exact class.
#include "rvl_resolve.h"

#include "cmd_resolve.h"
#include "gcl_status.h"
#include "rvl_call.h"
#include "rvl_hyperlink.h"
#include "rvl_namedobj.h"
#include "rvl_typeobj.h"
#include "rvl_version.h"
#include "rvl_view.h"
#include "tbs.h"

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
    case VOB_MTYPE_ELTYPE:
      return std::make_unique<RVL_ElementType>(status, vob, dbid, known, name);
    case VOB_MTYPE_BRTYPE:
      return std::make_unique<RVL_BranchType>(status, vob, dbid, known, name);
    case VOB_MTYPE_LBTYPE:
      return std::make_unique<RVL_LabelType>(status, vob, dbid, known, name);
    case VOB_MTYPE_ATTYPE:
      return std::make_unique<RVL_AttributeType>(status, vob, dbid, known, name);
    case VOB_MTYPE_HLTYPE:
      return std::make_unique<RVL_HyperlinkType>(status, vob, dbid, known, name);
    case VOB_MTYPE_TRTYPE:
      return std::make_unique<RVL_TriggerType>(status, vob, dbid, known, name);
    case VOB_MTYPE_REPLICA:
      return std::make_unique<RVL_ReplicaType>(status, vob, dbid, known, name);
    case VOB_MTYPE_VOB:
    case VOB_MTYPE_POOL:
      return std::make_unique<RVL_NamedObj>(status, vob, dbid, known, name);
    default:
      return std::unique_ptr<RVL_VobObject>(new RVL_VobObject(status, vob, dbid));
  }
}

namespace {

bool StartsWith(const std::string& text, const std::string& head) { return text.compare(0, head.size(), head) == 0; }

std::unique_ptr<GCL_HandleBase> FoundOrNotFound(GCL_Status& status, std::unique_ptr<GCL_HandleBase> handle,
                                                bool found) {
  if (!status.ok()) return nullptr;
  if (!found) {
    status.set_code(TBS_ST_NOT_FOUND);
    return nullptr;
  }
  return handle;
}

std::unique_ptr<GCL_HandleBase> ResolveViewTag(GCL_Status& status, const std::string& tag) {
  auto found = std::make_unique<RVL_ViewTag>(RVL_ViewTag::from_name(status, GCL_String(tag.c_str())));
  const bool any = !found->is_null();
  return FoundOrNotFound(status, std::move(found), any);
}

}  // namespace

std::unique_ptr<GCL_HandleBase> RVL_ResolveHandle(GCL_Status& status, const GCL_String& name) {
  const std::string text = name.c_str();
  if (StartsWith(text, "viewtag:")) return ResolveViewTag(status, text.substr(8));
  if (StartsWith(text, "view:")) {
    auto found = std::make_unique<RVL_ViewHandle>(RVL_ViewHandle::from_tag(status, GCL_String(text.substr(5).c_str())));
    const bool any = !found->is_null();
    return FoundOrNotFound(status, std::move(found), any);
  }
  GCL_Status root_status;
  const RVL_ViewRoot root(root_status);
  const std::string root_path = root.pathname().c_str();
  if (!root_path.empty() && StartsWith(text, root_path)) {
    const std::string rest = text.substr(root_path.size());
    if (rest.empty()) return std::make_unique<RVL_ViewRoot>(root);
    const std::size_t slash = rest.find('\\', 1);
    if (rest[0] == '\\' && slash == std::string::npos) return ResolveViewTag(status, rest.substr(1));
    // A file of a view that the repository does not know is view-private.
    auto file = std::make_unique<RVL_ViewPrivate>(GCL_String(text.c_str()));
    GCL_Status private_status;
    if (file->is_view_private(private_status)) return file;
  }
  return RVL_ResolveName(status, name);
}
