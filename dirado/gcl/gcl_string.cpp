// Strings: copy-on-write bodies, the capacity rule, searches by whole
// multibyte characters, the hashes.
#include "gcl_string.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <ostream>
#include <string>

#include "gcl_check.h"
#include "imsg.h"
#include "strutl.h"

namespace {

std::uint32_t Rotl5(std::uint32_t h) { return (h << 5) | (h >> 27); }

// The length of the character at i, never past the end (an embedded zero
// byte counts as one character).
std::uint32_t Step(const char* data, std::uint32_t i, std::uint32_t length) {
  const int bytes = strutl_mblen(data + i);
  return std::min<std::uint32_t>(bytes > 0 ? static_cast<std::uint32_t>(bytes) : 1u, length - i);
}

bool InSet(char c, const char* set, std::uint32_t set_length) {
  return set_length > 0 && std::memchr(set, c, set_length) != nullptr;
}

std::uint32_t TextLength(const char* text, std::uint32_t length) {
  if (!text) return 0;
  if (length != GCL_String::npos) return length;
  const std::size_t found = std::strlen(text);
  return found > GCL_StringRep::max_length ? GCL_String::npos : static_cast<std::uint32_t>(found);
}

}  // namespace

// --- GCL_StringRep ----------------------------------------------------------

std::uint32_t GCL_StringRep::capacity_for(std::uint32_t length, std::uint32_t request) {
  const std::uint64_t r = std::max<std::uint64_t>(request, std::uint64_t(length) + 1);
  std::uint64_t capacity = r < 64 ? 2 * r : r < 256 ? r + r / 2 : r + r / 4;
  capacity = std::max<std::uint64_t>(capacity, 8);
  capacity = std::max(capacity, r);
  // Lengths stay below 2^31, so the capacity fits 32 bits.
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(capacity, 0xFFFFFFFFu));
}

GCL_StringRep* GCL_StringRep::create(const char* text, std::uint32_t length, std::uint32_t capacity_request) {
  if (length > max_length || capacity_request > max_length + 1) return nullptr;
  const std::uint32_t capacity = capacity_for(length, capacity_request);
  char* buffer = new (std::nothrow) char[capacity];
  if (!buffer) return nullptr;
  if (length > 0) std::memcpy(buffer, text, length);
  buffer[length] = '\0';
  auto* rep = new (std::nothrow) GCL_StringRep(buffer, length, capacity);
  if (!rep) delete[] buffer;
  return rep;
}

GCL_StringRep* GCL_StringRep::empty() {
  // Made once, thread-safely; its own reference keeps it for the life of the
  // process (and keeps it from ever being written in place).
  static GCL_StringRep* const shared = [] {
    auto* rep = new GCL_StringRep(new char[8]{}, 0, 8);
    rep->add_reference();
    return rep;
  }();
  return shared;
}

GCL_StringRep::~GCL_StringRep() { delete[] buffer_; }

bool GCL_StringRep::equals(const GCL_Body& other) const {
  const auto& text = static_cast<const GCL_StringRep&>(other);
  return length_ == text.length_ && std::memcmp(buffer_, text.buffer_, length_) == 0;
}

void GCL_StringRep::print(std::ostream& out) const { out.write(buffer_, length_); }

// --- GCL_String -------------------------------------------------------------

GCL_String::GCL_String() : GCL_Handle(GCL_StringRep::empty()) {}

GCL_String::GCL_String(const char* text, std::uint32_t length) {
  if (text) assign(text, length);
}

GCL_String::GCL_String(char c, std::uint32_t count) {
  if (!GCL_CHECK(count <= GCL_StringRep::max_length, nullptr)) {
    set_rep(GCL_StringRep::empty());
    return;
  }
  GCL_StringRep* rep = count ? GCL_StringRep::create(nullptr, 0, count + 1) : GCL_StringRep::empty();
  if (!GCL_CHECK(rep != nullptr, nullptr)) rep = GCL_StringRep::empty();
  if (rep != GCL_StringRep::empty()) {
    std::memset(rep->data(), c, count);
    rep->set_length(count);
  }
  set_rep(rep);
}

GCL_String::GCL_String(const GCL_String& other, std::uint32_t length) : GCL_String(other.substr(0, length)) {}

GCL_String::~GCL_String() = default;

const char* GCL_String::data() const { return rep() ? rep()->data() : ""; }

const char* GCL_String::c_str() const { return data(); }

std::uint32_t GCL_String::length() const { return rep() ? rep()->length() : 0; }

std::uint32_t GCL_String::capacity() const { return rep() ? rep()->capacity() : 0; }

char GCL_String::operator[](std::uint32_t pos) const { return pos < length() ? data()[pos] : '\0'; }

GCL_StringRep* GCL_String::writable(std::uint32_t new_length) const {
  GCL_StringRep* own = rep();
  if (own && own->reference_count() < 2 && new_length < own->capacity()) return own;
  return nullptr;
}

GCL_String& GCL_String::assign(const char* text, std::uint32_t length) {
  const std::uint32_t n = TextLength(text, length);
  if (!GCL_CHECK(n <= GCL_StringRep::max_length, nullptr)) return *this;
  if (n == 0) {
    set_rep(GCL_StringRep::empty());
    return *this;
  }
  if (GCL_StringRep* own = writable(n)) {
    std::memmove(own->data(), text, n);  // text may lie in the buffer itself
    own->set_length(n);
    return *this;
  }
  GCL_StringRep* rep = GCL_StringRep::create(text, n);
  if (GCL_CHECK(rep != nullptr, nullptr)) set_rep(rep);
  return *this;
}

GCL_String GCL_String::substr(std::uint32_t pos, std::uint32_t n) const {
  const std::uint32_t len = length();
  if (pos >= len) return GCL_String();
  n = std::min(n, len - pos);
  if (pos == 0 && n == len) return *this;
  return GCL_String(data() + pos, n);
}

std::uint32_t GCL_String::copy(char* buffer, std::uint32_t n, std::uint32_t pos) const {
  const std::uint32_t len = length();
  if (!buffer || pos >= len) return 0;
  n = std::min(n, len - pos);
  std::memcpy(buffer, data() + pos, n);
  return n;
}

bool GCL_String::reserve(std::uint32_t n) {
  if (!GCL_CHECK(n <= GCL_StringRep::max_length + 1, nullptr)) return false;
  GCL_StringRep* rep = GCL_StringRep::create(data(), length(), n);
  if (!GCL_CHECK(rep != nullptr, nullptr)) return false;
  set_rep(rep);
  return true;
}

GCL_String& GCL_String::append(const GCL_String& other) {
  // Hold the other's body: it may be this string's own.
  const GCL_String keep(other);
  return append(keep.data(), keep.length());
}

GCL_String& GCL_String::append(const char* text, std::uint32_t length) {
  const std::uint32_t m = TextLength(text, length);
  if (m == 0) return *this;
  const std::uint32_t len = this->length();
  if (!GCL_CHECK(m <= GCL_StringRep::max_length - len, nullptr)) return *this;
  if (GCL_StringRep* own = writable(len + m)) {
    std::memmove(own->data() + len, text, m);
    own->set_length(len + m);
    return *this;
  }
  GCL_StringRep* rep = GCL_StringRep::create(data(), len, len + m + 1);
  if (!GCL_CHECK(rep != nullptr, nullptr)) return *this;
  std::memcpy(rep->data() + len, text, m);
  rep->set_length(len + m);
  set_rep(rep);
  return *this;
}

GCL_String& GCL_String::replace(std::uint32_t pos, std::uint32_t n, const GCL_String& other, std::uint32_t m) {
  const GCL_String keep(other);
  return replace(pos, n, keep.data(), std::min(m, keep.length()));
}

GCL_String& GCL_String::replace(std::uint32_t pos, std::uint32_t n, const char* other, std::uint32_t m) {
  const std::uint32_t len = length();
  if (pos > len) return *this;
  n = std::min(n, len - pos);
  if (!other) m = 0;
  else if (m == npos) m = TextLength(other, npos);  // an explicit m: the caller vouches for m bytes
  if (n == 0 && m == 0) return *this;
  if (!GCL_CHECK(m <= GCL_StringRep::max_length - (len - n), nullptr)) return *this;
  const std::uint32_t new_length = len - n + m;
  const char* old = data();
  const std::less<const char*> before;
  const bool aliased = m > 0 && !before(other, old) && before(other, old + len + 1);
  GCL_StringRep* own = aliased ? nullptr : writable(new_length);
  if (own) {
    std::memmove(own->data() + pos + m, own->data() + pos + n, len - pos - n);
    std::memcpy(own->data() + pos, other, m);
    own->set_length(new_length);
    return *this;
  }
  GCL_StringRep* rep = GCL_StringRep::create(nullptr, 0, new_length + 1);
  if (!GCL_CHECK(rep != nullptr, nullptr)) return *this;
  std::memcpy(rep->data(), old, pos);
  std::memcpy(rep->data() + pos, other, m);
  std::memcpy(rep->data() + pos + m, old + pos + n, len - pos - n);
  rep->set_length(new_length);
  set_rep(rep);
  return *this;
}

int GCL_String::compare(const GCL_String& other) const {
  const std::uint32_t a = length(), b = other.length();
  const int bytes = std::memcmp(data(), other.data(), std::min(a, b));
  if (bytes != 0) return bytes < 0 ? -1 : 1;
  return a < b ? -1 : a > b ? 1 : 0;
}

bool GCL_String::operator==(const char* text) const {
  const std::uint32_t len = length();
  if (!text) return len == 0;
  // Reads no further into text than its terminator or len + 1 bytes.
  return strnlen(text, std::size_t(len) + 1) == len && std::memcmp(data(), text, len) == 0;
}

std::uint32_t GCL_String::find(const GCL_String& other, std::uint32_t pos) const {
  const std::uint32_t len = length(), m = other.length();
  if (pos >= len) return npos;
  if (m == 0) return pos;
  if (m > len - pos) return npos;
  const char* text = data();
  for (std::uint32_t i = pos; i <= len - m; i += Step(text, i, len))
    if (std::memcmp(text + i, other.data(), m) == 0) return i;
  return npos;
}

std::uint32_t GCL_String::rfind(const GCL_String& other, std::uint32_t pos) const {
  const std::uint32_t len = length(), m = other.length();
  if (len == 0 || m > len) return npos;
  const std::uint32_t limit = std::min(pos, len - m);
  const char* text = data();
  std::uint32_t found = npos;
  for (std::uint32_t i = 0; i <= limit && i < len; i += Step(text, i, len))
    if (std::memcmp(text + i, other.data(), m) == 0) found = i;
  return found;
}

std::uint32_t GCL_String::find_first_of(const GCL_String& set, std::uint32_t pos) const {
  const std::uint32_t len = length();
  const char* text = data();
  for (std::uint32_t i = pos; i < len; i += Step(text, i, len))
    if (InSet(text[i], set.data(), set.length())) return i;
  return npos;
}

std::uint32_t GCL_String::find_first_not_of(const GCL_String& set, std::uint32_t pos) const {
  const std::uint32_t len = length();
  const char* text = data();
  for (std::uint32_t i = pos; i < len; i += Step(text, i, len))
    if (!InSet(text[i], set.data(), set.length())) return i;
  return npos;
}

std::uint32_t GCL_String::find_last_of(const GCL_String& set, std::uint32_t pos) const {
  const std::uint32_t len = length();
  if (len == 0) return npos;
  const std::uint32_t last = std::min(pos, len - 1);
  const char* text = data();
  std::uint32_t found = npos;
  for (std::uint32_t i = 0; i <= last; i += Step(text, i, len))
    if (InSet(text[i], set.data(), set.length())) found = i;
  return found;
}

std::uint32_t GCL_String::find_last_not_of(const GCL_String& set, std::uint32_t pos) const {
  const std::uint32_t len = length();
  if (len == 0) return npos;
  const std::uint32_t last = std::min(pos, len - 1);
  const char* text = data();
  std::uint32_t found = npos;
  for (std::uint32_t i = 0; i <= last; i += Step(text, i, len))
    if (!InSet(text[i], set.data(), set.length())) found = i;
  return found;
}

GCL_String GCL_String::strip_style_chars() const {
  std::string copy(data(), length());
  imsg_strip_style_chars(copy.data());
  return GCL_String(copy.c_str());
}

std::uint32_t GCL_String::hash() const {
  const std::uint32_t len = length();
  const auto* bytes = reinterpret_cast<const unsigned char*>(data());
  std::uint32_t h = len;
  std::uint32_t i = 0;
  for (; i + 4 <= len; i += 4) {
    const std::uint32_t w = std::uint32_t(bytes[i]) | std::uint32_t(bytes[i + 1]) << 8 |
                            std::uint32_t(bytes[i + 2]) << 16 | std::uint32_t(bytes[i + 3]) << 24;
    h = Rotl5(h) ^ w;
  }
  if (i < len) {
    std::uint32_t v = 0;
    for (; i < len; ++i)  // each byte as a signed 8-bit value
      v = (v << 9) | static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<std::int8_t>(bytes[i])));
    h = Rotl5(h) ^ v;
  }
  return h;
}

std::uint32_t GCL_String::hash_caseless() const {
  const std::uint32_t len = length();
  std::string folded(data(), len);
  strutl_cvt_case_string(folded.data(), 0);
  std::uint32_t h = len;
  for (std::uint32_t i = 0; i < len && folded[i] != '\0'; ++i) h = Rotl5(h) ^ static_cast<unsigned char>(folded[i]);
  return h;
}

GCL_String operator+(const GCL_String& a, const GCL_String& b) {
  GCL_String result(a);
  result.append(b);
  return result;
}

std::ostream& operator<<(std::ostream& out, const GCL_String& text) { return out.write(text.c_str(), text.length()); }

std::uint32_t GCL_StringHash(const GCL_String& text) { return text.hash(); }
