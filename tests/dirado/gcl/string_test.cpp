// Strings: the capacity rule, copy-on-write, searches and comparisons (also
// across multibyte characters), positions past the end, the hashes, and
// strings shared between threads.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "gcl_string.h"

namespace {

constexpr std::uint32_t npos = GCL_String::npos;

TEST(GclStringCapacity, FollowsTheRule) {
  struct Case {
    std::uint32_t length, request, capacity;
  };
  const Case cases[] = {
      {3, 10, 20},  {3, 100, 150}, {3, 300, 375}, {1, 0, 8},   {0, 0, 8},
      {62, 0, 126}, {63, 0, 96},   {254, 0, 382}, {255, 0, 320}, {3, 2, 8},
  };
  for (const Case& c : cases)
    EXPECT_EQ(GCL_StringRep::capacity_for(c.length, c.request), c.capacity) << c.length << " " << c.request;
  // Near the largest length the capacity neither wraps nor falls below R.
  const std::uint32_t big = GCL_StringRep::capacity_for(GCL_StringRep::max_length, 0);
  EXPECT_GE(big, GCL_StringRep::max_length + 1u);
}

TEST(GclStringCapacity, ReserveMakesANewBodyWithTheText) {
  GCL_String text("abc");
  EXPECT_EQ(text.capacity(), 8u);
  const GCL_String other(text);
  ASSERT_TRUE(text.reserve(10));
  EXPECT_EQ(text.capacity(), 20u);
  EXPECT_EQ(text, "abc");
  EXPECT_NE(text.body(), other.body());
  EXPECT_EQ(other.reference_count(), 1u);
}

TEST(GclString, NullPointerGivesAnEmptyStringWithoutBody) {
  const GCL_String none(nullptr);
  EXPECT_FALSE(none.has_body());
  EXPECT_STREQ(none.c_str(), "");
  EXPECT_EQ(none.length(), 0u);
  EXPECT_TRUE(none.is_null());
  EXPECT_EQ(none, "");
  EXPECT_EQ(none, GCL_String());
  EXPECT_EQ(none.find("a"), npos);
}

TEST(GclString, EmptyStringsShareOneBody) {
  const GCL_String a, b;
  const GCL_String c = GCL_String("xyz").substr(1, 0);
  const GCL_String d = GCL_String("xyz").substr(7);
  EXPECT_EQ(a.body(), b.body());
  EXPECT_EQ(a.body(), c.body());
  EXPECT_EQ(a.body(), d.body());
  EXPECT_EQ(a.body(), GCL_StringRep::empty());
  // Appending to an empty string never writes the shared body.
  GCL_String e;
  e.append("q");
  EXPECT_NE(e.body(), GCL_StringRep::empty());
  EXPECT_STREQ(GCL_String().c_str(), "");
}

TEST(GclString, Constructors) {
  EXPECT_EQ(GCL_String("hello", 3), "hel");
  EXPECT_EQ(GCL_String('x', 3), "xxx");
  EXPECT_EQ(GCL_String('x', 0), "");
  EXPECT_EQ(GCL_String(GCL_String("hello"), 2), "he");
  EXPECT_EQ(GCL_String(GCL_String("hi"), 99), "hi");
  const GCL_String with_zero("a\0b", 3);
  EXPECT_EQ(with_zero.length(), 3u);
  EXPECT_NE(with_zero, "a");
}

TEST(GclString, CopyOnWriteLeavesTheOriginalIntact) {
  GCL_String original("hello");
  GCL_String copy(original);
  EXPECT_EQ(copy.body(), original.body());
  EXPECT_EQ(original.reference_count(), 2u);

  copy.append(" world");
  EXPECT_EQ(original, "hello");
  EXPECT_EQ(copy, "hello world");
  EXPECT_EQ(original.reference_count(), 1u);

  GCL_String replaced(original);
  replaced.replace(0, 1, "J");
  EXPECT_EQ(original, "hello");
  EXPECT_EQ(replaced, "Jello");

  GCL_String assigned(original);
  assigned.assign("bye");
  EXPECT_EQ(original, "hello");
}

TEST(GclString, WritesInPlaceWhenAloneAndRoomy) {
  GCL_String text("ab");
  ASSERT_TRUE(text.reserve(64));
  const GCL_Body* body = text.body();
  text.append("cd");
  text.replace(0, 1, "A");
  text += 'e';
  EXPECT_EQ(text.body(), body);
  EXPECT_EQ(text, "Abcde");
  EXPECT_EQ(std::strlen(text.c_str()), 5u);  // terminated after every write
}

TEST(GclString, AppendsAndReplacesFromItself) {
  GCL_String text("abc");
  text.reserve(64);
  text.append(text);
  EXPECT_EQ(text, "abcabc");
  text.append(text.c_str() + 1, 2);
  EXPECT_EQ(text, "abcabcbc");
  text.replace(0, 3, text.c_str() + 3, 3);
  EXPECT_EQ(text, "abcabcbc");
  text.replace(1, 1, text);
  EXPECT_EQ(text, "aabcabcbccabcbc");
  text.assign(text.c_str() + 2);
  EXPECT_EQ(text, "bcabcbccabcbc");
}

TEST(GclString, PositionsPastTheEndChangeNothing) {
  GCL_String text("abc");
  EXPECT_EQ(text.substr(3), "");
  EXPECT_EQ(text.substr(10, 2), "");
  EXPECT_EQ(text.substr(1), "bc");
  EXPECT_EQ(text.substr(1, 99), "bc");

  char buffer[8] = "zzzzzzz";
  EXPECT_EQ(text.copy(buffer, 5, 10), 0u);
  EXPECT_EQ(text.copy(buffer, 5, 3), 0u);
  EXPECT_STREQ(buffer, "zzzzzzz");
  EXPECT_EQ(text.copy(buffer, 5, 1), 2u);
  EXPECT_EQ(std::string(buffer, 3), "bcz");  // no terminator written
  EXPECT_EQ(text.copy(nullptr, 5, 0), 0u);

  text.replace(10, 1, "x");
  EXPECT_EQ(text, "abc");
  text.replace(3, 5, "de");  // at the end: appends
  EXPECT_EQ(text, "abcde");
  text.replace(1, 99, "");
  EXPECT_EQ(text, "a");

  const GCL_Body* body = text.body();
  text.replace(0, 0, "", 0);
  EXPECT_EQ(text.body(), body);

  EXPECT_EQ(text[0], 'a');
  EXPECT_EQ(text[1], '\0');
  EXPECT_EQ(text[1000], '\0');
  EXPECT_EQ(GCL_String(nullptr)[0], '\0');
}

TEST(GclString, Compare) {
  struct Case {
    const char* a;
    const char* b;
    int result;
  };
  const Case cases[] = {
      {"ab", "abc", -1}, {"abc", "ab", 1}, {"abc", "abc", 0}, {"", "", 0},
      {"a", "\x80", -1},  // bytes compare unsigned
      {"b", "a", 1},     {"", "a", -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GCL_String(c.a).compare(GCL_String(c.b)), c.result) << c.a << " vs " << c.b;
    EXPECT_EQ(GCL_String(c.a) == GCL_String(c.b), c.result == 0);
    EXPECT_EQ(GCL_String(c.a) < GCL_String(c.b), c.result < 0);
  }
}

TEST(GclString, Searches) {
  enum Op { kFind, kRfind, kFirstOf, kFirstNotOf, kLastOf, kLastNotOf };
  struct Case {
    Op op;
    const char* text;
    const char* what;
    std::uint32_t pos;
    std::uint32_t result;
  };
  const Case cases[] = {
      {kFind, "abcabc", "bc", 0, 1},
      {kFind, "abcabc", "bc", 2, 4},
      {kFind, "abc", "", 1, 1},
      {kFind, "abc", "", 3, npos},
      {kFind, "abc", "", 9, npos},
      {kFind, "abc", "abcd", 0, npos},
      {kFind, "abc", "bc", 2, npos},  // longer than what remains
      {kFind, "abc", "x", 0, npos},
      {kRfind, "abcabc", "bc", npos, 4},
      {kRfind, "abcabc", "bc", 3, 1},
      {kRfind, "abcabc", "abc", 0, 0},
      {kRfind, "", "a", npos, npos},
      {kRfind, "", "", npos, npos},
      {kRfind, "abc", "abcd", npos, npos},
      {kFirstOf, "a\\b/c", "\\/", 0, 1},
      {kFirstOf, "a\\b/c", "\\/", 2, 3},
      {kFirstOf, "abc", "xyz", 0, npos},
      {kFirstOf, "abc", "", 0, npos},
      {kFirstOf, "abc", "a", 5, npos},
      {kFirstNotOf, "  x", " ", 0, 2},
      {kFirstNotOf, "   ", " ", 0, npos},
      {kLastOf, "a\\b/c", "\\/", npos, 3},
      {kLastOf, "a\\b/c", "\\/", 2, 1},
      {kLastOf, "a\\b/c", "\\/", 99, 3},
      {kLastOf, "", "a", npos, npos},
      {kLastNotOf, "x  ", " ", npos, 0},
      {kLastNotOf, "   ", " ", npos, npos},
      // A byte inside a multibyte character never matches.
      {kFirstOf, "\xC3\xA9x\xA9", "\xA9", 0, 3},
      {kLastOf, "\xC3\xA9\xA9", "\xA9", npos, 2},
      {kLastOf, "x\xC3\xA9", "\xA9", npos, npos},
      {kFind, "\xC3\xA9\xA9", "\xA9", 0, 2},
      {kRfind, "\xA9\xC3\xA9", "\xA9", npos, 0},
      {kLastNotOf, "\xC3\xA9", "x", npos, 0},  // the character starts at 0
  };
  for (const Case& c : cases) {
    const GCL_String text(c.text), what(c.what);
    std::uint32_t result = 0;
    switch (c.op) {
      case kFind: result = text.find(what, c.pos); break;
      case kRfind: result = text.rfind(what, c.pos); break;
      case kFirstOf: result = text.find_first_of(what, c.pos); break;
      case kFirstNotOf: result = text.find_first_not_of(what, c.pos); break;
      case kLastOf: result = text.find_last_of(what, c.pos); break;
      case kLastNotOf: result = text.find_last_not_of(what, c.pos); break;
    }
    EXPECT_EQ(result, c.result) << "op " << c.op << " on \"" << c.text << "\" for \"" << c.what << "\" at " << c.pos;
  }
}

TEST(GclString, HashOnKnownVectors) {
  struct Case {
    GCL_String text;
    std::uint32_t hash;
  };
  const Case cases[] = {
      {GCL_String(""), 0u},
      {GCL_String("a"), 0x41u},               // 1 <<< 5 = 0x20, ^ 0x61
      {GCL_String("abcd"), 0x646362E1u},      // 4 <<< 5 = 0x80, ^ word 0x64636261
      {GCL_String("abcde"), 0x8C6C5849u},     // then 0x646362C1 <<< 5 ^ 0x65
      {GCL_String("\x80"), 0xFFFFFFA0u},      // a trailing byte taken as signed
      {GCL_String("a\xFF"), 0xFFFFFFBFu},     // (0x61 << 9) | 0xFFFFFFFF
      {GCL_String("\xFF" "a"), 0xFFFFFE21u},  // (0xFFFFFFFF << 9) | 0x61
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.text.hash(), c.hash) << c.text;
    EXPECT_EQ(GCL_StringHash(c.text), c.hash);
  }
  EXPECT_EQ(GCL_String(nullptr).hash(), 0u);
}

TEST(GclString, CaselessHash) {
  EXPECT_EQ(GCL_String("a").hash_caseless(), 0x41u);
  EXPECT_EQ(GCL_String("ab").hash_caseless(), 0x442u);
  EXPECT_EQ(GCL_String("AB").hash_caseless(), GCL_String("ab").hash_caseless());
  EXPECT_EQ(GCL_String("MixedCase\\Path").hash_caseless(), GCL_String("mixedcase\\path").hash_caseless());
  EXPECT_NE(GCL_String("ab").hash_caseless(), GCL_String("abc").hash_caseless());
  // Stops at a zero byte but starts from the whole length.
  EXPECT_EQ(GCL_String("a\0b", 3).hash_caseless(), ((3u << 5) ^ 0x61u));
}

TEST(GclString, StripStyleCharsAndOutput) {
  const GCL_String styled("\x02" "bBold\x02" "n plain");
  EXPECT_EQ(styled.strip_style_chars(), "Bold plain");
  EXPECT_EQ(styled.length(), 14u);  // the original keeps its marks
  std::ostringstream out;
  out << GCL_String("a\0b", 3) << GCL_String(nullptr);
  EXPECT_EQ(out.str(), std::string("a\0b", 3));
}

TEST(GclString, ConcatenationAndAssignment) {
  GCL_String a("foo");
  const GCL_String b = a + GCL_String("bar");
  EXPECT_EQ(b, "foobar");
  EXPECT_EQ(a, "foo");
  a = "x";
  a += "y";
  a += GCL_String("z");
  EXPECT_EQ(a, "xyz");
  a = a;  // self-assignment keeps the text
  EXPECT_EQ(a, "xyz");
  a.assign(nullptr);
  EXPECT_EQ(a, "");
}

TEST(GclStringThreads, SharedBodiesAcrossThreads) {
  const GCL_String shared("shared text");
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 500; ++i) {
        GCL_String copy(shared);
        GCL_String empty;
        copy.append(GCL_String(static_cast<char>('a' + t), 1));
        empty.append("x");
        if (shared != "shared text" || copy.length() != 12 || empty != "x") wrong.fetch_add(1);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_EQ(shared.reference_count(), 1u);
}

}  // namespace
