#include "local/id_text.h"

#include <cstring>

#include "platform/text.h"
#include "tbs.h"

namespace client_local {

int HexValue(char c) {
  if (plat::IsDecimalDigit(c)) return c - '0';
  const char lower = plat::AsciiLower(c);
  return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

bool ParseIdText(const char* layout, const char* text, std::uint8_t (&bytes)[16]) {
  const std::size_t length = std::strlen(layout);
  if (!text || std::strlen(text) != length) return false;
  std::uint8_t result[16] = {};
  int byte = 0;
  for (std::size_t i = 0; i < length;) {
    if (layout[i] != 'x') {
      if (text[i] != layout[i]) return false;
      ++i;
      continue;
    }
    const int high = HexValue(text[i]);
    const int low = HexValue(text[i + 1]);
    if (high < 0 || low < 0 || byte >= 16) return false;
    result[byte++] = static_cast<std::uint8_t>(high * 16 + low);
    i += 2;
  }
  std::memcpy(bytes, result, sizeof result);
  return true;
}

int FormatIdText(const char* layout, const std::uint8_t* bytes, char* out, std::size_t size) {
  const std::size_t length = std::strlen(layout);
  if (!bytes || !out || size < length + 1) {
    if (out && size > 0) out[0] = '\0';
    return TBS_ST_INVALID_ARG;
  }
  static constexpr char kDigits[] = "0123456789abcdef";
  int byte = 0;
  for (std::size_t i = 0; i < length;) {
    if (layout[i] != 'x') {
      out[i] = layout[i];
      ++i;
      continue;
    }
    out[i] = kDigits[bytes[byte] >> 4];
    out[i + 1] = kDigits[bytes[byte] & 15];
    ++byte;
    i += 2;
  }
  out[length] = '\0';
  return TBS_ST_OK;
}

}  // namespace client_local
