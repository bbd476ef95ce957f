// Drawing the whole screen or one document line: the title row, the panes with the selection
// highlight, and the bottom row.
#include <algorithm>

#include "curses/editor/curses_editor.h"
#include "curses/screen/attributes.h"
#include "text/utf8.h"

namespace {

// Writes the characters [fromColumn, fromColumn + count) of text.
void writeColumns(CursesScreen& screen, const std::string& text, int fromColumn, int count) {
    const std::string_view all(text);
    const size_t from = byteOffset(all, fromColumn);
    const size_t to = from + byteOffset(all.substr(from), count);
    if (to > from) screen.addtext(all.substr(from, to - from));
}

}  // namespace

void CursesEditor::drawRow(int row, int y, int& state) {
    if (y >= line_count()) {
        screen.attrset(attr::kText);
        screen.bkgdset(attr::kText);
        screen.move(row, 0);
        screen.clrtoeol();
        return;
    }
    draw_line(row, doc.lines[static_cast<size_t>(y)], state, y);
    const TextRange r = selection();
    if (!sel.selecting || r.empty() || y < r.start.line || y > r.end.line) return;
    // The selection highlight.
    const int from = std::clamp(y == r.start.line ? r.start.column - view.scroll_x : 0, 0, screen.cols);
    const int to = std::clamp(y == r.end.line ? r.end.column - view.scroll_x : screen.cols, 0, screen.cols);
    const std::string& text = doc.lines[static_cast<size_t>(y)];
    screen.attrset(attr::kSelection);
    screen.move(row, from);
    if (text.empty()) {
        // An empty selected line shows one highlighted blank.
        if (from < screen.cols) screen.addstr(" ");
    } else if (from < to) {
        writeColumns(screen, text, from + view.scroll_x, to - from);
    }
    screen.attrset(attr::kText);
}

void CursesEditor::draw(int line) {
    panes.top_margin = tab_count() >= 2 ? 2 : 1;
    const PaneRows upper = pane(0);
    screen.pane_offset[0] = panes.pane_offset[0];
    screen.pane_offset[1] = panes.pane_offset[1];
    screen.upper_rows = is_split() ? upper.rows : upper.rows - 1;
    screen.total_lines = line_count();
    screen.top_margin = panes.top_margin;
    screen.bottom_margin = panes.bottom_margin;
    screen.attrset(attr::kText);
    if (line >= 0) {
        const int state = line_start_state(line);
        for (int p = 0; p < pane_count(); ++p) {
            const int k = line - panes.pane_offset[p];
            if (k < 0 || k >= pane(p).rows) continue;
            int s = state;
            drawRow(pane(p).top + k, line, s);
        }
        return;
    }
    screen.flags |= CursesScreen::kDeferRepaint;
    draw_top_line();
    screen.attrset(attr::kText);
    screen.bkgdset(attr::kText);
    panes.status_len = 0;
    for (int p = 0; p < pane_count(); ++p) {
        const PaneRows pn = pane(p);
        int state = line_start_state(panes.pane_offset[p]);
        for (int k = 0; k < pn.rows; ++k) drawRow(pn.top + k, panes.pane_offset[p] + k, state);
    }
    if (panes.bottom_margin >= 1) {
        if (prompt.mode == FindPrompt || prompt.mode == ReplacePrompt || prompt.mode == GotoPrompt)
            paintPrompt();
        else
            drawHelpRow();
    }
    // The status text stays in view after every full redraw.
    paintStatus();
    screen.flags &= static_cast<uint8_t>(~CursesScreen::kDeferRepaint);
    screen.invalidate_all();
}

void CursesEditor::draw_line(int row, const std::string& text, int&, int) {
    screen.attrset(attr::kText);
    screen.bkgdset(attr::kText);
    screen.move(row, 0);
    screen.addtext(std::string_view(text).substr(byteOffset(std::string_view(text), view.scroll_x)));
    screen.clrtoeol();
}
