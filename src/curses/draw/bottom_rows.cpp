// The rows around the panes: the title, the key help, the status text, messages and the
// prompt.
#include <algorithm>
#include <cstdio>

#include "curses/editor/curses_editor.h"
#include "curses/screen/attributes.h"

namespace {

// Writes help text pieces: (text, attribute) pairs.
void writeHelp(CursesScreen& screen, std::initializer_list<std::pair<const char*, int>> pieces) {
    for (const auto& [text, attribute] : pieces) {
        screen.attrset(attribute);
        screen.addstr(text);
    }
}

void resetAttributes(CursesScreen& screen) {
    screen.attrset(attr::kText);
    screen.bkgdset(attr::kText);
}

}  // namespace

void CursesEditor::drawHelpRow() {
    using namespace attr;
    screen.attrset(kHelp);
    screen.bkgdset(kHelp);
    screen.move(screen.lines - 1, 0);
    if (sel.selecting) {
        writeHelp(screen, {{"SELECTING  ESC:cancel Ctrl+(", kHelp}, {"C", kHotKey}, {"opy ", kHelp}, {"X", kHotKey},
                           {":cut ", kHelp}, {"V", kHotKey}, {":paste)", kHelp}});
    } else {
        writeHelp(screen, {{"Ctrl+(", kHelp}});
        if (is_split())
            writeHelp(screen, {{"O", kHotKey}, {"therpane ", kHelp}, {"no", kHelp}, {"P", kHotKey}, {"anes ", kHelp}});
        else
            writeHelp(screen, {{"P", kHotKey}, {"ane ", kHelp}});
        writeHelp(screen, {{"F", kHotKey}, {"ind/", kHelp}, {"R", kHotKey}, {"eplace ", kHelp}});
        draw_help_extra();
        writeHelp(screen, {{")", kHelp}});
    }
    screen.attrset(kHelp);
    screen.clrtoeol();
    resetAttributes(screen);
}

void CursesEditor::draw_top_line() {
    screen.attrset(attr::kTitle);
    screen.bkgdset(attr::kTitleErase);
    screen.move(0, 0);
    const std::string& name = doc.file_name;
    if (screen.cols > 4) {
        const size_t room = static_cast<size_t>(screen.cols - 1);
        if (name.size() > room) {
            // "..." and the name's tail, starting on a character boundary.
            size_t start = name.size() - static_cast<size_t>(screen.cols - 5);
            while (start < name.size() && (static_cast<unsigned char>(name[start]) & 0xC0) == 0x80) ++start;
            screen.addstr("...");
            screen.addstr(name.c_str() + start);
        } else {
            screen.addstr(name.c_str());
        }
    }
    screen.clrtoeol();
    resetAttributes(screen);
}

void CursesEditor::paintStatus() {
    const bool split = is_split();
    const bool prompting = prompt.mode == FindPrompt || prompt.mode == ReplacePrompt || prompt.mode == GotoPrompt;
    // Without a split the status shares the bottom row with an open prompt: the prompt wins.
    if (!split && (prompting || panes.bottom_margin < 1)) return;
    screen.attrset(attr::kHelp);
    screen.bkgdset(attr::kHelp);
    const int separator = pane(0).top + pane(0).rows;
    const char* prefix = "";
    if (split) {
        screen.move(separator, 0);
        screen.clrtoeol();
        prefix = panes.current_pane == 0 ? "Upper pane: " : "Lower pane: ";
    }
    const int offset = panes.pane_offset[panes.current_pane];
    char text[256];
    int length = std::snprintf(text, sizeof text, "%sLine %d/%d [%d-%d] Col %d [%s]%s", prefix, view.cursor_y + 1,
                               line_count(), offset + 1, std::min(offset + pane(panes.current_pane).rows + 1, line_count()),
                               view.cursor_x + 1, shared().overwrite ? "OVR" : "INS", is_modified() ? "*" : "");
    length = std::clamp(length, 0, static_cast<int>(sizeof text) - 1);
    const int row = split ? separator : screen.lines - 1;
    const int start = std::max(0, screen.cols - length - 1);
    if (!split && panes.status_len > length) {
        // What the longer status before showed goes.
        const int from = std::max(0, screen.cols - panes.status_len - 1);
        screen.move(row, from);
        for (int x = from; x < start; ++x) screen.addstr(" ");
    }
    panes.status_len = split ? 0 : length;
    screen.move(row, start);
    screen.addstr(text);
    screen.clrtoeol();
    resetAttributes(screen);
    // An open prompt keeps the screen cursor after its text.
    if (!prompting) paintCursor();
}

void CursesEditor::paintMessage(const std::string& text) {
    const int a = text.empty() ? attr::kHelp : attr::kMessage;
    screen.attrset(a);
    screen.bkgdset(a);
    screen.move(panes.bottom_margin > 1 ? screen.lines - 2 : screen.lines - 1, 0);
    if (screen.cols > 2) screen.addnstr(text.c_str(), screen.cols - 2);
    screen.clrtoeol();
    resetAttributes(screen);
    paintCursor();
}

void CursesEditor::paintPrompt() {
    std::string label;
    const char* modeName = search_mode_name(shared().search_mode);
    const std::string* text = &prompt.search_text;
    if (prompt.mode == FindPrompt) {
        const char* hint = screen.cols > 70   ? " (Up/Down:mode Ctrl+R:replace ESC:cancel)"
                           : screen.cols > 40 ? "(U/D:mode Ctrl+R:repl)"
                                              : "";
        label = std::string("Find ") + modeName + hint + ": ";
    } else if (prompt.mode == ReplacePrompt) {
        label = std::string("Replace all (") + modeName + ") '" + ellipsize(prompt.search_text) + "': ";
        text = &prompt.replace_text;
    } else if (prompt.mode == GotoPrompt) {
        label = "Go to line (ESC:cancel): ";
        text = &shared().goto_buffer;
    } else {
        return;
    }
    screen.attrset(attr::kMessage);
    screen.bkgdset(attr::kMessage);
    screen.move(screen.lines - 1, 0);
    screen.addstr(label.c_str());
    screen.addstr(text->c_str());
    screen.clrtoeol();
    resetAttributes(screen);
}

void CursesEditor::paintCursor() {
    if (!caret_visible()) return;
    const PaneRows p = pane(panes.current_pane);
    screen.move(p.top + view.cursor_y - panes.pane_offset[panes.current_pane], view.cursor_x - view.scroll_x);
}
