// Named objects: name and selector.
#include "rvl_namedobj.h"

#include <ostream>

#include "gcl_indent.h"
#include "gcl_status.h"
#include "rvl_call.h"
#include "vob.h"

namespace {
constexpr std::size_t kNameSize = 1100;
}

void RVL_NamedObjRep::print(std::ostream& out) const {
  RVL_VobObjectRep::print(out);
  GCL_IndentSection section("Named Object");
  const GCL_String prefix = GCL_IndentPrefix();
  GCL_Status status;
  char name[kNameSize];
  if (RVL_Call(status, [&] { return vob_obj_get_name(vob_handle(), dbid(), name, sizeof name); }) == 0)
    out << prefix << "Name: " << name << "\n";
  else
    out << prefix << "ERROR: Failed to get name." << status.messages() << "\n";
}

GCL_String RVL_NamedObjRep::display_name(GCL_Status& status) const {
  char selector[kNameSize];
  if (RVL_Call(status, [&] { return vob_obj_get_selector(vob_handle(), dbid(), selector, sizeof selector); }) == 0)
    return GCL_String(selector);
  return RVL_VobObjectRep::display_name(status);
}

RVL_NamedObj::RVL_NamedObj(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, std::uint32_t expected_mtype)
    : RVL_VobObject(new RVL_NamedObjRep(status, vob, dbid, expected_mtype)) {}

RVL_NamedObj::RVL_NamedObj(GCL_Status& status, const RVL_Vob& vob, const GCL_String& selector) {
  vob_dbid_t dbid = 0;
  std::uint32_t mtype = 0;
  if (RVL_Call(status, [&] { return vob_obj_resolve(vob.handle(), selector.c_str(), &dbid, &mtype); }) != 0) return;
  set_rep(new RVL_NamedObjRep(status, vob, dbid, RVL_VobObjectRep::Resolved{mtype}, selector));
}

RVL_NamedObj::RVL_NamedObj(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid,
                           RVL_VobObjectRep::Resolved known, const GCL_String& text)
    : RVL_VobObject(new RVL_NamedObjRep(status, vob, dbid, known, text)) {}

GCL_String RVL_NamedObj::name(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return GCL_String();
  char name[kNameSize];
  if (RVL_Call(status, [&] { return vob_obj_get_name(rep()->vob_handle(), dbid(), name, sizeof name); }) != 0)
    return GCL_String();
  return GCL_String(name);
}

GCL_String RVL_NamedObj::display_form_name(GCL_Status& status) const {
  const GCL_String text = name(status);
  return status.ok() ? text : GCL_String("<name not available>");
}

GCL_String RVL_NamedObj::selector(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return GCL_String();
  char text[kNameSize];
  if (RVL_Call(status, [&] { return vob_obj_get_selector(rep()->vob_handle(), dbid(), text, sizeof text); }) != 0)
    return GCL_String();
  return GCL_String(text);
}
