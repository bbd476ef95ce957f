#pragma once
// Minimal UTF-8 decoding for text drawing. A byte that does not start a well-formed
// sequence (including overlong forms and surrogates) becomes U+FFFD and is consumed alone,
// so every byte of the input is accounted for.
#include <cstddef>

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the character at text[0] (length > 0) and stores its byte count in consumed.
char32_t decodeUtf8(const char* text, size_t length, size_t& consumed);
