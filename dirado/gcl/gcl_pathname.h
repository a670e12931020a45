#pragma once
// Pathnames: strings with path operations of the client's file utilities.
// Names are the library's own (drive letters, backslashes, \\view\TAG).
#include "gcl_string.h"

class GCL_Status;

class GCL_Pathname : public GCL_String {
 public:
  GCL_Pathname() = default;
  GCL_Pathname(const char* text, std::uint32_t length = npos) : GCL_String(text, length) {}
  GCL_Pathname(const GCL_String& text) : GCL_String(text) {}

  bool is_absolute() const;
  // Makes the name absolute and normal; on failure the status gets the
  // code and the name stays as it was. Returns the status's code.
  std::uint32_t make_absolute(GCL_Status& status);
  // The directory part ("C:\" for "C:\file", "." for a bare leaf).
  GCL_Pathname strip_leaf() const;
  // The position of the last separator ('\' or '/'), or npos.
  std::uint32_t last_separator() const;
  // The first existing "DIR\name" along a search path of directories
  // separated by ';'; the empty pathname and the status's code otherwise.
  static GCL_Pathname locate(const GCL_String& name, const GCL_String& search_path, GCL_Status& status);
};
