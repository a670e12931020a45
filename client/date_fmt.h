#pragma once
// Date formats of the client libraries. A time stamp is two 32-bit words:
// seconds since 1 January 1970 UTC and microseconds. Texts are in the local
// time zone. Each format writes into a caller's buffer of `size` bytes,
// always terminated: 0; TBS_ST_INVALID_ARG for a null argument or a buffer too small
// (the buffer is then left empty).
//
//   long date and time    "Sunday, 06 December 2026 20:20:32"
//   short date and time   "06-Dec-26.20:20"
//   short date            "06-Dec-26"
//   short time            "20:20"
//   listing date and time "06-Dec.20:20" in the current year, else "06-Dec-2025"
//   token date and time   "06-Dec-2026.20:20:32"
//   token short date/time "06-Dec-2026.20:20"
//   token date            "06-Dec-2026"
#include <cstddef>
#include <cstdint>

struct tbs_time2_t {
  std::uint32_t secs = 0;
  std::uint32_t usecs = 0;
};

int date_fmt_long_date_time(const tbs_time2_t* time, char* out, std::size_t size);
int date_fmt_short_date_time(const tbs_time2_t* time, char* out, std::size_t size);
int date_fmt_short_date(const tbs_time2_t* time, char* out, std::size_t size);
int date_fmt_short_time(const tbs_time2_t* time, char* out, std::size_t size);
int date_fmt_ls_date_time(const tbs_time2_t* time, char* out, std::size_t size);
int date_fmt_token_date_time(const tbs_time2_t* time, char* out, std::size_t size);
int date_fmt_token_short_date_time(const tbs_time2_t* time, char* out, std::size_t size);
int date_fmt_token_date(const tbs_time2_t* time, char* out, std::size_t size);

// Reads a date in one of the token forms ("06-Dec-2026.20:20:32",
// "06-Dec-2026.20:20", "06-Dec-2026"; a two-digit year is 20yy) or
// "2026-12-06[THH:MM[:SS]]", in local time. 0; TBS_ST_INVALID_ARG for a null argument or a
// text that is not a valid date (out unchanged).
int date_str_to_time2(const char* text, tbs_time2_t* out);
