// The names of the six search modes, and how long search texts are shortened in messages.
#include <algorithm>

#include "curses/editor/curses_editor.h"
#include "text/utf8.h"

const char* CursesEditor::search_mode_name(int mode) {
    static const char* const names[6] = {"substring", "SubString", "wordmatch", "WordMatch", "tokenmatch", "TokenMatch"};
    return mode >= 0 && mode < 6 ? names[mode] : names[0];
}

std::string CursesEditor::ellipsize(const std::string& text) {
    constexpr size_t kLongest = 41;
    constexpr size_t kHead = 25;
    constexpr size_t kHeadAndTail = 46;
    if (text.size() <= kLongest) return text;
    const char* s = text.c_str();
    size_t head = 0;
    while (head < kHead && head < text.size()) head += static_cast<size_t>(std::max(charLength(s + head), 1));
    head = std::min(head, text.size());
    // The longest tail that fits beside the head, starting on a character.
    const size_t room = kHeadAndTail > head ? kHeadAndTail - head : 0;
    size_t tail = head;
    while (tail < text.size() && text.size() - tail > room) tail += static_cast<size_t>(std::max(charLength(s + tail), 1));
    return text.substr(0, head) + "..." + text.substr(std::min(tail, text.size()));
}
