// The editor's construction, its link to the screen, the run loop, and the base behaviour of
// the operations hosts may override.
#include "curses/editor/curses_editor.h"

#include <algorithm>

#include "curses/screen/attributes.h"

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
    screen.attrset(attr::kText);
    screen.bkgdset(attr::kText);
    screen.clear_grid();
    screen.move(0, 0);
    screen.invalidate_cells(0, 0, screen.cols, screen.lines);
}

CursesEditor::~CursesEditor() {
    // A run loop or paint batch that called into this editor must not touch it any more.
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
    PaintBatch batch(*this);
    bool destroyed = false;
    run_guards.push_back(&destroyed);
    for (int i = 0; i < 16; ++i) {
        const int key = screen.getch();
        if (key == curses_key::None) break;
        const int stop = on_key(key);
        if (destroyed) return;
        if (stop) break;
    }
    run_guards.erase(std::find(run_guards.begin(), run_guards.end(), &destroyed));
    // The mouse reads the live keyboard again.
    screen.forget_key_modifiers();
}

void CursesEditor::release_document() {
    doc.lines.clear();
    doc.lines.shrink_to_fit();
    history.records.clear();
    history.records.shrink_to_fit();
    history.pos = -1;
    history.saved_pos = -1;
    view = CaretView{};
    sel.selecting = false;
    panes.pane_offset[0] = panes.pane_offset[1] = 0;
}

void CursesEditor::on_right_click(ScreenWindow*) {}

int CursesEditor::line_start_state(int) { return 0; }

void CursesEditor::draw_help_extra() {}

bool CursesEditor::edit_needs_full_redraw(const std::string&, size_t, size_t) { return false; }

int CursesEditor::tab_count() { return 1; }

CursesEditor* CursesEditor::tab_editor(int index) { return index == 0 ? this : nullptr; }

void CursesEditor::switch_tab(int, bool) {}
