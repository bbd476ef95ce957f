// The edits several commands share: deleting and shifting the selection, and inserting lines
// (paste and duplicate).
#include <algorithm>

#include "curses/commands/line_text.h"
#include "curses/editor/curses_editor.h"
#include "text/utf8.h"

namespace {

int spacesAtStart(const std::string& text) { return static_cast<int>(leadingSpaces(text)); }

// Lines start..end of a multi-line selection go; the start line keeps its head and takes the
// end line's remainder.
void deleteLines(std::vector<std::string>& lines, const TextRange& r) {
    const int n = static_cast<int>(lines.size());
    const int sy = r.start.line;
    const int ey = r.end.line;
    std::string& first = lines[static_cast<size_t>(sy)];
    const size_t from = byteOffset(std::string_view(first), r.start.column);
    const bool endExists = ey < n;
    std::string tail;
    if (endExists) {
        const std::string& last = lines[static_cast<size_t>(ey)];
        tail = last.substr(byteOffset(std::string_view(last), r.end.column));
    }
    auto at = [&](int y) { return lines.begin() + std::min(y, n); };
    if (from == 0) {
        // The start line is covered whole: it goes with the lines between.
        if (endExists) lines[static_cast<size_t>(ey)] = std::move(tail);
        lines.erase(at(sy), at(ey));
    } else {
        first.erase(from);
        first += tail;
        lines.erase(at(sy + 1), at(ey + 1));
    }
}

// A block of several lines pasted after column 0 keeps its shape at the caret line's
// indentation.
void reindent(std::vector<std::string>& parts, const std::string& caretLine) {
    int common = 1024;
    bool anyText = false;
    for (const std::string& part : parts) {
        if (isBlank(part)) continue;
        anyText = true;
        common = std::min(common, spacesAtStart(part));
    }
    if (!anyText) common = 0;
    const std::string indent(leadingSpaces(caretLine), ' ');
    for (size_t i = 0; i < parts.size(); ++i) {
        parts[i].erase(0, static_cast<size_t>(std::min(common, spacesAtStart(parts[i]))));
        if (i > 0) parts[i].insert(0, indent);
    }
}

}  // namespace

void CursesEditor::delete_selection() {
    if (!sel.selecting) return;
    const TextRange r = selection();
    setCaret(r.start);
    sel.selecting = false;
    if (!r.empty() && r.start.line < line_count()) {
        if (r.start.line == r.end.line) {
            std::string& line = doc.lines[static_cast<size_t>(r.start.line)];
            const size_t from = byteOffset(std::string_view(line), r.start.column);
            const size_t to = byteOffset(std::string_view(line), r.end.column);
            if (to > from) line.erase(from, to - from);
        } else {
            deleteLines(doc.lines, r);
        }
    }
    while (view.cursor_y >= line_count()) doc.lines.emplace_back();
}

void CursesEditor::shift_selection(int amount) {
    const TextRange r = selection();
    const int first = r.start.line;
    const bool endLeftOut = r.end.column == 0 && r.end.line > r.start.line;
    const int last = std::min(endLeftOut ? r.end.line - 1 : r.end.line, line_count() - 1);
    if (amount < 0 && first <= last) {
        int fewest = -amount;
        for (int y = first; y <= last; ++y) fewest = std::min(fewest, spacesAtStart(doc.lines[static_cast<size_t>(y)]));
        if (fewest > 0 && fewest < -amount) amount = -fewest;
    }
    for (int y = first; y <= last; ++y) {
        std::string& line = doc.lines[static_cast<size_t>(y)];
        if (amount > 0)
            line.insert(0, static_cast<size_t>(amount), ' ');
        else
            line.erase(0, static_cast<size_t>(std::min(spacesAtStart(line), -amount)));
    }
    if (view.cursor_y >= first && view.cursor_y <= last) view.cursor_x = std::max(0, view.cursor_x + amount);
    sel.selecting = true;
    sel.sel_x1 = 0;
    sel.sel_y1 = first;
    if (endLeftOut || last < first) {
        sel.sel_x2 = r.end.column;
        sel.sel_y2 = r.end.line;
    } else {
        sel.sel_x2 = line_length(last);
        sel.sel_y2 = last;
    }
}

void CursesEditor::insert_lines(const std::vector<std::string>& texts) {
    if (texts.empty()) return;
    view.cursor_y = std::max(view.cursor_y, 0);
    while (view.cursor_y >= line_count()) doc.lines.emplace_back();
    std::vector<std::string> parts = texts;
    std::string& line = doc.lines[static_cast<size_t>(view.cursor_y)];
    const size_t split = byteOffset(std::string_view(line), view.cursor_x);
    const std::string head = line.substr(0, split);
    const std::string tail = line.substr(split);
    if (parts.size() >= 2 && view.cursor_x != 0) reindent(parts, line);
    line = head + parts[0];
    if (parts.size() == 1) {
        view.cursor_x = charCount(std::string_view(line));
        line += tail;
        return;
    }
    std::vector<std::string> added(parts.begin() + 1, parts.end());
    view.cursor_x = charCount(std::string_view(added.back()));
    added.back() += tail;
    const int y = view.cursor_y;
    doc.lines.insert(doc.lines.begin() + (y + 1), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    view.cursor_y = y + static_cast<int>(parts.size()) - 1;
}
