#pragma once
// UTF-8 and UTF-16, both ways: the strict conversion for paths, the lenient one for window
// texts, the fixed-buffer one of the character cells, and joining the surrogate halves that
// keyboard input delivers one at a time.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// UTF-16 into a fixed buffer of bufferBytes bytes: at most bufferBytes / 2 - 1 units, then a
// terminator. Returns the units written, terminator not counted.
int to_utf16(char16_t* buffer, size_t bufferBytes, const char* text);

// Lenient conversion for window texts: nothing when the text does not look like UTF-8 (the
// caller then uses the 8-bit call); otherwise invalid sequences are dropped.
std::optional<std::u16string> to_wide(const char* text);

// Strict conversion: false on any invalid, overlong or surrogate sequence.
bool utf8ToUtf16Strict(std::string_view utf8, std::u16string& out);

// UTF-16 to UTF-8 with surrogate pairs joined; a lone surrogate is written as its own
// three-byte form. Stops before the first character that would not fit in maxBytes.
std::string utf16ToUtf8(std::u16string_view wide, size_t maxBytes = std::string::npos);

// The order of the two bytes of each UTF-16 unit in a file.
enum class ByteOrder { LittleEndian, BigEndian };

// UTF-16 bytes in the given order (after any byte-order mark) as UTF-8 text. False on an
// odd byte count or a surrogate without its partner: such bytes are not UTF-16 text, and out
// is then unspecified. U+0000 becomes a NUL byte.
bool utf16BytesToUtf8(std::string_view bytes, ByteOrder order, std::string& out);
// The same in two steps, for writing straight into storage of the right size: the length of
// the UTF-8 form (nothing when the bytes are not UTF-16 text), then the bytes themselves.
std::optional<size_t> utf8LengthOfUtf16(std::string_view bytes, ByteOrder order);
void utf16ToUtf8Into(std::string_view bytes, ByteOrder order, char* out);

// Appends text as UTF-16 bytes in the given order, each character as the screen shows it
// (displayCodePoint: a byte that is not part of a well-formed character becomes U+FFFD).
// Unless `last`, a character cut off at the end of text is left for the next call. Returns
// how many bytes of text were converted.
size_t appendUtf16Bytes(std::string_view text, ByteOrder order, bool last, std::string& out);

// Turns UTF-16 units that arrive one at a time into UTF-8 characters: a high surrogate waits
// for its low partner and the two become one four-byte character; a lone half is written
// as its own three-byte form.
class SurrogateJoiner {
public:
    // Appends to out what the unit completes (possibly nothing, possibly a held-back lone
    // high surrogate followed by this unit).
    void feed(char16_t unit, std::string& out);
    // Writes a held-back high surrogate, if any.
    void flush(std::string& out);
    bool holding() const { return pendingHigh_ != 0; }

private:
    char16_t pendingHigh_ = 0;
};
