// The curses editor's base key handler: movement and selection, typing, line breaks,
// deletion, indentation, the clipboard, duplicate, undo and redo, and the pane commands.
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "curses/clipboard_text.h"
#include "curses/curses_editor.h"
#include "text/utf8.h"

namespace {

using namespace curses_key;

bool isMovement(int key) { return key >= Down && key <= End; }

bool isSpaceOrTab(char c) { return c == ' ' || c == '\t'; }

size_t leadingWhitespace(const std::string& text) {
    size_t n = 0;
    while (n < text.size() && isSpaceOrTab(text[n])) ++n;
    return n;
}

// Word classes: white space, word characters, ";", everything else.
int wordClass(int cp) {
    if (cp < 128) {
        if (std::isspace(cp)) return 0;
        if (std::isalnum(cp) || cp == '_') return 1;
        if (cp == ';') return 2;
    }
    return 3;
}


int wordRight(const std::string& text, int x) {
    std::vector<int> cps = codePointsOf(text);
    const int n = static_cast<int>(cps.size());
    if (x >= n) return x;
    int cls = wordClass(cps[static_cast<size_t>(x)]);
    if (cls != 0)
        while (x < n && wordClass(cps[static_cast<size_t>(x)]) == cls) ++x;
    while (x < n && wordClass(cps[static_cast<size_t>(x)]) == 0) ++x;
    return x;
}

int wordLeft(const std::string& text, int x) {
    std::vector<int> cps = codePointsOf(text);
    x = std::min(x, static_cast<int>(cps.size()));
    while (x > 0 && wordClass(cps[static_cast<size_t>(x - 1)]) == 0) --x;
    if (x == 0) return 0;
    int cls = wordClass(cps[static_cast<size_t>(x - 1)]);
    while (x > 0 && wordClass(cps[static_cast<size_t>(x - 1)]) == cls) --x;
    return x;
}

std::string format(const char* pattern, int value) {
    char text[128];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::vector<std::string> splitAtLineFeeds(const std::string& text) {
    std::vector<std::string> parts;
    size_t from = 0;
    for (;;) {
        size_t lf = text.find('\n', from);
        parts.push_back(text.substr(from, lf == std::string::npos ? std::string::npos : lf - from));
        if (lf == std::string::npos) break;
        from = lf + 1;
    }
    return parts;
}

// Characters the window delivers outside the Basic Multilingual Plane halves.
bool isSurrogate(int key) { return key >= 0xD800 && key <= 0xDFFF; }
bool isLowSurrogate(int key) { return key >= 0xDC00 && key <= 0xDFFF; }

}  // namespace

bool curses_key_is_printable(int key) {
    if (key >= kLiteralCharacter) return key - kLiteralCharacter <= 0xFFFF;
    if (key >= Down && key <= F12) return false;
    if (key >= 128) return key <= 0xFFFF;
    return key >= 0 && (std::isgraph(key) || std::isspace(key));
}

int curses_key_character(int key) { return key >= kLiteralCharacter ? key - kLiteralCharacter : key; }

int CursesEditor::on_key(int key) {
    if (mode == Message) {
        mode = Editing;
        draw(-1);
        set_cursor(false, -1);
    } else if (mode == FindPrompt || mode == ReplacePrompt || mode == GotoPrompt) {
        promptOnKey(key);
        return 0;
    }
    if (ctrlHeld() && (key == Escape || key == CtrlCloseBracket || (key >= F1 && key <= F10))) {
        flushPendingSurrogate();
        if (key == Escape)
            switch_tab(-1, true);
        else if (key == CtrlCloseBracket)
            switch_tab(1, true);
        else
            switch_tab(key - F1, false);
        return 1;
    }
    handleKey(key);
    return 0;
}

bool CursesEditor::modifiersAllow(bool allowShift) const { return !altHeld() && (allowShift || !shiftHeld()); }

void CursesEditor::flushPendingSurrogate() {
    std::string lone;
    joiner_.flush(lone);
    if (!lone.empty()) typeText(lone);
}

void CursesEditor::handleKey(int key) {
    if (joiner_.holding() && !isLowSurrogate(key)) flushPendingSurrogate();
    const bool ctrlDown = ctrlHeld();
    const bool shift = shiftHeld();
    if (isMovement(key)) {
        if (dropSelectionForMovement(key)) return;
        moveCaret(key);
        return;
    }
    switch (key) {
    case ctrl('A'):
        if (modifiersAllow(false)) selectAll();
        return;
    case Redraw:
        draw(-1);
        set_cursor(false, -1);
        return;
    case ctrl('D'):
        if (modifiersAllow(false)) duplicate();
        return;
    case ctrl('G'):
    case F3:
        if (altHeld()) return;
        if (!search_text.empty())
            find(shift, false);
        else
            openFindPrompt(false);
        return;
    case ctrl('F'):
    case ctrl('R'):
        if (modifiersAllow(false)) openFindPrompt(key == ctrl('R'));
        return;
    case CtrlJ:
        if (modifiersAllow(false)) openGotoPrompt();
        return;
    case Backspace: backspace(); return;
    case Tab:
        if (ctrlDown || altHeld()) return;
        tabKey();
        return;
    case Enter: enter(); return;
    case ctrl('O'):
        if (modifiersAllow(false)) otherPane();
        return;
    case ctrl('P'):
        if (modifiersAllow(false)) togglePanes();
        return;
    case ctrl('Z'):
        if (altHeld()) return;
        if (shift)
            redo();
        else
            undo();
        return;
    case ctrl('Y'):
        if (modifiersAllow(false)) redo();
        return;
    case Escape:
        if (modifiersAllow(false) && selecting) {
            selecting = false;
            draw(-1);
            set_cursor(false, -1);
        }
        return;
    case Insert:
        if (!modifiersAllow(false)) return;
        shared().overwrite = !shared().overwrite;
        set_cursor(false, -1);
        return;
    case ctrl('V'):
        if (modifiersAllow(false)) paste();
        return;
    case Delete:
        if (modifiersAllow(false)) deleteKey();
        return;
    case ctrl('C'):
    case ctrl('X'):
        if (modifiersAllow(false)) copyOrCut(key == ctrl('X'));
        return;
    default: break;
    }
    if (curses_key_is_printable(key)) typeCharacter(key);
}

bool CursesEditor::dropSelectionForMovement(int key) {
    const bool shift = shiftHeld();
    if (shift && !selecting) {
        selecting = true;
        sel_x1 = sel_x2 = cursor_x;
        sel_y1 = sel_y2 = cursor_y;
        return false;
    }
    if (shift || !selecting) return false;
    TextRange r = selection();
    selecting = false;
    const TextPos c = caret();
    const bool inside = !c.before(r.start) && !r.end.before(c);
    if ((key == Down || key == Up || key == Right || key == Left) && inside) {
        setCaret(key == Up || key == Left ? r.start : r.end);
        draw(-1);
        set_cursor(false, -1);
        return true;
    }
    draw(-1);
    return false;
}

void CursesEditor::extendOrRedraw(bool vertical, bool redrawWithout) {
    if (selecting) {
        set_cursor(vertical, -1);
        sel_x2 = cursor_x;
        sel_y2 = cursor_y;
        draw(-1);
        return;
    }
    if (redrawWithout) draw(-1);
    set_cursor(vertical, -1);
}

void CursesEditor::moveCaret(int key) {
    const bool ctrl = ctrlHeld();
    const int n = line_count();
    const int lastLine = std::max(n - 1, 0);
    const int rows = pane(current_pane).rows;
    int& offset = pane_offset[current_pane];
    switch (key) {
    case Down:
        if (ctrl) {
            if (offset < n - rows + 3) ++offset;
            if (cursor_y < offset) cursor_y = offset;
            draw(-1);
        } else if (cursor_y + 1 < n) {
            ++cursor_y;
        }
        extendOrRedraw(true, false);
        return;
    case Up:
        if (ctrl) {
            if (offset > 0) --offset;
            if (rows > 0 && cursor_y >= offset + rows) cursor_y = offset + rows - 1;
            draw(-1);
        } else if (cursor_y > 0) {
            --cursor_y;
        }
        extendOrRedraw(true, false);
        return;
    case PageUp:
        if (cursor_y > offset) {
            cursor_y = offset;
        } else {
            cursor_y = std::max(0, cursor_y - rows);
            offset = std::max(0, offset - rows);
        }
        extendOrRedraw(true, true);
        return;
    case PageDown:
        if (cursor_y >= offset + rows - 1) offset = std::max(0, cursor_y - 1);
        cursor_y = std::max(0, std::min(offset + rows - 1, lastLine));
        extendOrRedraw(true, true);
        return;
    case Right: {
        const int length = line_length(cursor_y);
        if (cursor_x >= length) {
            if (cursor_y < n) {
                ++cursor_y;
                cursor_x = 0;
            }
        } else if (ctrl) {
            cursor_x = wordRight(lines[static_cast<size_t>(cursor_y)], cursor_x);
        } else {
            ++cursor_x;
        }
        extendOrRedraw(false, false);
        return;
    }
    case Left:
        if (cursor_x == 0 && cursor_y > 0) {
            --cursor_y;
            cursor_x = line_length(cursor_y);
        } else if (ctrl && cursor_y < n) {
            cursor_x = wordLeft(lines[static_cast<size_t>(cursor_y)], cursor_x);
        } else if (cursor_x > 0) {
            --cursor_x;
        }
        extendOrRedraw(false, false);
        return;
    case Home:
        if (ctrl) {
            cursor_x = 0;
            cursor_y = 0;
        } else {
            int first = 0;
            bool hasText = false;
            if (cursor_y < n) {
                const std::string& line = lines[static_cast<size_t>(cursor_y)];
                size_t ws = leadingWhitespace(line);
                first = charCount(std::string_view(line).substr(0, ws));
                hasText = ws < line.size();
            }
            cursor_x = hasText && cursor_x != first ? first : 0;
        }
        wanted_x = -1;
        extendOrRedraw(false, false);
        return;
    case End:
        if (ctrl) cursor_y = lastLine;
        cursor_x = line_length(cursor_y);
        wanted_x = -1;
        extendOrRedraw(false, false);
        return;
    default: return;
    }
}

bool CursesEditor::replaceInLine(int y, size_t pos, size_t removed, const std::string& inserted) {
    std::string& line = lines[static_cast<size_t>(y)];
    pos = std::min(pos, line.size());
    removed = std::min(removed, line.size() - pos);
    bool full = edit_needs_full_redraw(line, pos, removed);
    line.replace(pos, removed, inserted);
    return edit_needs_full_redraw(line, pos, inserted.size()) || full;
}

bool CursesEditor::clearSelectionForEdit() {
    if (!selecting) return false;
    if (has_selection())
        delete_selection();
    else
        selecting = false;
    return true;
}

void CursesEditor::finishEdit(bool fullRedraw) {
    if (fullRedraw)
        draw(-1);
    else
        draw(cursor_y);
    push_undo();
    set_cursor(false, -1);
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
    cursor_y = std::clamp(cursor_y, 0, line_count());
    if (cursor_y >= line_count()) lines.emplace_back();
    const std::string& line = lines[static_cast<size_t>(cursor_y)];
    const size_t pos = byteOffset(std::string_view(line), cursor_x);
    size_t removed = 0;
    if (shared().overwrite) removed = byteOffset(std::string_view(line).substr(pos), charCount(std::string_view(text)));
    full = replaceInLine(cursor_y, pos, removed, text) || full;
    cursor_x = charCount(std::string_view(lines[static_cast<size_t>(cursor_y)]).substr(0, pos + text.size()));
    finishEdit(full);
}

void CursesEditor::enter() {
    note_view_before_change();
    clearSelectionForEdit();
    cursor_y = std::clamp(cursor_y, 0, line_count());
    if (cursor_y >= line_count()) lines.emplace_back();
    const int y = cursor_y;
    std::string& line = lines[static_cast<size_t>(y)];
    const std::string indent = line.substr(0, leadingWhitespace(line));
    if (!shared().overwrite) {
        size_t at = ctrlHeld() ? line.size() : std::min(byteOffset(std::string_view(line), cursor_x), line.size());
        std::string tail = line.substr(at);
        line.erase(at);
        std::string next = indent + tail.substr(leadingWhitespace(tail));
        lines.insert(lines.begin() + (y + 1), std::move(next));
        cursor_y = y + 1;
        cursor_x = charCount(std::string_view(indent));
    } else {
        if (y == line_count() - 1) lines.push_back(indent);
        cursor_y = y + 1;
        cursor_x = std::min(charCount(std::string_view(indent)), line_length(cursor_y));
    }
    scroll_x = 0;
    draw(-1);
    push_undo();
    set_cursor(false, -1);
}

bool CursesEditor::deleteSelectionInstead() {
    if (!has_selection()) return false;
    note_view_before_change();
    delete_selection();
    finishEdit(true);
    return true;
}

void CursesEditor::backspace() {
    if (deleteSelectionInstead()) return;
    bool dropped = clearSelectionForEdit();
    const int n = line_count();
    if (cursor_y >= n) {
        // Past the last line: only the caret moves.
        if (cursor_y > 0) {
            cursor_y = n > 0 ? n - 1 : 0;
            cursor_x = line_length(cursor_y);
        }
        if (dropped) draw(-1);
        set_cursor(false, -1);
        return;
    }
    if (cursor_x == 0) {
        if (cursor_y == 0) {
            if (dropped) draw(-1);
            set_cursor(false, -1);
            return;
        }
        note_view_before_change();
        const int y = cursor_y;
        std::string& previous = lines[static_cast<size_t>(y - 1)];
        const std::string& line = lines[static_cast<size_t>(y)];
        cursor_x = charCount(std::string_view(previous));
        if (leadingWhitespace(line) < line.size()) previous += line;
        lines.erase(lines.begin() + y);
        cursor_y = y - 1;
        finishEdit(true);
        return;
    }
    const std::string& line = lines[static_cast<size_t>(cursor_y)];
    const size_t pos = byteOffset(std::string_view(line), cursor_x);
    int count = 1;
    if (indent_size >= 1 && cursor_x % indent_size == 0 && cursor_x >= indent_size &&
        line.find_first_not_of(' ') >= pos)
        count = indent_size;
    const size_t start = byteOffset(std::string_view(line), cursor_x - count);
    note_view_before_change();
    bool full = replaceInLine(cursor_y, start, pos - start, std::string()) || dropped;
    cursor_x -= count;
    finishEdit(full);
}

void CursesEditor::deleteKey() {
    if (deleteSelectionInstead()) return;
    bool dropped = clearSelectionForEdit();
    const int n = line_count();
    if (cursor_y >= n) {
        if (dropped) draw(-1);
        set_cursor(false, -1);
        return;
    }
    const int length = line_length(cursor_y);
    const std::string& line = lines[static_cast<size_t>(cursor_y)];
    if (cursor_x < length) {
        const size_t pos = byteOffset(std::string_view(line), cursor_x);
        note_view_before_change();
        bool full =
            replaceInLine(cursor_y, pos, byteOffset(std::string_view(line).substr(pos), 1), std::string()) || dropped;
        finishEdit(full);
        return;
    }
    if (cursor_y + 1 >= n) {
        if (dropped) draw(-1);
        set_cursor(false, -1);
        return;
    }
    note_view_before_change();
    const std::string& next = lines[static_cast<size_t>(cursor_y + 1)];
    const size_t ws = leadingWhitespace(next);
    lines[static_cast<size_t>(cursor_y)] += next.substr(ws - std::min<size_t>(ws, 1));
    lines.erase(lines.begin() + (cursor_y + 1));
    cursor_x = length;
    finishEdit(true);
}

void CursesEditor::tabKey() {
    if (selecting) {
        note_view_before_change();
        shift_selection(shiftHeld() ? -indent_size : indent_size);
        draw(-1);
        push_undo();
        set_cursor(false, -1);
        return;
    }
    if (shiftHeld()) {
        shiftTabKey();
        return;
    }
    const int step = std::max(indent_size, 1);
    const int count = std::clamp(step - cursor_x % step, 1, 64);
    typeText(std::string(static_cast<size_t>(count), ' '));
}

void CursesEditor::shiftTabKey() {
    if (cursor_y >= line_count() || cursor_x <= 0) {
        set_cursor(false, -1);
        return;
    }
    const std::string& line = lines[static_cast<size_t>(cursor_y)];
    const size_t pos = byteOffset(std::string_view(line), cursor_x);
    const int step = std::max(indent_size, 1);
    const bool nonSpaceBefore = line.find_first_not_of(' ') < pos;
    size_t from = 0;
    size_t count = 0;
    if (nonSpaceBefore && pos > 0 && line[pos - 1] == ' ') {
        while (count < static_cast<size_t>(step) && count < pos && line[pos - 1 - count] == ' ') ++count;
        from = pos - count;
    } else {
        size_t k = 0;
        while (k < pos && line[k] == ' ') ++k;
        if (k > 0) {
            count = k % static_cast<size_t>(step);
            if (count == 0) count = static_cast<size_t>(step);
            count = std::min(count, k);
        }
    }
    if (count == 0) {
        set_cursor(false, -1);
        return;
    }
    note_view_before_change();
    bool full = replaceInLine(cursor_y, from, count, std::string());
    cursor_x -= static_cast<int>(count);
    finishEdit(full);
}

void CursesEditor::selectAll() {
    const int n = line_count();
    selecting = true;
    sel_x1 = 0;
    sel_y1 = 0;
    sel_y2 = std::max(n - 1, 0);
    sel_x2 = line_length(sel_y2);
    draw(-1);
    set_cursor(false, -1);
}

void CursesEditor::duplicate() {
    if (selecting) {
        TextRange r = selection();
        if (r.empty()) return;
        std::vector<std::string> texts = splitAtLineFeeds(selection_text());
        note_view_before_change();
        setCaret(r.end);
        insert_lines(texts);
        setCaret(r.end);
        draw(-1);
        push_undo();
        set_cursor(false, -1);
        show_message("Duplicated selection");
        return;
    }
    if (cursor_y >= line_count()) return;
    note_view_before_change();
    const int y = cursor_y;
    std::string copy = lines[static_cast<size_t>(y)];
    lines.insert(lines.begin() + y, std::move(copy));
    // The caret stays with its own line, now below the copy.
    cursor_y = y + 1;
    draw(-1);
    push_undo();
    set_cursor(false, -1);
    show_message("Duplicated line");
}

void CursesEditor::togglePanes() {
    if (!is_split()) {
        split_ratio = 0.5;
        pane_offset[1] = pane_offset[0];
    } else {
        split_ratio = 1.0;
        if (current_pane == 1) {
            pane_offset[0] = pane_offset[1];
            current_pane = 0;
        }
    }
    draw(-1);
    set_cursor(false, -1);
}

void CursesEditor::otherPane() {
    if (!is_split()) {
        split_ratio = 0.5;
        pane_offset[1] = pane_offset[0];
    }
    current_pane = 1 - current_pane;
    const int offset = pane_offset[current_pane];
    const int rows = pane(current_pane).rows;
    if (cursor_y < offset) cursor_y = offset;
    if (rows > 0 && cursor_y >= offset + rows) cursor_y = offset + rows - 1;
    cursor_y = std::min(cursor_y, line_count());
    draw(-1);
    set_cursor(false, -1);
}

void CursesEditor::undo() {
    if (undo_pos <= 0) {
        show_message("Can't Undo");
        return;
    }
    --undo_pos;
    restore(undo_records[static_cast<size_t>(undo_pos)], 1);
    draw(-1);
    set_cursor(false, -1);
    show_message(format("Undid action - %d items in undo buffer", undo_pos));
}

void CursesEditor::redo() {
    const int count = static_cast<int>(undo_records.size());
    if (undo_pos >= count - 1) {
        show_message("Can't Redo");
        return;
    }
    ++undo_pos;
    restore(undo_records[static_cast<size_t>(undo_pos)], 0);
    draw(-1);
    set_cursor(false, -1);
    show_message(format("Redid action - %d items in redo buffer", count - undo_pos - 1));
}

std::string CursesEditor::copyText() const {
    const TextRange r = selection();
    const int n = line_count();
    auto lineAt = [&](int y) -> const std::string& {
        static const std::string none;
        return y >= 0 && y < n ? lines[static_cast<size_t>(y)] : none;
    };
    auto leadingSpacesOf = [](const std::string& text, size_t from, size_t to) {
        size_t k = from;
        while (k < to && text[k] == ' ') ++k;
        return k - from;
    };
    const std::string& first = lineAt(r.start.y);
    const size_t indent = leadingSpacesOf(first, 0, first.size());
    // A block that starts after column 0 keeps its shape when the later lines are indented
    // at least as far as the first.
    bool keepShape = r.end.y > r.start.y && r.start.x > 0;
    for (int y = r.start.y + 1; keepShape && y <= r.end.y; ++y) {
        const std::string& line = lineAt(y);
        size_t to = y == r.end.y ? byteOffset(std::string_view(line), r.end.x) : line.size();
        size_t spaces = leadingSpacesOf(line, 0, to);
        if (spaces == to) continue;  // nothing but spaces inside the selection
        if (spaces < indent) keepShape = false;
    }
    std::string out;
    for (int y = r.start.y; y <= r.end.y; ++y) {
        const std::string& line = lineAt(y);
        if (y > r.start.y) out += "\r\n";
        size_t from = y == r.start.y ? byteOffset(std::string_view(line), r.start.x) : 0;
        size_t to = y == r.end.y ? byteOffset(std::string_view(line), r.end.x) : line.size();
        if (y == r.start.y && keepShape) {
            out.append(indent, ' ');
            while (from < to && line[from] == ' ') ++from;
        }
        if (to <= from) continue;
        if (from == 0 && save_tab_width > 0) {
            size_t spaces = leadingSpacesOf(line, 0, to);
            size_t groups = spaces / static_cast<size_t>(save_tab_width);
            out.append(groups, '\t');
            from = groups * static_cast<size_t>(save_tab_width);
        }
        out.append(line, from, to - from);
    }
    return out;
}

void CursesEditor::copyOrCut(bool cut) {
    if (!selecting) return;
    if (selection().empty()) {
        show_message("No selection");
        return;
    }
    std::string text = copyText();
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
    draw(-1);
    set_cursor(false, -1);
    show_message(format(pattern, static_cast<int>(text.size())));
}

std::vector<std::string> CursesEditor::clipboardLines() {
    if (!services.clipboard) return {};
    std::u16string unicode = services.clipboard->unicodeText(screen.window.get());
    std::string plain;
    if (unicode.empty() || unicode[0] == u'\0') plain = services.clipboard->plainText(screen.window.get());
    return clipboard_lines(unicode, plain, indent_size);
}

void CursesEditor::paste() {
    std::vector<std::string> texts = clipboardLines();
    if (texts.empty()) {
        show_message("Clipboard empty");
        return;
    }
    note_view_before_change();
    clearSelectionForEdit();
    cursor_y = std::clamp(cursor_y, 0, line_count());
    insert_lines(texts);
    push_undo();
    draw(-1);
    set_cursor(false, -1);
    show_message("Pasted");
}
