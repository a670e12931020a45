// Line merges built on the line diff's longest common subsequence.
#include "local/line_merge.h"

#include <algorithm>

namespace client_local::merge {

std::vector<long> MatchLines(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b,
                             std::size_t max_cost) {
  std::vector<long> match(a.size(), -1);
  for (const lines::Edit& edit : lines::DiffLines(a, b, max_cost))
    if (edit.kind == lines::EditKind::kKeep) match[edit.old_line] = static_cast<long>(edit.new_line);
  return match;
}

namespace {

using Lines = std::vector<std::string_view>;

struct Range {
  const Lines* lines;
  std::size_t begin, end;
  std::size_t size() const { return end - begin; }
  bool operator==(const Range& other) const {
    return size() == other.size() &&
           std::equal(lines->begin() + static_cast<long>(begin), lines->begin() + static_cast<long>(end),
                      other.lines->begin() + static_cast<long>(other.begin));
  }
  void AppendTo(std::string& text) const {
    for (std::size_t i = begin; i < end; ++i) text += (*lines)[i];
  }
  std::vector<std::string> Copy() const {
    return std::vector<std::string>(lines->begin() + static_cast<long>(begin), lines->begin() + static_cast<long>(end));
  }
};

// One region between lines that all sides keep.
void Resolve(const Range& base, const Range& ours, const Range& theirs, Result& result) {
  if (base.size() == 0 && ours.size() == 0 && theirs.size() == 0) return;
  if (ours == base) {
    theirs.AppendTo(result.text);
  } else if (theirs == base || ours == theirs) {
    ours.AppendTo(result.text);
  } else {
    ours.AppendTo(result.text);
    result.conflicts.push_back(Conflict{ours.begin, ours.Copy(), base.Copy(), theirs.Copy()});
  }
}

}  // namespace

Result Merge3(std::string_view base, std::string_view ours, std::string_view theirs) {
  const Lines b = SplitLines(base), o = SplitLines(ours), t = SplitLines(theirs);
  const std::vector<long> to_ours = MatchLines(b, o), to_theirs = MatchLines(b, t);
  Result result;
  result.text.reserve(std::max(ours.size(), theirs.size()));
  std::size_t i = 0, oi = 0, ti = 0;
  for (;;) {
    // The next base line that both sides keep (matches rise, so it lies
    // after everything already taken), or the end.
    std::size_t j = i;
    while (j < b.size() && (to_ours[j] < 0 || to_theirs[j] < 0)) ++j;
    const std::size_t o_end = j < b.size() ? static_cast<std::size_t>(to_ours[j]) : o.size();
    const std::size_t t_end = j < b.size() ? static_cast<std::size_t>(to_theirs[j]) : t.size();
    Resolve(Range{&b, i, j}, Range{&o, oi, o_end}, Range{&t, ti, t_end}, result);
    if (j == b.size()) break;
    result.text += b[j];
    i = j + 1;
    oi = o_end + 1;
    ti = t_end + 1;
  }
  return result;
}

Result Merge2(std::string_view ours, std::string_view theirs) {
  const Lines o = SplitLines(ours), t = SplitLines(theirs);
  const Lines none;
  const std::vector<long> to_theirs = MatchLines(o, t);
  Result result;
  std::size_t oi = 0, ti = 0;
  for (;;) {
    std::size_t j = oi;
    while (j < o.size() && to_theirs[j] < 0) ++j;
    const std::size_t t_end = j < o.size() ? static_cast<std::size_t>(to_theirs[j]) : t.size();
    const Range mine{&o, oi, j}, other{&t, ti, t_end};
    if (mine == other) {
      mine.AppendTo(result.text);
    } else {
      mine.AppendTo(result.text);
      result.conflicts.push_back(Conflict{oi, mine.Copy(), {}, other.Copy()});
    }
    if (j == o.size()) break;
    result.text += o[j];
    oi = j + 1;
    ti = t_end + 1;
  }
  return result;
}

std::string LineSpan(const Conflict& conflict) {
  const std::size_t first = conflict.ours_line + 1;
  if (conflict.ours.size() <= 1) return "line " + std::to_string(first);
  return "lines " + std::to_string(first) + "-" + std::to_string(first + conflict.ours.size() - 1);
}

}  // namespace client_local::merge
