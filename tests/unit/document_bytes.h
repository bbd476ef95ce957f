#pragma once
// A document's lines and the bytes a save writes, both in memory, for tests that compare a
// load or save with what it should give.
#include <cstdint>
#include <string>
#include <vector>

#include "editor/document.h"
#include "platform/file_io.h"

class StringSink final : public ByteSink {
public:
    int64_t write(const void* bytes, int64_t n) override {
        text.append(static_cast<const char*>(bytes), static_cast<size_t>(n));
        return n;
    }
    std::string text;
};

inline std::vector<std::string> linesOf(const Document& document) {
    std::vector<std::string> lines;
    for (int i = 0; i < document.lineCount(); ++i) lines.emplace_back(document.lines.view(i));
    return lines;
}
