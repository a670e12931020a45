// The line diff: the edit script keeps a longest common subsequence and
// rebuilds the new text; the unified output as a patch reader expects it.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "unified_diff.h"

namespace {

using stratatool::DiffLines;
using stratatool::Edit;
using stratatool::EditKind;
using stratatool::SplitLines;
using stratatool::UnifiedDiff;

// Applies an edit script to the old lines: it must give the new lines.
std::string Apply(const std::vector<Edit>& edits, const std::vector<std::string_view>& old_lines,
                  const std::vector<std::string_view>& new_lines, std::size_t* kept) {
  std::string text;
  std::size_t next_old = 0, next_new = 0;
  *kept = 0;
  for (const Edit& e : edits) {
    switch (e.kind) {
      case EditKind::kKeep:
        EXPECT_EQ(e.old_line, next_old);
        EXPECT_EQ(e.new_line, next_new);
        EXPECT_EQ(old_lines.at(e.old_line), new_lines.at(e.new_line));
        text += old_lines[e.old_line];
        ++next_old, ++next_new, ++*kept;
        break;
      case EditKind::kDelete:
        EXPECT_EQ(e.old_line, next_old);
        ++next_old;
        break;
      case EditKind::kInsert:
        EXPECT_EQ(e.new_line, next_new);
        text += new_lines.at(e.new_line);
        ++next_new;
        break;
    }
  }
  EXPECT_EQ(next_old, old_lines.size());
  EXPECT_EQ(next_new, new_lines.size());
  return text;
}

TEST(SplitLines, KeepsEachLinesNewlineAndTheMissingLastOne) {
  EXPECT_TRUE(SplitLines("").empty());
  EXPECT_EQ(SplitLines("a\nb\n"), (std::vector<std::string_view>{"a\n", "b\n"}));
  EXPECT_EQ(SplitLines("a\nb"), (std::vector<std::string_view>{"a\n", "b"}));
  EXPECT_EQ(SplitLines("\n\n"), (std::vector<std::string_view>{"\n", "\n"}));
}

TEST(UnifiedDiff, Cases) {
  struct Case {
    const char* what;
    std::string old_text, new_text, expected;
  };
  const Case cases[] = {
      {"equal files", "a\nb\n", "a\nb\n", ""},
      {"both empty", "", "", ""},
      {"a line inserted in the middle", "a\nb\nc\n", "a\nb\nx\nc\n", "@@ -1,3 +1,4 @@\n a\n b\n+x\n c\n"},
      {"a line deleted", "a\nb\nc\n", "a\nc\n", "@@ -1,3 +1,2 @@\n a\n-b\n c\n"},
      {"a line changed", "a\nb\nc\n", "a\nB\nc\n", "@@ -1,3 +1,3 @@\n a\n-b\n+B\n c\n"},
      {"from an empty file", "", "a\nb\n", "@@ -0,0 +1,2 @@\n+a\n+b\n"},
      {"to an empty file", "a\n", "", "@@ -1 +0,0 @@\n-a\n"},
      {"a newline added at the end", "a\nb", "a\nb\n",
       "@@ -1,2 +1,2 @@\n a\n-b\n\\ No newline at end of file\n+b\n"},
      {"a line added after a last line without newline", "a", "a\nb",
       "@@ -1 +1,2 @@\n-a\n\\ No newline at end of file\n+a\n+b\n\\ No newline at end of file\n"},
      {"insert at the front of a long file", "1\n2\n3\n4\n5\n6\n", "0\n1\n2\n3\n4\n5\n6\n",
       "@@ -1,3 +1,4 @@\n+0\n 1\n 2\n 3\n"},
      {"append at the end", "1\n2\n3\n4\n5\n", "1\n2\n3\n4\n5\n6\n", "@@ -3,3 +3,4 @@\n 3\n 4\n 5\n+6\n"},
      {"a replacement deletes before it inserts", "a\nb\n", "x\ny\n", "@@ -1,2 +1,2 @@\n-a\n-b\n+x\n+y\n"},
  };
  for (const Case& c : cases) {
    const std::string diff = UnifiedDiff(c.old_text, c.new_text, "old", "new");
    const std::string expected = c.expected.empty() ? "" : "--- old\n+++ new\n" + c.expected;
    EXPECT_EQ(diff, expected) << c.what;
  }
}

TEST(UnifiedDiff, ChangesFarApartMakeTwoHunksAndNearOnesOne) {
  std::string old_text, far_text, near_text;
  for (int i = 1; i <= 20; ++i) {
    const std::string line = std::to_string(i) + "\n";
    old_text += line;
    far_text += (i == 2 || i == 18) ? "changed " + line : line;
    near_text += (i == 5 || i == 11) ? "changed " + line : line;  // 5 lines apart: within 2 x 3
  }
  EXPECT_EQ(UnifiedDiff(old_text, far_text, "a", "b"),
            "--- a\n+++ b\n"
            "@@ -1,5 +1,5 @@\n 1\n-2\n+changed 2\n 3\n 4\n 5\n"
            "@@ -15,6 +15,6 @@\n 15\n 16\n 17\n-18\n+changed 18\n 19\n 20\n");
  const std::string near = UnifiedDiff(old_text, near_text, "a", "b");
  EXPECT_NE(near.find("@@ -2,13 +2,13 @@\n"), std::string::npos) << near;
  std::size_t hunks = 0;
  for (std::size_t at = near.find("\n@@ -"); at != std::string::npos; at = near.find("\n@@ -", at + 1)) ++hunks;
  EXPECT_EQ(hunks, 1u) << near;
}

TEST(DiffLines, TheScriptRebuildsTheNewTextAndKeepsALongestCommonSubsequence) {
  struct Case {
    const char* old_text;
    const char* new_text;
    std::size_t lcs;
  };
  const Case cases[] = {
      {"a\nb\nc\nd\n", "a\nc\nb\nd\n", 3},
      {"a\nb\nc\na\nb\nb\na\n", "c\nb\na\nb\na\nc\n", 4},  // the classic pair of sequences
      {"x\n", "y\n", 0},
      {"same\nsame\nsame\n", "same\n", 1},
      {"", "a\n", 0},
      {"a\nb", "a\nb\n", 1},
  };
  for (const Case& c : cases) {
    const auto old_lines = SplitLines(c.old_text);
    const auto new_lines = SplitLines(c.new_text);
    std::size_t kept = 0;
    EXPECT_EQ(Apply(DiffLines(old_lines, new_lines), old_lines, new_lines, &kept), c.new_text) << c.old_text;
    EXPECT_EQ(kept, c.lcs) << c.old_text << " -> " << c.new_text;
  }
}

// The LCS length by the textbook table, to check the search against.
std::size_t TableLcs(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b) {
  std::vector<std::vector<std::size_t>> t(a.size() + 1, std::vector<std::size_t>(b.size() + 1, 0));
  for (std::size_t i = 1; i <= a.size(); ++i)
    for (std::size_t j = 1; j <= b.size(); ++j)
      t[i][j] = a[i - 1] == b[j - 1] ? t[i - 1][j - 1] + 1 : std::max(t[i - 1][j], t[i][j - 1]);
  return t[a.size()][b.size()];
}

TEST(DiffLines, RandomSmallTextsAgreeWithTheTable) {
  std::mt19937 random(20261206);
  for (int round = 0; round < 2000; ++round) {
    auto make = [&random] {
      std::string text;
      const int lines = static_cast<int>(random() % 14);
      for (int i = 0; i < lines; ++i) text += std::string(1, static_cast<char>('a' + random() % 3)) + "\n";
      return text;
    };
    const std::string old_text = make(), new_text = make();
    const auto old_lines = SplitLines(old_text);
    const auto new_lines = SplitLines(new_text);
    std::size_t kept = 0;
    ASSERT_EQ(Apply(DiffLines(old_lines, new_lines), old_lines, new_lines, &kept), new_text)
        << old_text << "|" << new_text;
    ASSERT_EQ(kept, TableLcs(old_lines, new_lines)) << old_text << "|" << new_text;
  }
}

TEST(DiffLines, LongFilesWithFewChangesKeepEverythingElse) {
  std::string old_text, new_text;
  for (int i = 0; i < 50000; ++i) {
    const std::string line = "line " + std::to_string(i % 97) + " of " + std::to_string(i) + "\n";
    old_text += line;
    if (i == 100) new_text += "inserted\n";
    if (i != 30000) new_text += line;
  }
  const auto old_lines = SplitLines(old_text);
  const auto new_lines = SplitLines(new_text);
  std::size_t kept = 0;
  EXPECT_EQ(Apply(DiffLines(old_lines, new_lines), old_lines, new_lines, &kept), new_text);
  EXPECT_EQ(kept, 49999u);
  const std::string diff = UnifiedDiff(old_text, new_text, "a", "b");
  EXPECT_NE(diff.find("@@ -98,6 +98,7 @@\n"), std::string::npos) << diff;
  EXPECT_NE(diff.find("-line 27 of 30000\n"), std::string::npos) << diff;
}

TEST(DiffLines, APartTooCostlyIsReplacedWholeAndStillRebuildsTheText) {
  std::string old_text = "head\n", new_text = "head\n";
  for (int i = 0; i < 40; ++i) {
    old_text += "old " + std::to_string(i) + "\n";
    new_text += (i % 2 ? "old " : "new ") + std::to_string(i) + "\n";
  }
  old_text += "tail\n";
  new_text += "tail\n";
  const auto old_lines = SplitLines(old_text);
  const auto new_lines = SplitLines(new_text);
  std::size_t kept = 0;
  const auto cheap = DiffLines(old_lines, new_lines, 5);  // 40 edits are needed
  EXPECT_EQ(Apply(cheap, old_lines, new_lines, &kept), new_text);
  EXPECT_EQ(kept, 3u) << "only the common ends: head, the last pair and tail";
  const auto full = DiffLines(old_lines, new_lines);
  EXPECT_EQ(Apply(full, old_lines, new_lines, &kept), new_text);
  EXPECT_EQ(kept, 22u);
}

}  // namespace
