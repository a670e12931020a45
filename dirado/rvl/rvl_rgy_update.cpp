// Updates of registry entries.
#include "rvl_rgy_update.h"

#include "gcl_status.h"
#include "rvl_call.h"
#include "rvl_mntopts.h"
#include "rvl_registry.h"
#include "tbs.h"

namespace {

constexpr const char* kModule = "\\dirado\\rvl\\rvl_rgy_entry_info.cxx";

using F = RVL_RgyField;

bool Covers(RVL_RgyKind kind, RVL_RgyField field) {
  switch (kind) {
    case RVL_RgyKind::vob_tag:
      return field == F::tag_name || field == F::global_path || field == F::host || field == F::comment ||
             field == F::mount_options || field == F::access;
    case RVL_RgyKind::vob_object:
      return field == F::host || field == F::global_path || field == F::local_path;
    case RVL_RgyKind::region:
      return field == F::region || field == F::comment;
  }
  return false;
}

bool Refuse(GCL_Status& status, const char* message) {
  status.reset(TBS_ST_INVALID_ARG);
  status.push_message(GCL_String(message));
  return false;
}

// A value the field can hold; the refusal goes on the status.
bool Acceptable(GCL_Status& status, RVL_RgyKind kind, RVL_RgyField field, const GCL_String& value) {
  if (!Covers(kind, field)) return Refuse(status, "This field of the registry entry cannot be changed.\n");
  if ((field == F::tag_name || field == F::region) && value.length() == 0)
    return Refuse(status, "A registry name cannot be empty.\n");
  if (field == F::access && value != "public" && value != "private")
    return Refuse(status, "Mount access must be \"public\" or \"private\".\n");
  if (field == F::mount_options) {
    RVL_VobMountOptions options;
    return options.parse(status, value);
  }
  return true;
}

}  // namespace

GCL_String RVL_RgyPending::read(const RVL_RegistryEntryRep& stored, RVL_RgyField field) const {
  const auto pending = values_.find(field);
  return pending == values_.end() ? stored.field(field) : pending->second;
}

bool RVL_RgyPending::is_changed(const RVL_RegistryEntryRep& stored, RVL_RgyField field) const {
  const auto pending = values_.find(field);
  return pending != values_.end() && pending->second.compare(stored.field(field)) != 0;
}

RVL_RgyFields RVL_RgyPending::changes(const RVL_RegistryEntryRep& stored) const {
  RVL_RgyFields changed;
  for (const auto& [field, value] : values_)
    if (is_changed(stored, field)) changed[field] = value;
  return changed;
}

template <class Entry, class Rep>
RVL_RgyUpdate<Entry, Rep>::RVL_RgyUpdate(const Entry& from) {
  if (const auto* entry = dynamic_cast<const typename Rep::Stored*>(from.body())) this->set_rep(new Rep(*entry));
}

template <class Entry, class Rep>
GCL_String RVL_RgyUpdate<Entry, Rep>::read(RVL_RgyField field) const {
  return update() ? update()->read(field) : GCL_String();
}

template <class Entry, class Rep>
GCL_String RVL_RgyUpdate<Entry, Rep>::read(GCL_Status& status, RVL_RgyField field) const {
  if (!update()) {
    RVL_InternalError(status, kModule, __LINE__, "registry entry object is NULL");
    return GCL_String();
  }
  if (!Covers(update()->kind(), field)) {
    Refuse(status, "This field of the registry entry cannot be changed.\n");
    return GCL_String();
  }
  return update()->read(field);
}

template <class Entry, class Rep>
bool RVL_RgyUpdate<Entry, Rep>::set(GCL_Status& status, RVL_RgyField field, const GCL_String& value) {
  if (!update()) {
    RVL_InternalError(status, kModule, __LINE__, "registry entry object is NULL");
    return false;
  }
  if (!Acceptable(status, update()->kind(), field, value)) return false;
  update()->set(field, value);
  return true;
}

template <class Entry, class Rep>
bool RVL_RgyUpdate<Entry, Rep>::is_changed(RVL_RgyField field) const {
  return update() && update()->is_changed(field);
}

template <class Entry, class Rep>
bool RVL_RgyUpdate<Entry, Rep>::is_changed() const {
  return update() && !update()->changes().empty();
}

template <class Entry, class Rep>
bool RVL_RgyUpdate<Entry, Rep>::apply(GCL_Status& status, RVL_VobRegistry& registry) {
  if (!update() || registry.is_null()) {
    RVL_InternalError(status, kModule, __LINE__, "registry entry object is NULL");
    return false;
  }
  const RVL_RgyFields changes = update()->changes();
  if (changes.empty()) return true;
  RVL_RgyRecord stored;
  if (!update()->write_back(status, changes, &stored)) return false;
  const GCL_String old_key = update()->key();
  update()->stored(status, stored);
  registry.entry_stored(status, update()->kind(), old_key, stored);
  return true;
}

template class RVL_RgyUpdate<RVL_VobRegistryTag, RVL_VobRgyTagUpdateRep>;
template class RVL_RgyUpdate<RVL_VobRegistryObject, RVL_VobRgyObjUpdateRep>;
template class RVL_RgyUpdate<RVL_VobRegion, RVL_VobRegionUpdateRep>;
