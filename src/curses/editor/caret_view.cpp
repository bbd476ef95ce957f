// Pane geometry, positions in the document, and keeping the caret in view.
#include <algorithm>
#include <cmath>

#include "curses/editor/curses_editor.h"
#include "text/utf8.h"

int CursesEditor::text_rows() const { return screen.lines - panes.top_margin - panes.bottom_margin; }

PaneRows CursesEditor::pane(int p) const {
    const int r = text_rows();
    // The small bias keeps a ratio set from a whole row count on that row.
    const int e = static_cast<int>(std::trunc(panes.split_ratio * (r - 1) + 1e-9));
    const int top = panes.top_margin;
    if (p == 0) return {top, std::max(0, e + (panes.split_ratio >= 1.0 ? 1 : 0))};
    if (!is_split()) return {top + e + 1, 0};
    return {top + e + 1, std::max(0, r - e - 1)};
}

int CursesEditor::line_length(int y) const {
    if (y < 0 || y >= line_count()) return 0;
    return charCount(std::string_view(doc.lines[static_cast<size_t>(y)]));
}

TextRange CursesEditor::selection() const {
    TextPosition a{sel.sel_x1, sel.sel_y1};
    TextPosition b{sel.sel_x2, sel.sel_y2};
    if (b.before(a)) std::swap(a, b);
    return {a, b};
}

std::string CursesEditor::selection_text() const {
    const TextRange r = selection();
    std::string out;
    for (int y = r.start.line; y <= r.end.line && y < line_count(); ++y) {
        const std::string& line = doc.lines[static_cast<size_t>(y)];
        const size_t from = y == r.start.line ? byteOffset(std::string_view(line), r.start.column) : 0;
        const size_t to = y == r.end.line ? byteOffset(std::string_view(line), r.end.column) : line.size();
        if (y > r.start.line) out += '\n';
        if (to > from) out.append(line, from, to - from);
    }
    return out;
}

bool CursesEditor::caret_visible() const {
    const int offset = panes.pane_offset[panes.current_pane];
    return view.cursor_y >= offset && view.cursor_y < offset + pane(panes.current_pane).rows;
}

void CursesEditor::set_cursor(bool vertical, double center) {
    PaintBatch batch(*this);
    view.cursor_y = std::clamp(view.cursor_y, 0, line_count());
    const int length = line_length(view.cursor_y);
    int& x = view.cursor_x;
    if (vertical) {
        if (view.wanted_x >= 0) x = view.wanted_x;
        view.wanted_x = x;
    } else if (x <= length) {
        view.wanted_x = -1;
    }
    x = std::clamp(x, 0, length);

    bool scrolled = false;
    const int width = std::max(1, screen.cols - 3);
    if (x < view.scroll_x || x >= view.scroll_x + width) {
        view.scroll_x = x < view.scroll_x ? x : x - width + 1;
        scrolled = true;
    }
    const int rows = pane(panes.current_pane).rows;
    int& offset = panes.pane_offset[panes.current_pane];
    int wanted = offset;
    if (center >= 0 && center < 1)
        wanted = std::max(0, view.cursor_y - static_cast<int>(std::trunc(rows * center)));
    else if (view.cursor_y < offset)
        wanted = view.cursor_y;
    else if (rows > 0 && view.cursor_y >= offset + rows)
        wanted = view.cursor_y - rows + 1;
    if (wanted != offset) {
        offset = wanted;
        scrolled = true;
    }
    if (scrolled) requestDraw(-1);
    requestStatus();
    requestCursor();
}
