// Registry entries.
#include "rvl_rgy_entry.h"

#include <initializer_list>
#include <ostream>

#include "gcl_indent.h"
#include "gcl_status.h"
#include "rgy.h"
#include "rvl_call.h"
#include "tbs.h"
#include "vob_utl_mount.h"

namespace {

constexpr const char* kEntryModule = "\\dirado\\rvl\\rvl_rgy_entry_info.cxx";
constexpr const char* kTagModule = "\\dirado\\rvl\\rvl_vob_registry_tag_rep.cxx";
constexpr std::size_t kFieldSize = 1100;
constexpr const char* kNullEntry = "registry entry object is NULL";

static_assert(static_cast<int>(RVL_RgyField::host) == RGY_KEY_HOST);
static_assert(static_cast<int>(RVL_RgyField::global_path) == RGY_KEY_GPATH);
static_assert(static_cast<int>(RVL_RgyField::local_path) == RGY_KEY_LOCAL_PATH);
static_assert(static_cast<int>(RVL_RgyField::comment) == RGY_KEY_COMMENT);
static_assert(static_cast<int>(RVL_RgyField::region) == RGY_KEY_REGION);
static_assert(static_cast<int>(RVL_RgyField::access) == RGY_KEY_ACCESS);
static_assert(static_cast<int>(RVL_RgyField::mount_options) == RGY_KEY_MOUNT_OPTS);
static_assert(static_cast<int>(RVL_RgyField::creator) == RGY_KEY_CREATOR);
static_assert(static_cast<int>(RVL_RgyField::tag_name) == RGY_KEY_TAG);
static_assert(static_cast<int>(RVL_RgyField::uuid) == RGY_KEY_UUID);
static_assert(static_cast<int>(RVL_RgyField::replica_uuid) == RGY_KEY_REPLICA_UUID);

using F = RVL_RgyField;

// The fields a kind of entry holds.
std::initializer_list<RVL_RgyField> FieldsOf(RVL_RgyKind kind) {
  static constexpr std::initializer_list<RVL_RgyField> tag = {
      F::host, F::global_path, F::comment, F::region, F::access, F::mount_options, F::creator, F::tag_name, F::uuid};
  static constexpr std::initializer_list<RVL_RgyField> object = {F::host, F::global_path, F::local_path, F::uuid,
                                                                 F::replica_uuid};
  static constexpr std::initializer_list<RVL_RgyField> region = {F::region, F::comment};
  switch (kind) {
    case RVL_RgyKind::vob_tag: return tag;
    case RVL_RgyKind::vob_object: return object;
    case RVL_RgyKind::region: break;
  }
  return region;
}

RVL_RgyField KeyField(RVL_RgyKind kind) {
  switch (kind) {
    case RVL_RgyKind::vob_tag: return F::tag_name;
    case RVL_RgyKind::vob_object: return F::uuid;
    case RVL_RgyKind::region: break;
  }
  return F::region;
}

int RegistryKind(RVL_RgyKind kind) {
  switch (kind) {
    case RVL_RgyKind::vob_tag: return RGY_KIND_VOB_TAG;
    case RVL_RgyKind::vob_object: return RGY_KIND_VOB_OBJECT;
    case RVL_RgyKind::region: break;
  }
  return RGY_KIND_REGION;
}

// A section line: the prefix, the label and the value.
void Line(std::ostream& out, const GCL_String& prefix, const char* label, const GCL_String& value) {
  out << prefix.c_str() << label << value.c_str() << "\n";
}

GCL_String GlobalPath(const GCL_String& stored) { return stored.length() ? stored : GCL_String(RGY_NO_GPATH); }

}  // namespace

RVL_RgyRecord RVL_OwnRgyRecord(rgy_entry* entry) {
  return RVL_RgyRecord(entry, [](rgy_entry* owned) {
    if (owned) rgy_delete_entry(owned);
  });
}

RVL_RegistryEntryRep::RVL_RegistryEntryRep(GCL_Status& status, RVL_RgyKind kind, RVL_RgyRecord record)
    : kind_(kind) {
  take_record(status, std::move(record));
}

void RVL_RegistryEntryRep::take_record(GCL_Status& status, RVL_RgyRecord record) {
  RVL_RgyFields fields;
  if (record) {
    for (RVL_RgyField field : FieldsOf(kind_)) {
      // A field the record lacks reads as ""; only a real failure reaches
      // the caller's status.
      char text[kFieldSize];
      GCL_Status read;
      const int rc = RVL_Call(read, [&] {
        return rgy_getstring_from_entry(record.get(), static_cast<int>(field), sizeof text, text);
      });
      if (rc == TBS_ST_OK)
        fields[field] = GCL_String(text);
      else if (rc != TBS_ST_NOT_FOUND)
        status = read;
    }
  }
  record_ = std::move(record);
  fields_ = std::move(fields);
}

bool RVL_RegistryEntryRep::equals(const GCL_Body& other) const {
  const auto* entry = dynamic_cast<const RVL_RegistryEntryRep*>(&other);
  return entry && entry->kind_ == kind_ && entry->key() == key();
}

GCL_String RVL_RegistryEntryRep::key() const { return field(KeyField(kind_)); }

GCL_String RVL_RegistryEntryRep::field(RVL_RgyField field) const {
  const auto found = fields_.find(field);
  return found == fields_.end() ? GCL_String() : found->second;
}

bool RVL_RegistryEntryRep::write_back(GCL_Status& status, const RVL_RgyFields& changes, RVL_RgyRecord* stored) const {
  rgy_entry_t made = nullptr;
  if (RVL_Call(status, [&] { return rgy_create_entry(RegistryKind(kind_), &made); }) != 0) return false;
  const RVL_RgyRecord change_record = RVL_OwnRgyRecord(made);
  for (const auto& [field, value] : changes)
    if (RVL_Call(status, [&] { return rgy_setstring_in_entry(made, static_cast<int>(field), value.c_str()); }) != 0)
      return false;
  rgy_entry_t result = nullptr;
  if (RVL_Call(status, [&] { return rgy_modify_entry(record_.get(), made, &result); }) != 0) return false;
  *stored = RVL_OwnRgyRecord(result);
  return true;
}

void RVL_RegistryEntryRep::print(std::ostream& out) const {
  GCL_IndentSection section("Registry Entry");
  const GCL_String prefix = GCL_IndentPrefix();
  out << prefix.c_str();
  GCL_Body::print(out);
  Line(out, prefix, "UUID: ", field(F::uuid));
}

void RVL_RegistryEntryTagRep::print(std::ostream& out) const {
  RVL_RegistryEntryRep::print(out);
  GCL_IndentSection section("Registry Entry Tag");
  const GCL_String prefix = GCL_IndentPrefix();
  Line(out, prefix, "Tag Name:    ", field(F::tag_name));
  Line(out, prefix, "Global Path: ", GlobalPath(field(F::global_path)));
  Line(out, prefix, "Host:        ", field(F::host));
  Line(out, prefix, "Region:      ", field(F::region));
  Line(out, prefix, "Comment:     ", field(F::comment));
}

void RVL_VobRegistryTagRep::print(std::ostream& out) const {
  RVL_RegistryEntryTagRep::print(out);
  GCL_IndentSection section("Vob Registry Tag");
  const GCL_String prefix = GCL_IndentPrefix();
  Line(out, prefix, "Mount Options: ", field(F::mount_options));
  Line(out, prefix, "Mount Access:  ", GCL_String(field(F::access) == "public" ? "public" : "private"));
}

void RVL_RegistryEntryObjectRep::print(std::ostream& out) const {
  RVL_RegistryEntryRep::print(out);
  GCL_IndentSection section("Registry Entry Object");
  const GCL_String prefix = GCL_IndentPrefix();
  Line(out, prefix, "Host:       ", field(F::host));
  Line(out, prefix, "Local Path: ", field(F::local_path));
}

void RVL_VobRegistryObjectRep::print(std::ostream& out) const {
  RVL_RegistryEntryObjectRep::print(out);
  GCL_IndentSection section("Vob Registry Object");
  Line(out, GCL_IndentPrefix(), "Family UUID: ", field(F::uuid));
}

void RVL_RegionRep::print(std::ostream& out) const {
  RVL_RegistryEntryRep::print(out);
  GCL_IndentSection section("Region");
  const GCL_String prefix = GCL_IndentPrefix();
  Line(out, prefix, "Name:    ", field(F::region));
  Line(out, prefix, "Comment: ", field(F::comment));
}

GCL_String RVL_RegistryEntry::read(GCL_Status& status, RVL_RgyField field, const char* module, int line) const {
  if (!rep()) {
    RVL_InternalError(status, module, line, kNullEntry);
    return GCL_String();
  }
  return rep()->field(field);
}

GCL_String RVL_RegistryEntry::uuid(GCL_Status& status) const { return read(status, F::uuid, kEntryModule, __LINE__); }

void RVL_RegistryEntry::describe(std::ostream& out) const {
  if (rep())
    rep()->print(out);
  else
    out << GCL_IndentPrefix().c_str() << "Registry Entry is currently NULL\n";
}

GCL_String RVL_RegistryEntryTag::tag_name(GCL_Status& status) const {
  return read(status, F::tag_name, kTagModule, __LINE__);
}
GCL_String RVL_RegistryEntryTag::global_path(GCL_Status& status) const {
  return GlobalPath(read(status, F::global_path, kTagModule, __LINE__));
}
GCL_String RVL_RegistryEntryTag::host(GCL_Status& status) const { return read(status, F::host, kTagModule, __LINE__); }
GCL_String RVL_RegistryEntryTag::region(GCL_Status& status) const {
  return read(status, F::region, kTagModule, __LINE__);
}
GCL_String RVL_RegistryEntryTag::comment(GCL_Status& status) const {
  return read(status, F::comment, kTagModule, __LINE__);
}

RVL_VobRegistryTag RVL_VobRegistryTag::make(GCL_Status& status, RVL_RgyRecord record) {
  return RVL_VobRegistryTag(new RVL_VobRegistryTagRep(status, RVL_RgyKind::vob_tag, std::move(record)));
}

GCL_String RVL_VobRegistryTag::mount_options(GCL_Status& status) const {
  return read(status, F::mount_options, kTagModule, __LINE__);
}

GCL_String RVL_VobRegistryTag::mount_access(GCL_Status& status) const {
  if (is_null()) return read(status, F::access, kTagModule, __LINE__);
  return GCL_String(field(F::access) == "public" ? "public" : "private");
}

bool RVL_VobRegistryTag::is_mounted(GCL_Status& status) const {
  const GCL_String tag = read(status, F::tag_name, kTagModule, __LINE__);
  if (is_null()) return false;
  char region[kFieldSize];
  if (RVL_Call(status, [&] { return rgy_get_default_region(region, sizeof region); }) != 0) return false;
  return field(F::region) == region && vob_utl_is_mounted_vob_pname(tag.c_str()) != 0;
}

GCL_String RVL_RegistryEntryObject::host(GCL_Status& status) const {
  return read(status, F::host, kEntryModule, __LINE__);
}
GCL_String RVL_RegistryEntryObject::local_path(GCL_Status& status) const {
  return read(status, F::local_path, kEntryModule, __LINE__);
}

RVL_VobRegistryObject RVL_VobRegistryObject::make(GCL_Status& status, RVL_RgyRecord record) {
  return RVL_VobRegistryObject(new RVL_VobRegistryObjectRep(status, RVL_RgyKind::vob_object, std::move(record)));
}

GCL_String RVL_VobRegistryObject::family_uuid(GCL_Status& status) const {
  return read(status, F::uuid, kEntryModule, __LINE__);
}

GCL_String RVL_Region::name(GCL_Status& status) const { return read(status, F::region, kEntryModule, __LINE__); }
GCL_String RVL_Region::comment(GCL_Status& status) const {
  return read(status, F::comment, kEntryModule, __LINE__);
}

RVL_VobRegion RVL_VobRegion::make(GCL_Status& status, RVL_RgyRecord record) {
  return RVL_VobRegion(new RVL_VobRegionRep(status, RVL_RgyKind::region, std::move(record)));
}
