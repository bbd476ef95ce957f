#include "app/command_line.h"

#include <algorithm>

#include "curses/utf8_text.h"

std::string commandLineToUtf8(const std::u16string& wide, size_t maxBytes) {
    std::string out;
    for (size_t i = 0; i < wide.size(); ++i) {
        int cp = wide[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
            ++i;
        }
        char bytes[4];
        int n = encode(cp, bytes, sizeof bytes);
        if (n <= 0 || out.size() + static_cast<size_t>(n) > maxBytes) break;
        out.append(bytes, static_cast<size_t>(n));
    }
    return out;
}

std::string commandLinePath(const std::string& utf8) {
    std::string path = utf8;
    path.erase(std::remove(path.begin(), path.end(), '"'), path.end());
    return path;
}
