// Unified hunks written from the line diff's edit script.
#include "unified_diff.h"

#include <algorithm>

namespace stratatool {

namespace {

std::string Range(std::size_t before, std::size_t count) {
  // An empty range names the line before it; one line only its number.
  if (count == 0) return std::to_string(before) + ",0";
  if (count == 1) return std::to_string(before + 1);
  return std::to_string(before + 1) + "," + std::to_string(count);
}

void AppendLine(std::string& out, char mark, std::string_view line) {
  out += mark;
  out += line;
  if (line.empty() || line.back() != '\n') out += "\n\\ No newline at end of file\n";
}

}  // namespace

std::string UnifiedDiff(std::string_view old_text, std::string_view new_text, const std::string& old_label,
                        const std::string& new_label, std::size_t context) {
  const auto old_lines = SplitLines(old_text);
  const auto new_lines = SplitLines(new_text);
  const auto edits = DiffLines(old_lines, new_lines);
  std::vector<std::size_t> changes;
  for (std::size_t k = 0; k < edits.size(); ++k)
    if (edits[k].kind != EditKind::kKeep) changes.push_back(k);
  if (changes.empty()) return {};

  std::string out = "--- " + old_label + "\n+++ " + new_label + "\n";
  std::size_t c = 0;
  while (c < changes.size()) {
    // A hunk takes every change whose gap to the previous one is at most
    // twice the context.
    std::size_t last = c;
    while (last + 1 < changes.size() && changes[last + 1] - changes[last] <= 2 * context + 1) ++last;
    const std::size_t begin = changes[c] >= context ? changes[c] - context : 0;
    const std::size_t end = std::min(edits.size(), changes[last] + context + 1);
    const Edit& first = edits[begin];
    std::size_t old_count = 0, new_count = 0;
    for (std::size_t k = begin; k < end; ++k) {
      if (edits[k].kind != EditKind::kInsert) ++old_count;
      if (edits[k].kind != EditKind::kDelete) ++new_count;
    }
    out += "@@ -" + Range(first.old_line, old_count) + " +" + Range(first.new_line, new_count) + " @@\n";
    for (std::size_t k = begin; k < end; ++k) {
      const Edit& e = edits[k];
      if (e.kind == EditKind::kKeep) AppendLine(out, ' ', old_lines[e.old_line]);
      if (e.kind == EditKind::kDelete) AppendLine(out, '-', old_lines[e.old_line]);
      if (e.kind == EditKind::kInsert) AppendLine(out, '+', new_lines[e.new_line]);
    }
    c = last + 1;
  }
  return out;
}

}  // namespace stratatool
