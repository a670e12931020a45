#include "tbs_uuid.h"

#include <cstdio>
#include <cstring>

#include "local/local_call.h"
#include "local/id_text.h"
#include "tbs.h"

using client_local::LocalCall;
using client_local::NonNull;

namespace {

constexpr char kDotted[] = "xxxxxxxx.xxxxxxxx.xxxx.xx:xx:xx:xx:xx:xx";
static_assert(sizeof kDotted - 1 == TBS_UUID_STR_LEN);

bool Parse(const char* text, std::uint8_t (&bytes)[16]) { return client_local::ParseIdText(kDotted, text, bytes); }

}  // namespace

int tbs_uuid_is_null(const tbs_uuid_t* uuid) {
  if (!uuid) return 1;
  for (std::uint8_t b : uuid->bytes)
    if (b) return 0;
  return 1;
}

int tbs_uuid_to_str(const tbs_uuid_t* uuid, char* out, std::size_t size) {
  if (!uuid || !out || size < TBS_UUID_STR_SIZE) {
    if (out && size > 0) out[0] = '\0';
    return TBS_ST_INVALID_ARG;
  }
  return client_local::FormatIdText(kDotted, uuid->bytes, out, size);
}

int tbs_str_to_uuid(const char* text, tbs_uuid_t* uuid) {
  return LocalCall("tbs_str_to_uuid", {text ? text : "(null)"}, NonNull(text, uuid), [&] {
    return Parse(text, uuid->bytes) ? TBS_ST_OK : TBS_ST_INVALID_ARG;
  });
}

int tbs_dstr_to_oid(const char* text, tbs_oid_t* oid) {
  return LocalCall("tbs_dstr_to_oid", {text ? text : "(null)"}, NonNull(text, oid), [&] {
    return Parse(text, oid->bytes) ? TBS_ST_OK : TBS_ST_INVALID_ARG;
  });
}
