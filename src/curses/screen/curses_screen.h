#pragma once
// A grid of character cells in memory with curses-like writing calls, a queue of curses key
// codes, the geometry of the editor's panes and their scroll bars, and the decisions of
// painting the grid into its window. The window itself is reached through ScreenWindow.
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "text/pane_rows.h"
#include "curses/screen/screen_canvas.h"
#include "curses/screen/screen_window.h"

// One cell: a UTF-16 unit (0 shows as blank) and a colour-entry index.
struct ScreenCell {
    uint16_t ch = 0;
    uint8_t attr = 0;
};

// The values getch returns.
namespace curses_key {
constexpr int None = -1;
constexpr int Backspace = 8;
constexpr int Tab = 9;
constexpr int CtrlJ = 10;
constexpr int Redraw = 12;  // Ctrl+L, and the redraw request
constexpr int Enter = 13;
constexpr int Escape = 27;
constexpr int CtrlCloseBracket = 29;
constexpr int Down = 4096;
constexpr int Up = 4097;
constexpr int PageUp = 4098;
constexpr int PageDown = 4099;
constexpr int Right = 4100;
constexpr int Left = 4101;
constexpr int Home = 4102;
constexpr int End = 4103;
constexpr int Insert = 4104;
constexpr int Delete = 4105;
constexpr int F1 = 4106;
constexpr int F3 = 4108;
constexpr int F10 = 4115;
constexpr int F12 = 4117;
// A typed character whose unit equals a special key code (U+1000 to U+1015) is this base
// plus the unit.
constexpr int LiteralCharacter = 0x200000;
// Ctrl+A .. Ctrl+Z are 1 .. 26.
constexpr int ctrl(char letter) { return letter - 'A' + 1; }
}  // namespace curses_key

// Key-down messages by virtual key, character messages by character; -1 for no key.
int translate_key_down(int virtual_key, ModifierKeys modifiers);
int translate_char(unsigned character);

struct ScreenColor {
    uint32_t fg = 0;  // 0xRRGGBB
    uint32_t bg = 0;
};

enum class PointerShape { Arrow, SizeNorthSouth, IBeam };

class CursesScreen {
public:
    static constexpr int kQueueSize = 64;
    static constexpr uint8_t kFullRedraw = 1;     // flag bit 0
    static constexpr uint8_t kMetricsStale = 2;   // flag bit 1
    static constexpr uint8_t kDeferRepaint = 4;   // flag bit 2

    CursesScreen() = default;
    CursesScreen(const CursesScreen&) = delete;
    CursesScreen& operator=(const CursesScreen&) = delete;

    // Grid writing.
    void move(int row, int col, bool repaint_new_cell = true);
    void addnstr(const char* text, int n);
    void addstr(const char* text) { addnstr(text, -1); }
    // Writes every character of text, a NUL byte too (as the replacement character), from the
    // cursor on up to the row's end.
    void addtext(std::string_view text);
    void clrtoeol();
    void attrset(int a) { attr = static_cast<uint8_t>(a & 31); }
    void bkgdset(int a) { erase_attr = static_cast<uint8_t>(a & 31); }
    // Sets every cell to 0 with attribute 0.
    void clear_grid();

    // Keys. A key may carry the modifiers held when it was pressed: keys wait in the queue
    // until the editor's next tick, by when a quick Ctrl+Tab or Shift+Right has let go of
    // its modifier. getch() makes them the ones of the key it returns.
    int getch();
    void enqueue_key(int code);
    void enqueue_key(int code, std::optional<ModifierKeys> modifiers);
    // The modifiers of the key getch() returned last, when it carried them.
    const std::optional<ModifierKeys>& key_modifiers() const { return key_modifiers_; }
    void forget_key_modifiers() { key_modifiers_ = {}; }

    // Repaint requests, in cells with exclusive ends.
    void invalidate_cells(int x1, int y1, int x2, int y2);
    void invalidate_all();

    // Window side.
    void attach_window(std::unique_ptr<ScreenWindow> port);
    void detach_window();
    void create_font();
    void refresh_metrics();
    void resize_grid();

    // Pane geometry as the window paints it: pane 0 upper, 1 lower.
    bool split() const;
    PaneRows pane(int p) const;
    // The pane a row belongs to, or -1 in the margins and on the separator.
    int pane_at_row(int row) const;
    bool on_bar_columns(int p, int col) const { return bar_cols[p] > 0 && col >= cols - bar_cols[p]; }
    // Works out bar_cols, thumb_pos and thumb_size for a client area clientWidth pixels wide.
    void update_scroll_bars(int client_width);
    // The mouse pointer over the pixel (x, y).
    PointerShape pointer_shape(int x, int y) const;

    // Paints the update area (pixels) of a client area clientWidth pixels wide.
    void paint(ScreenCanvas& canvas, const PixelRect& area, int client_width);
    // Caret blink tick; true when the caret's visibility changed.
    bool blink_tick(bool focused);

    ScreenCell* cell_at(int row, int col) {
        if (cells.empty() || row < 0 || col < 0 || row >= lines || col >= cols) return nullptr;
        return &cells[static_cast<size_t>(row) * static_cast<size_t>(cols) + static_cast<size_t>(col)];
    }

    std::unique_ptr<ScreenWindow> window;
    int lines = 0, cols = 0;
    int scrollbar_width = 0;
    int top_margin = 0, bottom_margin = 0;
    int bar_cols[2] = {0, 0};
    int pane_offset[2] = {0, 0};
    int upper_rows = 0;
    int total_lines = 0;
    int thumb_pos[2] = {0, 0}, thumb_size[2] = {0, 0};
    int cursor_x = 0, cursor_y = 0;
    int drawn_cursor_x = 0, drawn_cursor_y = 0;
    std::vector<ScreenCell> cells;
    int cell_width = 0, cell_height = 0;
    ScreenColor colors[32] = {};
    int key_queue[kQueueSize] = {};
    std::optional<ModifierKeys> queue_modifiers[kQueueSize] = {};
    uint8_t queue_count = 0, queue_read = 0;
    uint8_t flags = 0;
    uint8_t blink_phase = 0;
    uint8_t attr = 0;
    uint8_t erase_attr = 0;
    void (*resize_callback)(CursesScreen& screen) = nullptr;
    void* user_data = nullptr;
    int (*mouse_callback)(void* user_data, ScreenWindow& window, const MouseEvent& event) = nullptr;

private:
    void paintCells(ScreenCanvas& canvas, const PixelRect& area, bool caret);
    void paintBars(ScreenCanvas& canvas, const PixelRect& area);
    void paintStrip(ScreenCanvas& canvas, const PixelRect& area);
    void markCell(int col, int row) { invalidate_cells(col, row, col + 1, row + 1); }
    bool caretShown() const { return blink_phase != 0; }
    // The caret moved since the last tick: it shows in every paint until the next tick.
    bool caret_forced_ = false;
    std::optional<ModifierKeys> key_modifiers_;
};
