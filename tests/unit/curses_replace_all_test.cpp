// Replace all works through each line once; these tests hold it to the procedure written out
// slowly here, one hit at a time on the line as it stands (its columns counted from the line
// start and its tokens cut from the line start at every hit), on random lines of well-formed
// and malformed text in every search mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "curses_fakes.h"
#include "text/utf8.h"

namespace {

struct Piece {
    int start;
    int length;
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Every token of text: runs without blanks, a "." a token of its own.
std::vector<Piece> slowTokens(const std::string& text) {
    std::vector<Piece> out;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i])) ++i;
        size_t start = i;
        while (i < text.size() && !isBlank(text[i])) ++i;
        for (size_t k = start; k < i; ++k) {
            if (text[k] != '.') continue;
            if (k > start) out.push_back({static_cast<int>(start), static_cast<int>(k - start)});
            out.push_back({static_cast<int>(k), 1});
            start = k + 1;
        }
        if (start < i) out.push_back({static_cast<int>(start), static_cast<int>(i - start)});
    }
    return out;
}

bool sameBytes(const char* a, const char* b, size_t n, bool matchCase) {
    for (size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (!matchCase && x < 128) x = static_cast<unsigned char>(std::tolower(x));
        if (!matchCase && y < 128) y = static_cast<unsigned char>(std::tolower(y));
        if (x != y) return false;
    }
    return true;
}

bool letterOrDigit(char c) { return static_cast<unsigned char>(c) < 128 && std::isalnum(static_cast<unsigned char>(c)); }

// The first hit at or after start in the whole line: position and length, or -1.
int slowSearch(const std::string& s, const std::string& text, int mode, int start, int& length) {
    const bool matchCase = mode & 1;
    if (mode >= 4) {
        const std::vector<Piece> want = slowTokens(text), have = slowTokens(s);
        if (want.empty() || have.size() < want.size()) return -1;
        for (size_t k = 0; k + want.size() <= have.size(); ++k) {
            if (have[k].start < start) continue;
            bool all = true;
            for (size_t t = 0; t < want.size() && all; ++t)
                all = have[k + t].length == want[t].length &&
                      sameBytes(s.data() + have[k + t].start, text.data() + want[t].start,
                                static_cast<size_t>(want[t].length), matchCase);
            if (!all) continue;
            const Piece& last = have[k + want.size() - 1];
            length = last.start + last.length - have[k].start;
            return have[k].start;
        }
        return -1;
    }
    const int n = static_cast<int>(text.size());
    for (int p = std::max(start, 0); p + n <= static_cast<int>(s.size()); ++p) {
        if (!sameBytes(s.data() + p, text.data(), static_cast<size_t>(n), matchCase)) continue;
        if ((mode & 2) && ((p > 0 && letterOrDigit(s[static_cast<size_t>(p - 1)])) ||
                           (p + n < static_cast<int>(s.size()) && letterOrDigit(s[static_cast<size_t>(p + n)]))))
            continue;
        length = n;
        return p;
    }
    return -1;
}

struct Positions {
    int caretX, caretY, x1, y1, x2, y2;
    friend bool operator==(const Positions&, const Positions&) = default;
};

// One hit at a time, each search starting after the text just inserted.
int slowReplaceAll(std::vector<std::string>& lines, Positions& at, const std::string& find, const std::string& change,
                   int mode) {
    int instances = 0;
    const int changeColumns = charCount(change.c_str());
    for (int y = 0; y < static_cast<int>(lines.size()); ++y) {
        std::string& line = lines[static_cast<size_t>(y)];
        int pos = 0;
        for (;;) {
            int length = 0;
            const int hit = slowSearch(line, find, mode, pos, length);
            if (hit < 0 || length <= 0) break;
            const bool reachesEnd = static_cast<size_t>(hit + length) >= line.size();
            const int from = charCount(std::string_view(line).substr(0, static_cast<size_t>(hit)));
            const int to = charCount(std::string_view(line).substr(0, static_cast<size_t>(hit + length)));
            auto follow = [&](int& x, int py) {
                if (py != y) return;
                if (x > from && x < to)
                    x = from;
                else if (x >= to)
                    x += changeColumns - (to - from);
            };
            follow(at.caretX, at.caretY);
            follow(at.x1, at.y1);
            follow(at.x2, at.y2);
            line.replace(static_cast<size_t>(hit), static_cast<size_t>(length), change);
            ++instances;
            if (reachesEnd) break;
            pos = hit + static_cast<int>(change.size());
        }
    }
    return instances;
}

// Words, blanks, dots, NUL bytes and bytes that are not well-formed UTF-8 on their own.
const char* const kPieces[] = {"a", "b", "A", "ab", " ", "\t", ".", "_", "1", "\xC3\xA9", "\xC3", "\xA9",
                               "\xE2\x82", "\xAC", "\xF0\x9F", "\xF8", "a.b", " . ", "NUL"};
const char* const kFinds[] = {"a", "ab", "A", "a.b", "a . b", ".", "\xC3", "\xA9", "b a", "a\xC3", "\xE2\x82"};
const char* const kChanges[] = {"", "b", "ab", " ", ".", "\xC3", "\xA9", "xyz", "\xE2", "a a", "\xC3\xA9"};

template <size_t N>
const char* pick(std::mt19937& random, const char* const (&from)[N]) {
    return from[random() % N];
}

}  // namespace

TEST(CursesReplaceAll, GivesTheOneAtATimeResultInEveryMode) {
    std::mt19937 random(20231);
    for (int round = 0; round < 1200; ++round) {
        EditorHarness h(40, 12);
        std::vector<std::string> lines(1 + random() % 4);
        for (std::string& line : lines)
            for (int k = static_cast<int>(random() % 10); k > 0; --k) {
                const std::string piece = pick(random, kPieces);
                line += piece == "NUL" ? std::string(1, '\0') : piece;
            }
        const int mode = static_cast<int>(random() % 6);
        const std::string find = pick(random, kFinds), change = pick(random, kChanges);
        const int count = static_cast<int>(lines.size());
        auto column = [&] { return static_cast<int>(random() % 12); };
        Positions at{column(), static_cast<int>(random() % static_cast<unsigned>(count)), column(),
                     static_cast<int>(random() % static_cast<unsigned>(count)), column(),
                     static_cast<int>(random() % static_cast<unsigned>(count))};
        CursesEditor& e = *h.editor;
        e.doc.lines = lines;
        e.push_undo();
        e.view.cursor_x = at.caretX;
        e.view.cursor_y = at.caretY;
        e.sel = {true, at.x1, at.y1, at.x2, at.y2};
        CursesEditor::shared().search_mode = mode;
        e.prompt.search_text = find;
        e.prompt.replace_text = change;
        e.find(false, true);

        std::vector<std::string> expected = lines;
        Positions expectedAt = at;
        const int instances = slowReplaceAll(expected, expectedAt, find, change, mode);
        SCOPED_TRACE("round " + std::to_string(round) + " mode " + std::to_string(mode));
        ASSERT_EQ(e.doc.lines, expected);
        // The selection ends are where the text took them; the caret too, kept inside its line.
        EXPECT_EQ((Positions{e.view.cursor_x, e.view.cursor_y, e.sel.sel_x1, e.sel.sel_y1, e.sel.sel_x2, e.sel.sel_y2}),
                  (Positions{std::clamp(expectedAt.caretX, 0, e.line_length(expectedAt.caretY)), expectedAt.caretY,
                             expectedAt.x1, expectedAt.y1, expectedAt.x2, expectedAt.y2}));
        if (instances > 0) {
            EXPECT_NE(h.bottomRow().find("Replaced " + std::to_string(instances) + " instance"), std::string::npos);
        }
    }
}
