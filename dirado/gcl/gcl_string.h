#pragma once
// Strings: a handle (GCL_String) onto a copy-on-write body (GCL_StringRep).
// Text is bytes in the system's multibyte code page; lengths and positions
// count bytes. Searches that walk characters step by whole multibyte
// characters, so a byte inside a character never matches.
//
// One shared empty body serves every default-constructed string and every
// empty result; it is made once and lives until the process ends. A string
// may also have no body at all (built from a null pointer); both read as the
// empty text, and equal "".
//
// Positions past the end are refused without harm: substr gives the empty
// string, copy copies nothing, replace does nothing, character access
// answers '\0'.
#include <cstdint>
#include <iosfwd>

#include "gcl_handle.h"

class GCL_StringRep : public GCL_Body {
 public:
  // The largest length a string may have.
  static constexpr std::uint32_t max_length = 0x7FFFFFFE;

  // A body holding length bytes of text (text may be null when length is 0)
  // with the capacity of capacity_for(length, capacity_request); null when
  // memory runs out or the length is too large.
  static GCL_StringRep* create(const char* text, std::uint32_t length, std::uint32_t capacity_request = 0);
  // The shared empty body.
  static GCL_StringRep* empty();
  // The capacity rule: R = max(request, length + 1); 2R below 64, R + R/2
  // below 256, R + R/4 otherwise; at least 8 and never below R.
  static std::uint32_t capacity_for(std::uint32_t length, std::uint32_t request);

  ~GCL_StringRep() override;
  bool is_null() const override { return length_ == 0; }
  bool equals(const GCL_Body& other) const override;
  void print(std::ostream& out) const override;

  std::uint32_t length() const { return length_; }
  std::uint32_t capacity() const { return capacity_; }
  const char* data() const { return buffer_; }

 private:
  friend class GCL_String;
  GCL_StringRep(char* buffer, std::uint32_t length, std::uint32_t capacity)
      : length_(length), capacity_(capacity), buffer_(buffer) {}
  char* data() { return buffer_; }
  // Sets the length and its terminator (the buffer always holds one).
  void set_length(std::uint32_t length) {
    length_ = length;
    buffer_[length] = '\0';
  }

  std::uint32_t length_;
  std::uint32_t capacity_;
  char* buffer_;
};

class GCL_String : public GCL_Handle<GCL_StringRep> {
 public:
  // As a length: up to the end of the text. As a position: not found.
  static constexpr std::uint32_t npos = 0x7FFFFFFF;

  GCL_String();
  // The text up to length bytes (npos: up to the terminating zero). A null
  // pointer gives a string with no body.
  GCL_String(const char* text, std::uint32_t length = npos);
  // The character repeated count times.
  GCL_String(char c, std::uint32_t count);
  // The first length bytes of other (cut to its length).
  GCL_String(const GCL_String& other, std::uint32_t length);
  GCL_String(const GCL_String&) = default;
  GCL_String(GCL_String&&) noexcept = default;
  GCL_String& operator=(const GCL_String&) = default;
  GCL_String& operator=(GCL_String&&) noexcept = default;
  GCL_String& operator=(const char* text) { return assign(text); }
  ~GCL_String() override;

  GCL_String& assign(const char* text, std::uint32_t length = npos);

  // Never null: "" for an empty string.
  const char* c_str() const;
  std::uint32_t length() const;
  std::uint32_t capacity() const;
  bool is_null() const { return length() == 0; }
  // The byte at pos; '\0' for a position at or past the end.
  char operator[](std::uint32_t pos) const;
  char at(std::uint32_t pos) const { return (*this)[pos]; }

  GCL_String substr(std::uint32_t pos = 0, std::uint32_t n = npos) const;
  // Copies at most n bytes from pos into buffer (no terminator); the number
  // copied. 0 for a null buffer or pos at or past the end.
  std::uint32_t copy(char* buffer, std::uint32_t n, std::uint32_t pos = 0) const;
  // A new body with capacity at least n and the same text. False (nothing
  // changed) when n is too large or memory runs out.
  bool reserve(std::uint32_t n);

  GCL_String& append(const GCL_String& other);
  GCL_String& append(const char* text, std::uint32_t length = npos);
  GCL_String& operator+=(const GCL_String& other) { return append(other); }
  GCL_String& operator+=(const char* text) { return append(text); }
  GCL_String& operator+=(char c) { return append(&c, 1); }

  // Replaces n bytes at pos (n cut to what remains) with the first m bytes
  // of other (m cut to its length). Nothing happens when pos is past the end
  // or when both lengths are 0.
  GCL_String& replace(std::uint32_t pos, std::uint32_t n, const GCL_String& other, std::uint32_t m = npos);
  GCL_String& replace(std::uint32_t pos, std::uint32_t n, const char* other, std::uint32_t m = npos);

  // -1, 0 or 1; bytes compare unsigned; a prefix is less than the longer.
  int compare(const GCL_String& other) const;
  bool operator==(const GCL_String& other) const { return compare(other) == 0; }
  bool operator!=(const GCL_String& other) const { return compare(other) != 0; }
  bool operator==(const char* text) const;
  bool operator!=(const char* text) const { return !(*this == text); }
  bool operator<(const GCL_String& other) const { return compare(other) < 0; }

  // First occurrence at or after pos; npos when pos is not below the length,
  // when other is longer than what remains, or when there is none. An empty
  // other is found at pos.
  std::uint32_t find(const GCL_String& other, std::uint32_t pos = 0) const;
  // Last occurrence starting at or before pos (npos: anywhere).
  std::uint32_t rfind(const GCL_String& other, std::uint32_t pos = npos) const;
  // Searches for a byte of (or not of) a set; for the last_ forms a pos of
  // npos (or past the end) starts from the last byte.
  std::uint32_t find_first_of(const GCL_String& set, std::uint32_t pos = 0) const;
  std::uint32_t find_first_not_of(const GCL_String& set, std::uint32_t pos = 0) const;
  std::uint32_t find_last_of(const GCL_String& set, std::uint32_t pos = npos) const;
  std::uint32_t find_last_not_of(const GCL_String& set, std::uint32_t pos = npos) const;

  // A copy without the message-style markup.
  GCL_String strip_style_chars() const;

  // The hash of every map keyed by strings, and its caseless form.
  std::uint32_t hash() const;
  std::uint32_t hash_caseless() const;

 private:
  const char* data() const;
  // A body of this string's own that may be written in place with room for
  // new_length bytes, or null when a new body is needed.
  GCL_StringRep* writable(std::uint32_t new_length) const;
};

GCL_String operator+(const GCL_String& a, const GCL_String& b);
std::ostream& operator<<(std::ostream& out, const GCL_String& text);

// The string hash as a free function, for the maps' SetHashFunction.
std::uint32_t GCL_StringHash(const GCL_String& text);
