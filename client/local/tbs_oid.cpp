// The other text forms of identifiers, comparing, hashing and making them.
#include "tbs_oid.h"

#include <cstdio>
#include <cstring>
#include <random>

#include "local/local_call.h"
#include "local/id_text.h"
#include "tbs.h"

using client_local::LocalCall;
using client_local::NonNull;

namespace {


constexpr char kDashed[] = "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx";
static_assert(sizeof kDashed - 1 == TBS_DASHED_STR_LEN);
constexpr char kDotted[] = "xxxxxxxx.xxxxxxxx.xxxx.xx:xx:xx:xx:xx:xx";
static_assert(sizeof kDotted - 1 == TBS_UUID_STR_LEN);



int Compare(const std::uint8_t* a, const std::uint8_t* b) {
  static constexpr std::uint8_t kNull[16] = {};
  return std::memcmp(a ? a : kNull, b ? b : kNull, 16);
}

// FNV-1a over the 16 bytes.
std::uint32_t Hash(const std::uint8_t* bytes) {
  std::uint32_t hash = 2166136261u;
  for (int i = 0; i < 16; ++i) hash = (hash ^ (bytes ? bytes[i] : 0)) * 16777619u;
  return hash;
}

}  // namespace

int tbs_oid_to_str(const tbs_oid_t* oid, char* out, std::size_t size) {
  return client_local::FormatIdText(kDashed, oid ? oid->bytes : nullptr, out, size);
}
int tbs_oid_to_dstr(const tbs_oid_t* oid, char* out, std::size_t size) {
  return client_local::FormatIdText(kDotted, oid ? oid->bytes : nullptr, out, size);
}
int tbs_uuid_to_dstr(const tbs_uuid_t* uuid, char* out, std::size_t size) {
  return client_local::FormatIdText(kDashed, uuid ? uuid->bytes : nullptr, out, size);
}

int tbs_str_to_oid(const char* text, tbs_oid_t* oid) {
  return LocalCall("tbs_str_to_oid", {text ? text : "(null)"}, NonNull(text, oid), [&] {
    return client_local::ParseIdText(kDashed, text, oid->bytes) ? TBS_ST_OK : TBS_ST_INVALID_ARG;
  });
}

int tbs_dstr_to_uuid(const char* text, tbs_uuid_t* uuid) {
  return LocalCall("tbs_dstr_to_uuid", {text ? text : "(null)"}, NonNull(text, uuid), [&] {
    return client_local::ParseIdText(kDashed, text, uuid->bytes) ? TBS_ST_OK : TBS_ST_INVALID_ARG;
  });
}

int tbs_oid_cmp(const tbs_oid_t* a, const tbs_oid_t* b) {
  return Compare(a ? a->bytes : nullptr, b ? b->bytes : nullptr);
}
int tbs_uuid_cmp(const tbs_uuid_t* a, const tbs_uuid_t* b) {
  return Compare(a ? a->bytes : nullptr, b ? b->bytes : nullptr);
}
int tbs_oid_eq(const tbs_oid_t* a, const tbs_oid_t* b) { return tbs_oid_cmp(a, b) == 0; }
int tbs_uuid_eq(const tbs_uuid_t* a, const tbs_uuid_t* b) { return tbs_uuid_cmp(a, b) == 0; }
int tbs_oid_is_null(const tbs_oid_t* oid) { return tbs_oid_cmp(oid, nullptr) == 0; }
std::uint32_t tbs_oid_to_hash32(const tbs_oid_t* oid) { return Hash(oid ? oid->bytes : nullptr); }
std::uint32_t tbs_uuid_to_hash32(const tbs_uuid_t* uuid) { return Hash(uuid ? uuid->bytes : nullptr); }

int tbs_uuid_gen(tbs_uuid_t* uuid) {
  if (!uuid) return TBS_ST_INVALID_ARG;
  thread_local std::mt19937_64 engine{std::random_device{}()};
  do {
    const std::uint64_t high = engine(), low = engine();
    std::memcpy(uuid->bytes, &high, 8);
    std::memcpy(uuid->bytes + 8, &low, 8);
  } while (tbs_uuid_is_null(uuid));
  return TBS_ST_OK;
}

int tbs_strip_ver_ext_chars(const char* pathname, char* out, std::size_t size) {
  if (!pathname || !out || size == 0) return TBS_ST_INVALID_ARG;
  const char* at = std::strstr(pathname, "@@");
  const std::size_t length = at ? static_cast<std::size_t>(at - pathname) : std::strlen(pathname);
  if (length + 1 > size) {
    out[0] = '\0';
    return TBS_ST_INVALID_ARG;
  }
  std::memmove(out, pathname, length);
  out[length] = '\0';
  return TBS_ST_OK;
}
