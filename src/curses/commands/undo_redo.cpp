// Ctrl+Z and Ctrl+Y (Ctrl+Shift+Z): a step back or forward through the undo records.
#include <cstdio>

#include "curses/editor/curses_editor.h"

namespace {

std::string format(const char* pattern, int value) {
    char text[128];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

}  // namespace

void CursesEditor::undo() {
    if (history.pos <= 0) {
        show_message("Can't Undo");
        return;
    }
    --history.pos;
    restore(history.records[static_cast<size_t>(history.pos)], 1);
    requestDraw(-1);
    set_cursor(false, -1);
    show_message(format("Undid action - %d items in undo buffer", history.pos));
}

void CursesEditor::redo() {
    const int count = static_cast<int>(history.records.size());
    if (history.pos >= count - 1) {
        show_message("Can't Redo");
        return;
    }
    ++history.pos;
    restore(history.records[static_cast<size_t>(history.pos)], 0);
    requestDraw(-1);
    set_cursor(false, -1);
    show_message(format("Redid action - %d items in redo buffer", count - history.pos - 1));
}
