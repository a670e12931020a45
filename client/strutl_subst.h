#pragma once
// Replacing text within a string.
#include <cstddef>

// Copies text into out (size bytes, terminated) with every occurrence of
// `from` replaced by `to`, scanning left to right without overlap. 0; TBS_ST_INVALID_ARG
// for a null argument or an empty `from`; TBS_ST_FAILURE when the result does not fit
// (out left empty).
int strutl_replace_substr(const char* text, const char* from, const char* to, char* out, std::size_t size);
