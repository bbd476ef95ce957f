#include "curses/commands/word_moves.h"

#include <algorithm>
#include <vector>

#include "curses/editor/word_class.h"
#include "text/utf8.h"

namespace {

std::vector<WordClass> classes(const std::string& text) {
    std::vector<WordClass> out;
    for (int codePoint : codePointsOf(text)) out.push_back(wordClass(codePoint));
    return out;
}

}  // namespace

int wordRight(const std::string& text, int x) {
    const std::vector<WordClass> cls = classes(text);
    const int n = static_cast<int>(cls.size());
    if (x >= n) return x;
    const WordClass at = cls[static_cast<size_t>(x)];
    if (at != WordClass::Blank)
        while (x < n && cls[static_cast<size_t>(x)] == at) ++x;
    while (x < n && cls[static_cast<size_t>(x)] == WordClass::Blank) ++x;
    return x;
}

int wordLeft(const std::string& text, int x) {
    const std::vector<WordClass> cls = classes(text);
    x = std::min(x, static_cast<int>(cls.size()));
    while (x > 0 && cls[static_cast<size_t>(x - 1)] == WordClass::Blank) --x;
    if (x == 0) return 0;
    const WordClass before = cls[static_cast<size_t>(x - 1)];
    while (x > 0 && cls[static_cast<size_t>(x - 1)] == before) --x;
    return x;
}
