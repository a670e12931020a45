#pragma once
// Small text helpers shared by every layer: the product's names compare
// without case for the letters A-Z only (never by locale), and numbers in
// names, settings and answer files are plain decimal digits.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plat {

constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

inline std::string AsciiLowerCopy(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

constexpr bool IEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

constexpr bool IStartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && IEquals(text.substr(0, prefix.size()), prefix);
}

// Reads the decimal digits at the start of text, at most max_digits of them,
// into *value. Returns how many digits were read: 0 when text does not start
// with a digit, or when the number would pass max (then *value is unchanged).
constexpr std::size_t ReadDecimal(std::string_view text, std::uint64_t* value,
                                  std::uint64_t max = UINT64_MAX, std::size_t max_digits = SIZE_MAX) {
  std::uint64_t n = 0;
  std::size_t i = 0;
  for (; i < text.size() && i < max_digits && IsDecimalDigit(text[i]); ++i) {
    const auto digit = static_cast<std::uint64_t>(text[i] - '0');
    if (digit > max || n > (max - digit) / 10) return 0;
    n = n * 10 + digit;
  }
  if (i > 0) *value = n;
  return i;
}

// The whole of text as a decimal number no greater than max: digits only, no
// sign, no blanks; nullopt otherwise.
constexpr std::optional<std::uint64_t> ParseDecimal(std::string_view text, std::uint64_t max = UINT64_MAX) {
  std::uint64_t value = 0;
  if (text.empty() || ReadDecimal(text, &value, max) != text.size()) return std::nullopt;
  return value;
}

}  // namespace plat
