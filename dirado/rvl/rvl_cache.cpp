// The object cache switch.
#include "rvl_cache.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "vob.h"

namespace {

// The switch's state: changed only under the lock, so that handles made and
// dropped on several threads keep the count, the generation and the
// repository's cache in step.
struct CacheState {
  std::mutex mutex;
  std::int32_t count = 0;
  std::uint32_t generation = 100;
};

CacheState& State() {
  static CacheState state;
  return state;
}

const char* Setting() {
  const char* value = std::getenv("DIRADO_CACHE");
  return value ? value : "";
}

void Banner(const char* text) {
  std::fputs(text, stdout);
  std::fflush(stdout);
}

}  // namespace

RVL_VobObjectCacheRep& RVL_VobObjectCacheRep::instance() {
  // The body lives for the process: the reference taken here keeps handles
  // from ever destroying it.
  static RVL_VobObjectCacheRep* body = [] {
    State();  // made first, so it outlives the body
    static RVL_VobObjectCacheRep one;
    one.add_reference();
    return &one;
  }();
  return *body;
}

RVL_VobObjectCacheRep::~RVL_VobObjectCacheRep() {
  CacheState& state = State();
  std::lock_guard lock(state.mutex);
  if (state.count != 0) disable_locked();
}

void RVL_VobObjectCacheRep::activate() {
  CacheState& state = State();
  std::lock_guard lock(state.mutex);
  if (state.count >= 1) {
    ++state.count;
    return;
  }
  const char* setting = Setting();
  if (std::strcmp(setting, "off") == 0) return;
  if (std::strcmp(setting, "verbose") == 0) Banner("======================= enabling vob object cache\n");
  if (vob_ob_all_cache_action(VOB_CACHE_ENABLE) != 0) {
    vob_ob_all_cache_action(VOB_CACHE_DISABLE);  // the failure is forgotten
    return;
  }
  state.count = 1;
}

void RVL_VobObjectCacheRep::deactivate() {
  CacheState& state = State();
  std::lock_guard lock(state.mutex);
  if (state.count == 1)
    disable_locked();
  else if (state.count > 1)
    --state.count;
}

void RVL_VobObjectCacheRep::disable_locked() {
  CacheState& state = State();
  state.count = 0;
  ++state.generation;
  if (std::strcmp(Setting(), "verbose") == 0) {
    Banner("======================= disabling vob object cache\n");
    Banner("======================= vob object cache stats:\n");
    vob_ob_all_cache_action(VOB_CACHE_STATS);
  }
  vob_ob_all_cache_action(VOB_CACHE_DISABLE);
}

std::int32_t RVL_VobObjectCacheRep::activation_count() const {
  CacheState& state = State();
  std::lock_guard lock(state.mutex);
  return state.count;
}

std::uint32_t RVL_VobObjectCacheRep::generation_number() const {
  CacheState& state = State();
  std::lock_guard lock(state.mutex);
  return state.generation;
}

bool RVL_VobObjectCacheRep::active() const { return activation_count() > 0; }

std::uint32_t RVL_VobObjectCacheRep::current_generation() const {
  CacheState& state = State();
  std::lock_guard lock(state.mutex);
  return state.count > 0 ? state.generation : 0;
}

RVL_VobObjectCache::RVL_VobObjectCache() : GCL_Handle<RVL_VobObjectCacheRep>(&RVL_VobObjectCacheRep::instance()) {
  rep()->activate();
}

RVL_VobObjectCache::RVL_VobObjectCache(const RVL_VobObjectCache& other) : GCL_Handle<RVL_VobObjectCacheRep>(other) {
  rep()->activate();
}

RVL_VobObjectCache::~RVL_VobObjectCache() { rep()->deactivate(); }

bool RVL_VobObjectCache::active() { return RVL_VobObjectCacheRep::instance().active(); }
std::uint32_t RVL_VobObjectCache::current_generation() {
  return RVL_VobObjectCacheRep::instance().current_generation();
}
std::int32_t RVL_VobObjectCache::activation_count() { return RVL_VobObjectCacheRep::instance().activation_count(); }
std::uint32_t RVL_VobObjectCache::generation_number() {
  return RVL_VobObjectCacheRep::instance().generation_number();
}
