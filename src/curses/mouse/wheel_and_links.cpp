// The wheel scrolls the pane under the pointer; a double-click on a web link opens it.
#include <algorithm>

#include "curses/editor/curses_editor.h"
#include "curses/editor/word_class.h"
#include "curses/mouse/mouse_geometry.h"
#include "text/utf8.h"

namespace {

bool endsLink(char c) { return c == '\0' || c == '\t' || c == ' ' || c == '"' || c == '\'' || c == ')'; }

constexpr size_t kLongestLink = 511;
constexpr size_t kShortestLink = 10;
constexpr int kWheelLinesDivisor = 20;

}  // namespace

void CursesEditor::mouseWheel(const MouseEvent& event) {
    int p = paneAtRow(cellOf(event.y, screen.cell_height));
    if (p < 0) p = panes.current_pane;
    const int rows = pane(p).rows;
    const int offset = panes.pane_offset[p] - event.wheel_delta / kWheelLinesDivisor;
    panes.pane_offset[p] = std::max(std::min(offset, line_count() - rows + 4), 0);
    requestDraw(-1);
    if (caret_visible())
        set_cursor(false, -1);
    else
        requestStatus();
}

bool CursesEditor::openLinkAt(ScreenWindow& window, int row, int col) {
    const int p = paneAtRow(row);
    if (p < 0) return false;
    const int y = panes.pane_offset[p] + row - pane(p).top;
    if (y < 0 || y >= line_count()) return false;
    const std::string& line = doc.lines[static_cast<size_t>(y)];
    // The clicked character's byte position.
    const size_t clicked = byteOffset(std::string_view(line), std::max(col + view.scroll_x, 0));
    for (size_t at = line.find("http://"); at != std::string::npos; at = line.find("http://", at + 1)) {
        if (at > 0 && isLetterOrDigit(static_cast<unsigned char>(line[at - 1]))) continue;
        size_t end = at;
        while (end < line.size() && end - at < kLongestLink && !endsLink(line[end])) ++end;
        if (end - at < kShortestLink || clicked < at || clicked >= end) continue;
        if (services.links) services.links->open(&window, line.substr(at, end - at));
        return true;
    }
    return false;
}
