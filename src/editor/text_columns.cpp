#include "editor/text_columns.h"

namespace {
inline bool isContinuation(unsigned char b) { return b >= 0x80 && b <= 0xBF; }
}

int charLength(const char* text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    unsigned char b0 = p[0];
    if (b0 == 0) return 0;
    if (b0 < 0x80 || !isContinuation(p[1])) return 1;
    if (b0 <= 0xDF) return (b0 & 0x1E) ? 2 : 1;
    if (b0 <= 0xEF) {
        if (!isContinuation(p[2])) return 1;
        return ((b0 & 0x0F) || (p[1] & 0x20)) ? 3 : 1;
    }
    if (b0 <= 0xF7) {
        if (!isContinuation(p[2]) || !isContinuation(p[3])) return 1;
        return ((b0 & 0x07) || (p[1] & 0x30)) ? 4 : 1;
    }
    if (b0 <= 0xFB) {
        return (isContinuation(p[2]) && isContinuation(p[3]) && isContinuation(p[4])) ? 5 : 1;
    }
    return (isContinuation(p[2]) && isContinuation(p[3]) && isContinuation(p[4]) && isContinuation(p[5])) ? 6 : 1;
}

int charCount(const char* text, long long maxBytes) {
    if (!text) return 0;
    int count = 0;
    long long pos = 0;
    while (pos < maxBytes) {
        int len = charLength(text + pos);
        if (len == 0) break;
        ++count;
        pos += len;
    }
    return count;
}

size_t byteOffset(const char* text, int column) {
    if (!text) return 0;
    size_t pos = 0;
    for (int c = 0; c < column; ++c) {
        int len = charLength(text + pos);
        if (len == 0) break;
        pos += static_cast<size_t>(len);
    }
    return pos;
}
