// The registry of a server, its caches, factories, observers and filters.
#include "rvl_registry.h"

#include <cstring>
#include <mutex>
#include <ostream>

#include "adm.h"
#include "gcl_indent.h"
#include "gcl_status.h"
#include "rgy.h"
#include "rvl_call.h"
#include "tbs.h"

namespace {

constexpr const char* kModule = "\\dirado\\rvl\\rvl_rgy_entry_info.cxx";
constexpr int kBatch = 32;
constexpr std::size_t kNameSize = 1100;

std::uint32_t UuidHash(const RVL_Uuid& uuid) { return uuid.hash(); }

// The string hash takes its low bits from one byte of the name, so tags that
// differ in their last characters ("\vob1" ... "\vob4999") met in a few of
// the 256 buckets; a 32-bit finaliser mixes every bit into the bucket.
std::uint32_t NameHash(const GCL_String& name) {
  std::uint32_t h = GCL_StringHash(name);
  h ^= h >> 16;
  h *= 0x85ebca6bu;
  h ^= h >> 13;
  h *= 0xc2b2ae35u;
  h ^= h >> 16;
  return h;
}

// Binds a key, replacing what was bound under it.
template <class Cache, class Key, class Value>
void Put(Cache& cache, const Key& key, const Value& value) {
  if (cache.IsBound(key))
    cache.Rebind(key, value);
  else
    cache.Bind(key, value);
}

// The cache key of an entry's key text: names as they are, UUIDs read
// (false for one that does not read).
bool CacheKey(const GCL_String& text, GCL_String* key) {
  *key = text;
  return true;
}
bool CacheKey(const GCL_String& text, RVL_Uuid* uuid) {
  GCL_Status parsed;
  *uuid = RVL_Uuid::parse(parsed, text);
  return parsed.ok();
}

// The registries kept for the process, under their own lock: sheet threads
// reach them. Made once and never destroyed, so no registry outlives the
// client state its entries free themselves through.
struct KeptRegistries {
  std::mutex mutex;
  RVL_VobRegistryCache cache;
};

KeptRegistries& Kept() {
  static KeptRegistries* kept = new KeptRegistries;
  return *kept;
}

bool Refuse(GCL_Status& status, int code, const char* message) {
  status.reset(static_cast<std::uint32_t>(code));
  status.push_message(GCL_String(message));
  return false;
}

}  // namespace

RVL_VobRgyTagCache::RVL_VobRgyTagCache() : LC_TDynamicMap(NameHash, 128) {}
RVL_VobRgyObjCache::RVL_VobRgyObjCache() : LC_TDynamicMap(UuidHash, 128) {}
RVL_VobRegionCache::RVL_VobRegionCache() : LC_TDynamicMap(NameHash, 32) {}
RVL_VobRegistryCache::RVL_VobRegistryCache() : LC_TDynamicMap(GCL_StringHash, 8) {}

// ---- Factories ----

bool RVL_RgyFactory::text(GCL_Status&, GCL_String* region) const {
  *region = GCL_String();
  return true;
}

bool RVL_RgyFactory::load(GCL_Status& status) {
  if (!needs_loading_) return true;
  make_empty();
  GCL_String region;
  if (!text(status, &region)) return false;
  rgy_cursor_t cursor = nullptr;
  if (RVL_Call(status, [&] { return rgy_open_cursor(context_, region.c_str(), &cursor); }) != 0) return false;
  const std::unique_ptr<rgy_cursor, int (*)(rgy_cursor_t)> closer(cursor, rgy_close_cursor);
  for (;;) {
    rgy_entry_t batch[kBatch] = {};
    int count = 0;
    if (RVL_Call(status, [&] { return rgy_get_entry(cursor, kBatch, batch, &count); }) != 0) {
      make_empty();
      return false;
    }
    // Owned at once, so a failure part-way frees the rest of the batch.
    std::vector<RVL_RgyRecord> records;
    for (int i = 0; i < count; ++i) records.push_back(RVL_OwnRgyRecord(batch[i]));
    for (RVL_RgyRecord& record : records) {
      bind(status, std::move(record));
      if (!status.ok()) {
        make_empty();
        return false;
      }
    }
    if (count < kBatch) break;
  }
  needs_loading_ = false;
  return true;
}

template <class Key, class Cache, class Entry>
void RVL_RgyCacheFactory<Key, Cache, Entry>::make_empty() {
  cache_.MakeEmpty();
  set_needs_loading();
}

template <class Key, class Cache, class Entry>
Entry RVL_RgyCacheFactory<Key, Cache, Entry>::put(GCL_Status& status, RVL_RgyRecord record,
                                                   const GCL_String& old_key) {
  const Entry entry = Entry::make(status, std::move(record));
  if (old_key.length()) unbind(old_key);
  Key key;
  if (CacheKey(entry.key(), &key)) Put(cache_, key, entry);
  return entry;
}

template <class Key, class Cache, class Entry>
void RVL_RgyCacheFactory<Key, Cache, Entry>::unbind(const GCL_String& text) {
  Key key;
  if (CacheKey(text, &key)) cache_.Unbind(key);
}

template class RVL_RgyCacheFactory<GCL_String, RVL_VobRgyTagCache, RVL_VobRegistryTag>;
template class RVL_RgyCacheFactory<RVL_Uuid, RVL_VobRgyObjCache, RVL_VobRegistryObject>;
template class RVL_RgyCacheFactory<GCL_String, RVL_VobRegionCache, RVL_VobRegion>;

RVL_VobRgyTagFactory::RVL_VobRgyTagFactory() : RVL_RgyCacheFactory(RGY_KIND_VOB_TAG) {}

bool RVL_VobRgyTagFactory::text(GCL_Status& status, GCL_String* region) const {
  char name[kNameSize];
  if (RVL_Call(status, [&] { return rgy_get_default_region(name, sizeof name); }) != 0) return false;
  *region = GCL_String(name);
  return true;
}

RVL_VobRgyObjFactory::RVL_VobRgyObjFactory() : RVL_RgyCacheFactory(RGY_KIND_VOB_OBJECT) {}
RVL_VobRegionFactory::RVL_VobRegionFactory() : RVL_RgyCacheFactory(RGY_KIND_REGION) {}

// ---- Filters ----

bool RVL_VobFilter::accepts(const RVL_RegistryEntry& entry) const {
  const GCL_String value = entry.field(field);
  if (match == contains) return std::strstr(value.c_str(), text.c_str()) != nullptr;
  return value == text;
}

bool RVL_VobFilterList::accepts(const RVL_RegistryEntry& entry) const {
  for (const RVL_VobFilter& filter : *this)
    if (!filter.accepts(entry)) return false;
  return true;
}

// ---- The registry ----

bool RVL_VobRegistryRep::equals(const GCL_Body& other) const {
  const auto* registry = dynamic_cast<const RVL_VobRegistryRep*>(&other);
  return registry && registry->server_.same_host(server_);
}

void RVL_VobRegistryRep::print(std::ostream& out) const {
  out << GCL_IndentPrefix().c_str() << "Registry on server \"" << server_.name().c_str() << "\"\n";
}

RVL_VobRegistry RVL_VobRegistry::of_server(GCL_Status& status, const GCL_String& server) {
  if (server.length() == 0) {
    Refuse(status, TBS_ST_INVALID_ARG, "A registry needs the name of its server.\n");
    return RVL_VobRegistry();
  }
  KeptRegistries& kept = Kept();
  std::lock_guard lock(kept.mutex);
  RVL_VobRegistry registry;
  if (kept.cache.ValueOf(server, registry)) return registry;
  registry = RVL_VobRegistry(new RVL_VobRegistryRep(RVL_Host(server)));
  kept.cache.Bind(server, registry);
  return registry;
}

RVL_VobRegistry RVL_VobRegistry::default_registry(GCL_Status& status) {
  char host[kNameSize];
  if (RVL_Call(status, [&] { return rgy_get_server_host(host, sizeof host); }) != 0)
    return RVL_VobRegistry(new RVL_VobRegistryRep(RVL_Host(GCL_String())));
  return of_server(status, GCL_String(host));
}

void RVL_VobRegistry::forget_all() {
  KeptRegistries& kept = Kept();
  RVL_VobRegistryCache forgotten;
  {
    std::lock_guard lock(kept.mutex);
    std::swap(forgotten, kept.cache);
  }
}

std::uint32_t RVL_VobRegistry::kept_count() {
  KeptRegistries& kept = Kept();
  std::lock_guard lock(kept.mutex);
  return kept.cache.Extent();
}

namespace {

// The entry under a key once the factory's cache is loaded; null when none.
template <class Factory, class Key>
auto FindIn(GCL_Status& status, Factory* factory, const Key& key) {
  decltype(factory->put(status, nullptr, GCL_String())) entry;
  if (!factory)
    RVL_InternalError(status, kModule, __LINE__, "registry object is NULL");
  else if (factory->load(status))
    factory->cache().ValueOf(key, entry);
  return entry;
}

}  // namespace

RVL_VobRegistryTag RVL_VobRegistry::find_tag(GCL_Status& status, const GCL_String& name) const {
  return FindIn(status, rep() ? &rep()->tags_ : nullptr, name);
}

RVL_VobRegistryObject RVL_VobRegistry::find_object(GCL_Status& status, const RVL_Uuid& uuid) const {
  return FindIn(status, rep() ? &rep()->objects_ : nullptr, uuid);
}

RVL_VobRegion RVL_VobRegistry::find_region(GCL_Status& status, const GCL_String& name) const {
  return FindIn(status, rep() ? &rep()->regions_ : nullptr, name);
}

namespace {

template <class Factory, class Entry>
bool ListFrom(GCL_Status& status, Factory* factory, std::vector<Entry>* entries, const RVL_VobFilterList* filters) {
  entries->clear();
  if (!factory) {
    RVL_InternalError(status, kModule, __LINE__, "registry object is NULL");
    return false;
  }
  if (!factory->load(status)) return false;
  factory->cache().ForEach([&](const auto&, const Entry& entry) {
    if (!filters || filters->accepts(entry)) entries->push_back(entry);
  });
  return true;
}

}  // namespace

bool RVL_VobRegistry::list_tags(GCL_Status& status, std::vector<RVL_VobRegistryTag>* tags,
                                const RVL_VobFilterList* filters) const {
  return ListFrom(status, rep() ? &rep()->tags_ : nullptr, tags, filters);
}

bool RVL_VobRegistry::list_objects(GCL_Status& status, std::vector<RVL_VobRegistryObject>* objects,
                                   const RVL_VobFilterList* filters) const {
  return ListFrom(status, rep() ? &rep()->objects_ : nullptr, objects, filters);
}

bool RVL_VobRegistry::list_regions(GCL_Status& status, std::vector<RVL_VobRegion>* regions) const {
  return ListFrom(status, rep() ? &rep()->regions_ : nullptr, regions, nullptr);
}

bool RVL_VobRegistry::default_region(GCL_Status& status, GCL_String* region) const {
  if (!rep()) {
    RVL_InternalError(status, kModule, __LINE__, "registry object is NULL");
    return false;
  }
  return rep()->tags_.text(status, region);
}

namespace {

// A new entry of a kind with the fields, added to the registry; its record
// holds what was stored.
RVL_RgyRecord AddEntry(GCL_Status& status, int kind, const char* region, const RVL_RgyFields& fields) {
  rgy_entry_t made = nullptr;
  if (RVL_Call(status, [&] { return rgy_create_entry(kind, &made); }) != 0) return nullptr;
  RVL_RgyRecord record = RVL_OwnRgyRecord(made);
  for (const auto& [field, value] : fields)
    if (RVL_Call(status, [&] { return rgy_setstring_in_entry(made, static_cast<int>(field), value.c_str()); }) != 0)
      return nullptr;
  if (RVL_Call(status, [&] { return rgy_add_entry(region, made); }) != 0) return nullptr;
  return record;
}

bool Has(const RVL_RgyFields& fields, RVL_RgyField field) {
  const auto found = fields.find(field);
  return found != fields.end() && found->second.length() != 0;
}

}  // namespace

RVL_VobRegistryTag RVL_VobRegistry::create_tag(GCL_Status& status, const RVL_RgyFields& fields) const {
  GCL_String region;
  if (!Has(fields, RVL_RgyField::tag_name)) {
    Refuse(status, TBS_ST_INVALID_ARG, "A VOB tag needs a name.\n");
    return RVL_VobRegistryTag();
  }
  if (!default_region(status, &region)) return RVL_VobRegistryTag();
  RVL_RgyRecord record = AddEntry(status, RGY_KIND_VOB_TAG, region.c_str(), fields);
  if (!record) return RVL_VobRegistryTag();
  RVL_VobRgyTagFactory& factory = rep()->tags_;
  const RVL_VobRegistryTag tag = factory.needs_loading() ? RVL_VobRegistryTag::make(status, record)
                                                         : factory.put(status, record, GCL_String());
  tell(RVL_RgyEvent::added, tag);
  return tag;
}

RVL_VobRegistryObject RVL_VobRegistry::create_object(GCL_Status& status, const RVL_RgyFields& fields) const {
  if (!rep()) {
    RVL_InternalError(status, kModule, __LINE__, "registry object is NULL");
    return RVL_VobRegistryObject();
  }
  if (!Has(fields, RVL_RgyField::uuid)) {
    Refuse(status, TBS_ST_INVALID_ARG, "A VOB object entry needs a UUID.\n");
    return RVL_VobRegistryObject();
  }
  RVL_RgyRecord record = AddEntry(status, RGY_KIND_VOB_OBJECT, nullptr, fields);
  if (!record) return RVL_VobRegistryObject();
  RVL_VobRgyObjFactory& factory = rep()->objects_;
  const RVL_VobRegistryObject object = factory.needs_loading() ? RVL_VobRegistryObject::make(status, record)
                                                               : factory.put(status, record, GCL_String());
  tell(RVL_RgyEvent::added, object);
  return object;
}

RVL_VobRegion RVL_VobRegistry::create_region(GCL_Status& status, const GCL_String& name,
                                             const GCL_String& comment) const {
  if (!rep()) {
    RVL_InternalError(status, kModule, __LINE__, "registry object is NULL");
    return RVL_VobRegion();
  }
  if (RVL_Call(status, [&] { return rgy_add_region(name.c_str(), comment.c_str()); }) != 0) return RVL_VobRegion();
  // The region's record comes from the next read of the regions.
  rep()->regions_.make_empty();
  const RVL_VobRegion region = find_region(status, name);
  if (!region.is_null()) tell(RVL_RgyEvent::added, region);
  return region;
}

bool RVL_VobRegistry::remove_tag(GCL_Status& status, const GCL_String& name) const {
  GCL_String region;
  if (!default_region(status, &region) || !rep()->tags_.load(status)) return false;
  if (RVL_Call(status, [&] { return rgy_remove_by_string(RGY_KIND_VOB_TAG, region.c_str(), name.c_str()); }) != 0)
    return false;
  RVL_VobRegistryTag removed;
  rep()->tags_.cache().ValueOf(name, removed);
  rep()->tags_.unbind(name);
  if (!removed.is_null()) tell(RVL_RgyEvent::removed, removed);
  return true;
}

bool RVL_VobRegistry::remove_object(GCL_Status& status, const RVL_Uuid& uuid) const {
  if (!rep()) {
    RVL_InternalError(status, kModule, __LINE__, "registry object is NULL");
    return false;
  }
  if (!rep()->objects_.load(status)) return false;
  if (RVL_Call(status, [&] { return rgy_remove_by_uuid(&uuid.uuid()); }) != 0) return false;
  RVL_VobRegistryObject removed;
  rep()->objects_.cache().ValueOf(uuid, removed);
  rep()->objects_.unbind(uuid.to_string());
  if (!removed.is_null()) tell(RVL_RgyEvent::removed, removed);
  return true;
}

void RVL_VobRegistry::entry_stored(GCL_Status& status, RVL_RgyKind kind, const GCL_String& old_key,
                                   RVL_RgyRecord record) const {
  if (!rep()) return;
  switch (kind) {
    case RVL_RgyKind::vob_tag: {
      RVL_VobRgyTagFactory& factory = rep()->tags_;
      tell(RVL_RgyEvent::changed, factory.needs_loading() ? RVL_VobRegistryTag::make(status, record)
                                                          : factory.put(status, record, old_key));
      return;
    }
    case RVL_RgyKind::vob_object: {
      RVL_VobRgyObjFactory& factory = rep()->objects_;
      tell(RVL_RgyEvent::changed, factory.needs_loading() ? RVL_VobRegistryObject::make(status, record)
                                                          : factory.put(status, record, old_key));
      return;
    }
    case RVL_RgyKind::region: {
      RVL_VobRegionFactory& factory = rep()->regions_;
      const RVL_VobRegion region =
          factory.needs_loading() ? RVL_VobRegion::make(status, record) : factory.put(status, record, old_key);
      // A renamed region takes its tags along: they are read again.
      if (region.key() != old_key) rep()->tags_.make_empty();
      tell(RVL_RgyEvent::changed, region);
      return;
    }
  }
}

void RVL_VobRegistry::tell(RVL_RgyEvent event, const RVL_VobRegistryTag& tag) const {
  rep()->tag_observers_.notify([&](RVL_VobRgyTagObserver& observer) { observer.tag_event(event, tag); });
  const GCL_String vob = tag.field(RVL_RgyField::uuid);
  rep()->vob_observers_.notify([&](RVL_VobObserver& observer) { observer.vob_event(event, vob); });
}

void RVL_VobRegistry::tell(RVL_RgyEvent event, const RVL_VobRegistryObject& object) const {
  rep()->object_observers_.notify([&](RVL_VobRgyObjObserver& observer) { observer.object_event(event, object); });
  const GCL_String vob = object.field(RVL_RgyField::uuid);
  rep()->vob_observers_.notify([&](RVL_VobObserver& observer) { observer.vob_event(event, vob); });
}

void RVL_VobRegistry::tell(RVL_RgyEvent event, const RVL_VobRegion& region) const {
  rep()->region_observers_.notify([&](RVL_VobRegionObserver& observer) { observer.region_event(event, region); });
}

bool RVL_VobRegistry::check_access(GCL_Status& status, const GCL_String& word) const {
  const int rc = RVL_Call(status, [&] { return rgy_chk_access(RGY_ACCESS_PASSWORD, word.c_str()); });
  if (rc == TBS_ST_NO_ACCESS) status.make_ok();
  return rc == TBS_ST_OK;
}

bool RVL_VobRegistry::may_change_tag(GCL_Status& status, const GCL_String& name) const {
  GCL_String region;
  if (!default_region(status, &region)) return false;
  const int rc =
      RVL_Call(status, [&] { return rgy_chk_tag_priv(RGY_KIND_VOB_TAG, region.c_str(), name.c_str()); });
  if (rc == TBS_ST_NO_ACCESS) status.make_ok();
  return rc == TBS_ST_OK;
}

bool RVL_VobRegistry::client_hosts(GCL_Status& status, std::vector<GCL_String>* hosts) const {
  hosts->clear();
  adm_clnt_list_t* list = nullptr;
  if (RVL_Call(status, [&] { return adm_clnt_list_get(&list); }) != 0) return false;
  for (std::uint32_t i = 0; i < list->count; ++i) hosts->push_back(GCL_String(list->names[i]));
  adm_clnt_list_free(list);
  return true;
}

void RVL_VobRegistry::add_observer(RVL_VobRgyTagObserver* observer) const {
  if (rep()) rep()->tag_observers_.add(observer);
}
void RVL_VobRegistry::add_observer(RVL_VobRgyObjObserver* observer) const {
  if (rep()) rep()->object_observers_.add(observer);
}
void RVL_VobRegistry::add_observer(RVL_VobRegionObserver* observer) const {
  if (rep()) rep()->region_observers_.add(observer);
}
void RVL_VobRegistry::add_observer(RVL_VobObserver* observer) const {
  if (rep()) rep()->vob_observers_.add(observer);
}
void RVL_VobRegistry::remove_observer(RVL_VobRgyTagObserver* observer) const {
  if (rep()) rep()->tag_observers_.remove(observer);
}
void RVL_VobRegistry::remove_observer(RVL_VobRgyObjObserver* observer) const {
  if (rep()) rep()->object_observers_.remove(observer);
}
void RVL_VobRegistry::remove_observer(RVL_VobRegionObserver* observer) const {
  if (rep()) rep()->region_observers_.remove(observer);
}
void RVL_VobRegistry::remove_observer(RVL_VobObserver* observer) const {
  if (rep()) rep()->vob_observers_.remove(observer);
}

void RVL_VobRegistry::describe(std::ostream& out) const {
  if (rep())
    rep()->print(out);
  else
    out << GCL_IndentPrefix().c_str() << "Registry is currently NULL\n";
}
