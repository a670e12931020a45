#pragma once
// Identifiers of the client libraries: UUIDs (of VOBs, replicas, registry
// entries) and object identifiers (OIDs) are 16 bytes each.
//
// Their text form is "xxxxxxxx.xxxxxxxx.xxxx.xx:xx:xx:xx:xx:xx" (bytes 0-3,
// 4-7, 8-9, then 10-15, in lower-case hexadecimal; upper case is read too).
// The null identifier is all zero bytes.
#include <cstddef>
#include <cstdint>

struct tbs_uuid_t {
  std::uint8_t bytes[16];
};
struct tbs_oid_t {
  std::uint8_t bytes[16];
};
static_assert(sizeof(tbs_uuid_t) == 16 && sizeof(tbs_oid_t) == 16);

inline constexpr tbs_uuid_t TBS_UUID_NULL{};
inline constexpr tbs_oid_t TBS_OID_NULL{};

// Characters of the text form, and the buffer it needs with its terminator.
inline constexpr std::size_t TBS_UUID_STR_LEN = 40;
inline constexpr std::size_t TBS_UUID_STR_SIZE = TBS_UUID_STR_LEN + 1;

// Non-zero when every byte is zero (a null pointer counts as null).
int tbs_uuid_is_null(const tbs_uuid_t* uuid);

// The text form into out (size bytes, terminated). 0; TBS_ST_INVALID_ARG for a null
// argument or a buffer smaller than TBS_UUID_STR_SIZE (out is then left
// empty when it has room for that).
int tbs_uuid_to_str(const tbs_uuid_t* uuid, char* out, std::size_t size);

// Reads the text form (exactly, nothing before or after). 0; TBS_ST_INVALID_ARG for a null
// argument or text that is not the form (the result is then left as it was).
int tbs_str_to_uuid(const char* text, tbs_uuid_t* uuid);

// The object identifier named by a UUID's text form (the same bytes).
// 0; TBS_ST_INVALID_ARG as for tbs_str_to_uuid.
int tbs_dstr_to_oid(const char* text, tbs_oid_t* oid);
