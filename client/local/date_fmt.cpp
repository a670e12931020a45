// Date formats in local time, and reading the token forms back.
#include "date_fmt.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/text.h"
#include "tbs.h"

namespace {

// Room for a date as strftime writes it.
constexpr std::size_t kDateTextSize = 128;

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int Format(const tbs_time2_t* time, char* out, std::size_t size, const char* format) {
  if (!time || !out || size == 0) return TBS_ST_INVALID_ARG;
  const std::time_t seconds = static_cast<std::time_t>(time->secs);
  std::tm local{};
  if (!localtime_r(&seconds, &local)) {
    out[0] = '\0';
    return TBS_ST_INVALID_ARG;
  }
  char text[kDateTextSize];
  const std::size_t length = std::strftime(text, sizeof text, format, &local);
  if (length == 0 || length + 1 > size) {
    out[0] = '\0';
    return TBS_ST_INVALID_ARG;
  }
  std::memcpy(out, text, length + 1);
  return TBS_ST_OK;
}

bool CurrentYear(std::uint32_t secs) {
  const std::time_t now = std::time(nullptr);
  const std::time_t then = static_cast<std::time_t>(secs);
  std::tm a{}, b{};
  return localtime_r(&now, &a) && localtime_r(&then, &b) && a.tm_year == b.tm_year;
}

// Reads exactly `digits` decimal digits (or 1..digits when `up_to`).
bool ReadNumber(const char*& p, int min_digits, int max_digits, int& value) {
  std::uint64_t read = 0;
  const std::size_t count = plat::ReadDecimal(p, &read, UINT64_MAX, static_cast<std::size_t>(max_digits));
  p += count;
  value = static_cast<int>(read);  // at most four digits
  return count >= static_cast<std::size_t>(min_digits);
}

bool ReadTime(const char*& p, std::tm& tm) {
  if (!ReadNumber(p, 1, 2, tm.tm_hour) || *p != ':') return false;
  ++p;
  if (!ReadNumber(p, 2, 2, tm.tm_min)) return false;
  if (*p == ':') {
    ++p;
    if (!ReadNumber(p, 2, 2, tm.tm_sec)) return false;
  }
  return true;
}

}  // namespace

int date_fmt_long_date_time(const tbs_time2_t* t, char* out, std::size_t size) {
  return Format(t, out, size, "%A, %d %B %Y %H:%M:%S");
}
int date_fmt_short_date_time(const tbs_time2_t* t, char* out, std::size_t size) {
  return Format(t, out, size, "%d-%b-%y.%H:%M");
}
int date_fmt_short_date(const tbs_time2_t* t, char* out, std::size_t size) { return Format(t, out, size, "%d-%b-%y"); }
int date_fmt_short_time(const tbs_time2_t* t, char* out, std::size_t size) { return Format(t, out, size, "%H:%M"); }
int date_fmt_ls_date_time(const tbs_time2_t* t, char* out, std::size_t size) {
  if (!t) return TBS_ST_INVALID_ARG;
  return Format(t, out, size, CurrentYear(t->secs) ? "%d-%b.%H:%M" : "%d-%b-%Y");
}
int date_fmt_token_date_time(const tbs_time2_t* t, char* out, std::size_t size) {
  return Format(t, out, size, "%d-%b-%Y.%H:%M:%S");
}
int date_fmt_token_short_date_time(const tbs_time2_t* t, char* out, std::size_t size) {
  return Format(t, out, size, "%d-%b-%Y.%H:%M");
}
int date_fmt_token_date(const tbs_time2_t* t, char* out, std::size_t size) { return Format(t, out, size, "%d-%b-%Y"); }

int date_str_to_time2(const char* text, tbs_time2_t* out) {
  if (!text || !out) return TBS_ST_INVALID_ARG;
  std::tm tm{};
  const char* p = text;
  int year = 0;
  if (plat::IsDecimalDigit(p[0]) && std::strlen(p) >= 10 && p[4] == '-') {
    int month = 0;
    if (!ReadNumber(p, 4, 4, year) || *p++ != '-' || !ReadNumber(p, 2, 2, month) || *p++ != '-' ||
        !ReadNumber(p, 2, 2, tm.tm_mday))
      return TBS_ST_INVALID_ARG;
    tm.tm_mon = month - 1;
    if (*p == 'T' || *p == ' ') {
      ++p;
      if (!ReadTime(p, tm)) return TBS_ST_INVALID_ARG;
    }
  } else {
    if (!ReadNumber(p, 1, 2, tm.tm_mday) || *p++ != '-') return TBS_ST_INVALID_ARG;
    tm.tm_mon = -1;
    for (int m = 0; m < 12; ++m)
      if (plat::IStartsWith(p, kMonths[m])) tm.tm_mon = m;
    if (tm.tm_mon < 0) return TBS_ST_INVALID_ARG;
    p += 3;
    if (*p++ != '-') return TBS_ST_INVALID_ARG;
    const char* year_start = p;
    if (!ReadNumber(p, 2, 4, year) || p - year_start == 3) return TBS_ST_INVALID_ARG;
    if (p - year_start == 2) year += 2000;
    if (*p == '.') {
      ++p;
      if (!ReadTime(p, tm)) return TBS_ST_INVALID_ARG;
    }
  }
  if (*p != '\0') return TBS_ST_INVALID_ARG;
  if (year < 1970 || year > 2105 || tm.tm_mon < 0 || tm.tm_mon > 11 || tm.tm_mday < 1 || tm.tm_mday > 31 ||
      tm.tm_hour > 23 || tm.tm_min > 59 || tm.tm_sec > 59)
    return TBS_ST_INVALID_ARG;
  tm.tm_year = year - 1900;
  tm.tm_isdst = -1;
  const std::tm asked = tm;
  const std::time_t seconds = std::mktime(&tm);
  // mktime moves a day past the month's end into the next month: refuse it.
  if (seconds < 0 || tm.tm_mday != asked.tm_mday || tm.tm_mon != asked.tm_mon ||
      static_cast<unsigned long long>(seconds) > 0xFFFFFFFFull)
    return TBS_ST_INVALID_ARG;
  out->secs = static_cast<std::uint32_t>(seconds);
  out->usecs = 0;
  return TBS_ST_OK;
}
