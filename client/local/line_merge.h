#pragma once
// Line merges of texts: a three-way merge against a common base, and a
// two-way merge without one. Pure text work, used by cmd_merge.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "local/line_diff.h"

namespace client_local::merge {

using lines::SplitLines;

// For each line of a, the line of b it is matched with in a longest common
// subsequence of the two (-1 when unmatched); matches rise in both texts.
// Parts that differ by more than max_cost edits are left unmatched there: a
// correct matching, just not the longest, in bounded time and memory.
inline constexpr std::size_t kDefaultMaxCost = 2000;
std::vector<long> MatchLines(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b,
                             std::size_t max_cost = kDefaultMaxCost);

// A region that both sides changed differently. Lines are counted from 0;
// in the two-way merge the base is empty.
struct Conflict {
  std::size_t ours_line = 0;  // where the region starts in "ours"
  std::vector<std::string> ours, base, theirs;
};

struct Result {
  std::string text;  // the merge; a conflict keeps "ours" in its place
  std::vector<Conflict> conflicts;
};

// Where a conflict stands in "ours": "line 4" or "lines 4-6".
std::string LineSpan(const Conflict& conflict);

// Merges the changes from base to theirs into ours.
Result Merge3(std::string_view base, std::string_view ours, std::string_view theirs);
// Without a base: equal parts stay, every difference is a conflict.
Result Merge2(std::string_view ours, std::string_view theirs);

}  // namespace client_local::merge
