// Find next and previous from the caret, wrapping around the document; the command behind
// Enter in the prompts, Ctrl+G and F3.
#include <cstdio>

#include "curses/editor/curses_editor.h"
#include "text/utf8.h"

void CursesEditor::find(bool backward, bool replace_all) {
    PaintBatch batch(*this);
    if (prompt.search_text.empty()) {
        settleCaret(true);
        return;
    }
    if (replace_all)
        replaceAll();
    else
        findNext(backward);
}

void CursesEditor::findNext(bool backward) {
    const std::string& text = prompt.search_text;
    const int n = line_count();
    bool wrapped = false;
    // The caret line is visited again at the end, for the hits on its other side.
    for (int i = 0; i <= n && n > 0; ++i) {
        const int raw = backward ? view.cursor_y - i : view.cursor_y + i;
        if (raw < 0 || raw >= n) wrapped = true;
        const int y = ((raw % n) + n) % n;
        const std::string& line = doc.lines[static_cast<size_t>(y)];
        int start = backward ? static_cast<int>(line.size()) - 1 : 0;
        if (i == 0 && view.cursor_y < n) {
            if (backward && view.cursor_x <= 0) continue;
            start = static_cast<int>(byteOffset(std::string_view(line), backward ? view.cursor_x - 1 : view.cursor_x + 1));
        }
        if (backward && line.empty()) continue;
        int length = 0;
        const int hit = search_line(text, y, start, !backward, length);
        if (hit < 0) continue;
        const int column = charCount(std::string_view(line).substr(0, hit));
        const int endColumn = charCount(std::string_view(line).substr(0, hit + length));
        sel.selecting = true;
        view.cursor_y = sel.sel_y1 = sel.sel_y2 = y;
        sel.sel_x1 = column;
        sel.sel_x2 = endColumn;
        view.scroll_x = 0;
        // Bring the match's end and some context after it into view.
        view.cursor_x = endColumn + screen.cols / 4;
        set_cursor(false, -1);
        view.cursor_x = column;
        char message[256];
        std::snprintf(message, sizeof message, "Found @ Line %d Col %d %s'%s' (Shift+)F3|Ctrl+G:(prev)next", y + 1,
                      column + 1, wrapped ? "(wrapped) " : "", ellipsize(text).c_str());
        requestDraw(-1);
        set_cursor(false, -1);
        show_message(message);
        return;
    }
    requestDraw(-1);
    set_cursor(false, -1);
    show_message(std::string(search_mode_name(shared().search_mode)) + " '" + ellipsize(text) + "' not found");
}
