// Replace all: every hit of every line replaced in one pass over the line, with the caret and
// the selection following the text around them. Gives what replacing the hits one at a time
// gives (each search starting after the text just inserted), without rebuilding the line or
// counting its columns from its start at every hit.
#include <cstdio>

#include "curses/editor/curses_editor.h"
#include "text/utf8.h"

namespace {

// Bytes a character's length can depend on, from its first byte on.
constexpr size_t kDecodeReach = 6;

// Columns of a line being rebuilt: the finished part (out) followed by the rest of the line
// as it was (rest, from byte `from` on). A column counts the characters of the rebuilt line's
// bytes before it, taken as a text of their own (a NUL byte is a character), as the editor's
// counts do.
class RebuiltColumns {
public:
    // The column of byte `at` of the rebuilt line (at >= out.size()).
    int columnAt(const std::string& out, const std::string& rest, size_t from, size_t at) {
        settle(out);
        std::string window(out, mark_);
        const size_t restBytes = at - out.size();
        window.append(rest, from, std::min(restBytes, rest.size() - std::min(from, rest.size())));
        return column_ + charCount(std::string_view(window).substr(0, at - mark_));
    }

private:
    // Moves the mark over characters that no later change can decode differently.
    void settle(const std::string& out) {
        while (mark_ + kDecodeReach <= out.size()) {
            const int length = decode(out.data() + mark_, out.size() - mark_).length;
            mark_ += length > 0 ? static_cast<size_t>(length) : 1;  // a NUL byte is one character
            ++column_;
        }
    }

    size_t mark_ = 0;  // a character boundary of out
    int column_ = 0;   // characters before mark_
};

// A column on the line follows the text around a hit replaced from column `hit` to `end`.
void follow(int& x, int hit, int end, int replacementColumns) {
    if (x > hit && x < end)
        x = hit;
    else if (x >= end)
        x += replacementColumns - (end - hit);
}

std::string replacedMessage(int instances, int lines) {
    char text[128];
    std::snprintf(text, sizeof text, "Replaced %d instance%s on %d line%s", instances, instances == 1 ? "" : "s", lines,
                  lines == 1 ? "" : "s");
    return text;
}

}  // namespace

void CursesEditor::replaceAll() {
    note_view_before_change();
    int instances = 0;
    int touchedLines = 0;
    const std::string& change = prompt.replace_text;
    const int replacementColumns = charCount(std::string_view(change));
    for (int y = 0; y < line_count(); ++y) {
        std::string& line = doc.lines[static_cast<size_t>(y)];
        const bool tracked = view.cursor_y == y || (sel.sel_y1 == y) || (sel.sel_y2 == y);
        RebuiltColumns columns;
        std::string out;
        size_t pos = 0;
        int hits = 0;
        for (;;) {
            // The search sees the byte before its start as the rebuilt line has it; the bytes
            // before that are done with.
            if (pos > 0) line[pos - 1] = out.empty() ? ' ' : out.back();
            int length = 0;
            const int hit = search_line(prompt.search_text, y, static_cast<int>(pos), true, length);
            if (hit < 0 || length <= 0) break;
            out.append(line, pos, static_cast<size_t>(hit) - pos);
            if (tracked) {
                const int from = columns.columnAt(out, line, static_cast<size_t>(hit), out.size());
                const int to = columns.columnAt(out, line, static_cast<size_t>(hit), out.size() + static_cast<size_t>(length));
                if (view.cursor_y == y) follow(view.cursor_x, from, to, replacementColumns);
                if (sel.sel_y1 == y) follow(sel.sel_x1, from, to, replacementColumns);
                if (sel.sel_y2 == y) follow(sel.sel_x2, from, to, replacementColumns);
            }
            out += change;
            ++hits;
            pos = static_cast<size_t>(hit + length);
            if (pos >= line.size()) break;  // a hit reaching the line end finishes the line
        }
        if (hits == 0) continue;
        out.append(line, std::min(pos, line.size()));
        line = std::move(out);
        instances += hits;
        ++touchedLines;
    }
    push_undo();
    requestDraw(-1);
    set_cursor(false, -1);
    if (instances > 0) show_message(replacedMessage(instances, touchedLines));
}
