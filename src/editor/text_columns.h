#pragma once
// Character columns over UTF-8 text. Malformed and overlong sequences count one character
// per byte, so no byte is ever skipped and any byte string can be addressed by column.
#include <climits>
#include <cstddef>

// Length in bytes of the character starting at text (0 at the terminating NUL).
int charLength(const char* text);
// Characters whose first byte lies before maxBytes and before the NUL; 0 for no text.
int charCount(const char* text, long long maxBytes = INT_MAX);
// Byte position after stepping over column characters, stopping early at the NUL.
size_t byteOffset(const char* text, int column);
