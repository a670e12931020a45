// Command-line splitting and quoting.
#include <gtest/gtest.h>

#include <random>

#include "platform/process.h"

namespace plat {
namespace {

using Words = std::vector<std::string>;

struct SplitCase {
  const char* line;
  Words words;
};

TEST(CommandLineSplit, FollowsTheDesktopRules) {
  const SplitCase cases[] = {
      {"", {}},
      {"prog", {"prog"}},
      {"prog a b", {"prog", "a", "b"}},
      {"prog  a\t\tb  ", {"prog", "a", "b"}},
      {"prog\ta", {"prog", "a"}},
      // The program name: no backslash processing, a quote ends a quoted name.
      {"\"C:\\Program Files\\x.exe\" a", {"C:\\Program Files\\x.exe", "a"}},
      {"C:\\dir\\x.exe a", {"C:\\dir\\x.exe", "a"}},
      {"\"a b\"c d", {"a b", "c", "d"}},
      {"\"unterminated name", {"unterminated name"}},
      {"a\\\"b c", {"a\\\"b", "c"}},
      {"\"\" x", {"", "x"}},
      {" leading", {"", "leading"}},
      // Quoting and blanks in arguments.
      {"p \"a b\" c", {"p", "a b", "c"}},
      {"p a\"b c\"d", {"p", "ab cd"}},
      {"p \"\"", {"p", ""}},
      {"p \"\" \"\"", {"p", "", ""}},
      {"p a \"\"", {"p", "a", ""}},
      {"p \"unterminated arg", {"p", "unterminated arg"}},
      // Backslashes.
      {"p a\\b", {"p", "a\\b"}},
      {"p a\\\\b", {"p", "a\\\\b"}},
      {"p a\\\\\\\"b", {"p", "a\\\"b"}},  // 3 backslashes and a quote
      {"p a\\\"b", {"p", "a\"b"}},         // 1 backslash and a quote
      {"p \"a\\\\\" b", {"p", "a\\", "b"}},  // 2 backslashes then a closing quote
      {"p \"a\\\\\\\\\"", {"p", "a\\\\"}},   // 4 backslashes then a closing quote
      {"p a\\", {"p", "a\\"}},
      {"p \\\\", {"p", "\\\\"}},
      // A doubled quote inside quotes is a literal quote.
      {"p \"a\"\"b\"", {"p", "a\"b"}},
      {"p \"\"\"\"", {"p", "\""}},
      {"p \"a\"\"\" b", {"p", "a\"", "b"}},
      {"p \"\"\"a b\"", {"p", "\"a b"}},
      // Outside quotes two quotes just open and close.
      {"p a\"\"b", {"p", "ab"}},
      // Non-ASCII text passes through.
      {"p \"gr\xC3\xBC\xC3\x9F e\" \xE2\x82\xAC", {"p", "gr\xC3\xBC\xC3\x9F e", "\xE2\x82\xAC"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitCommandLine(c.line), c.words) << "line: [" << c.line << "]";
  }
}

TEST(CommandLineSplit, ArgumentsOnlyApplyArgumentRulesToEveryWord) {
  EXPECT_EQ(SplitArguments(""), Words{});
  EXPECT_EQ(SplitArguments("   "), Words{});
  EXPECT_EQ(SplitArguments("\"a b\"c d"), (Words{"a bc", "d"}));
  EXPECT_EQ(SplitArguments("a\\\"b"), (Words{"a\"b"}));
}

struct QuoteCase {
  const char* arg;
  const char* quoted;
};

TEST(CommandLineQuote, QuotesOnlyWhenNeeded) {
  const QuoteCase cases[] = {
      {"plain", "plain"},
      {"C:\\dir\\", "C:\\dir\\"},  // no quotes needed, so backslashes stay
      {"", "\"\""},
      {"a b", "\"a b\""},
      {"a\tb", "\"a\tb\""},
      {"a\"b", "\"a\\\"b\""},
      {"a\\\"b", "\"a\\\\\\\"b\""},
      {"C:\\my dir\\", "\"C:\\my dir\\\\\""},
      {"a b\\\\", "\"a b\\\\\\\\\""},
  };
  for (const auto& c : cases) EXPECT_EQ(QuoteArgument(c.arg), c.quoted) << "arg: [" << c.arg << "]";
}

TEST(CommandLineJoin, SplitsBackIntoTheSameWords) {
  const Words cases[] = {
      {},
      {"prog"},
      {""},
      {"", ""},
      {"C:\\Program Files\\x.exe", "a b", "", "c\"d", "e\\", "f\\\\\"", "\\\\server\\share\\"},
      {"a\"b", "x"},  // a quote inside an unquoted program name is literal
      {"C:\\dir\\", "\\"},
      {"p", "\"", "\"\"", "\\\"", " ", "\t", "a\\b\\\\c"},
  };
  for (const auto& words : cases) {
    auto line = JoinCommandLine(words);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(SplitCommandLine(*line), words) << "line: [" << *line << "]";
  }
}

TEST(CommandLineJoin, RefusesProgramNamesThatCannotBeWritten) {
  EXPECT_EQ(JoinCommandLine({"\"quoted", "a"}), std::nullopt);
  EXPECT_EQ(JoinCommandLine({"a \"b"}), std::nullopt);
  EXPECT_EQ(JoinCommandLine({"a\t\""}), std::nullopt);
}

// Words made of the characters that matter to the rules, in every mix.
TEST(CommandLineJoin, RoundTripsGeneratedWords) {
  const char alphabet[] = {'a', ' ', '\t', '"', '\\', '\\', 'b'};
  std::mt19937 random(12345);
  auto word = [&](size_t max_len) {
    std::string w;
    size_t len = random() % (max_len + 1);
    for (size_t i = 0; i < len; ++i) w += alphabet[random() % sizeof alphabet];
    return w;
  };
  for (int round = 0; round < 2000; ++round) {
    Words words{"prog"};
    size_t count = random() % 5;
    for (size_t i = 0; i < count; ++i) words.push_back(word(8));
    std::string line = *JoinCommandLine(words);
    ASSERT_EQ(SplitCommandLine(line), words) << "line: [" << line << "]";
    // Each quoted argument alone also splits back to itself.
    for (size_t i = 1; i < words.size(); ++i)
      ASSERT_EQ(SplitArguments(QuoteArgument(words[i])), Words{words[i]});
  }
}

}  // namespace
}  // namespace plat
