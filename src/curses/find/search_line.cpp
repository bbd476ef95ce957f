// Searching one line in the six modes: bytes (with or without case), whole words, and runs of
// tokens whatever the spacing between them.
#include <cctype>
#include <cstring>
#include <vector>

#include "curses/editor/curses_editor.h"
#include "curses/editor/word_class.h"

namespace {

unsigned char lowerAscii(unsigned char b) { return b < 128 ? static_cast<unsigned char>(std::tolower(b)) : b; }

bool sameBytes(const char* a, const char* b, size_t n, bool matchCase) {
    if (matchCase) return std::memcmp(a, b, n) == 0;
    for (size_t i = 0; i < n; ++i)
        if (lowerAscii(static_cast<unsigned char>(a[i])) != lowerAscii(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

struct Token {
    int start;
    int length;
};

// Cuts text into tokens with the editor's next_token, one at a time; a "." is a token of its
// own, cutting the word around it.
class TokenCutter {
public:
    TokenCutter(CursesEditor& editor, const char* begin, const char* end, const char* from)
        : editor_(editor), begin_(begin), end_(end), cursor_(from) {}

    bool next(Token& token) {
        while (pending_ == pendingEnd_) {
            if (!cutWord()) return false;
        }
        token = pieces_[pending_++];
        return true;
    }

private:
    bool cutWord() {
        pieces_.clear();
        pending_ = pendingEnd_ = 0;
        while (cursor_ < end_) {
            int length = 0;
            int state = 0;
            const char* before = cursor_;
            const char* word = editor_.next_token(cursor_, end_, length, state);
            const bool stuck = cursor_ <= before;
            if (word) {
                split(static_cast<int>(word - begin_), length);
                if (stuck) cursor_ = end_;
                return true;
            }
            if (stuck) return false;
        }
        return false;
    }
    void split(int start, int length) {
        const int wordEnd = start + length;
        for (int i = start; i < wordEnd; ++i) {
            if (begin_[i] != '.') continue;
            if (i > start) pieces_.push_back({start, i - start});
            pieces_.push_back({i, 1});
            start = i + 1;
        }
        if (start < wordEnd) pieces_.push_back({start, wordEnd - start});
        pendingEnd_ = pieces_.size();
    }

    CursesEditor& editor_;
    const char* begin_;
    const char* end_;
    const char* cursor_;
    std::vector<Token> pieces_;
    size_t pending_ = 0, pendingEnd_ = 0;
};

struct TokenSearch {
    const std::string& line;
    const std::string& text;
    const std::vector<Token>& wanted;
    bool matchCase;

    // The line tokens have[k ..] equal the wanted tokens one by one.
    bool matchesAt(const std::vector<Token>& have, size_t k) const {
        for (size_t t = 0; t < wanted.size(); ++t) {
            const Token& h = have[k + t];
            const Token& w = wanted[t];
            if (h.length != w.length) return false;
            if (!sameBytes(line.data() + h.start, text.data() + w.start, static_cast<size_t>(w.length), matchCase))
                return false;
        }
        return true;
    }
    int found(const std::vector<Token>& have, size_t k, int& match_length) const {
        const Token& last = have[k + wanted.size() - 1];
        match_length = last.start + last.length - have[k].start;
        return have[k].start;
    }
};

std::vector<Token> allTokens(TokenCutter cutter) {
    std::vector<Token> tokens;
    Token t{};
    while (cutter.next(t)) tokens.push_back(t);
    return tokens;
}

// The first run of tokens starting at or after start: cut only as far as the match. Tokens
// starting at or after start are the same whether the line is cut from its beginning or from
// the byte before start.
int firstTokenMatch(CursesEditor& editor, const TokenSearch& search, int start, int& match_length) {
    const std::string& s = search.line;
    const int from = std::max(start - 1, 0);
    TokenCutter cutter(editor, s.data(), s.data() + s.size(), s.data() + from);
    std::vector<Token> have;
    Token t{};
    const size_t n = search.wanted.size();
    while (cutter.next(t)) {
        if (t.start < start) continue;
        have.push_back(t);
        if (have.size() >= n && search.matchesAt(have, have.size() - n)) return search.found(have, have.size() - n, match_length);
    }
    return -1;
}

int lastTokenMatch(CursesEditor& editor, const TokenSearch& search, int start, int& match_length) {
    const std::string& s = search.line;
    const std::vector<Token> have = allTokens(TokenCutter(editor, s.data(), s.data() + s.size(), s.data()));
    const size_t n = search.wanted.size();
    if (have.size() < n) return -1;
    for (size_t k = have.size() - n + 1; k-- > 0;)
        if (have[k].start <= start && search.matchesAt(have, k)) return search.found(have, k, match_length);
    return -1;
}

}  // namespace

const char* CursesEditor::next_token(const char*& cursor, const char* end, int& length, int& state) {
    const char* p = cursor;
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    const char* start = p;
    while (p < end && *p != ' ' && *p != '\t') ++p;
    state = 0;
    cursor = p;
    length = static_cast<int>(p - start);
    return p == start ? nullptr : start;
}

int CursesEditor::search_line(const std::string& text, int line, int start, bool forward, int& match_length) {
    if (line < 0 || line >= line_count() || text.empty()) return -1;
    const std::string& s = doc.lines[static_cast<size_t>(line)];
    const int mode = shared().search_mode;
    const bool matchCase = (mode & 1) != 0;
    if (mode >= 4) {
        const std::vector<Token> wanted = allTokens(TokenCutter(*this, text.data(), text.data() + text.size(), text.data()));
        if (wanted.empty()) return -1;
        const TokenSearch search{s, text, wanted, matchCase};
        return forward ? firstTokenMatch(*this, search, start, match_length)
                       : lastTokenMatch(*this, search, start, match_length);
    }
    const int n = static_cast<int>(text.size());
    const int length = static_cast<int>(s.size());
    if (n > length) return -1;
    const bool words = (mode & 2) != 0;
    auto hitAt = [&](int p) {
        if (!sameBytes(s.data() + p, text.data(), static_cast<size_t>(n), matchCase)) return false;
        if (!words) return true;
        if (p > 0 && isLetterOrDigit(static_cast<unsigned char>(s[static_cast<size_t>(p - 1)]))) return false;
        return p + n >= length || !isLetterOrDigit(static_cast<unsigned char>(s[static_cast<size_t>(p + n)]));
    };
    const int first = forward ? std::max(start, 0) : std::min(start, length - n);
    const int step = forward ? 1 : -1;
    for (int p = first; forward ? p <= length - n : p >= 0; p += step) {
        if (!hitAt(p)) continue;
        match_length = n;
        return p;
    }
    return -1;
}
