// Line merges: a longest common subsequence of lines (the greedy search of
// Myers with its trace kept for the way back, after the common leading and
// trailing lines), and the merges built on it.
#include "local/line_merge.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace client_local::merge {

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t newline = text.find('\n', start);
    const std::size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
    lines.push_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

std::vector<long> MatchLines(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b,
                             std::size_t max_cost) {
  std::vector<long> match(a.size(), -1);
  // Lines as numbers: equal lines, equal numbers.
  std::unordered_map<std::string_view, std::uint32_t> ids;
  auto number = [&ids](std::string_view line) {
    return ids.emplace(line, static_cast<std::uint32_t>(ids.size())).first->second;
  };
  std::vector<std::uint32_t> x_ids(a.size()), y_ids(b.size());
  for (std::size_t i = 0; i < a.size(); ++i) x_ids[i] = number(a[i]);
  for (std::size_t i = 0; i < b.size(); ++i) y_ids[i] = number(b[i]);

  const std::size_t n = a.size(), m = b.size();
  std::size_t prefix = 0;
  while (prefix < n && prefix < m && x_ids[prefix] == y_ids[prefix]) {
    match[prefix] = static_cast<long>(prefix);
    ++prefix;
  }
  std::size_t suffix = 0;
  while (suffix < n - prefix && suffix < m - prefix && x_ids[n - 1 - suffix] == y_ids[m - 1 - suffix]) {
    match[n - 1 - suffix] = static_cast<long>(m - 1 - suffix);
    ++suffix;
  }
  const long big_n = static_cast<long>(n - prefix - suffix);
  const long big_m = static_cast<long>(m - prefix - suffix);
  if (big_n == 0 || big_m == 0) return match;
  auto same = [&](long x, long y) {
    return x_ids[prefix + static_cast<std::size_t>(x)] == y_ids[prefix + static_cast<std::size_t>(y)];
  };

  // v[k]: the furthest x reached on diagonal k (= x - y); trace[d - 1] keeps
  // v over the diagonals -(d-1)..d-1 as it was before step d.
  const long max_d = std::min<long>(big_n + big_m, static_cast<long>(std::min<std::size_t>(max_cost, 1L << 20)));
  const long offset = max_d + 1;
  std::vector<long> v(static_cast<std::size_t>(2 * max_d + 3), 0);
  std::vector<std::vector<std::int32_t>> trace;
  long found = -1;
  for (long d = 0; d <= max_d && found < 0; ++d) {
    if (d > 0) trace.emplace_back(v.begin() + (offset - (d - 1)), v.begin() + (offset + d));
    for (long k = -d; k <= d; k += 2) {
      long x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1])) ? v[offset + k + 1]
                                                                              : v[offset + k - 1] + 1;
      long y = x - k;
      while (x < big_n && y < big_m && same(x, y)) ++x, ++y;
      v[offset + k] = x;
      if (x >= big_n && y >= big_m) {
        found = d;
        break;
      }
    }
  }
  if (found < 0) return match;  // too far apart: the middle stays unmatched

  long x = big_n, y = big_m;
  for (long d = found; d > 0; --d) {
    const std::vector<std::int32_t>& before = trace[static_cast<std::size_t>(d - 1)];
    auto at = [&](long k) { return static_cast<long>(before[static_cast<std::size_t>(k + d - 1)]); };
    const long k = x - y;
    const long prev_k = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? k + 1 : k - 1;
    const long prev_x = at(prev_k);
    const long prev_y = prev_x - prev_k;
    while (x > prev_x && y > prev_y) {
      --x, --y;
      match[prefix + static_cast<std::size_t>(x)] = static_cast<long>(prefix) + y;
    }
    x = prev_x;
    y = prev_y;
  }
  while (x > 0 && y > 0) {
    --x, --y;
    match[prefix + static_cast<std::size_t>(x)] = static_cast<long>(prefix) + y;
  }
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

}  // namespace client_local::merge
