// Describe indentation.
#include "gcl_indent.h"

#include <cstdio>

#include "gcl_env.h"

namespace {
thread_local int t_depth = 0;

void WriteLine(const GCL_String& text) {
  std::fwrite(text.c_str(), 1, text.length(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}
}  // namespace

int GCL_IndentDepth() { return t_depth; }

GCL_String GCL_IndentPrefix() {
  const GCL_String indent(GCL_GetIndentSettings().indent.c_str());
  GCL_String prefix;
  for (int i = 0; i < t_depth; ++i) prefix += indent;
  return prefix;
}

GCL_String GCL_FormatIndentTitle(const GCL_String& format, const GCL_String& title) {
  GCL_String result(format);
  const std::uint32_t at = format.find("%s");
  if (at != GCL_String::npos) result.replace(at, 2, title);
  return result;
}

GCL_IndentSection::GCL_IndentSection(const GCL_String& title) : title_(title) {
  const GCL_IndentSettings settings = GCL_GetIndentSettings();
  WriteLine(GCL_IndentPrefix() + GCL_FormatIndentTitle(settings.header_format.c_str(), title_));
  ++t_depth;
}

GCL_IndentSection::~GCL_IndentSection() {
  --t_depth;
  const GCL_IndentSettings settings = GCL_GetIndentSettings();
  WriteLine(GCL_IndentPrefix() + GCL_FormatIndentTitle(settings.footer_format.c_str(), title_));
}
