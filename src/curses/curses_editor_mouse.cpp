// The curses editor's mouse: clicks place the caret and select, the separator and the scroll
// thumbs drag, the wheel scrolls, and a double-click opens a web link.
#include <algorithm>
#include <cctype>

#include "curses/curses_editor.h"
#include "text/utf8.h"

namespace {

// Pointer cells round toward minus infinity, so a pointer left of or above the window
// (while the mouse is captured) lies outside the grid.
int floorDiv(int value, int by) {
    by = std::max(by, 1);
    return value >= 0 ? value / by : -((-value + by - 1) / by);
}

bool isAsciiWordCharacter(int cp) { return cp < 128 && (std::isalnum(cp) || cp == '_'); }

bool endsLink(char c) { return c == '\0' || c == '\t' || c == ' ' || c == '"' || c == '\'' || c == ')'; }

constexpr size_t kLongestLink = 511;
constexpr size_t kShortestLink = 10;
constexpr int kWheelLinesDivisor = 20;

}  // namespace

int CursesEditor::on_mouse(ScreenWindow& window, const MouseEvent& event) {
    switch (event.action) {
    case MouseAction::LeftDown: return mouseButtonDown(window, event, true, false);
    case MouseAction::LeftDoubleClick: return mouseButtonDown(window, event, true, true);
    case MouseAction::RightDown:
    case MouseAction::RightDoubleClick: return mouseButtonDown(window, event, false, false);
    case MouseAction::LeftUp:
        if (mouse_captured_) window.releaseMouse();
        mouse_captured_ = false;
        drag_state = 0;
        drag_offset = 0;
        return 0;
    case MouseAction::Move:
        if (mouse_captured_) mouseMove(event);
        return 0;
    case MouseAction::Wheel: mouseWheel(event); return 0;
    case MouseAction::CaptureChanged:
        // Another window took the mouse: whatever was being dragged stops.
        mouse_captured_ = false;
        drag_state = 0;
        drag_offset = 0;
        return 0;
    default: return 0;
    }
}

int CursesEditor::paneAtRow(int row) const {
    for (int p = 0; p < pane_count(); ++p) {
        EditorPane pn = pane(p);
        if (row >= pn.top && row < pn.top + pn.rows) return p;
    }
    return -1;
}

void CursesEditor::refreshBarGeometry() {
    const int clientWidth = screen.window ? screen.window->clientSize().width : screen.cols * screen.cell_width;
    screen.update_scroll_bars(clientWidth);
}

void CursesEditor::scrollPaneTo(int p, int offset) {
    offset = std::max(offset, 0);
    if (offset == pane_offset[p]) return;
    pane_offset[p] = offset;
    draw(-1);
}

int CursesEditor::mouseButtonDown(ScreenWindow& window, const MouseEvent& event, bool left, bool doubleClick) {
    const int col = floorDiv(event.x, screen.cell_width);
    const int row = floorDiv(event.y, screen.cell_height);
    if (doubleClick && openLinkAt(window, row, col)) return 0;
    mode = Editing;
    press_cell_ = {std::clamp(col, 0, std::max(screen.cols - 1, 0)), std::clamp(row, 0, std::max(screen.lines - 1, 0))};
    const int n = line_count();
    if (left && is_split() && row == pane(0).top + pane(0).rows) {
        window.captureMouse();
        mouse_captured_ = true;
        drag_state = 3;
        return 0;
    }
    const int p = paneAtRow(row);
    if (p >= 0 && left) {
        refreshBarGeometry();
        if (screen.on_bar_columns(p, col)) {
            const int rows = pane(p).rows;
            const int thumbTop = pane(p).top * screen.cell_height + screen.thumb_pos[p];
            const int thumbBottom = thumbTop + screen.thumb_size[p];
            if (event.y < thumbTop) {
                scrollPaneTo(p, pane_offset[p] - rows);
            } else if (event.y >= thumbBottom) {
                scrollPaneTo(p, std::min(pane_offset[p] + rows, n - rows + 4));
            } else {
                window.captureMouse();
                mouse_captured_ = true;
                drag_state = p + 1;
                drag_offset = event.y - thumbTop;
            }
            return 0;
        }
    }
    // The text area, or the right button anywhere.
    TextPos old = caret();
    if (selecting && old == TextPos{sel_x2, sel_y2}) old = {sel_x1, sel_y1};
    if (left && !doubleClick) selecting = false;
    if (p >= 0) current_pane = p;
    const EditorPane pn = pane(current_pane);
    const int y = std::clamp(row - pn.top + pane_offset[current_pane], 0, std::max(n - 1, 0));
    const int x = std::clamp(col + scroll_x, 0, line_length(y));
    setCaret({x, y});
    if (left && event.shift) {
        selecting = true;
        sel_x1 = old.x;
        sel_y1 = old.y;
        sel_x2 = x;
        sel_y2 = y;
    }
    if (left && doubleClick && y < n && x < line_length(y)) {
        // The clicked character with the word characters around it.
        const std::vector<int> cps = codePointsOf(lines[static_cast<size_t>(y)]);
        int from = x;
        int to = x + 1;
        while (from > 0 && isAsciiWordCharacter(cps[static_cast<size_t>(from - 1)])) --from;
        while (to < static_cast<int>(cps.size()) && isAsciiWordCharacter(cps[static_cast<size_t>(to)])) ++to;
        selecting = true;
        sel_x1 = from;
        sel_y1 = y;
        sel_x2 = to;
        sel_y2 = y;
        cursor_x = to;
    }
    draw(-1);
    set_cursor(false, -1);
    if (left) {
        window.captureMouse();
        mouse_captured_ = true;
    } else {
        on_right_click(&window);
    }
    return 0;
}

void CursesEditor::mouseMove(const MouseEvent& event) {
    const int col = floorDiv(event.x, screen.cell_width);
    const int row = floorDiv(event.y, screen.cell_height);
    const int n = line_count();
    if (drag_state == 3) {
        const int r = text_rows();
        const int wanted = row - top_margin;
        const int current = is_split() ? pane(0).rows : r - 1;
        if (wanted == current) return;
        if (wanted > 0 && wanted < r - 1) {
            split_ratio = static_cast<double>(wanted) / (r - 1);
        } else {
            // The split goes; dragged to the top, the lower pane's view stays.
            if (is_split() && wanted <= 0) pane_offset[0] = pane_offset[1];
            split_ratio = 1.0;
            current_pane = 0;
        }
        draw(-1);
        return;
    }
    if (drag_state == 1 || drag_state == 2) {
        const int p = drag_state - 1;
        const EditorPane pn = pane(p);
        refreshBarGeometry();
        const long long track = static_cast<long long>(pn.rows) * screen.cell_height - screen.thumb_size[p];
        if (track <= 0) return;
        long long offset = static_cast<long long>(n - pn.rows) * (event.y - pn.top * screen.cell_height - drag_offset) / track;
        offset = std::max<long long>(std::min<long long>(offset, n - pn.rows + 4), 0);
        if (offset == pane_offset[p]) return;
        pane_offset[p] = static_cast<int>(offset);
        draw(-1);
        return;
    }
    if (drag_state != 0) return;
    const TextPos cell{std::clamp(col, 0, std::max(screen.cols - 1, 0)), std::clamp(row, 0, std::max(screen.lines - 1, 0))};
    if (!selecting) {
        if (cell == press_cell_) return;
        selecting = true;
        sel_x1 = sel_x2 = cursor_x;
        sel_y1 = sel_y2 = cursor_y;
    }
    const EditorPane pn = pane(current_pane);
    int& offset = pane_offset[current_pane];
    const int inPane = row - pn.top;
    const TextPos pointed{col + scroll_x, offset + inPane};
    if (pointed == TextPos{sel_x2, sel_y2}) return;
    if (inPane < 0) {
        if (offset > 0) --offset;
    } else if (inPane >= pn.rows) {
        if (offset < n - 1) ++offset;
    }
    if (col < 0) {
        if (scroll_x > 0) --scroll_x;
    } else if (col >= screen.cols) {
        int longest = 0;
        for (int k = 0; k < pn.rows && offset + k < n; ++k) longest = std::max(longest, line_length(offset + k));
        if (longest > scroll_x + screen.cols - 8) ++scroll_x;
    }
    // The selection end follows the pointer, kept on the pane's rows and inside the document.
    const int y = offset + std::clamp(inPane, 0, std::max(pn.rows - 1, 0));
    if (n == 0) {
        sel_x2 = sel_y2 = 0;
    } else if (y >= n) {
        sel_y2 = n - 1;
        sel_x2 = line_length(n - 1);
    } else {
        sel_y2 = y;
        sel_x2 = std::clamp(col + scroll_x, 0, line_length(y));
    }
    draw(-1);
}

void CursesEditor::mouseWheel(const MouseEvent& event) {
    const int row = floorDiv(event.y, screen.cell_height);
    int p = paneAtRow(row);
    if (p < 0) p = current_pane;
    const int rows = pane(p).rows;
    int offset = pane_offset[p] - event.wheel_delta / kWheelLinesDivisor;
    offset = std::max(std::min(offset, line_count() - rows + 4), 0);
    pane_offset[p] = offset;
    draw(-1);
    if (caret_visible())
        set_cursor(false, -1);
    else
        draw_status();
}

bool CursesEditor::openLinkAt(ScreenWindow& window, int row, int col) {
    const int p = paneAtRow(row);
    if (p < 0) return false;
    const int y = pane_offset[p] + row - pane(p).top;
    if (y < 0 || y >= line_count()) return false;
    const std::string& line = lines[static_cast<size_t>(y)];
    // The clicked character's byte position.
    const size_t clicked = byteOffset(std::string_view(line), std::max(col + scroll_x, 0));
    for (size_t at = line.find("http://"); at != std::string::npos; at = line.find("http://", at + 1)) {
        if (at > 0 && isAsciiWordCharacter(static_cast<unsigned char>(line[at - 1])) && line[at - 1] != '_') continue;
        size_t end = at;
        while (end < line.size() && end - at < kLongestLink && !endsLink(line[end])) ++end;
        if (end - at < kShortestLink || clicked < at || clicked >= end) continue;
        if (services.links) services.links->open(&window, line.substr(at, end - at));
        return true;
    }
    return false;
}
