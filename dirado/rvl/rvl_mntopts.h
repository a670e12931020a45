#pragma once
// VOB mount options: the record behind a VOB tag's option text, with its
// storage pool map. The text form lists only what differs from the defaults,
// each option followed by ",": all defaults give "".
#include <cstdint>
#include <iosfwd>

#include "gcl_string.h"
#include "lc_map.h"

class GCL_Status;

// Storage pool name -> storage pathname. Its text is "POOL:PATH" per pool,
// joined by "|", in the map's own (bucket) order.
class RVL_PoolMap : public LC_TDynamicMap<GCL_String, GCL_String, 8> {
 public:
  RVL_PoolMap();
  GCL_String text() const;
  // Replaces the map with the pools of a map text. On failure the status
  // gets the code and message and the map is left as it was.
  bool parse(GCL_Status& status, const GCL_String& text);
  bool operator==(const RVL_PoolMap& other) const;
};

struct RVL_VobMountOptions {
  bool mount_all = true;
  bool read_write = true;
  bool hard_mount = true;
  bool interrupts_disabled = true;
  bool name_caching = true;
  bool set_uid = true;
  bool attribute_caching = true;
  std::uint32_t timeout = 5;
  std::uint32_t retries = 7;
  std::uint32_t dir_lookup_min = 30;
  std::uint32_t dir_lookup_max = 60;
  std::uint32_t file_lookup_min = 3;
  std::uint32_t file_lookup_max = 60;
  RVL_PoolMap pool_map;
  std::uint32_t export_id = 0;

  // The text form ("ro,timeo=10," ...).
  GCL_String format() const;
  // Reads a text form over the defaults. "public" and "private" belong to
  // the tag: they set *public_access when given (else they are skipped).
  // On failure (an unknown keyword, a bad or missing number, a bad pool
  // map) the status gets TBS_ST_INVALID_ARG with a message naming the option and the
  // record is left as it was.
  bool parse(GCL_Status& status, const GCL_String& text, bool* public_access = nullptr);
  // The "Vob Mount Options" section, one line per field.
  void describe(std::ostream& out) const;

  bool operator==(const RVL_VobMountOptions& other) const;
};
