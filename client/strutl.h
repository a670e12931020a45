#pragma once
// String utilities of the client libraries. Text is in the system's
// multibyte code page, UTF-8 here: a character is one to four bytes.
#include "stg.h"

// The number of bytes of the character starting at text: 1 to 4; a byte that
// does not start a well-formed sequence counts as one character of 1 byte.
// 0 for a null text or at the terminating zero. Never reads past a zero byte.
int strutl_mblen(const char* text);

// The last occurrence of the byte c in text, stepping by whole characters
// (a byte inside a multibyte character never matches); null when there is
// none, for a null text or for c == 0.
const char* strutl_find_last_char(const char* text, int c);

// Converts the ASCII letters of text in place to upper case (to_upper
// non-zero) or lower case; other bytes are left alone. Returns text (null
// stays null).
char* strutl_cvt_case_string(char* text, int to_upper);

// first followed by second, of any length, in the area; null for a null
// argument or an unknown area.
char* strutl_concat(stg_area_t area, const char* first, const char* second);
