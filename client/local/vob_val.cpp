// Attribute values.
#include "vob_val.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "local/id_text.h"
#include "local/local_call.h"
#include "tbs.h"

using client_local::LocalCall;
using client_local::NonNull;

namespace {

// Room for a real number written with 17 significant digits.
constexpr std::size_t kRealTextSize = 64;

constexpr const char* kKinds[] = {nullptr, "integer", "real", "string", "time", "opaque"};

char* CopyBytes(const char* bytes, std::size_t length) {
  char* copy = new char[length + 1];
  if (length) std::memcpy(copy, bytes, length);
  copy[length] = '\0';
  return copy;
}

int Parse(vob_val_kind_t kind, const char* text, vob_value_s& value) {
  value.kind = kind;
  switch (kind) {
    case VOB_VAL_INTEGER: {
      if (!*text || std::strchr(" \t\n", text[0])) return TBS_ST_INVALID_ARG;
      char* end = nullptr;
      errno = 0;
      const long long number = std::strtoll(text, &end, 10);
      if (*end || errno == ERANGE) return TBS_ST_INVALID_ARG;
      value.integer = number;
      return TBS_ST_OK;
    }
    case VOB_VAL_REAL: {
      if (!*text || std::strchr(" \t\n", text[0])) return TBS_ST_INVALID_ARG;
      char* end = nullptr;
      const double number = std::strtod(text, &end);
      if (*end || !std::isfinite(number)) return TBS_ST_INVALID_ARG;
      value.real = number;
      return TBS_ST_OK;
    }
    case VOB_VAL_STRING:
      value.length = std::strlen(text);
      value.data = CopyBytes(text, value.length);
      return TBS_ST_OK;
    case VOB_VAL_TIME:
      return date_str_to_time2(text, &value.time) == TBS_ST_OK ? TBS_ST_OK : TBS_ST_INVALID_ARG;
    case VOB_VAL_OPAQUE: {
      const std::size_t digits = std::strlen(text);
      if (digits % 2) return TBS_ST_INVALID_ARG;
      std::string bytes;
      for (std::size_t i = 0; i < digits; i += 2) {
        const int high = client_local::HexValue(text[i]), low = client_local::HexValue(text[i + 1]);
        if (high < 0 || low < 0) return TBS_ST_INVALID_ARG;
        bytes += static_cast<char>(high * 16 + low);
      }
      value.length = bytes.size();
      value.data = CopyBytes(bytes.data(), bytes.size());
      return TBS_ST_OK;
    }
    default:
      return TBS_ST_INVALID_ARG;
  }
}

std::string Format(const vob_value_s& value) {
  char buffer[kRealTextSize];
  switch (value.kind) {
    case VOB_VAL_INTEGER:
      return std::to_string(value.integer);
    case VOB_VAL_REAL:
      std::snprintf(buffer, sizeof buffer, "%.17g", value.real);
      return buffer;
    case VOB_VAL_STRING:
      return value.data ? std::string(value.data, value.length) : std::string();
    case VOB_VAL_TIME:
      return date_fmt_token_date_time(&value.time, buffer, sizeof buffer) == 0 ? buffer : "";
    case VOB_VAL_OPAQUE: {
      std::string text;
      for (std::size_t i = 0; i < value.length; ++i) {
        std::snprintf(buffer, sizeof buffer, "%02x", static_cast<unsigned char>(value.data[i]));
        text += buffer;
      }
      return text;
    }
    default:
      return {};
  }
}

template <class T>
int Order(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

const char* vob_val_kind_to_str(vob_val_kind_t kind) {
  return kind >= VOB_VAL_INTEGER && kind <= VOB_VAL_OPAQUE ? kKinds[kind] : nullptr;
}

int vob_val_str_to_kind(const char* text, vob_val_kind_t* kind) {
  if (!text || !kind) return TBS_ST_INVALID_ARG;
  for (int k = VOB_VAL_INTEGER; k <= VOB_VAL_OPAQUE; ++k)
    if (std::strcmp(kKinds[k], text) == 0) {
      *kind = static_cast<vob_val_kind_t>(k);
      return TBS_ST_OK;
    }
  return TBS_ST_INVALID_ARG;
}

int vob_val_str_to_value(vob_val_kind_t kind, const char* text, vob_value_s* value) {
  return LocalCall("vob_val_str_to_value", {std::to_string(kind), text ? text : "(null)"}, NonNull(text, value), [&] {
    vob_value_s result;
    const int status = Parse(kind, text, result);
    if (status != TBS_ST_OK) {
      vob_val_free_value(&result);
      return status;
    }
    *value = result;
    return TBS_ST_OK;
  });
}

int vob_val_value_to_str(const vob_value_s* value, char* out, std::size_t size) {
  return LocalCall("vob_val_value_to_str", {value ? std::to_string(value->kind) : "(null)"},
                   NonNull(out) && size != 0, [&] {
    out[0] = '\0';
    if (!value || !vob_val_kind_to_str(value->kind)) return TBS_ST_INVALID_ARG;
    const std::string text = Format(*value);
    if (text.size() + 1 > size) return TBS_ST_INVALID_ARG;
    std::memcpy(out, text.c_str(), text.size() + 1);
    return TBS_ST_OK;
  });
}

int vob_val_cmp_value(const vob_value_s* a, const vob_value_s* b, int* result) {
  if (!a || !b || !result || a->kind != b->kind || !vob_val_kind_to_str(a->kind)) return TBS_ST_INVALID_ARG;
  switch (a->kind) {
    case VOB_VAL_INTEGER:
      *result = Order(a->integer, b->integer);
      break;
    case VOB_VAL_REAL:
      *result = Order(a->real, b->real);
      break;
    case VOB_VAL_TIME:
      *result = a->time.secs != b->time.secs ? Order(a->time.secs, b->time.secs) : Order(a->time.usecs, b->time.usecs);
      break;
    default: {
      const std::size_t common = a->length < b->length ? a->length : b->length;
      const int bytes = common ? std::memcmp(a->data, b->data, common) : 0;
      *result = bytes != 0 ? (bytes < 0 ? -1 : 1) : Order(a->length, b->length);
    }
  }
  return TBS_ST_OK;
}

int vob_val_eq_value(const vob_value_s* a, const vob_value_s* b) {
  int result = 0;
  return vob_val_cmp_value(a, b, &result) == TBS_ST_OK && result == 0;
}

int vob_val_free_value(vob_value_s* value) {
  if (!value) return TBS_ST_INVALID_ARG;
  delete[] value->data;
  *value = vob_value_s{};
  return TBS_ST_OK;
}
