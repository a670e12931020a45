#pragma once
// Internal: 16-byte identifiers as text in a fixed layout. A layout is a
// pattern where each "xx" stands for one byte in hex and every other
// character is a separator that must appear as it stands.
#include <cstddef>
#include <cstdint>

namespace client_local {

// Reads text of exactly the layout's shape; false, with bytes untouched,
// when it does not fit.
// The value of a hexadecimal digit (either case), or -1.
int HexValue(char c);
bool ParseIdText(const char* layout, const char* text, std::uint8_t (&bytes)[16]);
// Writes the bytes in the layout (lower-case hex) and a terminator; TBS_ST_INVALID_ARG and
// an empty text when the buffer is too small or a pointer is null.
int FormatIdText(const char* layout, const std::uint8_t* bytes, char* out, std::size_t size);

}  // namespace client_local
