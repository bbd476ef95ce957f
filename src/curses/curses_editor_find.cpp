// The curses editor's prompts on the bottom row, the six search modes, find with
// wrap-around, replace-all and go-to-line.
#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>

#include "curses/curses_editor.h"
#include "text/utf8.h"

namespace {

using namespace curses_key;

bool isWordByte(unsigned char b) { return b < 128 && std::isalnum(b); }

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

std::string formatReplaced(int instances, int lines) {
    char text[128];
    std::snprintf(text, sizeof text, "Replaced %d instance%s on %d line%s", instances, instances == 1 ? "" : "s", lines,
                  lines == 1 ? "" : "s");
    return text;
}

}  // namespace

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

void CursesEditor::prompt_key(int key, std::string& text) {
    const bool textPrompt = mode == FindPrompt || mode == ReplacePrompt;
    if (joiner_.holding() && !(key >= 0xDC00 && key <= 0xDFFF)) joiner_.flush(text);
    switch (key) {
    case 0:
        prompt_typed = false;
        draw_top_line();
        break;
    case Backspace:
        if (!text.empty()) text.erase(previousCharStart(text.c_str(), text.size()));
        prompt_typed = true;
        break;
    case Escape:
        mode = Editing;
        draw(-1);
        set_cursor(false, -1);
        return;
    case Enter:
    case CtrlJ: mode = Editing; return;
    case Down:
        if (textPrompt) shared().search_mode = (shared().search_mode + 1) % 6;
        break;
    case Up:
        if (textPrompt) shared().search_mode = (shared().search_mode + 5) % 6;
        break;
    case Insert:
        if (!shiftHeld() && !altHeld()) break;
        [[fallthrough]];
    case ctrl('V'): {
        std::vector<std::string> clip = clipboardLines();
        if (clip.empty()) break;
        if (!prompt_typed) text.clear();
        text += clip[0];
        prompt_typed = true;
        break;
    }
    default: {
        if (!curses_key_is_printable(key)) break;
        std::string typed;
        const int character = curses_key_character(key);
        if ((character >= 0xD800 && character <= 0xDFFF) || joiner_.holding())
            joiner_.feed(static_cast<char16_t>(character), typed);
        else
            appendCodePoint(typed, character);
        if (typed.empty()) break;
        if (!prompt_typed) text.clear();
        text += typed;
        prompt_typed = true;
        break;
    }
    }
    draw_prompt();
}

void CursesEditor::openFindPrompt(bool replace) {
    if (selecting) {
        TextRange r = selection();
        if (r.start.y == r.end.y && !r.empty()) search_text = selection_text();
    }
    if (replace && search_text.empty()) {
        show_message("Use Ctrl+F first, or run Ctrl+R from Find prompt");
        return;
    }
    mode = replace ? ReplacePrompt : FindPrompt;
    prompt_key(0, replace ? replace_text : search_text);
}

void CursesEditor::openGotoPrompt() {
    shared().goto_buffer.clear();
    mode = GotoPrompt;
    prompt_key(0, shared().goto_buffer);
}

void CursesEditor::closePrompt() {
    mode = Editing;
    draw(-1);
    set_cursor(false, -1);
}

void CursesEditor::promptOnKey(int key) {
    if (mode == GotoPrompt) {
        if (key == CtrlJ) {
            closePrompt();
            return;
        }
        prompt_key(key, shared().goto_buffer);
        if (key == Enter) goto_line();
        return;
    }
    if (key == ctrl('R')) {
        const bool toReplace = !search_text.empty();
        const int target = toReplace ? ReplacePrompt : FindPrompt;
        if (mode == target) {
            closePrompt();
            return;
        }
        mode = target;
        prompt_key(0, toReplace ? replace_text : search_text);
        return;
    }
    if (key == ctrl('F')) {
        if (mode == FindPrompt) {
            closePrompt();
            return;
        }
        mode = FindPrompt;
        prompt_key(0, search_text);
        return;
    }
    const bool replacing = mode == ReplacePrompt;
    prompt_key(key, replacing ? replace_text : search_text);
    if (key == Enter || key == CtrlJ) find(false, replacing);
}

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

bool CursesEditor::tokenize(const char* begin, const char* end, std::vector<std::pair<int, int>>& tokens) {
    tokens.clear();
    const char* cursor = begin;
    while (cursor < end) {
        int length = 0;
        int state = 0;
        const char* before = cursor;
        const char* token = next_token(cursor, end, length, state);
        if (!token) {
            if (cursor <= before) break;
            continue;
        }
        // A "." is a token of its own, cutting the word around it.
        int pieceStart = static_cast<int>(token - begin);
        const int tokenEnd = pieceStart + length;
        for (int i = pieceStart; i < tokenEnd; ++i) {
            if (begin[i] != '.') continue;
            if (i > pieceStart) tokens.emplace_back(pieceStart, i - pieceStart);
            tokens.emplace_back(i, 1);
            pieceStart = i + 1;
        }
        if (pieceStart < tokenEnd) tokens.emplace_back(pieceStart, tokenEnd - pieceStart);
        if (cursor <= before) break;
    }
    return !tokens.empty();
}

int CursesEditor::search_line(const std::string& text, int line, int start, bool forward, int& match_length) {
    if (line < 0 || line >= line_count() || text.empty()) return -1;
    const std::string& s = lines[static_cast<size_t>(line)];
    const int mode = shared().search_mode;
    const bool matchCase = (mode & 1) != 0;
    if (mode >= 4) {
        std::vector<std::pair<int, int>> wanted;
        std::vector<std::pair<int, int>> have;
        if (!tokenize(text.data(), text.data() + text.size(), wanted)) return -1;
        if (!tokenize(s.data(), s.data() + s.size(), have) || have.size() < wanted.size()) return -1;
        const int count = static_cast<int>(have.size() - wanted.size()) + 1;
        auto matchesAt = [&](int k) {
            for (size_t t = 0; t < wanted.size(); ++t) {
                const auto& h = have[static_cast<size_t>(k) + t];
                const auto& w = wanted[t];
                if (h.second != w.second) return false;
                if (!sameBytes(s.data() + h.first, text.data() + w.first, static_cast<size_t>(w.second), matchCase))
                    return false;
            }
            return true;
        };
        auto found = [&](int k) {
            const auto& last = have[static_cast<size_t>(k) + wanted.size() - 1];
            match_length = last.first + last.second - have[static_cast<size_t>(k)].first;
            return have[static_cast<size_t>(k)].first;
        };
        if (forward) {
            for (int k = 0; k < count; ++k)
                if (have[static_cast<size_t>(k)].first >= start && matchesAt(k)) return found(k);
        } else {
            for (int k = count - 1; k >= 0; --k)
                if (have[static_cast<size_t>(k)].first <= start && matchesAt(k)) return found(k);
        }
        return -1;
    }
    const int n = static_cast<int>(text.size());
    const int length = static_cast<int>(s.size());
    if (n > length) return -1;
    const bool words = (mode & 2) != 0;
    auto hitAt = [&](int p) {
        if (!sameBytes(s.data() + p, text.data(), static_cast<size_t>(n), matchCase)) return false;
        if (!words) return true;
        if (p > 0 && isWordByte(static_cast<unsigned char>(s[static_cast<size_t>(p - 1)]))) return false;
        if (p + n < length && isWordByte(static_cast<unsigned char>(s[static_cast<size_t>(p + n)]))) return false;
        return true;
    };
    if (forward) {
        for (int p = std::max(start, 0); p <= length - n; ++p)
            if (hitAt(p)) {
                match_length = n;
                return p;
            }
    } else {
        for (int p = std::min(start, length - n); p >= 0; --p)
            if (hitAt(p)) {
                match_length = n;
                return p;
            }
    }
    return -1;
}

void CursesEditor::find(bool backward, bool replace_all) {
    std::string message;
    if (!search_text.empty() && replace_all) {
        note_view_before_change();
        int instances = 0;
        int touchedLines = 0;
        const int replacementColumns = charCount(replace_text.c_str());
        for (int y = 0; y < line_count(); ++y) {
            int pos = 0;
            bool touched = false;
            for (;;) {
                int length = 0;
                int hit = search_line(search_text, y, pos, true, length);
                if (hit < 0 || length <= 0) break;
                std::string& line = lines[static_cast<size_t>(y)];
                const bool reachesEnd = static_cast<size_t>(hit + length) >= line.size();
                const int hitColumn = charCount(std::string_view(line).substr(0, hit));
                const int endColumn = charCount(std::string_view(line).substr(0, hit + length));
                // Positions on the line follow the text around them.
                auto follow = [&](int& x, int py) {
                    if (py != y) return;
                    if (x > hitColumn && x < endColumn)
                        x = hitColumn;
                    else if (x >= endColumn)
                        x += replacementColumns - (endColumn - hitColumn);
                };
                follow(cursor_x, cursor_y);
                follow(sel_x1, sel_y1);
                follow(sel_x2, sel_y2);
                line.replace(static_cast<size_t>(hit), static_cast<size_t>(length), replace_text);
                ++instances;
                touched = true;
                if (reachesEnd) break;
                pos = hit + static_cast<int>(replace_text.size());
            }
            if (touched) ++touchedLines;
        }
        if (instances > 0) message = formatReplaced(instances, touchedLines);
        push_undo();
    } else if (!search_text.empty()) {
        const int n = line_count();
        bool wrapped = false;
        bool hitFound = false;
        for (int i = 0; i <= n && n > 0; ++i) {
            const int raw = backward ? cursor_y - i : cursor_y + i;
            if (raw < 0 || raw >= n) wrapped = true;
            const int y = ((raw % n) + n) % n;
            const std::string& line = lines[static_cast<size_t>(y)];
            int start;
            if (i == 0 && cursor_y < n) {
                if (backward) {
                    if (cursor_x <= 0) continue;
                    start = static_cast<int>(byteOffset(std::string_view(line), cursor_x - 1));
                } else {
                    start = static_cast<int>(byteOffset(std::string_view(line), cursor_x + 1));
                }
            } else {
                start = backward ? static_cast<int>(line.size()) - 1 : 0;
            }
            if (backward && line.empty()) continue;
            int length = 0;
            const int hit = search_line(search_text, y, start, !backward, length);
            if (hit < 0) continue;
            const int column = charCount(std::string_view(line).substr(0, hit));
            const int endColumn = charCount(std::string_view(line).substr(0, hit + length));
            selecting = true;
            cursor_y = sel_y1 = sel_y2 = y;
            sel_x1 = column;
            sel_x2 = endColumn;
            scroll_x = 0;
            // Bring the match's end and some context after it into view.
            cursor_x = endColumn + screen.cols / 4;
            set_cursor(false, -1);
            cursor_x = column;
            char text[256];
            std::snprintf(text, sizeof text, "Found @ Line %d Col %d %s'%s' (Shift+)F3|Ctrl+G:(prev)next", y + 1, column + 1,
                          wrapped ? "(wrapped) " : "", ellipsize(search_text).c_str());
            message = text;
            hitFound = true;
            break;
        }
        if (!hitFound)
            message = std::string(search_mode_name(shared().search_mode)) + " '" + ellipsize(search_text) + "' not found";
    }
    draw(-1);
    set_cursor(false, -1);
    if (!message.empty()) show_message(message);
}

void CursesEditor::goto_line() {
    const std::string& input = shared().goto_buffer;
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < input.size() && (input[i] == ' ' || input[i] == '\t')) ++i;
    };
    skipBlanks();
    int sign = 0;
    if (i < input.size() && (input[i] == '+' || input[i] == '-')) sign = input[i++] == '+' ? 1 : -1;
    skipBlanks();
    long long number = 0;
    while (i < input.size() && input[i] >= '0' && input[i] <= '9') {
        number = std::min<long long>(number * 10 + (input[i] - '0'), INT_MAX);
        ++i;
    }
    if (number > 0) {
        long long target = sign ? cursor_y + sign * number : number - 1;
        target = std::clamp<long long>(target, 0, line_count());
        cursor_y = static_cast<int>(target);
        cursor_x = line_length(cursor_y);
        selecting = false;
    }
    draw(-1);
    set_cursor(false, -1);
}
