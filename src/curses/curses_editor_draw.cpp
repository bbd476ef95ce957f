// What the curses editor writes on its screen: the title row, the panes with the selection
// highlight, the key-help row, the status text, messages and the prompt row.
#include <algorithm>
#include <cstdio>

#include "curses/curses_editor.h"
#include "text/utf8.h"

namespace {

constexpr int kTextAttr = 0;
constexpr int kHelpAttr = 2;
constexpr int kHotKeyAttr = 3;
constexpr int kSelectionAttr = 4;
constexpr int kMessageAttr = 24;
constexpr int kTitleEraseAttr = 26;
constexpr int kTitleAttr = 27;

// Writes help text pieces: (text, attribute) pairs.
void writeHelp(CursesScreen& screen, std::initializer_list<std::pair<const char*, int>> pieces) {
    for (const auto& [text, attribute] : pieces) {
        screen.attrset(attribute);
        screen.addstr(text);
    }
}

// Writes the characters [fromColumn, fromColumn + count) of text.
void writeColumns(CursesScreen& screen, const std::string& text, int fromColumn, int count) {
    const std::string_view all(text);
    size_t from = byteOffset(all, fromColumn);
    size_t to = from + byteOffset(all.substr(from), count);
    if (to > from) screen.addtext(all.substr(from, to - from));
}

}  // namespace

void CursesEditor::draw(int line) {
    top_margin = tab_count() >= 2 ? 2 : 1;
    const EditorPane upper = pane(0);
    screen.pane_offset[0] = pane_offset[0];
    screen.pane_offset[1] = pane_offset[1];
    screen.upper_rows = is_split() ? upper.rows : upper.rows - 1;
    screen.total_lines = line_count();
    screen.top_margin = top_margin;
    screen.bottom_margin = bottom_margin;
    screen.attrset(kTextAttr);

    auto drawRow = [&](int row, int y, int& state) {
        if (y < line_count()) {
            draw_line(row, lines[static_cast<size_t>(y)], state, y);
            // The selection highlight.
            TextRange r = selection();
            if (!selecting || r.empty() || y < r.start.y || y > r.end.y) return;
            int from = y == r.start.y ? r.start.x - scroll_x : 0;
            int to = y == r.end.y ? r.end.x - scroll_x : screen.cols;
            from = std::clamp(from, 0, screen.cols);
            to = std::clamp(to, 0, screen.cols);
            const std::string& text = lines[static_cast<size_t>(y)];
            screen.attrset(kSelectionAttr);
            screen.move(row, from);
            if (text.empty()) {
                // An empty selected line shows one highlighted blank.
                if (from < screen.cols) screen.addstr(" ");
            } else if (from < to) {
                writeColumns(screen, text, from + scroll_x, to - from);
            }
            screen.attrset(kTextAttr);
        } else {
            screen.attrset(kTextAttr);
            screen.bkgdset(kTextAttr);
            screen.move(row, 0);
            screen.clrtoeol();
        }
    };

    if (line >= 0) {
        int state = line_start_state(line);
        for (int p = 0; p < pane_count(); ++p) {
            EditorPane pn = pane(p);
            int k = line - pane_offset[p];
            if (k < 0 || k >= pn.rows) continue;
            int s = state;
            drawRow(pn.top + k, line, s);
        }
        return;
    }

    screen.flags |= CursesScreen::kDeferRepaint;
    draw_top_line();
    screen.attrset(kTextAttr);
    screen.bkgdset(kTextAttr);
    status_len = 0;
    for (int p = 0; p < pane_count(); ++p) {
        EditorPane pn = pane(p);
        int state = line_start_state(pane_offset[p]);
        for (int k = 0; k < pn.rows; ++k) drawRow(pn.top + k, pane_offset[p] + k, state);
    }
    if (bottom_margin >= 1) {
        if (mode == FindPrompt || mode == ReplacePrompt || mode == GotoPrompt) {
            draw_prompt();
        } else {
            screen.attrset(kHelpAttr);
            screen.bkgdset(kHelpAttr);
            screen.move(screen.lines - 1, 0);
            if (selecting) {
                writeHelp(screen, {{"SELECTING  ESC:cancel Ctrl+(", kHelpAttr}, {"C", kHotKeyAttr}, {"opy ", kHelpAttr},
                                   {"X", kHotKeyAttr}, {":cut ", kHelpAttr}, {"V", kHotKeyAttr}, {":paste)", kHelpAttr}});
            } else {
                writeHelp(screen, {{"Ctrl+(", kHelpAttr}});
                if (is_split())
                    writeHelp(screen, {{"O", kHotKeyAttr}, {"therpane ", kHelpAttr}, {"no", kHelpAttr}, {"P", kHotKeyAttr},
                                       {"anes ", kHelpAttr}});
                else
                    writeHelp(screen, {{"P", kHotKeyAttr}, {"ane ", kHelpAttr}});
                writeHelp(screen, {{"F", kHotKeyAttr}, {"ind/", kHelpAttr}, {"R", kHotKeyAttr}, {"eplace ", kHelpAttr}});
                draw_help_extra();
                writeHelp(screen, {{")", kHelpAttr}});
            }
            screen.attrset(kHelpAttr);
            screen.clrtoeol();
            screen.attrset(kTextAttr);
            screen.bkgdset(kTextAttr);
        }
    }
    // The status text stays in view after every full redraw.
    draw_status();
    screen.flags &= static_cast<uint8_t>(~CursesScreen::kDeferRepaint);
    screen.invalidate_all();
}

void CursesEditor::draw_line(int row, const std::string& text, int&, int) {
    screen.attrset(kTextAttr);
    screen.bkgdset(kTextAttr);
    screen.move(row, 0);
    screen.addtext(std::string_view(text).substr(byteOffset(std::string_view(text), scroll_x)));
    screen.clrtoeol();
}

void CursesEditor::draw_top_line() {
    screen.attrset(kTitleAttr);
    screen.bkgdset(kTitleEraseAttr);
    screen.move(0, 0);
    if (screen.cols > 4) {
        const size_t room = static_cast<size_t>(screen.cols - 1);
        if (file_name.size() > room) {
            // "..." and the name's tail, starting on a character boundary.
            size_t keep = static_cast<size_t>(screen.cols - 5);
            size_t start = file_name.size() - keep;
            while (start < file_name.size() && (static_cast<unsigned char>(file_name[start]) & 0xC0) == 0x80) ++start;
            screen.addstr("...");
            screen.addstr(file_name.c_str() + start);
        } else {
            screen.addstr(file_name.c_str());
        }
    }
    screen.clrtoeol();
    screen.attrset(kTextAttr);
    screen.bkgdset(kTextAttr);
}

void CursesEditor::draw_status() {
    const bool split = is_split();
    const bool prompting = mode == FindPrompt || mode == ReplacePrompt || mode == GotoPrompt;
    // Without a split the status shares the bottom row with an open prompt: the prompt wins.
    if (!split && prompting) return;
    if (!split && bottom_margin < 1) return;
    screen.attrset(kHelpAttr);
    screen.bkgdset(kHelpAttr);
    const int separator = pane(0).top + pane(0).rows;
    const char* prefix = "";
    if (split) {
        screen.move(separator, 0);
        screen.clrtoeol();
        prefix = current_pane == 0 ? "Upper pane: " : "Lower pane: ";
    }
    const EditorPane pn = pane(current_pane);
    const int offset = pane_offset[current_pane];
    char text[256];
    int length = std::snprintf(text, sizeof text, "%sLine %d/%d [%d-%d] Col %d [%s]%s", prefix, cursor_y + 1, line_count(),
                               offset + 1, std::min(offset + pn.rows + 1, line_count()), cursor_x + 1,
                               shared().overwrite ? "OVR" : "INS", is_modified() ? "*" : "");
    length = std::clamp(length, 0, static_cast<int>(sizeof text) - 1);
    const int row = split ? separator : screen.lines - 1;
    const int start = std::max(0, screen.cols - length - 1);
    if (!split && status_len > length) {
        int from = std::max(0, screen.cols - status_len - 1);
        screen.move(row, from);
        for (int x = from; x < start; ++x) screen.addstr(" ");
    }
    status_len = split ? 0 : length;
    screen.move(row, start);
    screen.addstr(text);
    screen.clrtoeol();
    screen.attrset(kTextAttr);
    screen.bkgdset(kTextAttr);
    // An open prompt keeps the screen cursor after its text.
    if (!prompting) place_screen_cursor();
}

void CursesEditor::show_message(const std::string& text) {
    if (!text.empty() && mode == Editing) mode = Message;
    const int a = text.empty() ? kHelpAttr : kMessageAttr;
    screen.attrset(a);
    screen.bkgdset(a);
    screen.move(bottom_margin > 1 ? screen.lines - 2 : screen.lines - 1, 0);
    if (screen.cols > 2) screen.addnstr(text.c_str(), screen.cols - 2);
    screen.clrtoeol();
    screen.attrset(kTextAttr);
    screen.bkgdset(kTextAttr);
    place_screen_cursor();
}

void CursesEditor::draw_prompt() {
    std::string label;
    const char* modeName = search_mode_name(shared().search_mode);
    const std::string* text = &search_text;
    if (mode == FindPrompt) {
        const char* hint = screen.cols > 70   ? " (Up/Down:mode Ctrl+R:replace ESC:cancel)"
                           : screen.cols > 40 ? "(U/D:mode Ctrl+R:repl)"
                                              : "";
        label = std::string("Find ") + modeName + hint + ": ";
    } else if (mode == ReplacePrompt) {
        label = std::string("Replace all (") + modeName + ") '" + ellipsize(search_text) + "': ";
        text = &replace_text;
    } else if (mode == GotoPrompt) {
        label = "Go to line (ESC:cancel): ";
        text = &shared().goto_buffer;
    } else {
        return;
    }
    screen.attrset(kMessageAttr);
    screen.bkgdset(kMessageAttr);
    screen.move(screen.lines - 1, 0);
    screen.addstr(label.c_str());
    screen.addstr(text->c_str());
    screen.clrtoeol();
    screen.attrset(kTextAttr);
    screen.bkgdset(kTextAttr);
}
