// Typing and Enter, and the pattern every edit of the caret line follows: note the view, change
// the line, draw the line (or everything), push the undo record, keep the caret in view.
#include <algorithm>

#include "curses/commands/line_text.h"
#include "curses/editor/curses_editor.h"
#include "text/utf8.h"

namespace {

// Characters the window delivers outside the Basic Multilingual Plane come in halves.
bool isSurrogate(int unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

}  // namespace

bool CursesEditor::replaceInLine(int y, size_t pos, size_t removed, const std::string& inserted) {
    std::string& line = doc.lines[static_cast<size_t>(y)];
    pos = std::min(pos, line.size());
    removed = std::min(removed, line.size() - pos);
    const bool before = edit_needs_full_redraw(line, pos, removed);
    line.replace(pos, removed, inserted);
    return edit_needs_full_redraw(line, pos, inserted.size()) || before;
}

bool CursesEditor::clearSelectionForEdit() {
    if (!sel.selecting) return false;
    if (has_selection())
        delete_selection();
    else
        sel.selecting = false;
    return true;
}

void CursesEditor::finishEdit(bool fullRedraw) {
    requestDraw(fullRedraw ? -1 : view.cursor_y);
    push_undo();
    set_cursor(false, -1);
}

void CursesEditor::settleCaret(bool redraw) {
    if (redraw) requestDraw(-1);
    set_cursor(false, -1);
}

void CursesEditor::flushPendingSurrogate() {
    std::string lone;
    joiner_.flush(lone);
    if (!lone.empty()) typeText(lone);
}

void CursesEditor::typeCharacter(int key) {
    std::string text;
    const int character = curses_key_character(key);
    if (isSurrogate(character) || joiner_.holding()) {
        joiner_.feed(static_cast<char16_t>(character), text);
        if (text.empty()) return;  // the first half waits for its partner
    } else {
        appendCodePoint(text, character);
    }
    typeText(text);
}

void CursesEditor::typeText(const std::string& text) {
    note_view_before_change();
    bool full = clearSelectionForEdit();
    int& y = view.cursor_y;
    y = std::clamp(y, 0, line_count());
    if (y >= line_count()) doc.lines.emplace_back();
    const std::string& line = doc.lines[static_cast<size_t>(y)];
    const size_t pos = byteOffset(std::string_view(line), view.cursor_x);
    size_t removed = 0;
    if (shared().overwrite) removed = byteOffset(std::string_view(line).substr(pos), charCount(std::string_view(text)));
    full = replaceInLine(y, pos, removed, text) || full;
    view.cursor_x = charCount(std::string_view(doc.lines[static_cast<size_t>(y)]).substr(0, pos + text.size()));
    finishEdit(full);
}

void CursesEditor::enter() {
    note_view_before_change();
    clearSelectionForEdit();
    view.cursor_y = std::clamp(view.cursor_y, 0, line_count());
    if (view.cursor_y >= line_count()) doc.lines.emplace_back();
    const int y = view.cursor_y;
    std::string& line = doc.lines[static_cast<size_t>(y)];
    const std::string indent = line.substr(0, leadingBlanks(line));
    if (!shared().overwrite) {
        // The line splits at the caret (Ctrl: at its end); the new line keeps the indentation.
        const size_t at = ctrlHeld() ? line.size() : std::min(byteOffset(std::string_view(line), view.cursor_x), line.size());
        std::string tail = line.substr(at);
        line.erase(at);
        doc.lines.insert(doc.lines.begin() + (y + 1), indent + tail.substr(leadingBlanks(tail)));
        view.cursor_y = y + 1;
        view.cursor_x = charCount(std::string_view(indent));
    } else {
        if (y == line_count() - 1) doc.lines.push_back(indent);
        view.cursor_y = y + 1;
        view.cursor_x = std::min(charCount(std::string_view(indent)), line_length(view.cursor_y));
    }
    view.scroll_x = 0;
    requestDraw(-1);
    push_undo();
    set_cursor(false, -1);
}
