#pragma once
// Identifier values: object identifiers (OIDs) and UUIDs, 16 bytes each,
// compared, ordered and hashed byte-wise, in two text forms each.
#include <cstdint>

#include "gcl_string.h"
#include "tbs_uuid.h"

class GCL_Status;

class RVL_Oid {
 public:
  RVL_Oid() : oid_(TBS_OID_NULL) {}
  explicit RVL_Oid(const tbs_oid_t& oid) : oid_(oid) {}
  // Reads either text form (tbs_str_to_oid, then tbs_dstr_to_oid). When
  // neither reads, the result is the null OID and the status gets TBS_ST_FAILURE with
  // "String does not represent a valid object ID.".
  static RVL_Oid parse(GCL_Status& status, const GCL_String& text);

  const tbs_oid_t& oid() const { return oid_; }
  bool is_null() const;
  GCL_String to_string() const;   // tbs_oid_to_str
  GCL_String to_dstring() const;  // tbs_oid_to_dstr
  std::uint32_t hash() const;

  bool operator==(const RVL_Oid& other) const;
  bool operator!=(const RVL_Oid& other) const { return !(*this == other); }
  bool operator<(const RVL_Oid& other) const;
  bool operator<=(const RVL_Oid& other) const;
  bool operator>(const RVL_Oid& other) const;
  bool operator>=(const RVL_Oid& other) const;

 private:
  tbs_oid_t oid_;
};

class RVL_Uuid {
 public:
  RVL_Uuid() : uuid_(TBS_UUID_NULL) {}
  explicit RVL_Uuid(const tbs_uuid_t& uuid) : uuid_(uuid) {}
  // Reads either text form (tbs_str_to_uuid, then tbs_dstr_to_uuid). When
  // neither reads, the result is the null UUID and the status gets TBS_ST_FAILURE with
  // "String does not represent a valid UUID.".
  static RVL_Uuid parse(GCL_Status& status, const GCL_String& text);
  // A new UUID (tbs_uuid_gen).
  static RVL_Uuid generate();

  const tbs_uuid_t& uuid() const { return uuid_; }
  bool is_null() const;
  GCL_String to_string() const;   // tbs_uuid_to_str
  GCL_String to_dstring() const;  // tbs_uuid_to_dstr
  std::uint32_t hash() const;     // tbs_uuid_to_hash32

  bool operator==(const RVL_Uuid& other) const;
  bool operator!=(const RVL_Uuid& other) const { return !(*this == other); }
  bool operator<(const RVL_Uuid& other) const;
  bool operator<=(const RVL_Uuid& other) const;
  bool operator>(const RVL_Uuid& other) const;
  bool operator>=(const RVL_Uuid& other) const;

 private:
  tbs_uuid_t uuid_;
};
