// The trace facility: one context shared by its users, under one lock.
#include "gcl_trace.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace {

struct Context {
  int levels[GCL_Trace::area_count] = {};
  std::FILE* output = stderr;
  bool own_output = false;
  int depth = 0;
  std::uint32_t sequence = 0;
};

std::mutex g_mutex;
Context* g_context = nullptr;
int g_users = 0;

int ClampArea(unsigned long long area) {
  return area > GCL_Trace::area_count - 1 ? GCL_Trace::area_count - 1 : static_cast<int>(area);
}

// Reads decimal digits (at least one); large numbers saturate.
bool ReadNumber(const std::string& item, std::size_t& i, unsigned long long& value) {
  const std::size_t start = i;
  std::uint64_t read = 0;
  i += plat::ReadDecimal(std::string_view(item).substr(i), &read, UINT64_MAX, 10);  // ten digits always fit
  while (i < item.size() && plat::IsDecimalDigit(item[i])) ++i;
  value = read;
  return i > start;
}

// One item: N, N-M, N.L or N-M.L; anything else is ignored.
void ApplyItem(Context& context, const std::string& item) {
  std::size_t i = 0;
  unsigned long long first = 0, last = 0, level = 1;
  if (!ReadNumber(item, i, first)) return;
  last = first;
  if (i < item.size() && item[i] == '-') {
    ++i;
    if (!ReadNumber(item, i, last)) return;
  }
  if (i < item.size() && item[i] == '.') {
    ++i;
    if (!ReadNumber(item, i, level)) return;
  }
  if (i != item.size()) return;
  const int from = ClampArea(first), to = ClampArea(last);
  for (int area = from; area <= to; ++area) context.levels[area] = static_cast<int>(level);
}

void Apply(Context& context, const char* trace_text) {
  if (!trace_text) return;
  std::string item;
  for (const char* p = trace_text;; ++p) {
    const char c = *p;
    if (c && (plat::IsDecimalDigit(c) || c == '-' || c == '.')) {
      item += c;
      continue;
    }
    if (!item.empty()) ApplyItem(context, item);
    item.clear();
    if (!c) break;
  }
}

void WriteLine(Context& context, const std::string& text) {
  std::string line = "....DEBUG: ";
  for (int level = 1; level < context.depth; ++level) line += "  ";
  line += text;
  line += '\n';
  std::fputs(line.c_str(), context.output);
  std::fflush(context.output);
}

}  // namespace

GCL_Trace::GCL_Trace() {
  std::lock_guard lock(g_mutex);
  if (g_users++ > 0) return;
  g_context = new Context;
  if (const char* file = std::getenv("NORVANE_GCL_DEBUG_FILE")) {
    if (std::FILE* output = std::fopen(file, "a")) {
      g_context->output = output;
      g_context->own_output = true;
    }
  }
  Apply(*g_context, std::getenv("NORVANE_GCL_DEBUG"));
}

GCL_Trace::~GCL_Trace() {
  std::lock_guard lock(g_mutex);
  if (--g_users > 0) return;
  if (g_context->own_output) std::fclose(g_context->output);
  delete g_context;
  g_context = nullptr;
}

int GCL_Trace::level(int area) const {
  if (area < 0 || area >= area_count) return 0;
  std::lock_guard lock(g_mutex);
  return g_context->levels[area];
}

void GCL_Trace::set_level(int area, int level) {
  if (area < 0 || area >= area_count) return;
  std::lock_guard lock(g_mutex);
  g_context->levels[area] = level;
}

void GCL_Trace::apply(const char* trace_text) {
  std::lock_guard lock(g_mutex);
  Apply(*g_context, trace_text);
}

void GCL_Trace::line(const char* text) {
  std::lock_guard lock(g_mutex);
  WriteLine(*g_context, text ? text : "");
}

int GCL_Trace::depth() const {
  std::lock_guard lock(g_mutex);
  return g_context->depth;
}

bool GCL_Trace::alive() {
  std::lock_guard lock(g_mutex);
  return g_context != nullptr;
}

namespace {
std::string ScopeText(const char* mark, std::uint32_t sequence, const char* class_name, const char* operation) {
  char number[16];
  std::snprintf(number, sizeof number, "%4u", static_cast<unsigned>(sequence));
  return std::string(mark) + number + "] " + (class_name ? class_name : "") + "::" + (operation ? operation : "");
}
}  // namespace

GCL_TraceScope::GCL_TraceScope(int area, int level, const char* class_name, const char* operation)
    : class_name_(class_name), operation_(operation) {
  std::lock_guard lock(g_mutex);
  sequence_ = ++g_context->sequence;
  enabled_ = area >= 0 && area < GCL_Trace::area_count && g_context->levels[area] >= level;
  if (!enabled_) return;
  WriteLine(*g_context, ScopeText(">>[", sequence_, class_name_, operation_));
  ++g_context->depth;
}

GCL_TraceScope::~GCL_TraceScope() {
  if (!enabled_) return;
  std::lock_guard lock(g_mutex);
  --g_context->depth;
  WriteLine(*g_context, ScopeText("<<[", sequence_, class_name_, operation_));
}
