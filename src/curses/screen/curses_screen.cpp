#include "curses/screen/curses_screen.h"

#include <algorithm>
#include <new>

#include "text/utf8.h"
#include "text/virtual_keys.h"

namespace {

int ceilDiv(int value, int by) { return value <= 0 ? value / by : (value + by - 1) / by; }

// A cell is drawn with a glyph when it holds something visible; blanks are filled in runs.
bool needsGlyph(uint16_t ch) { return ch >= 128 || (ch > 32 && ch < 127); }

PixelRect intersect(const PixelRect& a, const PixelRect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

void fillClipped(ScreenCanvas& canvas, const PixelRect& rect, const PixelRect& area, uint32_t rgb) {
    PixelRect clipped = intersect(rect, area);
    if (!clipped.empty()) canvas.fill(clipped, rgb);
}

constexpr uint32_t kTrackColor = 0x808080;
constexpr uint32_t kThumbColor = 0x606060;

}  // namespace

int translate_key_down(int virtual_key, ModifierKeys modifiers) {
    switch (virtual_key) {
    case vk::kBack: return curses_key::Backspace;
    case vk::kTab: return curses_key::Tab;
    case vk::kReturn: return curses_key::Enter;
    case vk::kEscape: return curses_key::Escape;
    case vk::kControl: return curses_key::None;
    case vk::kPrior: return curses_key::PageUp;
    case vk::kNext: return curses_key::PageDown;
    case vk::kEnd: return curses_key::End;
    case vk::kHome: return curses_key::Home;
    case vk::kLeft: return curses_key::Left;
    case vk::kUp: return curses_key::Up;
    case vk::kRight: return curses_key::Right;
    case vk::kDown: return curses_key::Down;
    case vk::kInsert: return curses_key::Insert;
    case vk::kDelete: return curses_key::Delete;
    default: break;
    }
    if (virtual_key >= vk::kF1 && virtual_key <= vk::kF12) return curses_key::F1 + (virtual_key - vk::kF1);
    if (!modifiers.ctrl || modifiers.alt) return curses_key::None;
    if (virtual_key >= 'a' && virtual_key <= 'z') return virtual_key - 'a' + 1;
    if (virtual_key >= 'A' && virtual_key <= 'Z') return virtual_key - 'A' + 1;
    if (virtual_key == '[' || virtual_key == vk::kOemOpenBracket) return curses_key::Escape;
    if (virtual_key == ']' || virtual_key == vk::kOemCloseBracket) return curses_key::CtrlCloseBracket;
    return curses_key::None;
}

int translate_char(unsigned character) {
    // Lower codes were already translated from their key-down message.
    if (character < 32 || character > 0xFFFF) return curses_key::None;
    // Characters whose unit equals a special key code are marked as characters.
    if (character >= static_cast<unsigned>(curses_key::Down) && character <= static_cast<unsigned>(curses_key::F12))
        return curses_key::LiteralCharacter + static_cast<int>(character);
    return static_cast<int>(character);
}

void CursesScreen::move(int row, int col, bool repaint_new_cell) {
    markCell(cursor_x, cursor_y);
    cursor_x = std::max(col, 0);
    cursor_y = std::max(row, 0);
    if (repaint_new_cell) markCell(cursor_x, cursor_y);
}

void CursesScreen::addnstr(const char* text, int n) {
    if (n == 0 || !text || cells.empty()) return;
    if (cursor_x < 0 || cursor_y < 0 || cursor_x >= cols || cursor_y >= lines) return;
    int start = cursor_x;
    ScreenCell* row = &cells[static_cast<size_t>(cursor_y) * static_cast<size_t>(cols)];
    const char* p = text;
    while (*p) {
        DecodedChar c = decode(p);
        // A cell holds one UTF-16 unit; characters beyond it show as the replacement glyph.
        row[cursor_x].ch = static_cast<uint16_t>(c.codePoint <= 0xFFFF ? c.codePoint : 0xFFFD);
        row[cursor_x].attr = attr;
        ++cursor_x;
        p += c.length;
        if (n > 0) {
            n -= c.length;
            if (n <= 0) break;
        }
        if (cursor_x >= cols) break;
    }
    invalidate_cells(start, cursor_y, cursor_x + 1, cursor_y + 1);
}

void CursesScreen::addtext(std::string_view text) {
    if (text.empty() || cells.empty()) return;
    if (cursor_x < 0 || cursor_y < 0 || cursor_x >= cols || cursor_y >= lines) return;
    const int start = cursor_x;
    ScreenCell* row = &cells[static_cast<size_t>(cursor_y) * static_cast<size_t>(cols)];
    for (size_t i = 0; i < text.size() && cursor_x < cols;) {
        DecodedChar c = decode(text.data() + i, text.size() - i);
        if (c.length == 0) c = {0xFFFD, 1};  // a NUL byte is shown, not taken as the end
        row[cursor_x].ch = static_cast<uint16_t>(c.codePoint <= 0xFFFF ? c.codePoint : 0xFFFD);
        row[cursor_x].attr = attr;
        ++cursor_x;
        i += static_cast<size_t>(c.length);
    }
    invalidate_cells(start, cursor_y, cursor_x + 1, cursor_y + 1);
}

void CursesScreen::clrtoeol() {
    cursor_x = std::max(cursor_x, 0);
    if (cells.empty() || cursor_y < 0 || cursor_y >= lines || cursor_x >= cols) return;
    ScreenCell* row = &cells[static_cast<size_t>(cursor_y) * static_cast<size_t>(cols)];
    for (int x = cursor_x; x < cols; ++x) row[x] = {0, erase_attr};
    invalidate_cells(cursor_x, cursor_y, cols, cursor_y + 1);
}

void CursesScreen::clear_grid() { std::fill(cells.begin(), cells.end(), ScreenCell{}); }

int CursesScreen::getch() {
    if (!window) return curses_key::None;
    if (queue_count > 0) {
        int key = key_queue[queue_read];
        key_modifiers_ = queue_modifiers[queue_read];
        queue_read = static_cast<uint8_t>((queue_read + 1) % kQueueSize);
        --queue_count;
        return key;
    }
    if (flags & kFullRedraw) {
        flags &= static_cast<uint8_t>(~kFullRedraw);
        window->invalidateAll();
        key_modifiers_ = {};
        return curses_key::Redraw;
    }
    return curses_key::None;
}

void CursesScreen::enqueue_key(int code) { enqueue_key(code, std::nullopt); }

void CursesScreen::enqueue_key(int code, std::optional<ModifierKeys> modifiers) {
    if (code == curses_key::None) return;
    if (queue_count >= kQueueSize) {
        // A full queue drops its oldest key.
        queue_read = static_cast<uint8_t>((queue_read + 1) % kQueueSize);
        --queue_count;
    }
    key_queue[(queue_read + queue_count) % kQueueSize] = code;
    queue_modifiers[(queue_read + queue_count) % kQueueSize] = modifiers;
    ++queue_count;
}

void CursesScreen::invalidate_cells(int x1, int y1, int x2, int y2) {
    if (!window) return;
    refresh_metrics();
    if (flags & kDeferRepaint) return;
    window->invalidate({x1 * cell_width, y1 * cell_height, x2 * cell_width, y2 * cell_height});
}

void CursesScreen::invalidate_all() {
    if (window && !(flags & kDeferRepaint)) window->invalidateAll();
}

void CursesScreen::attach_window(std::unique_ptr<ScreenWindow> port) {
    window = std::move(port);
    queue_count = 0;
    queue_read = 0;
    cells.clear();
    create_font();
    resize_grid();
    if (window) window->invalidateAll();
}

void CursesScreen::detach_window() {
    window.reset();
    cells.clear();
    cells.shrink_to_fit();
}

void CursesScreen::create_font() {
    if (!window) return;
    window->createFont();
    flags |= kMetricsStale;
    cell_width = 8;
    cell_height = 8;
    refresh_metrics();
}

void CursesScreen::refresh_metrics() {
    if (!window || !(flags & kMetricsStale)) return;
    flags &= static_cast<uint8_t>(~kMetricsStale);
    PixelSize measured = window->measureFont();
    if (measured.width > 0 && measured.height > 0) {
        cell_width = measured.width;
        cell_height = measured.height;
    }
}

void CursesScreen::resize_grid() {
    if (!window) return;
    refresh_metrics();
    PixelSize client = window->clientSize();
    int cw = std::max(cell_width, 1);
    int ch = std::max(cell_height, 1);
    lines = std::max(1, client.height / ch);
    cols = std::max(1, client.width / cw);
    cursor_x = 0;
    cursor_y = 0;
    cells.clear();
    try {
        cells.assign(static_cast<size_t>(lines) * static_cast<size_t>(cols), ScreenCell{});
    } catch (const std::bad_alloc&) {
        // Without a grid, writes are dropped and painting fills only the margins.
        cells.clear();
    }
}

bool CursesScreen::split() const {
    int r = lines - top_margin - bottom_margin;
    return upper_rows < r - 1;
}

PaneRows CursesScreen::pane(int p) const {
    int r = lines - top_margin - bottom_margin;
    if (p == 0) return {top_margin, std::max(0, split() ? upper_rows : upper_rows + 1)};
    if (!split()) return {top_margin + upper_rows + 1, 0};
    return {top_margin + upper_rows + 1, std::max(0, r - upper_rows - 1)};
}

int CursesScreen::pane_at_row(int row) const {
    for (int p = 0; p < 2; ++p) {
        PaneRows pn = pane(p);
        if (pn.contains(row)) return p;
    }
    return -1;
}

void CursesScreen::update_scroll_bars(int client_width) {
    for (int p = 0; p < 2; ++p) bar_cols[p] = thumb_pos[p] = thumb_size[p] = 0;
    if (scrollbar_width <= 0) return;
    int cw = std::max(cell_width, 1);
    int ch = std::max(cell_height, 1);
    // A sliver of less than half a cell right of the grid joins the bar.
    int width = scrollbar_width + (static_cast<double>(client_width) / cw - cols < 0.5 ? 1 : 0);
    for (int p = 0; p < 2; ++p) {
        int v = pane(p).rows;
        if (v <= 0 || total_lines <= v) continue;
        bar_cols[p] = width;
        long long height = static_cast<long long>(v) * v * ch / total_lines;
        if (height < ch) height = ch;
        long long track = static_cast<long long>(v) * ch - height;
        long long top = track > 0 ? static_cast<long long>(pane_offset[p]) * track / (total_lines - v) : 0;
        top = std::clamp(top, 0LL, std::max(track, 0LL));
        thumb_size[p] = static_cast<int>(height);
        thumb_pos[p] = static_cast<int>(top);
    }
}

PointerShape CursesScreen::pointer_shape(int x, int y) const {
    int col = x / std::max(cell_width, 1);
    int row = y / std::max(cell_height, 1);
    if (split() && row == top_margin + upper_rows) return PointerShape::SizeNorthSouth;
    if (row == 0 || row == lines - 1) return PointerShape::Arrow;
    int p = pane_at_row(row);
    if (p >= 0 && on_bar_columns(p, col)) return PointerShape::Arrow;
    return PointerShape::IBeam;
}

bool CursesScreen::blink_tick(bool focused) {
    bool before = caret_forced_ || caretShown();
    caret_forced_ = false;
    blink_phase = static_cast<uint8_t>((blink_phase + 1) % 3);
    // An unfocused window shows a steady caret.
    if (blink_phase == 0 && !focused) blink_phase = 1;
    bool after = caretShown();
    if (before != after) markCell(cursor_x, cursor_y);
    return before != after;
}

void CursesScreen::paint(ScreenCanvas& canvas, const PixelRect& area, int client_width) {
    refresh_metrics();
    update_scroll_bars(client_width);

    // A caret that moved shows at once, whatever the blink phase, until the next tick.
    if (cursor_x != drawn_cursor_x || cursor_y != drawn_cursor_y) {
        drawn_cursor_x = cursor_x;
        drawn_cursor_y = cursor_y;
        blink_phase = 0;
        caret_forced_ = true;
    }
    const bool caret = caret_forced_ || caretShown();

    if (!cells.empty()) paintCells(canvas, area, caret);
    paintBars(canvas, area);
    paintStrip(canvas, area);

    // Below the grid.
    const int gridBottom = lines * std::max(cell_height, 1);
    if (area.bottom > gridBottom) fillClipped(canvas, {area.left, gridBottom, area.right, area.bottom}, area, colors[2].bg);
}

// The cells in the area: runs of blank cells as one fill, glyphs and the caret one by one.
void CursesScreen::paintCells(ScreenCanvas& canvas, const PixelRect& area, bool caret) {
    const int cw = std::max(cell_width, 1);
    const int ch = std::max(cell_height, 1);
    const int rowFirst = std::max(0, area.top / ch);
    const int rowEnd = std::min(lines, ceilDiv(area.bottom, ch));
    const int colFirst = std::max(0, area.left / cw);
    const int colAreaEnd = ceilDiv(area.right, cw);
    int colorsSet = -1;
    for (int row = rowFirst; row < rowEnd; ++row) {
        int p = pane_at_row(row);
        int limit = std::min(colAreaEnd, cols - (p >= 0 ? bar_cols[p] : 0));
        const ScreenCell* cellRow = &cells[static_cast<size_t>(row) * static_cast<size_t>(cols)];
        const int y = row * ch;
        int runStart = -1;
        int runAttr = 0;
        auto flushRun = [&](int end) {
            if (runStart < 0) return;
            canvas.fill({runStart * cw, y, end * cw, y + ch}, colors[runAttr].bg);
            runStart = -1;
        };
        for (int col = colFirst; col < limit; ++col) {
            const ScreenCell& cell = cellRow[col];
            const int a = cell.attr & 31;
            const bool isCaret = caret && col == cursor_x && row == cursor_y;
            const bool glyph = needsGlyph(cell.ch);
            if (!glyph && !isCaret) {
                if (runStart >= 0 && runAttr != a) flushRun(col);
                if (runStart < 0) {
                    runStart = col;
                    runAttr = a;
                }
                continue;
            }
            flushRun(col);
            if (a != colorsSet) {
                canvas.setTextColors(colors[a].fg, colors[a].bg);
                colorsSet = a;
            }
            const int x = col * cw;
            canvas.drawCell({x, y, x + cw, y + ch}, glyph ? static_cast<char16_t>(cell.ch) : u' ');
            if (isCaret) canvas.fill({x, y, x + 2, y + ch}, colors[a].fg);
        }
        flushRun(std::max(limit, colFirst));
    }
}

// The panes' scroll bars.
void CursesScreen::paintBars(ScreenCanvas& canvas, const PixelRect& area) {
    const int cw = std::max(cell_width, 1);
    const int ch = std::max(cell_height, 1);
    const int maxBar = std::max(bar_cols[0], bar_cols[1]);
    if (maxBar <= 0 || area.right <= (cols - maxBar) * cw) return;
    for (int p = 0; p < 2; ++p) {
        if (bar_cols[p] == 0) continue;
        PaneRows pn = pane(p);
        const int x0 = (cols - bar_cols[p]) * cw;
        const int top = pn.top * ch;
        const int bottom = (pn.top + pn.rows) * ch;
        const int thumbTop = top + thumb_pos[p];
        const int thumbBottom = thumbTop + thumb_size[p];
        fillClipped(canvas, {x0, top, area.right, thumbTop}, area, kTrackColor);
        fillClipped(canvas, {x0, thumbTop, area.right, thumbBottom}, area, kThumbColor);
        fillClipped(canvas, {x0, thumbBottom, area.right, bottom}, area, kTrackColor);
    }
}

// The strip right of the text: the reserved bar column of a pane without a bar in the text
// background, the margin rows in the colour their last cell ends with.
void CursesScreen::paintStrip(ScreenCanvas& canvas, const PixelRect& area) {
    const int cw = std::max(cell_width, 1);
    const int ch = std::max(cell_height, 1);
    const int reserved = scrollbar_width > 0 ? 1 : 0;
    const int stripX = (cols - reserved) * cw;
    if (area.right <= stripX) return;
    for (int p = 0; p < 2; ++p) {
        PaneRows pn = pane(p);
        if (pn.rows <= 0 || bar_cols[p] > 0) continue;
        fillClipped(canvas, {stripX, pn.top * ch, area.right, (pn.top + pn.rows) * ch}, area, colors[0].bg);
    }
    const int marginX = std::max(stripX, area.left);
    for (int row = 0; row < lines; ++row) {
        if (pane_at_row(row) >= 0) continue;
        int a = cells.empty() ? 0 : cells[static_cast<size_t>(row) * static_cast<size_t>(cols) + static_cast<size_t>(cols - 1)].attr & 31;
        fillClipped(canvas, {marginX, row * ch, area.right, (row + 1) * ch}, area, colors[a].bg);
    }
}
