#pragma once
// The registry of a server: its VOB tags (in the machine's default region),
// VOB object entries and regions, each kind read once into a cache through
// its factory and then answered from there; creating, changing and removing
// entries keeps the caches in step and tells that kind's observers. The
// registries themselves are kept process-wide by server name.
//
// The process-wide registry cache has its own lock; a registry's caches and
// observer lists are not locked: callers hold the client lock.
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <vector>

#include "gcl_handle.h"
#include "gcl_string.h"
#include "lc_collection.h"
#include "lc_map.h"
#include "rvl_host.h"
#include "rvl_ids.h"
#include "rvl_rgy_entry.h"

class GCL_Status;

// ---- Caches ----

class RVL_VobRgyTagCache : public LC_TDynamicMap<GCL_String, RVL_VobRegistryTag, 256> {
 public:
  RVL_VobRgyTagCache();
};

class RVL_VobRgyObjCache : public LC_TDynamicMap<RVL_Uuid, RVL_VobRegistryObject, 256> {
 public:
  RVL_VobRgyObjCache();
};

class RVL_VobRegionCache : public LC_TDynamicMap<GCL_String, RVL_VobRegion, 32> {
 public:
  RVL_VobRegionCache();
};

// ---- Factories: fill a cache from the registry ----

class RVL_RgyFactory {
 public:
  virtual ~RVL_RgyFactory() = default;
  RVL_RgyFactory(const RVL_RgyFactory&) = delete;
  RVL_RgyFactory& operator=(const RVL_RgyFactory&) = delete;

  // Empties the cache and marks the factory as needing loading.
  virtual void make_empty() = 0;
  // Makes the entry object of a record and binds it under its key.
  virtual void bind(GCL_Status& status, RVL_RgyRecord record) = 0;
  // Drops the entry bound under a key.
  virtual void unbind(const GCL_String& key) = 0;
  // The region the factory's entries are read from ("" for none).
  virtual bool text(GCL_Status& status, GCL_String* region) const;

  bool needs_loading() const { return needs_loading_; }
  // Reads every entry, 32 at a time, when the factory needs loading. The
  // cache counts as loaded only after a complete read: on a failure it is
  // left empty, still needing loading, with the code and messages on the
  // status; every record read is freed and the cursor closed either way.
  bool load(GCL_Status& status);

 protected:
  // The registry kind (rgy_open_cursor) the entries are read with.
  explicit RVL_RgyFactory(int context) : context_(context) {}
  void set_needs_loading() { needs_loading_ = true; }

 private:
  bool needs_loading_ = true;
  int context_;
};

// A factory over its cache: entries are bound under their key (Key, read
// from the entry's key text).
template <class Key, class Cache, class Entry>
class RVL_RgyCacheFactory : public RVL_RgyFactory {
 public:
  void make_empty() override;
  void bind(GCL_Status& status, RVL_RgyRecord record) override { put(status, std::move(record), GCL_String()); }
  void unbind(const GCL_String& key) override;
  // The entry of a record, bound in place of the one under old_key (if any).
  Entry put(GCL_Status& status, RVL_RgyRecord record, const GCL_String& old_key);
  const Cache& cache() const { return cache_; }

 protected:
  using RVL_RgyFactory::RVL_RgyFactory;

 private:
  Cache cache_;
};

class RVL_VobRgyTagFactory : public RVL_RgyCacheFactory<GCL_String, RVL_VobRgyTagCache, RVL_VobRegistryTag> {
 public:
  RVL_VobRgyTagFactory();
  // The machine's default region.
  bool text(GCL_Status& status, GCL_String* region) const override;
};

class RVL_VobRgyObjFactory : public RVL_RgyCacheFactory<RVL_Uuid, RVL_VobRgyObjCache, RVL_VobRegistryObject> {
 public:
  RVL_VobRgyObjFactory();
};

class RVL_VobRegionFactory : public RVL_RgyCacheFactory<GCL_String, RVL_VobRegionCache, RVL_VobRegion> {
 public:
  RVL_VobRegionFactory();
};

// ---- Observers: told after an entry of their kind changed ----

enum class RVL_RgyEvent { added, changed, removed };

class RVL_VobRgyTagObserver {
 public:
  virtual ~RVL_VobRgyTagObserver() = default;
  // The tag as it is now (as it was, for removed).
  virtual void tag_event(RVL_RgyEvent event, const RVL_VobRegistryTag& tag) = 0;
};
class RVL_VobRgyObjObserver {
 public:
  virtual ~RVL_VobRgyObjObserver() = default;
  virtual void object_event(RVL_RgyEvent event, const RVL_VobRegistryObject& object) = 0;
};
class RVL_VobRegionObserver {
 public:
  virtual ~RVL_VobRegionObserver() = default;
  virtual void region_event(RVL_RgyEvent event, const RVL_VobRegion& region) = 0;
};
// Told of every change of a VOB's tag or object entry, with the VOB's UUID.
class RVL_VobObserver {
 public:
  virtual ~RVL_VobObserver() = default;
  virtual void vob_event(RVL_RgyEvent event, const GCL_String& vob_uuid) = 0;
};

// Observers by pointer (not owned). An observer removed while a notification
// runs is not told any more; one added then is told from the next one on.
template <class Observer>
class RVL_ObserverList : public LC_TDynamicCollection<Observer*> {
 public:
  void add(Observer* observer) {
    if (observer && this->Location(observer) == LC_npos) this->Append(observer);
  }
  void remove(Observer* observer) {
    const std::uint32_t at = this->Location(observer);
    if (at != LC_npos) this->Remove(at);
  }
  template <class Tell>
  void notify(Tell&& tell) const {
    const LC_TDynamicCollection<Observer*> snapshot(*this);
    for (Observer* observer : snapshot)
      if (this->Location(observer) != LC_npos) tell(*observer);
  }
};

class RVL_VobRgyTagObserverList : public RVL_ObserverList<RVL_VobRgyTagObserver> {};
class RVL_VobRgyObjObserverList : public RVL_ObserverList<RVL_VobRgyObjObserver> {};
class RVL_VobRegionObserverList : public RVL_ObserverList<RVL_VobRegionObserver> {};
class RVL_VobObserverList : public RVL_ObserverList<RVL_VobObserver> {};

// ---- Filters: conditions an entry must meet to be listed ----

struct RVL_VobFilter {
  enum Match { equals, contains };
  RVL_RgyField field = RVL_RgyField::tag_name;
  GCL_String text;
  Match match = equals;

  bool accepts(const RVL_RegistryEntry& entry) const;
  bool operator==(const RVL_VobFilter& other) const {
    return field == other.field && text == other.text && match == other.match;
  }
};

class RVL_VobFilterList : public LC_TDynamicCollection<RVL_VobFilter> {
 public:
  // Every filter accepts the entry (an empty list accepts all).
  bool accepts(const RVL_RegistryEntry& entry) const;
};

// ---- The registry ----

class RVL_VobRegistryRep : public GCL_Body {
 public:
  explicit RVL_VobRegistryRep(const RVL_Host& server) : server_(server) {}
  bool is_null() const override { return server_.name().length() == 0; }
  bool equals(const GCL_Body& other) const override;
  // "Registry on server \"HOST\"".
  void print(std::ostream& out) const override;

  RVL_Host server_;
  RVL_VobRgyTagFactory tags_;
  RVL_VobRegionFactory regions_;
  RVL_VobRgyObjFactory objects_;
  RVL_VobRgyTagObserverList tag_observers_;
  RVL_VobRgyObjObserverList object_observers_;
  RVL_VobRegionObserverList region_observers_;
  RVL_VobObserverList vob_observers_;
};

class RVL_VobRegistry : public GCL_Handle<RVL_VobRegistryRep> {
 public:
  RVL_VobRegistry() = default;
  // The registry of a server: one body per name for the life of the
  // process (a null handle for an empty name, with TBS_ST_INVALID_ARG).
  static RVL_VobRegistry of_server(GCL_Status& status, const GCL_String& server);
  // The registry of the server the machine's registry names
  // (rgy_get_server_host). When there is none, a registry with a null host
  // that is not kept, and the failure on the status.
  static RVL_VobRegistry default_registry(GCL_Status& status);
  // Forgets every registry kept (for tests and callers that change stores).
  static void forget_all();
  // For tests: the number of registries kept.
  static std::uint32_t kept_count();

  bool is_null() const { return !rep(); }
  RVL_Host server() const { return rep() ? rep()->server_ : RVL_Host(GCL_String()); }

  // Finding answers a null handle with a successful status for a name that
  // is not there; a load failure stays on the status.
  RVL_VobRegistryTag find_tag(GCL_Status& status, const GCL_String& name) const;
  RVL_VobRegistryObject find_object(GCL_Status& status, const RVL_Uuid& uuid) const;
  RVL_VobRegion find_region(GCL_Status& status, const GCL_String& name) const;
  // The cached entries that every filter accepts, in cache order.
  bool list_tags(GCL_Status& status, std::vector<RVL_VobRegistryTag>* tags,
                 const RVL_VobFilterList* filters = nullptr) const;
  bool list_objects(GCL_Status& status, std::vector<RVL_VobRegistryObject>* objects,
                    const RVL_VobFilterList* filters = nullptr) const;
  bool list_regions(GCL_Status& status, std::vector<RVL_VobRegion>* regions) const;

  // Adds a tag to the default region (it needs a tag name) or an object
  // entry (it needs a UUID); the new entry is cached and its observers told.
  RVL_VobRegistryTag create_tag(GCL_Status& status, const RVL_RgyFields& fields) const;
  RVL_VobRegistryObject create_object(GCL_Status& status, const RVL_RgyFields& fields) const;
  RVL_VobRegion create_region(GCL_Status& status, const GCL_String& name, const GCL_String& comment) const;
  bool remove_tag(GCL_Status& status, const GCL_String& name) const;
  bool remove_object(GCL_Status& status, const RVL_Uuid& uuid) const;

  // Whether the word is the registry password: a refusal answers false with
  // a successful status, any other failure false with its code.
  bool check_access(GCL_Status& status, const GCL_String& word) const;
  // Whether the calling user may change or remove the tag (refusal: false,
  // successful status).
  bool may_change_tag(GCL_Status& status, const GCL_String& name) const;
  // The machine's default region, where the tags are.
  bool default_region(GCL_Status& status, GCL_String* region) const;
  // The client hosts known to the server.
  bool client_hosts(GCL_Status& status, std::vector<GCL_String>* hosts) const;

  void add_observer(RVL_VobRgyTagObserver* observer) const;
  void add_observer(RVL_VobRgyObjObserver* observer) const;
  void add_observer(RVL_VobRegionObserver* observer) const;
  void add_observer(RVL_VobObserver* observer) const;
  void remove_observer(RVL_VobRgyTagObserver* observer) const;
  void remove_observer(RVL_VobRgyObjObserver* observer) const;
  void remove_observer(RVL_VobRegionObserver* observer) const;
  void remove_observer(RVL_VobObserver* observer) const;

  // An update stored a record: the cached entry under old_key is replaced
  // by one made from it, and the kind's observers are told.
  void entry_stored(GCL_Status& status, RVL_RgyKind kind, const GCL_String& old_key, RVL_RgyRecord record) const;

  void describe(std::ostream& out) const;

 private:
  explicit RVL_VobRegistry(RVL_VobRegistryRep* rep) : GCL_Handle<RVL_VobRegistryRep>(rep) {}
  void tell(RVL_RgyEvent event, const RVL_VobRegistryTag& tag) const;
  void tell(RVL_RgyEvent event, const RVL_VobRegistryObject& object) const;
  void tell(RVL_RgyEvent event, const RVL_VobRegion& region) const;

};

class RVL_VobRegistryCache : public LC_TDynamicMap<GCL_String, RVL_VobRegistry, 8> {
 public:
  RVL_VobRegistryCache();
};
