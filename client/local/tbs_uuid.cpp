#include "tbs_uuid.h"

#include <cstdio>
#include <cstring>

#include "local/calllog.h"
#include "tbs.h"

using client_local::CallLog;

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The text form's layout: per byte, where its two digits start; separators
// between the groups.
bool Parse(const char* text, std::uint8_t (&bytes)[16]) {
  static constexpr char kForm[] = "xxxxxxxx.xxxxxxxx.xxxx.xx:xx:xx:xx:xx:xx";
  static_assert(sizeof kForm - 1 == TBS_UUID_STR_LEN);
  if (std::strlen(text) != TBS_UUID_STR_LEN) return false;
  std::uint8_t result[16] = {};
  int byte = 0;
  for (std::size_t i = 0; i < TBS_UUID_STR_LEN;) {
    if (kForm[i] != 'x') {
      if (text[i] != kForm[i]) return false;
      ++i;
      continue;
    }
    const int high = HexValue(text[i]);
    const int low = HexValue(text[i + 1]);
    if (high < 0 || low < 0) return false;
    result[byte++] = static_cast<std::uint8_t>(high * 16 + low);
    i += 2;
  }
  std::memcpy(bytes, result, sizeof result);
  return true;
}

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
  const std::uint8_t* b = uuid->bytes;
  std::snprintf(out, size, "%02x%02x%02x%02x.%02x%02x%02x%02x.%02x%02x.%02x:%02x:%02x:%02x:%02x:%02x", b[0], b[1],
                b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
  return TBS_ST_OK;
}

int tbs_str_to_uuid(const char* text, tbs_uuid_t* uuid) {
  CallLog::Call call("tbs_str_to_uuid", {text ? text : "(null)"});
  if (call.Failed()) return call.Status();
  if (!text || !uuid) return call.Return(TBS_ST_INVALID_ARG);
  return call.Return(Parse(text, uuid->bytes) ? TBS_ST_OK : TBS_ST_INVALID_ARG);
}

int tbs_dstr_to_oid(const char* text, tbs_oid_t* oid) {
  CallLog::Call call("tbs_dstr_to_oid", {text ? text : "(null)"});
  if (call.Failed()) return call.Status();
  if (!text || !oid) return call.Return(TBS_ST_INVALID_ARG);
  return call.Return(Parse(text, oid->bytes) ? TBS_ST_OK : TBS_ST_INVALID_ARG);
}
