// The editor's construction, its link to the screen, pane geometry and the run loop.
#include <algorithm>
#include <cmath>

#include "curses/curses_editor.h"
#include "text/utf8.h"

namespace {

// The colour entries 0-29 as (foreground, background); 30 and 31 stay black on black.
constexpr ScreenColor kColors[30] = {
    {0xC0C0C0, 0x000000}, {0xFFFFFF, 0x000000}, {0xC0C0C0, 0x0000C0}, {0xFFFFFF, 0x0000C0},
    {0x000000, 0x00C0C0}, {0x000000, 0x00C0C0}, {0x00FFFF, 0x000000}, {0x00FFFF, 0x000000},
    {0x00FF00, 0x000000}, {0x00FF00, 0x000000}, {0x6080C0, 0x000000}, {0xFFFFFF, 0x000000},
    {0xC0C0C0, 0xC00000}, {0xFFFFFF, 0xC00000}, {0xFFFF00, 0x000000}, {0xFFFF00, 0x000000},
    {0xFF8080, 0x000000}, {0xFFFFFF, 0x000000}, {0x00C0FF, 0x000000}, {0x00FFFF, 0x000000},
    {0xFFC0C0, 0x000000}, {0xFFFFFF, 0x000000}, {0xC0FF80, 0x000000}, {0xFFFFFF, 0x000000},
    {0x000000, 0x00C0C0}, {0x000000, 0x00C0C0}, {0xC0C0C0, 0xC00000}, {0xFFFFFF, 0xC00000},
    {0xC0C000, 0x000000}, {0xFFFF00, 0x000000},
};

int forwardMouse(void* user_data, ScreenWindow& window, const MouseEvent& event) {
    return static_cast<CursesEditor*>(user_data)->on_mouse(window, event);
}

void resized(CursesScreen& screen) {
    auto* editor = static_cast<CursesEditor*>(screen.user_data);
    editor->draw(-1);
    if (editor->caret_visible()) editor->set_cursor(false, -1);
}

}  // namespace

CursesEditor::CursesEditor(CursesScreen& s) : CursesEditor(s, defaultCursesServices()) {}

CursesEditor::CursesEditor(CursesScreen& s, const CursesServices& services_) : screen(s), services(services_) {
    screen.user_data = this;
    screen.mouse_callback = forwardMouse;
    screen.resize_callback = resized;
    screen.scrollbar_width = 1;
    for (int i = 0; i < 30; ++i) screen.colors[i] = kColors[i];
    screen.attrset(0);
    screen.bkgdset(0);
    screen.clear_grid();
    screen.move(0, 0);
    screen.invalidate_cells(0, 0, screen.cols, screen.lines);
}

CursesEditor::~CursesEditor() {
    // A run loop that called into this editor must not touch it any more.
    for (bool* guard : run_guards) *guard = true;
    if (screen.user_data == this) {
        screen.user_data = nullptr;
        screen.mouse_callback = nullptr;
        screen.resize_callback = nullptr;
    }
    screen.detach_window();
}

CursesSharedState& CursesEditor::shared() {
    static CursesSharedState state;
    return state;
}

void CursesEditor::run() {
    bool destroyed = false;
    run_guards.push_back(&destroyed);
    for (int i = 0; i < 16; ++i) {
        int key = screen.getch();
        if (key == curses_key::None) break;
        int stop = on_key(key);
        if (destroyed) return;
        if (stop) break;
    }
    run_guards.erase(std::find(run_guards.begin(), run_guards.end(), &destroyed));
    // The mouse reads the live keyboard again.
    screen.forget_key_modifiers();
}

void CursesEditor::release_document() {
    lines.clear();
    lines.shrink_to_fit();
    undo_records.clear();
    undo_records.shrink_to_fit();
    undo_pos = -1;
    saved_pos = -1;
    cursor_x = cursor_y = 0;
    scroll_x = 0;
    wanted_x = -1;
    selecting = false;
    pane_offset[0] = pane_offset[1] = 0;
}

int CursesEditor::text_rows() const { return screen.lines - top_margin - bottom_margin; }

EditorPane CursesEditor::pane(int p) const {
    const int r = text_rows();
    // The small bias keeps a ratio set from a whole row count on that row.
    const int e = static_cast<int>(std::trunc(split_ratio * (r - 1) + 1e-9));
    if (p == 0) return {top_margin, std::max(0, e + (split_ratio >= 1.0 ? 1 : 0))};
    if (!is_split()) return {top_margin + e + 1, 0};
    return {top_margin + e + 1, std::max(0, r - e - 1)};
}

int CursesEditor::line_length(int y) const {
    if (y < 0 || y >= line_count()) return 0;
    return charCount(std::string_view(lines[static_cast<size_t>(y)]));
}

TextRange CursesEditor::selection() const {
    TextPos a{sel_x1, sel_y1};
    TextPos b{sel_x2, sel_y2};
    if (b.before(a)) std::swap(a, b);
    return {a, b};
}

std::string CursesEditor::selection_text() const {
    TextRange r = selection();
    std::string out;
    for (int y = r.start.y; y <= r.end.y && y < line_count(); ++y) {
        const std::string& line = lines[static_cast<size_t>(y)];
        size_t from = y == r.start.y ? byteOffset(std::string_view(line), r.start.x) : 0;
        size_t to = y == r.end.y ? byteOffset(std::string_view(line), r.end.x) : line.size();
        if (y > r.start.y) out += '\n';
        if (to > from) out.append(line, from, to - from);
    }
    return out;
}

bool CursesEditor::caret_visible() const {
    EditorPane p = pane(current_pane);
    int offset = pane_offset[current_pane];
    return cursor_y >= offset && cursor_y < offset + p.rows;
}

void CursesEditor::place_screen_cursor() {
    if (!caret_visible()) return;
    EditorPane p = pane(current_pane);
    screen.move(p.top + cursor_y - pane_offset[current_pane], cursor_x - scroll_x);
}

// The base behaviour of the operations hosts may override.

void CursesEditor::on_right_click(ScreenWindow*) {}

int CursesEditor::line_start_state(int) { return 0; }

void CursesEditor::draw_help_extra() {}

bool CursesEditor::edit_needs_full_redraw(const std::string&, size_t, size_t) { return false; }

int CursesEditor::tab_count() { return 1; }

CursesEditor* CursesEditor::tab_editor(int index) { return index == 0 ? this : nullptr; }

void CursesEditor::switch_tab(int, bool) {}
