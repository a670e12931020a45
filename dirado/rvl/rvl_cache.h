#pragma once
// The object cache switch: while any RVL_VobObjectCache handle lives, the
// repository's object cache is on. All handles share one process-wide body
// with an activation count and a generation number; the generation moves on
// each time the cache is switched off, so records stamped with an older one
// are known to be stale. Setting DIRADO_CACHE to "off" keeps the cache off;
// "verbose" prints a banner when it is switched on and off.
#include <cstdint>

#include "gcl_handle.h"

class RVL_VobObjectCacheRep : public GCL_Body {
 public:
  // The one body.
  static RVL_VobObjectCacheRep& instance();
  ~RVL_VobObjectCacheRep() override;
  bool is_null() const override { return false; }

  void activate();
  void deactivate();
  std::int32_t activation_count() const;
  std::uint32_t generation_number() const;
  bool active() const;
  // The generation while active, else 0.
  std::uint32_t current_generation() const;

 private:
  RVL_VobObjectCacheRep() = default;
  void disable_locked();
};

class RVL_VobObjectCache : public GCL_Handle<RVL_VobObjectCacheRep> {
 public:
  RVL_VobObjectCache();
  RVL_VobObjectCache(const RVL_VobObjectCache& other);
  RVL_VobObjectCache& operator=(const RVL_VobObjectCache& other) = delete;
  ~RVL_VobObjectCache() override;

  static bool active();
  static std::uint32_t current_generation();
  static std::int32_t activation_count();
  static std::uint32_t generation_number();
};
