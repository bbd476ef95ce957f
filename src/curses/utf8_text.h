#pragma once
// UTF-8 helpers shared by the character-cell editor and the platform layer. Every byte
// sequence decodes to something and advances by at least one byte, so text of any encoding
// can be shown and edited without losing bytes.
#include <cstddef>
#include <optional>
#include <string>

#include "editor/text_columns.h"

struct DecodedChar {
    int codePoint;
    int length;
};

// The character at text (length 0 at the terminating NUL). Lengths follow charLength; a
// sequence that counts as one byte yields the byte's own value; five and six byte
// sequences yield '_'.
DecodedChar decode(const char* text);

// Bytes written (1 to 4); 0 when room is too small; -1 for a negative code point or one
// above 0x1FFFFF.
int encode(int codePoint, char* buffer, size_t room);

// UTF-16 into a fixed buffer of bufferBytes bytes: at most bufferBytes / 2 - 1 units, then
// a terminator. Returns the units written, terminator not counted.
int to_utf16(char16_t* buffer, size_t bufferBytes, const char* text);

// 0: only ASCII (or no text); 1: valid UTF-8 with a multi-byte character; -1: an invalid byte.
int utf8_kind(const char* text);

// Lenient conversion for window texts: nothing when the text does not look like UTF-8 (the
// caller then uses the 8-bit call); otherwise invalid sequences are dropped.
std::optional<std::u16string> to_wide(const char* text);
