// Ctrl+D: the selection inserted again after itself, or the caret line copied above itself.
#include "curses/editor/curses_editor.h"

namespace {

std::vector<std::string> splitAtLineFeeds(const std::string& text) {
    std::vector<std::string> parts;
    size_t from = 0;
    for (;;) {
        const size_t lf = text.find('\n', from);
        parts.push_back(text.substr(from, lf == std::string::npos ? std::string::npos : lf - from));
        if (lf == std::string::npos) return parts;
        from = lf + 1;
    }
}

}  // namespace

void CursesEditor::duplicate() {
    if (sel.selecting) {
        const TextRange r = selection();
        if (r.empty()) return;
        const std::vector<std::string> texts = splitAtLineFeeds(selection_text());
        note_view_before_change();
        setCaret(r.end);
        insert_lines(texts);
        setCaret(r.end);
        requestDraw(-1);
        push_undo();
        set_cursor(false, -1);
        show_message("Duplicated selection");
        return;
    }
    if (view.cursor_y >= line_count()) return;
    note_view_before_change();
    const int y = view.cursor_y;
    std::string copy = doc.lines[static_cast<size_t>(y)];
    doc.lines.insert(doc.lines.begin() + y, std::move(copy));
    // The caret stays with its own line, now below the copy.
    view.cursor_y = y + 1;
    requestDraw(-1);
    push_undo();
    set_cursor(false, -1);
    show_message("Duplicated line");
}
