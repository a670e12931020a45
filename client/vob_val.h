#pragma once
// Attribute values of the client libraries: one of five kinds, read from and
// written as text, compared, and freed.
//
//   integer  decimal, optionally signed ("-12")
//   real     a decimal number ("2.5", "-1e3")
//   string   any text, kept as it is
//   time     a date as date_str_to_time2 reads it ("06-Dec-2026.20:20:32")
//   opaque   bytes as pairs of hexadecimal digits ("00ff1a")
#include <cstddef>
#include <cstdint>

#include "date_fmt.h"

enum vob_val_kind_t : int {
  VOB_VAL_NONE = 0,
  VOB_VAL_INTEGER = 1,
  VOB_VAL_REAL = 2,
  VOB_VAL_STRING = 3,
  VOB_VAL_TIME = 4,
  VOB_VAL_OPAQUE = 5,
};

// The kind's name ("integer", "real", "string", "time", "opaque"); null for
// another value. TBS_ST_INVALID_ARG for a name that is no kind.
const char* vob_val_kind_to_str(vob_val_kind_t kind);
int vob_val_str_to_kind(const char* text, vob_val_kind_t* kind);

// A value. Its text or bytes are owned by the value until
// vob_val_free_value.
struct vob_value_s {
  std::uint32_t version = 1;
  vob_val_kind_t kind = VOB_VAL_NONE;
  std::int64_t integer = 0;
  double real = 0;
  tbs_time2_t time;
  char* data = nullptr;  // string text (terminated) or opaque bytes
  std::size_t length = 0;
};

// Reads text as a value of the kind into *value (which must be empty or
// freed). 0; TBS_ST_INVALID_ARG for a null argument, an unknown kind or text that is not a
// value of the kind (the value is then left empty).
int vob_val_str_to_value(vob_val_kind_t kind, const char* text, vob_value_s* value);
// The value's text into out. 0; TBS_ST_INVALID_ARG for a null argument, an empty value or
// a buffer too small (left empty).
int vob_val_value_to_str(const vob_value_s* value, char* out, std::size_t size);
// *result negative, 0 or positive. TBS_ST_INVALID_ARG for values of different kinds.
int vob_val_cmp_value(const vob_value_s* a, const vob_value_s* b, int* result);
// Non-zero when both are values of one kind and equal.
int vob_val_eq_value(const vob_value_s* a, const vob_value_s* b);
// Frees what the value owns and empties it. 0, or TBS_ST_INVALID_ARG for null.
int vob_val_free_value(vob_value_s* value);
