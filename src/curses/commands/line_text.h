#pragma once
// Small questions about one line's bytes that several curses commands ask.
#include <algorithm>
#include <string>

inline bool isSpaceOrTab(char c) { return c == ' ' || c == '\t'; }

// The spaces and tabs at the start of text, in bytes.
inline size_t leadingBlanks(const std::string& text) {
    size_t n = 0;
    while (n < text.size() && isSpaceOrTab(text[n])) ++n;
    return n;
}

// The spaces (only) at the start of text up to byte `to`.
inline size_t leadingSpaces(const std::string& text, size_t to = std::string::npos) {
    to = std::min(to, text.size());
    size_t n = 0;
    while (n < to && text[n] == ' ') ++n;
    return n;
}

inline bool isBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }
