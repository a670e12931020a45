// Time values and their date formats.
#include "gcl_time.h"

#include "date_fmt.h"
#include "gcl_status.h"
#include "tbs.h"

namespace {

using Formatter = int (*)(const tbs_time2_t*, char*, std::size_t);

GCL_String Format(const GCL_Time& time, Formatter format) {
  if (time.is_zero()) return GCL_String();
  const tbs_time2_t stamp{time.seconds(), time.microseconds()};
  char text[256];
  if (format(&stamp, text, sizeof text) != TBS_ST_OK) return GCL_String();
  return GCL_String(text);
}

}  // namespace

GCL_String GCL_Time::long_date_time() const { return Format(*this, date_fmt_long_date_time); }
GCL_String GCL_Time::short_date_time() const { return Format(*this, date_fmt_short_date_time); }
GCL_String GCL_Time::short_date() const { return Format(*this, date_fmt_short_date); }
GCL_String GCL_Time::short_time() const { return Format(*this, date_fmt_short_time); }
GCL_String GCL_Time::ls_date_time() const { return Format(*this, date_fmt_ls_date_time); }
GCL_String GCL_Time::token_date_time() const { return Format(*this, date_fmt_token_date_time); }
GCL_String GCL_Time::token_short_date_time() const { return Format(*this, date_fmt_token_short_date_time); }
GCL_String GCL_Time::token_date() const { return Format(*this, date_fmt_token_date); }

GCL_Time GCL_Time::from_string(const GCL_String& text, GCL_Status& status) {
  tbs_time2_t stamp{};
  const int code = date_str_to_time2(text.c_str(), &stamp);
  status.set_code(static_cast<std::uint32_t>(code));
  return code == TBS_ST_OK ? GCL_Time(stamp.secs, stamp.usecs) : GCL_Time();
}
