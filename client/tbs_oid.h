#pragma once
// More identifier calls: the two text forms of OIDs and UUIDs, comparing,
// hashing and making identifiers, and version-extended pathnames.
//
// The plain form of an identifier is "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx"
// for OIDs; the UUID's plain form is its text form of tbs_uuid.h. The
// display ("d") forms are the other way round: an OID shows in the text
// form of tbs_uuid.h ("xxxxxxxx.xxxxxxxx.xxxx.xx:xx:..."), a UUID in the
// dashed form. Both are lower-case hexadecimal; upper case is read too.
#include <cstddef>
#include <cstdint>

#include "tbs_uuid.h"

// Characters of the dashed form, and its buffer with the terminator.
inline constexpr std::size_t TBS_DASHED_STR_LEN = 36;
inline constexpr std::size_t TBS_DASHED_STR_SIZE = TBS_DASHED_STR_LEN + 1;
// A buffer that holds either form.
inline constexpr std::size_t TBS_ID_STR_SIZE = TBS_UUID_STR_SIZE;

// Text forms into out (size bytes, terminated): 0; TBS_ST_INVALID_ARG for a null argument
// or a buffer too small (out is then left empty when it has room).
int tbs_oid_to_str(const tbs_oid_t* oid, char* out, std::size_t size);
int tbs_oid_to_dstr(const tbs_oid_t* oid, char* out, std::size_t size);
int tbs_uuid_to_dstr(const tbs_uuid_t* uuid, char* out, std::size_t size);

// Reads a text form (exactly, nothing before or after): 0; TBS_ST_INVALID_ARG for a null
// argument or text that is not the form (the result is left as it was).
int tbs_str_to_oid(const char* text, tbs_oid_t* oid);
int tbs_dstr_to_uuid(const char* text, tbs_uuid_t* uuid);

// Byte-wise comparison: negative, 0 or positive. Null pointers read as the
// null identifier.
int tbs_oid_cmp(const tbs_oid_t* a, const tbs_oid_t* b);
int tbs_uuid_cmp(const tbs_uuid_t* a, const tbs_uuid_t* b);
// Non-zero when equal.
int tbs_oid_eq(const tbs_oid_t* a, const tbs_oid_t* b);
int tbs_uuid_eq(const tbs_uuid_t* a, const tbs_uuid_t* b);
int tbs_oid_is_null(const tbs_oid_t* oid);
// 32-bit hashes of the bytes (the same for equal identifiers).
std::uint32_t tbs_oid_to_hash32(const tbs_oid_t* oid);
std::uint32_t tbs_uuid_to_hash32(const tbs_uuid_t* uuid);

// A new, random, never-null UUID. 0; TBS_ST_INVALID_ARG for a null pointer.
int tbs_uuid_gen(tbs_uuid_t* uuid);

// The pathname without its version extension: everything from the first
// "@@" on is left out ("\vob\f.c@@\main\2" gives "\vob\f.c"). 0; TBS_ST_INVALID_ARG for a
// null argument or a buffer too small (the buffer is then left empty).
int tbs_strip_ver_ext_chars(const char* pathname, char* out, std::size_t size);
