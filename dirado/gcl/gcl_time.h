#pragma once
// Time values: the client's time stamp (seconds and microseconds), shown in
// the product's date formats. A value whose two words are both 0 shows as
// the empty text.
#include <cstdint>

#include "gcl_string.h"

class GCL_Status;

class GCL_Time {
 public:
  GCL_Time() = default;
  GCL_Time(std::uint32_t seconds, std::uint32_t microseconds = 0) : secs_(seconds), usecs_(microseconds) {}

  std::uint32_t seconds() const { return secs_; }
  std::uint32_t microseconds() const { return usecs_; }
  bool is_zero() const { return secs_ == 0 && usecs_ == 0; }

  GCL_String long_date_time() const;
  GCL_String short_date_time() const;
  GCL_String short_date() const;
  GCL_String short_time() const;
  GCL_String ls_date_time() const;
  GCL_String token_date_time() const;
  GCL_String token_short_date_time() const;
  GCL_String token_date() const;

  // Reads a date (date_str_to_time2); its result code goes on the status,
  // and a text that cannot be read gives the zero value.
  static GCL_Time from_string(const GCL_String& text, GCL_Status& status);

  bool operator==(const GCL_Time& other) const { return secs_ == other.secs_ && usecs_ == other.usecs_; }
  bool operator!=(const GCL_Time& other) const { return !(*this == other); }
  bool operator<(const GCL_Time& other) const {
    return secs_ < other.secs_ || (secs_ == other.secs_ && usecs_ < other.usecs_);
  }

 private:
  std::uint32_t secs_ = 0;
  std::uint32_t usecs_ = 0;
};
