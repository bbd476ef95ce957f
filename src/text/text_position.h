#pragma once
// A place in a text: character column and line, both from 0.
struct TextPosition {
    int column = 0;
    int line = 0;
    bool operator==(const TextPosition&) const = default;
    bool before(const TextPosition& other) const {
        return line < other.line || (line == other.line && column < other.column);
    }
};
