#pragma once
// The unified diff of two texts, written from the client's line diff (three
// lines of context, hunk headers as
// "@@ -start,count +start,count @@", "\ No newline at end of file" after a
// last line that lacks its newline).
#include <cstddef>
#include <string>
#include <string_view>

#include "local/line_diff.h"

namespace stratatool {

using client_local::lines::DiffLines;
using client_local::lines::Edit;
using client_local::lines::EditKind;
using client_local::lines::SplitLines;

// The unified diff of two texts under the labels of the "---" and "+++"
// lines; empty when the texts are equal.
std::string UnifiedDiff(std::string_view old_text, std::string_view new_text, const std::string& old_label,
                        const std::string& new_label, std::size_t context = 3);

}  // namespace stratatool
