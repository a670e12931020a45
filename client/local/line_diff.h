#pragma once
// A line diff: the longest common subsequence of two texts' lines as an edit
// script. The merges of the client and the compare of the command-line tool
// are built on it.
#include <cstddef>
#include <string_view>
#include <vector>

namespace client_local::lines {

// The lines of a text, each with its newline; only the last may lack one. A
// text ending in a newline has no empty line after it; the empty text has no
// lines. So "a" and "a\n" differ, as the files do.
std::vector<std::string_view> SplitLines(std::string_view text);

enum class EditKind { kKeep, kDelete, kInsert };

// One step of the edit script: keep or delete line old_line of the old text,
// or insert line new_line of the new text (0-based indexes).
struct Edit {
  EditKind kind;
  std::size_t old_line;
  std::size_t new_line;
  bool operator==(const Edit&) const = default;
};

// The edit script that turns the old lines into the new ones, keeping a
// longest common subsequence (the greedy LCS search of Myers, in linear space,
// after the common leading and trailing lines). A part that still differs by
// more than max_cost edits is replaced as a whole there: a correct script,
// just not the shortest, and the time stays bounded for unrelated files.
inline constexpr std::size_t kDefaultMaxCost = 4096;
std::vector<Edit> DiffLines(const std::vector<std::string_view>& old_lines,
                            const std::vector<std::string_view>& new_lines,
                            std::size_t max_cost = kDefaultMaxCost);

}  // namespace client_local::lines
