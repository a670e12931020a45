// Names compared without case (A-Z only) and plain decimal numbers.
#include <gtest/gtest.h>

#include <optional>

#include "platform/text.h"

namespace plat {
namespace {

TEST(Text, CaseFoldsOnlyAsciiLetters) {
  struct Case {
    std::string_view a, b;
    bool equal, a_starts_with_b;
  };
  const Case cases[] = {
      {"", "", true, true},
      {"abc", "", false, true},
      {"", "a", false, false},
      {"Software\\Norvane", "SOFTWARE\\norvane", true, true},
      {"Open", "op", false, true},
      {"op", "Open", false, false},
      {"a@[", "A@[", true, true},  // '@' and '[' sit beside 'A' and 'Z'
      {"@", "`", false, false},     // and are not letters
      {"\xC3\x84", "\xC3\xA4", false, false},  // non-ASCII bytes compare unchanged
      {"gr\xC3\xBC\xC3\x9F", "GR\xC3\xBC\xC3\x9F", true, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IEquals(c.a, c.b), c.equal) << c.a << " / " << c.b;
    EXPECT_EQ(IStartsWith(c.a, c.b), c.a_starts_with_b) << c.a << " / " << c.b;
  }
  EXPECT_EQ(AsciiLowerCopy("MiXeD \xC3\x84 Z@["), "mixed \xC3\x84 z@[");
  EXPECT_EQ(AsciiLowerCopy(""), "");
}

TEST(Text, ReadsDecimalsWithinTheirBounds) {
  struct Case {
    std::string_view text;
    std::uint64_t max;
    std::size_t max_digits;
    std::size_t read;  // 0: nothing read, the value is left alone
    std::uint64_t value;
  };
  constexpr std::uint64_t kKept = 777;
  const Case cases[] = {
      {"", UINT64_MAX, SIZE_MAX, 0, kKept},
      {"x1", UINT64_MAX, SIZE_MAX, 0, kKept},
      {"-1", UINT64_MAX, SIZE_MAX, 0, kKept},
      {"42:rest", UINT64_MAX, SIZE_MAX, 2, 42},
      {"007", UINT64_MAX, SIZE_MAX, 3, 7},
      {"18446744073709551615", UINT64_MAX, SIZE_MAX, 20, UINT64_MAX},
      {"18446744073709551616", UINT64_MAX, SIZE_MAX, 0, kKept},
      {"4294967295", UINT32_MAX, SIZE_MAX, 10, UINT32_MAX},
      {"4294967296", UINT32_MAX, SIZE_MAX, 0, kKept},
      {"7", 5, SIZE_MAX, 0, kKept},  // one digit already above the bound
      {"5", 5, SIZE_MAX, 1, 5},
      {"12345", UINT64_MAX, 3, 3, 123},
      {"12", UINT64_MAX, 0, 0, kKept},
  };
  for (const auto& c : cases) {
    std::uint64_t value = kKept;
    EXPECT_EQ(ReadDecimal(c.text, &value, c.max, c.max_digits), c.read) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

TEST(Text, ParsesOnlyWholeDecimals) {
  struct Case {
    std::string_view text;
    std::uint64_t max;
    std::optional<std::uint64_t> value;
  };
  const Case cases[] = {
      {"", UINT64_MAX, std::nullopt},
      {"0", UINT64_MAX, 0},
      {"2147483647", 2147483647, 2147483647},
      {"2147483648", 2147483647, std::nullopt},
      {"99999999999999999999999", UINT64_MAX, std::nullopt},
      {"12 ", UINT64_MAX, std::nullopt},
      {" 12", UINT64_MAX, std::nullopt},
      {"+12", UINT64_MAX, std::nullopt},
      {"1x", UINT64_MAX, std::nullopt},
      {"\xD9\xA3", UINT64_MAX, std::nullopt},  // a non-ASCII digit is no digit
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDecimal(c.text, c.max), c.value) << c.text;
}

}  // namespace
}  // namespace plat
