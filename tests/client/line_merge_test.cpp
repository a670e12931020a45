// Line merges: what a three-way merge takes from each side, where it finds
// conflicts, and a two-way merge that never guesses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "local/line_merge.h"

namespace {

namespace merge = client_local::merge;

TEST(LineMerge, ThreeWayTakesEachSidesChangesAndStopsAtDifferentChangesOfOnePlace) {
  struct Case {
    const char* what;
    const char* base;
    const char* ours;
    const char* theirs;
    const char* merged;
    std::size_t conflicts;
  };
  const Case cases[] = {
      {"changes in different places", "a\nb\nc\nd\ne\n", "a\nB\nc\nd\ne\n", "a\nb\nc\nd\nE\n", "a\nB\nc\nd\nE\n", 0},
      {"only theirs changed", "a\nb\n", "a\nb\n", "a\nx\ny\n", "a\nx\ny\n", 0},
      {"the same change on both sides", "a\nb\nc\n", "a\nX\nc\n", "a\nX\nc\n", "a\nX\nc\n", 0},
      {"a deletion and a change elsewhere", "a\nb\nc\nd\n", "a\nc\nd\n", "a\nb\nc\nD\n", "a\nc\nD\n", 0},
      {"insertions at both ends", "m\n", "top\nm\n", "m\nbottom\n", "top\nm\nbottom\n", 0},
      {"from nothing, one side", "", "", "new\n", "new\n", 0},
      {"a last line without newline", "a\nx\nb", "A\nx\nb", "a\nx\nb\n", "A\nx\nb\n", 0},
      {"changes next to each other", "a\nb\nc\n", "a\nB\nc\n", "a\nb\nC\n", "a\nB\nc\n", 1},
      {"one line changed two ways", "a\nb\nc\n", "a\nmine\nc\n", "a\ntheirs\nc\n", "a\nmine\nc\n", 1},
      {"two insertions at one place", "a\nc\n", "a\nb1\nc\n", "a\nb2\nc\n", "a\nb1\nc\n", 1},
      {"a change against a deletion", "a\nb\nc\n", "a\nB\nc\n", "a\nc\n", "a\nB\nc\n", 1},
      {"two separate conflicts", "1\n2\n3\n4\n5\n", "1\nx\n3\n4\ny\n", "1\nX\n3\n4\nY\n", "1\nx\n3\n4\ny\n", 2},
  };
  for (const Case& c : cases) {
    const merge::Result result = merge::Merge3(c.base, c.ours, c.theirs);
    EXPECT_EQ(result.text, c.merged) << c.what;
    EXPECT_EQ(result.conflicts.size(), c.conflicts) << c.what;
  }
  const merge::Result conflict = merge::Merge3("a\nb\nc\n", "a\nmine\nc\n", "a\ntheirs\nc\n");
  ASSERT_EQ(conflict.conflicts.size(), 1u);
  EXPECT_EQ(conflict.conflicts[0].ours_line, 1u);
  EXPECT_EQ(conflict.conflicts[0].ours, std::vector<std::string>{"mine\n"});
  EXPECT_EQ(conflict.conflicts[0].base, std::vector<std::string>{"b\n"});
  EXPECT_EQ(conflict.conflicts[0].theirs, std::vector<std::string>{"theirs\n"});
}

TEST(LineMerge, TwoWayKeepsWhatIsEqualAndCallsEveryDifferenceAConflict) {
  EXPECT_TRUE(merge::Merge2("a\nb\n", "a\nb\n").conflicts.empty());
  EXPECT_EQ(merge::Merge2("a\nb\n", "a\nb\n").text, "a\nb\n");
  const merge::Result added = merge::Merge2("a\nc\n", "a\nb\nc\n");
  ASSERT_EQ(added.conflicts.size(), 1u) << "an addition or a deletion: nothing says which";
  EXPECT_EQ(added.text, "a\nc\n");
  EXPECT_TRUE(added.conflicts[0].base.empty());
  EXPECT_EQ(added.conflicts[0].theirs, std::vector<std::string>{"b\n"});
  EXPECT_EQ(merge::Merge2("1\nx\n3\ny\n5\n", "1\nX\n3\nY\n5\n").conflicts.size(), 2u);
}

TEST(LineMerge, MatchingKeepsALongestCommonSubsequenceOrStaysCorrectWhenCut) {
  const auto a = merge::SplitLines("a\nb\nc\na\nb\nb\na\n");
  const auto b = merge::SplitLines("c\nb\na\nb\na\nc\n");
  const std::vector<long> match = merge::MatchLines(a, b);
  long kept = 0, last = -1;
  for (std::size_t i = 0; i < match.size(); ++i) {
    if (match[i] < 0) continue;
    EXPECT_GT(match[i], last) << "matches rise";
    EXPECT_EQ(a[i], b[static_cast<std::size_t>(match[i])]);
    last = match[i];
    ++kept;
  }
  EXPECT_EQ(kept, 4) << "the longest common subsequence of the classic example";
  // Far apart beyond the bound: nothing wrong is matched in the middle.
  std::string left, right;
  for (int i = 0; i < 300; ++i) {
    left += "l" + std::to_string(i) + "\n";
    right += "r" + std::to_string(i) + "\n";
  }
  const auto cut = merge::MatchLines(merge::SplitLines("head\n" + left + "tail\n"),
                                     merge::SplitLines("head\n" + right + "tail\n"), 10);
  EXPECT_EQ(cut.front(), 0);
  EXPECT_EQ(cut.back(), 301);
  for (std::size_t i = 1; i + 1 < cut.size(); ++i) EXPECT_EQ(cut[i], -1);
  EXPECT_TRUE(merge::SplitLines("").empty());
  EXPECT_EQ(merge::SplitLines("a\nb").size(), 2u);
}

}  // namespace
