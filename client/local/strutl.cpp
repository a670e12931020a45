// String utilities: UTF-8 character lengths, searches by whole characters,
// ASCII case conversion.
#include "strutl.h"

#include <string>

#include "platform/text.h"

int strutl_mblen(const char* text) {
  if (!text || !*text) return 0;
  const auto lead = static_cast<unsigned char>(text[0]);
  int length = 1;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  // Every continuation byte must be 10xxxxxx (a zero byte never is).
  for (int i = 1; i < length; ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  return length;
}

const char* strutl_find_last_char(const char* text, int c) {
  if (!text || c == 0) return nullptr;
  const char* found = nullptr;
  for (const char* p = text; *p; p += strutl_mblen(p))
    if (static_cast<unsigned char>(*p) == static_cast<unsigned char>(c)) found = p;
  return found;
}

char* strutl_cvt_case_string(char* text, int to_upper) {
  if (!text) return nullptr;
  for (char* p = text; *p; ++p) *p = to_upper ? plat::AsciiUpper(*p) : plat::AsciiLower(*p);
  return text;
}

char* strutl_concat(stg_area_t area, const char* first, const char* second) {
  if (!first || !second) return nullptr;
  return stg_strdup(area, (std::string(first) + second).c_str());
}
