#include "curses/system/clipboard_text.h"

#include <algorithm>

#include "text/utf16.h"

std::u16string clipboard_text_from_utf8(const std::string& text) {
    // Each byte gives at most one unit (a four-byte character gives two).
    std::u16string units(text.size() + 1, u'\0');
    size_t used = 0;
    // A NUL byte would end the clipboard's text: it goes as the replacement character the
    // editor shows for it, and the text after it follows.
    for (size_t from = 0;;) {
        const size_t nul = text.find('\0', from);
        const std::string piece = text.substr(from, nul == std::string::npos ? std::string::npos : nul - from);
        int written = to_utf16(units.data() + used, (units.size() - used) * sizeof(char16_t), piece.c_str());
        used += static_cast<size_t>(std::max(written, 0));
        if (nul == std::string::npos) break;
        units[used++] = u'\uFFFD';
        from = nul + 1;
    }
    units.resize(used);
    return units;
}

std::vector<std::string> clipboard_lines(const std::u16string& unicode, const std::string& plain, int indent_size) {
    std::u16string_view units(unicode);
    size_t zero = units.find(u'\0');
    if (zero != std::u16string_view::npos) units = units.substr(0, zero);
    std::string text = utf16ToUtf8(units);
    if (text.empty()) text = plain;
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    const std::string tab(static_cast<size_t>(std::max(indent_size, 0)), ' ');
    std::string current;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\t') {
            current += tab;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    lines.push_back(std::move(current));
    return lines;
}
