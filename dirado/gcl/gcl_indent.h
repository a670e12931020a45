#pragma once
// Describe indentation. Described objects frame their output in sections:
// opening a section writes the current prefix and the header (the header
// format with the title) to the standard error stream and deepens the
// indentation; closing it undoes that and writes the prefix and the footer.
// Every described line starts with the indent string once per open section.
// The strings come from the environment (gcl_env.h). A format comes from
// outside, so it is never used as a printf format: the title takes the
// place of its first "%s" and every other '%' is kept as it is.
// Sections nest per thread.
#include "gcl_string.h"

// The indent string repeated once per open section of this thread.
GCL_String GCL_IndentPrefix();
int GCL_IndentDepth();

// The format with its first "%s" replaced by the title.
GCL_String GCL_FormatIndentTitle(const GCL_String& format, const GCL_String& title);

class GCL_IndentSection {
 public:
  explicit GCL_IndentSection(const GCL_String& title);
  ~GCL_IndentSection();
  GCL_IndentSection(const GCL_IndentSection&) = delete;
  GCL_IndentSection& operator=(const GCL_IndentSection&) = delete;

 private:
  GCL_String title_;
};
