// VOB tags.
#include "rvl_vobtag.h"

#include <memory>
#include <ostream>

#include "gcl_indent.h"
#include "gcl_status.h"
#include "rgy.h"
#include "rvl_call.h"
#include "tbs.h"
#include "tbs_uuid.h"
#include "rvmount/mntrpc.h"
#include "vob_utl_mount.h"

namespace {

constexpr const char* kModule = "\\dirado\\rvl\\rvl_vob_tag_rep.cxx";

// The tag of a registry entry of the region.
RVL_VobTag TagOf(rgy_entry_t entry, const char* region) {
  auto field = [&](int key) {
    char text[1100];
    return rgy_getstring_from_entry(entry, key, sizeof text, text) == 0 ? GCL_String(text) : GCL_String();
  };
  return RVL_VobTag::make(field(RGY_KEY_TAG), field(RGY_KEY_GPATH), GCL_String(region), field(RGY_KEY_MOUNT_OPTS),
                          field(RGY_KEY_ACCESS), field(RGY_KEY_UUID));
}

template <class Find>
RVL_VobTag LookUp(GCL_Status& status, Find&& find) {
  char region[300];
  if (RVL_Call(status, [&] { return rgy_get_default_region(region, sizeof region); }) != 0) return RVL_VobTag();
  rgy_cursor_t cursor = nullptr;
  if (RVL_Call(status, [&] { return rgy_open_cursor(RGY_KIND_VOB_TAG, region, &cursor); }) != 0)
    return RVL_VobTag();
  rgy_entry_t entry = nullptr;
  int count = 0;
  const int rc = RVL_Call(status, [&] { return find(cursor, &entry, &count); });
  rgy_close_cursor(cursor);
  if (rc != 0) return RVL_VobTag();
  if (count < 1) {
    status.reset(TBS_ST_NOT_FOUND);
    return RVL_VobTag();
  }
  RVL_VobTag tag = TagOf(entry, region);
  rgy_delete_entry(entry);
  return tag;
}

}  // namespace

bool RVL_VobTagRep::equals(const GCL_Body& other) const {
  const auto* tag = dynamic_cast<const RVL_VobTagRep*>(&other);
  return tag && tag->tag_ == tag_ && tag->region_ == region_;
}

void RVL_VobTagRep::print(std::ostream& out) const {
  GCL_IndentSection section("Vob Tag");
  const GCL_String prefix = GCL_IndentPrefix();
  out << prefix;
  GCL_Body::print(out);
  out << prefix << "Tag: " << tag_.c_str() << "\n";
  out << prefix << "Global Path: " << gpath_.c_str() << "\n";
  out << prefix << "Region: " << region_.c_str() << "\n";
  out << prefix << "Access: " << access_.c_str() << "\n";
  out << prefix << "UUID: " << uuid_.c_str() << "\n";
  out << prefix << "Mounted: " << (vob_utl_is_mounted_vob_pname(tag_.c_str()) ? "TRUE" : "FALSE") << "\n";
  RVL_VobMountOptions options;
  GCL_Status status;
  if (options.parse(status, options_))
    options.describe(out);
  else
    out << prefix << "Mount Options: " << options_.c_str() << " (not understood)\n";
}

RVL_VobTag RVL_VobTag::make(const GCL_String& tag, const GCL_String& gpath, const GCL_String& region,
                            const GCL_String& options, const GCL_String& access, const GCL_String& uuid) {
  RVL_VobTag result;
  result.set_rep(new RVL_VobTagRep(tag, gpath, region, options, access, uuid));
  return result;
}

RVL_VobTag RVL_VobTag::from_name(GCL_Status& status, const GCL_String& tag) {
  return LookUp(status, [&](rgy_cursor_t cursor, rgy_entry_t* entry, int* count) {
    return rgy_findbystring_entry(cursor, RGY_KEY_TAG, tag.c_str(), 1, entry, count);
  });
}

RVL_VobTag RVL_VobTag::from_uuid(GCL_Status& status, const GCL_String& uuid) {
  tbs_uuid_t id;
  if (tbs_str_to_uuid(uuid.c_str(), &id) != 0) {
    status.reset(TBS_ST_INVALID_ARG);
    return RVL_VobTag();
  }
  return LookUp(status, [&](rgy_cursor_t cursor, rgy_entry_t* entry, int* count) {
    return rgy_findbyuuid_entry(cursor, &id, 1, entry, count);
  });
}

bool RVL_VobTag::list_region(GCL_Status& status, const GCL_String& region, std::vector<RVL_VobTag>* tags) {
  tags->clear();
  tags->reserve(128);
  char found[300] = "";
  if (region.length() == 0 &&
      RVL_Call(status, [&] { return rgy_get_default_region(found, sizeof found); }) != 0)
    return false;
  const char* name = region.length() > 0 ? region.c_str() : found;
  rgy_cursor_t cursor = nullptr;
  if (RVL_Call(status, [&] { return rgy_open_cursor(RGY_KIND_VOB_TAG, name, &cursor); }) != 0) return false;
  const std::unique_ptr<rgy_cursor, int (*)(rgy_cursor_t)> closer(cursor, rgy_close_cursor);
  constexpr int kBatch = 32;
  for (;;) {
    rgy_entry_t batch[kBatch] = {};
    int count = 0;
    if (RVL_Call(status, [&] { return rgy_get_entry(cursor, kBatch, batch, &count); }) != 0) return false;
    if (count <= 0) return true;
    for (int i = 0; i < count; ++i) {
      tags->push_back(TagOf(batch[i], name));
      rgy_delete_entry(batch[i]);
    }
  }
}

bool RVL_VobTag::mount_options(GCL_Status& status, RVL_VobMountOptions* options) const {
  if (is_null() || !options) {
    RVL_InternalError(status, kModule, __LINE__, "vob tag object is NULL");
    return false;
  }
  return options->parse(status, options_text());
}

bool RVL_VobTag::is_mounted() const { return !is_null() && vob_utl_is_mounted_vob_pname(name().c_str()) != 0; }

bool RVL_VobTag::mount(GCL_Status& status) const {
  if (is_null()) {
    RVL_InternalError(status, kModule, __LINE__, "vob tag object is NULL");
    return false;
  }
  return RVL_Call(status, [&] { return mntrpc_mount_tag(name().c_str(), "", ""); }) == 0;
}

bool RVL_VobTag::unmount(GCL_Status& status) const {
  if (is_null()) {
    RVL_InternalError(status, kModule, __LINE__, "vob tag object is NULL");
    return false;
  }
  return RVL_Call(status, [&] { return mntrpc_umount_tag(name().c_str(), ""); }) == 0;
}

void RVL_VobTag::describe(std::ostream& out) const {
  if (rep())
    rep()->print(out);
  else
    out << GCL_IndentPrefix() << "Vob Tag is currently NULL\n";
}
