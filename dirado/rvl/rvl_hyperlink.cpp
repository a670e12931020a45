// Hyperlinks, and their record kept with the object cache.
#include "rvl_hyperlink.h"

#include <cstdio>
#include <ostream>

#include "gcl_indent.h"
#include "gcl_status.h"
#include "rvl_cache.h"
#include "rvl_call.h"
#include "rvl_infostg.h"
#include "rvl_resolve.h"
#include "tbs.h"
#include "vob.h"
#include "vob_hlink.h"

namespace {
constexpr const char* kModule = "\\dirado\\rvl\\rvl_hyperlink_rep.cxx";

// The object at one end of a hyperlink, or a null one when it has none.
RVL_VobObject EndObject(GCL_Status& status, vob_handle_t vob, const tbs_oid_t& oid) {
  if (vob == 0) return RVL_VobObject();
  vob_dbid_t dbid = 0;
  if (RVL_Call(status, [&] { return vob_obj_oid_to_dbid(vob, &oid, &dbid); }) != 0) return RVL_VobObject();
  // A copy of the handle keeps the body of the object's own class.
  const std::unique_ptr<RVL_VobObject> object = RVL_MakeObject(status, RVL_Vob(vob), dbid, 0, GCL_String());
  return object ? *object : RVL_VobObject();
}
}  // namespace

RVL_HyperlinkRep::~RVL_HyperlinkRep() = default;

const vob_hlink_info_s* RVL_HyperlinkRep::info(GCL_Status& status) const {
  if (dbid() == 0) {
    RVL_InternalError(status, kModule, __LINE__, "hyperlink object is NULL");
    return nullptr;
  }
  const std::uint32_t current = RVL_VobObjectCache::current_generation();
  if (record_ && current != 0 && generation_ == current) {
    status.make_ok();
    return &record_->record();
  }
  record_.reset();
  auto fresh = std::make_unique<RVL_InfoStg<vob_hlink_info_s>>(vob());
  if (RVL_Call(status, [&] { return vob_hlink_get_info(vob_handle(), dbid(), fresh->area(), &fresh->record()); }) != 0)
    return nullptr;
  record_ = std::move(fresh);
  generation_ = current;
  return &record_->record();
}

GCL_String RVL_HyperlinkRep::display_name(GCL_Status& status) const {
  const vob_hlink_info_s* record = info(status);
  if (!record) return GCL_String();
  char number[24];
  std::snprintf(number, sizeof number, "@%d@", static_cast<int>(dbid()));
  const GCL_String tag = vob().tag(status);
  if (!status.ok()) return GCL_String();
  return GCL_String(record->type) + number + tag;
}

void RVL_HyperlinkRep::print(std::ostream& out) const {
  RVL_VobObjectRep::print(out);
  GCL_IndentSection section("Hyperlink");
  const GCL_String prefix = GCL_IndentPrefix();
  GCL_Status status;
  const vob_hlink_info_s* record = info(status);
  if (!record) {
    out << prefix << "ERROR: Failed to get link type." << status.messages() << "\n";
    out << prefix << "ERROR: Failed to get from object.\n";
    out << prefix << "ERROR: Failed to get to object.\n";
    out << prefix << "ERROR: Failed to from string .\n";
    out << prefix << "ERROR: Failed to to string.\n";
    out << prefix << "ERROR: Failed to get comments .\n";
    return;
  }
  out << prefix << "Type: " << record->type << "\n";
  const RVL_VobObject from = EndObject(status, record->from_vob, record->from_oid);
  if (status.ok())
    out << prefix << "From: " << from.display_name(status) << "\n";
  else
    out << prefix << "ERROR: Failed to get from object." << status.messages() << "\n";
  const RVL_VobObject to = EndObject(status, record->to_vob, record->to_oid);
  if (status.ok())
    out << prefix << "To: " << (to.has_body() ? to.display_name(status) : GCL_String()) << "\n";
  else
    out << prefix << "ERROR: Failed to get to object." << status.messages() << "\n";
  out << prefix << "From Text: " << record->from_text << "\n";
  out << prefix << "To Text: " << record->to_text << "\n";
  out << prefix << "Comments: " << record->comment << "\n";
}

RVL_Hyperlink::RVL_Hyperlink(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, std::uint32_t expected_mtype)
    : RVL_VobObject(new RVL_HyperlinkRep(status, vob, dbid, expected_mtype)) {}

RVL_Hyperlink::RVL_Hyperlink(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid,
                             RVL_VobObjectRep::Resolved known, const GCL_String& text)
    : RVL_VobObject(new RVL_HyperlinkRep(status, vob, dbid, known, text)) {}

RVL_Hyperlink RVL_Hyperlink::create(GCL_Status& status, const GCL_String& type, const RVL_VobObject& from,
                                    const RVL_VobObject& to, const GCL_String& from_text, const GCL_String& to_text) {
  if (from.is_null()) {
    RVL_InternalError(status, kModule, __LINE__, "hyperlink needs a from-object");
    return RVL_Hyperlink();
  }
  const RVL_Vob vob = from.vob();
  vob_dbid_t hlink = 0;
  if (RVL_Call(status, [&] {
        return vob_hlink_create(vob.handle(), type.c_str(), vob.handle(), from.dbid(), to.vob().handle(), to.dbid(),
                                from_text.c_str(), to_text.c_str(), &hlink);
      }) != 0)
    return RVL_Hyperlink();
  return RVL_Hyperlink(status, vob, hlink, RVL_VobObjectRep::Resolved{VOB_MTYPE_HLINK}, GCL_String());
}

const vob_hlink_info_s* RVL_Hyperlink::info(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return nullptr;
  return static_cast<RVL_HyperlinkRep*>(rep())->info(status);
}

GCL_String RVL_Hyperlink::type_name(GCL_Status& status) const {
  const vob_hlink_info_s* record = info(status);
  return record ? GCL_String(record->type) : GCL_String();
}

GCL_String RVL_Hyperlink::name(GCL_Status& status) const { return display_name(status); }

GCL_String RVL_Hyperlink::from_text(GCL_Status& status) const {
  const vob_hlink_info_s* record = info(status);
  return record ? GCL_String(record->from_text) : GCL_String();
}

GCL_String RVL_Hyperlink::to_text(GCL_Status& status) const {
  const vob_hlink_info_s* record = info(status);
  return record ? GCL_String(record->to_text) : GCL_String();
}

RVL_VobObject RVL_Hyperlink::from_object(GCL_Status& status) const {
  const vob_hlink_info_s* record = info(status);
  return record ? EndObject(status, record->from_vob, record->from_oid) : RVL_VobObject();
}

RVL_VobObject RVL_Hyperlink::to_object(GCL_Status& status) const {
  const vob_hlink_info_s* record = info(status);
  return record ? EndObject(status, record->to_vob, record->to_oid) : RVL_VobObject();
}

RVL_Hyperlink RVL_Hyperlink::from_handle(GCL_Status& status, const vob_hlinkh_s& handle) {
  vob_handle_t vob = 0;
  vob_dbid_t hlink = 0;
  if (RVL_Call(status, [&] { return vob_hlink_hlinkh_get_hlink(&handle, &vob, &hlink); }) != 0)
    return RVL_Hyperlink();
  return RVL_Hyperlink(status, RVL_Vob(vob), hlink, RVL_VobObjectRep::Resolved{VOB_MTYPE_HLINK}, GCL_String());
}

GCL_String RVL_Hyperlink::formatted(GCL_Status& status, bool from_end) const {
  if (!require_body(status, __LINE__)) return GCL_String();
  char text[4096];
  if (RVL_Call(status, [&] {
        return vob_hlink_fmt_info(vob().handle(), dbid(), from_end ? 1 : 0, text, sizeof text);
      }) != 0)
    return GCL_String();
  return GCL_String(text);
}

GCL_String RVL_Hyperlink::single_ended(GCL_Status& status) const {
  if (!require_body(status, __LINE__)) return GCL_String();
  char text[4096];
  if (RVL_Call(status, [&] { return vob_hlink_fmt_single_ended_info(vob().handle(), dbid(), text, sizeof text); }) != 0)
    return GCL_String();
  return GCL_String(text);
}

// ---- Arrows ----

RVL_HyperlinkArrowRep::RVL_HyperlinkArrowRep(GCL_Status& status, const vob_hlinkh_s& handle)
    : handle_(std::make_unique<vob_hlinkh_s>(handle)) {
  int from_end = 1;
  if (RVL_Call(status, [&] { return vob_hlink_hlinkh_get_arrow(&handle, &from_end); }) == 0) from_end_ = from_end != 0;
}

RVL_HyperlinkArrowRep::~RVL_HyperlinkArrowRep() = default;

bool RVL_HyperlinkArrowRep::is_null() const { return handle_->hlink == 0; }

bool RVL_HyperlinkArrowRep::equals(const GCL_Body& other) const {
  const auto* arrow = dynamic_cast<const RVL_HyperlinkArrowRep*>(&other);
  return arrow && arrow->handle_->vob == handle_->vob && arrow->handle_->hlink == handle_->hlink &&
         arrow->from_end_ == from_end_;
}

void RVL_HyperlinkArrowRep::print(std::ostream& out) const {
  GCL_IndentSection section("Hyperlink Arrow");
  const GCL_String prefix = GCL_IndentPrefix();
  out << prefix;
  GCL_Body::print(out);
  out << prefix << "Hyperlink Handle: " << handle_->vob << ":" << handle_->hlink << (from_end_ ? " ->" : " <-") << "\n";
}

RVL_HyperlinkArrow::RVL_HyperlinkArrow(GCL_Status& status, const vob_hlinkh_s& handle)
    : GCL_Handle<RVL_HyperlinkArrowRep>(new RVL_HyperlinkArrowRep(status, handle)) {}

RVL_Hyperlink RVL_HyperlinkArrow::hyperlink(GCL_Status& status) const {
  if (!rep()) {
    RVL_InternalError(status, kModule, __LINE__, "hyperlink arrow is NULL");
    return RVL_Hyperlink();
  }
  return RVL_Hyperlink::from_handle(status, rep()->handle());
}

RVL_VobObject RVL_HyperlinkArrow::from_object(GCL_Status& status) const {
  const RVL_Hyperlink link = hyperlink(status);
  return status.ok() ? link.from_object(status) : RVL_VobObject();
}

RVL_VobObject RVL_HyperlinkArrow::to_object(GCL_Status& status) const {
  const RVL_Hyperlink link = hyperlink(status);
  return status.ok() ? link.to_object(status) : RVL_VobObject();
}

GCL_String RVL_HyperlinkArrow::from_text(GCL_Status& status) const {
  const RVL_Hyperlink link = hyperlink(status);
  return status.ok() ? link.from_text(status) : GCL_String();
}

GCL_String RVL_HyperlinkArrow::to_text(GCL_Status& status) const {
  const RVL_Hyperlink link = hyperlink(status);
  return status.ok() ? link.to_text(status) : GCL_String();
}

void RVL_HyperlinkArrow::describe(std::ostream& out) const {
  if (rep())
    rep()->print(out);
  else
    out << GCL_IndentPrefix() << "Hyperlink Arrow is currently NULL\n";
}

// ---- Composites ----

bool RVL_HyperlinkCompositeRep::equals(const GCL_Body& other) const {
  const auto* composite = dynamic_cast<const RVL_HyperlinkCompositeRep*>(&other);
  return composite && composite->hyperlink_ == hyperlink_ && composite->arrow_ == arrow_;
}

void RVL_HyperlinkCompositeRep::print(std::ostream& out) const {
  GCL_IndentSection section("Hyperlink Composite");
  if (hyperlink_.is_null()) {
    out << GCL_IndentPrefix() << "Hyperlink Object is currently NULL\n";
    return;
  }
  hyperlink_.describe(out);
  arrow_.describe(out);
}

RVL_HyperlinkComposite::RVL_HyperlinkComposite(const RVL_Hyperlink& hyperlink, const RVL_HyperlinkArrow& arrow)
    : GCL_Handle<RVL_HyperlinkCompositeRep>(new RVL_HyperlinkCompositeRep(hyperlink, arrow)) {}

void RVL_HyperlinkComposite::describe(std::ostream& out) const {
  if (rep()) {
    rep()->print(out);
  } else {
    GCL_IndentSection section("Hyperlink Composite");
    out << GCL_IndentPrefix() << "Hyperlink Object is currently NULL\n";
  }
}

std::vector<RVL_HyperlinkComposite> RVL_FindHyperlinks(GCL_Status& status, const RVL_VobObject& object,
                                                       const GCL_String& type, bool well_known) {
  std::vector<RVL_HyperlinkComposite> found;
  if (object.is_null()) {
    RVL_InternalError(status, kModule, __LINE__, "hyperlinks of a NULL object");
    return found;
  }
  const RVL_Vob vob = object.vob();
  vob_dbid_t cursor = 0;
  for (;;) {
    vob_hlinkh_s handle;
    const int code = RVL_Call(status, [&] {
      return well_known ? vob_obj_find_wk_hlink(vob.handle(), object.dbid(), type.c_str(), &cursor, &handle)
                        : vob_obj_find_hlink(vob.handle(), object.dbid(), type.c_str(), &cursor, &handle);
    });
    if (code == TBS_ST_NOT_FOUND) {
      status.make_ok();
      return found;
    }
    if (code != 0) break;
    const RVL_Hyperlink link = RVL_Hyperlink::from_handle(status, handle);
    if (!status.ok()) break;
    const RVL_HyperlinkArrow arrow(status, handle);
    if (!status.ok()) break;
    found.emplace_back(link, arrow);
  }
  found.clear();
  return found;
}
