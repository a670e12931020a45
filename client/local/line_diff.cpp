// The line diff: a linear-space LCS search over the lines.
#include "local/line_diff.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <utility>

namespace client_local::lines {

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

namespace {

// A vector read at the search's signed positions (never negative where read).
template <class T>
class SignedIndexed {
 public:
  explicit SignedIndexed(std::vector<T> items) : items_(std::move(items)) {}
  SignedIndexed(long count, T value) : items_(static_cast<std::size_t>(count), value) {}
  T& operator[](long i) { return items_[static_cast<std::size_t>(i)]; }
  const T& operator[](long i) const { return items_[static_cast<std::size_t>(i)]; }
  std::size_t size() const { return items_.size(); }

 private:
  std::vector<T> items_;
};

// The search over the lines as numbers (equal lines, equal numbers).
class Search {
 public:
  Search(std::vector<std::uint32_t> a, std::vector<std::uint32_t> b, std::size_t max_cost)
      : a_(std::move(a)), b_(std::move(b)), max_cost_(static_cast<long>(std::min<std::size_t>(max_cost, 1L << 30))) {}

  std::vector<Edit> Run() {
    edits_.reserve(a_.size() + b_.size());
    Compare(0, static_cast<long>(a_.size()), 0, static_cast<long>(b_.size()));
    return std::move(edits_);
  }

 private:
  void Keep(long x, long y) { edits_.push_back({EditKind::kKeep, std::size_t(x), std::size_t(y)}); }
  void Delete(long x, long y) { edits_.push_back({EditKind::kDelete, std::size_t(x), std::size_t(y)}); }
  void Insert(long x, long y) { edits_.push_back({EditKind::kInsert, std::size_t(x), std::size_t(y)}); }

  // The box of old lines [left, right) and new lines [top, bottom).
  void Compare(long left, long right, long top, long bottom) {
    while (left < right && top < bottom && a_[left] == b_[top]) Keep(left++, top++);
    long suffix = 0;
    while (right - suffix > left && bottom - suffix > top && a_[right - 1 - suffix] == b_[bottom - 1 - suffix])
      ++suffix;
    right -= suffix;
    bottom -= suffix;
    if (left == right) {
      for (long y = top; y < bottom; ++y) Insert(left, y);
    } else if (top == bottom) {
      for (long x = left; x < right; ++x) Delete(x, top);
    } else {
      Snake snake;
      if (Midpoint(left, right, top, bottom, &snake)) {
        Compare(left, snake.x1, top, snake.y1);
        Segment(snake);
        Compare(snake.x2, right, snake.y2, bottom);
      } else {
        // Too costly: the rest of the box is replaced whole.
        for (long x = left; x < right; ++x) Delete(x, top);
        for (long y = top; y < bottom; ++y) Insert(right, y);
      }
    }
    for (long k = 0; k < suffix; ++k) Keep(right + k, bottom + k);
  }

  // The middle snake: from (x1, y1) to (x2, y2), one edit step (first when
  // found going forward, last when found going backward) and a diagonal.
  struct Snake {
    long x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool step_first = true;
  };

  void Segment(const Snake& s) {
    const long dx = s.x2 - s.x1, dy = s.y2 - s.y1;
    const long diagonal = std::min(dx, dy);
    long x = s.x1, y = s.y1;
    auto step = [&] {
      if (dx > dy) Delete(x++, y);
      if (dy > dx) Insert(x, y++);
    };
    if (s.step_first) step();
    for (long k = 0; k < diagonal; ++k) Keep(x++, y++);
    if (!s.step_first) step();
  }

  bool Midpoint(long left, long right, long top, long bottom, Snake* snake) {
    const long width = right - left, height = bottom - top;
    const long delta = width - height;
    const long max = std::min((width + height + 1) / 2, max_cost_);
    const long offset = max + 1;
    SignedIndexed<long> forward(2 * max + 3, 0), backward(2 * max + 3, 0);
    forward[offset + 1] = left;   // forward[k]: the furthest x on diagonal k = x - left - (y - top)
    backward[offset + 1] = bottom;  // backward[c]: the least y on diagonal c = k - delta
    for (long d = 0; d <= max; ++d) {
      for (long k = d; k >= -d; k -= 2) {
        const long c = k - delta;
        long x, px;
        if (k == -d || (k != d && forward[offset + k - 1] < forward[offset + k + 1])) {
          px = x = forward[offset + k + 1];
        } else {
          px = forward[offset + k - 1];
          x = px + 1;
        }
        long y = top + (x - left) - k;
        const long py = (d == 0 || x != px) ? y : y - 1;
        while (x < right && y < bottom && a_[x] == b_[y]) ++x, ++y;
        forward[offset + k] = x;
        if ((delta & 1) != 0 && c >= -(d - 1) && c <= d - 1 && y >= backward[offset + c]) {
          *snake = Snake{px, py, x, y, true};
          return true;
        }
      }
      for (long c = d; c >= -d; c -= 2) {
        const long k = c + delta;
        long y, py;
        if (c == -d || (c != d && backward[offset + c - 1] > backward[offset + c + 1])) {
          py = y = backward[offset + c + 1];
        } else {
          py = backward[offset + c - 1];
          y = py - 1;
        }
        long x = left + (y - top) + k;
        const long px = (d == 0 || y != py) ? x : x + 1;
        while (x > left && y > top && a_[x - 1] == b_[y - 1]) --x, --y;
        backward[offset + c] = y;
        if ((delta & 1) == 0 && k >= -d && k <= d && x <= forward[offset + k]) {
          *snake = Snake{x, y, px, py, false};
          return true;
        }
      }
    }
    return false;
  }

  const SignedIndexed<std::uint32_t> a_, b_;
  const long max_cost_;
  std::vector<Edit> edits_;
};

}  // namespace

std::vector<Edit> DiffLines(const std::vector<std::string_view>& old_lines,
                            const std::vector<std::string_view>& new_lines, std::size_t max_cost) {
  // Lines as numbers, so the search compares integers.
  std::unordered_map<std::string_view, std::uint32_t> ids;
  auto id_of = [&ids](std::string_view line) {
    return ids.emplace(line, static_cast<std::uint32_t>(ids.size())).first->second;
  };
  std::vector<std::uint32_t> a, b;
  a.reserve(old_lines.size());
  b.reserve(new_lines.size());
  for (const auto line : old_lines) a.push_back(id_of(line));
  for (const auto line : new_lines) b.push_back(id_of(line));
  return Search(std::move(a), std::move(b), max_cost).Run();
}

}  // namespace client_local::lines
