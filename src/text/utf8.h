#pragma once
// The one place for the rules of UTF-8 text: how long a character is, how many characters a
// text holds, where a column starts, what a character decodes to and how a code point is
// written. Malformed and overlong sequences count one character per byte, so no byte is ever
// skipped and text of any encoding can be shown and edited without loss.
#include <climits>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Length in bytes of the character starting at text (0 at the terminating NUL).
int charLength(const char* text);
// Characters whose first byte lies before maxBytes and before the NUL; 0 for no text.
int charCount(const char* text, long long maxBytes = INT_MAX);
// Byte position after stepping over column characters, stopping early at the NUL.
size_t byteOffset(const char* text, int column);
// The same for text of known length: its end acts as the terminator, and a NUL byte inside
// it is a character of its own.
int charCount(std::string_view text);
size_t byteOffset(std::string_view text, int column);
// Steps up to column characters from the start of text (the end acts as the terminator; a
// NUL inside is a character): the byte reached and how many characters were stepped, fewer
// only at the end.
// So column c lies inside the text (c <= its character count) exactly when all c were stepped.
struct ColumnPosition {
    size_t byte;
    int column;
};
ColumnPosition columnPosition(std::string_view text, int column);
// Byte position of the character before the one at byte pos (0 when pos is 0).
size_t previousCharStart(const char* text, size_t pos);

struct DecodedChar {
    int codePoint;
    int length;
};

// The character at text (length 0 at the terminating NUL). Lengths follow charLength; a
// sequence that counts as one byte yields the byte's own value; five and six byte sequences
// yield '_'.
DecodedChar decode(const char* text);
// Same as decode, for text that is not NUL-terminated (the end counts as a terminator).
DecodedChar decode(const char* text, size_t room);

// What a character is drawn as on screen: its code point, or U+FFFD for a byte that is not
// part of a well-formed sequence, a surrogate, a value above U+10FFFF and the five and six
// byte forms.
constexpr char32_t kReplacementCharacter = 0xFFFD;
char32_t displayCodePoint(const char* text, DecodedChar c);

// Bytes written (1 to 4); 0 when room is too small; -1 for a negative code point or one
// above 0x1FFFFF.
int encode(int codePoint, char* buffer, size_t room);
// Appends the UTF-8 form of a code point, or '_' when it cannot be encoded.
void appendCodePoint(std::string& out, int codePoint);

// The code point of every character of text, one entry per column, a NUL byte included (as
// 0): the columns of text that may hold NUL bytes.
std::vector<int> codePointsOf(std::string_view text);

// 0: only ASCII (or no text); 1: valid UTF-8 with a multi-byte character; -1: an invalid byte.
int utf8_kind(const char* text);
int utf8_kind(std::string_view text);

// The longest prefix of text of at most maxBytes bytes that ends on a character boundary.
size_t fitOnCharacterBoundary(std::string_view text, size_t maxBytes);

// Calls draw(codePoint) once for every character of the first length bytes of text, with the
// code point it is drawn as (displayCodePoint). A renderer that walks text this way draws
// exactly charCount glyphs for it.
template <typename Draw>
void forEachDisplayCharacter(const char* text, size_t length, Draw&& draw) {
    for (size_t i = 0; i < length;) {
        DecodedChar c = decode(text + i, length - i);
        if (c.length == 0) return;
        draw(displayCodePoint(text + i, c));
        i += static_cast<size_t>(c.length);
    }
}
