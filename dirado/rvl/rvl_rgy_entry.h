#pragma once
// Registry entries: VOB tags, VOB object entries and regions as the registry
// hands them out. A body keeps the client's record it was read from (shared
// with update bodies made from it, freed with the last of them) and the
// fields read from it once; an entry is a copy, so later changes of the
// registry reach it only through a new entry.
#include <iosfwd>
#include <map>
#include <memory>

#include "gcl_handle.h"
#include "gcl_string.h"

class GCL_Status;
class RVL_VobRegistry;
struct rgy_entry;

// The client's record of an entry.
using RVL_RgyRecord = std::shared_ptr<rgy_entry>;
// Takes over a record the client handed out (rgy_delete_entry frees it).
RVL_RgyRecord RVL_OwnRgyRecord(rgy_entry* entry);

// The fields of entries, by the registry's keys.
enum class RVL_RgyField : int {
  host = 1,
  global_path = 2,
  local_path = 3,
  comment = 4,
  region = 5,  // a tag's region; a region entry's name
  access = 6,
  mount_options = 7,
  creator = 8,
  tag_name = 10,
  uuid = 16,
  replica_uuid = 17,
};
using RVL_RgyFields = std::map<RVL_RgyField, GCL_String>;

// The kinds of entries a registry caches.
enum class RVL_RgyKind { vob_tag, vob_object, region };

class RVL_RegistryEntryRep : public GCL_Body {
 public:
  // Reads the record's fields; a field that cannot be read puts its failure
  // on the status.
  RVL_RegistryEntryRep(GCL_Status& status, RVL_RgyKind kind, RVL_RgyRecord record);
  bool is_null() const override { return !record_; }
  // The same entry: same kind and key.
  bool equals(const GCL_Body& other) const override;
  // "Registry Entry": its UUID.
  void print(std::ostream& out) const override;

  RVL_RgyKind kind() const { return kind_; }
  // What identifies the entry in its cache: tag name, region name or UUID.
  GCL_String key() const;
  // The stored value ("" when the record has none).
  GCL_String field(RVL_RgyField field) const;
  const RVL_RgyRecord& record() const { return record_; }
  // Write back: stores the changes over the registry record, all or none.
  // On success *stored is the record as now stored.
  bool write_back(GCL_Status& status, const RVL_RgyFields& changes, RVL_RgyRecord* stored) const;

 protected:
  RVL_RegistryEntryRep(const RVL_RegistryEntryRep&) = default;
  // An update body takes up the record it stored.
  void take_record(GCL_Status& status, RVL_RgyRecord record);

 private:
  RVL_RgyKind kind_;
  RVL_RgyRecord record_;
  RVL_RgyFields fields_;
};

class RVL_RegistryEntryTagRep : public RVL_RegistryEntryRep {
 public:
  using RVL_RegistryEntryRep::RVL_RegistryEntryRep;
  // "Registry Entry Tag" after the entry's section.
  void print(std::ostream& out) const override;
};

class RVL_VobRegistryTagRep : public RVL_RegistryEntryTagRep {
 public:
  using RVL_RegistryEntryTagRep::RVL_RegistryEntryTagRep;
  // "Vob Registry Tag" after the tag's sections.
  void print(std::ostream& out) const override;
};

class RVL_RegistryEntryObjectRep : public RVL_RegistryEntryRep {
 public:
  using RVL_RegistryEntryRep::RVL_RegistryEntryRep;
  void print(std::ostream& out) const override;
};

class RVL_VobRegistryObjectRep : public RVL_RegistryEntryObjectRep {
 public:
  using RVL_RegistryEntryObjectRep::RVL_RegistryEntryObjectRep;
  void print(std::ostream& out) const override;
};

class RVL_RegionRep : public RVL_RegistryEntryRep {
 public:
  using RVL_RegistryEntryRep::RVL_RegistryEntryRep;
  void print(std::ostream& out) const override;
};

class RVL_VobRegionRep : public RVL_RegionRep {
 public:
  using RVL_RegionRep::RVL_RegionRep;
};

// Accessors take a status: a null entry is an internal error on it; a
// successful read leaves it as it was.
class RVL_RegistryEntry : public GCL_Handle<RVL_RegistryEntryRep> {
 public:
  RVL_RegistryEntry() = default;
  bool is_null() const { return !rep(); }
  GCL_String uuid(GCL_Status& status) const;
  // The stored value of any field ("" for a null entry).
  GCL_String field(RVL_RgyField field) const { return rep() ? rep()->field(field) : GCL_String(); }
  GCL_String key() const { return rep() ? rep()->key() : GCL_String(); }
  void describe(std::ostream& out) const;

 protected:
  explicit RVL_RegistryEntry(RVL_RegistryEntryRep* rep) : GCL_Handle<RVL_RegistryEntryRep>(rep) {}
  // The field, or an internal error at the module when the entry is null.
  GCL_String read(GCL_Status& status, RVL_RgyField field, const char* module, int line) const;
  friend class RVL_VobRegistry;
};

class RVL_RegistryEntryTag : public RVL_RegistryEntry {
 public:
  RVL_RegistryEntryTag() = default;
  GCL_String tag_name(GCL_Status& status) const;
  // "<no-gpath>" when the tag has none.
  GCL_String global_path(GCL_Status& status) const;
  GCL_String host(GCL_Status& status) const;
  GCL_String region(GCL_Status& status) const;
  GCL_String comment(GCL_Status& status) const;

 protected:
  using RVL_RegistryEntry::RVL_RegistryEntry;
};

class RVL_VobRegistryTag : public RVL_RegistryEntryTag {
 public:
  RVL_VobRegistryTag() = default;
  // Made by the tag factory on one of its records.
  static RVL_VobRegistryTag make(GCL_Status& status, RVL_RgyRecord record);

  GCL_String mount_options(GCL_Status& status) const;
  // "public" or "private".
  GCL_String mount_access(GCL_Status& status) const;
  // Whether the tag is of the machine's default region and mounted there.
  bool is_mounted(GCL_Status& status) const;

 protected:
  using RVL_RegistryEntryTag::RVL_RegistryEntryTag;
};

class RVL_RegistryEntryObject : public RVL_RegistryEntry {
 public:
  RVL_RegistryEntryObject() = default;
  GCL_String host(GCL_Status& status) const;
  GCL_String local_path(GCL_Status& status) const;

 protected:
  using RVL_RegistryEntry::RVL_RegistryEntry;
};

class RVL_VobRegistryObject : public RVL_RegistryEntryObject {
 public:
  RVL_VobRegistryObject() = default;
  static RVL_VobRegistryObject make(GCL_Status& status, RVL_RgyRecord record);
  // The UUID of the VOB family the object stores a replica of.
  GCL_String family_uuid(GCL_Status& status) const;

 protected:
  using RVL_RegistryEntryObject::RVL_RegistryEntryObject;
};

class RVL_Region : public RVL_RegistryEntry {
 public:
  RVL_Region() = default;
  GCL_String name(GCL_Status& status) const;
  GCL_String comment(GCL_Status& status) const;

 protected:
  using RVL_RegistryEntry::RVL_RegistryEntry;
};

class RVL_VobRegion : public RVL_Region {
 public:
  RVL_VobRegion() = default;
  static RVL_VobRegion make(GCL_Status& status, RVL_RgyRecord record);

 protected:
  using RVL_Region::RVL_Region;
};
