// VOB handles.
#include "rvl_vob.h"

#include <ostream>

#include "gcl_indent.h"
#include "gcl_status.h"
#include "rvl_call.h"
#include "vob.h"

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
