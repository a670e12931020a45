#pragma once
// Updates of registry entries: made from the entry to change, they hold a
// pending value per field next to the stored ones, and store the changed
// fields through the registry (all or none), which then replaces its cached
// entry and tells its observers. Fields an update covers: a VOB tag's name,
// global path, host, comment, mount options and access; an object's host,
// global and local path; a region's name and comment.
#include "rvl_rgy_entry.h"

// The pending values of an update.
class RVL_RgyPending {
 public:
  // The pending value when there is one, else the stored one.
  GCL_String read(const RVL_RegistryEntryRep& stored, RVL_RgyField field) const;
  void set(RVL_RgyField field, const GCL_String& value) { values_[field] = value; }
  // A pending value exists and differs from the stored one.
  bool is_changed(const RVL_RegistryEntryRep& stored, RVL_RgyField field) const;
  // The pending values that differ from the stored ones.
  RVL_RgyFields changes(const RVL_RegistryEntryRep& stored) const;
  void clear() { values_.clear(); }

 private:
  RVL_RgyFields values_;
};

template <class EntryRep>
class RVL_RgyUpdateRep : public EntryRep {
 public:
  using Stored = EntryRep;
  // The stored values of the entry, nothing pending.
  explicit RVL_RgyUpdateRep(const EntryRep& from) : EntryRep(from) {}

  GCL_String read(RVL_RgyField field) const { return pending_.read(*this, field); }
  void set(RVL_RgyField field, const GCL_String& value) { pending_.set(field, value); }
  bool is_changed(RVL_RgyField field) const { return pending_.is_changed(*this, field); }
  RVL_RgyFields changes() const { return pending_.changes(*this); }
  // The registry stored the changes: they become the stored values.
  void stored(GCL_Status& status, RVL_RgyRecord record) {
    this->take_record(status, std::move(record));
    pending_.clear();
  }

 private:
  RVL_RgyPending pending_;
};

class RVL_VobRgyTagUpdateRep : public RVL_RgyUpdateRep<RVL_VobRegistryTagRep> {
 public:
  using RVL_RgyUpdateRep::RVL_RgyUpdateRep;
};
class RVL_VobRgyObjUpdateRep : public RVL_RgyUpdateRep<RVL_VobRegistryObjectRep> {
 public:
  using RVL_RgyUpdateRep::RVL_RgyUpdateRep;
};
class RVL_VobRegionUpdateRep : public RVL_RgyUpdateRep<RVL_VobRegionRep> {
 public:
  using RVL_RgyUpdateRep::RVL_RgyUpdateRep;
};

// The operations of every update handle, on its entry handle.
template <class Entry, class Rep>
class RVL_RgyUpdate : public Entry {
 public:
  // The pending value, else the stored one ("" for a null update).
  GCL_String read(RVL_RgyField field) const;
  // The same; a null update or a field the update does not cover is an
  // error on the status; a read never clears an earlier failure.
  GCL_String read(GCL_Status& status, RVL_RgyField field) const;
  // Replaces the pending value. A field the update does not cover, an empty
  // name, an access other than "public" or "private" or mount options that
  // do not parse: TBS_ST_INVALID_ARG on the status, nothing pending changes.
  bool set(GCL_Status& status, RVL_RgyField field, const GCL_String& value);
  bool is_changed(RVL_RgyField field) const;
  bool is_changed() const;
  // Stores the changed fields through the registry, which replaces its
  // cached entry; nothing changed makes no call. On failure nothing changes
  // and the pending values stay.
  bool apply(GCL_Status& status, RVL_VobRegistry& registry);

 protected:
  // A null entry makes a null update.
  explicit RVL_RgyUpdate(const Entry& from);
  Rep* update() const { return static_cast<Rep*>(this->rep()); }
};

class RVL_VobRgyTagUpdate : public RVL_RgyUpdate<RVL_VobRegistryTag, RVL_VobRgyTagUpdateRep> {
 public:
  explicit RVL_VobRgyTagUpdate(const RVL_VobRegistryTag& tag) : RVL_RgyUpdate(tag) {}
};
class RVL_VobRgyObjUpdate : public RVL_RgyUpdate<RVL_VobRegistryObject, RVL_VobRgyObjUpdateRep> {
 public:
  explicit RVL_VobRgyObjUpdate(const RVL_VobRegistryObject& object) : RVL_RgyUpdate(object) {}
};
class RVL_VobRegionUpdate : public RVL_RgyUpdate<RVL_VobRegion, RVL_VobRegionUpdateRep> {
 public:
  explicit RVL_VobRegionUpdate(const RVL_VobRegion& region) : RVL_RgyUpdate(region) {}
};
