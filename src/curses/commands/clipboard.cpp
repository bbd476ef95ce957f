// Copy, cut and paste through the system clipboard (and the copy buffer every editor shares).
#include <algorithm>
#include <cstdio>

#include "curses/commands/copy_text.h"
#include "curses/editor/curses_editor.h"
#include "curses/system/clipboard_text.h"

void CursesEditor::copyOrCut(bool cut) {
    if (!sel.selecting) return;
    if (selection().empty()) {
        show_message("No selection");
        return;
    }
    const std::string text = copiedText(doc.lines, selection(), doc.save_tab_width);
    // Text that did not reach the clipboard is not cut: a paste would not bring it back.
    if (services.clipboard &&
        !services.clipboard->setUnicodeText(screen.window.get(), clipboard_text_from_utf8(text))) {
        show_message(cut ? "Can't cut: clipboard unavailable" : "Can't copy: clipboard unavailable");
        return;
    }
    shared().copy_buffer = text;
    const char* pattern = "Copied %d bytes";
    if (cut) {
        note_view_before_change();
        delete_selection();
        push_undo();
        pattern = "Cut %d bytes";
    }
    requestDraw(-1);
    set_cursor(false, -1);
    char message[64];
    std::snprintf(message, sizeof message, pattern, static_cast<int>(text.size()));
    show_message(message);
}

std::vector<std::string> CursesEditor::clipboardLines() {
    if (!services.clipboard) return {};
    const std::u16string unicode = services.clipboard->unicodeText(screen.window.get());
    std::string plain;
    if (unicode.empty() || unicode[0] == u'\0') plain = services.clipboard->plainText(screen.window.get());
    return clipboard_lines(unicode, plain, doc.indent_size);
}

void CursesEditor::paste() {
    const std::vector<std::string> texts = clipboardLines();
    if (texts.empty()) {
        show_message("Clipboard empty");
        return;
    }
    note_view_before_change();
    clearSelectionForEdit();
    view.cursor_y = std::clamp(view.cursor_y, 0, line_count());
    insert_lines(texts);
    push_undo();
    requestDraw(-1);
    set_cursor(false, -1);
    show_message("Pasted");
}
