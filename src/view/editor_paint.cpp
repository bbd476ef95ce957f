#include "view/editor_paint.h"

#include <algorithm>
#include <cstring>

#include "text/utf8.h"

namespace {

constexpr unsigned opaque(int rgb) { return 0xFF000000u | static_cast<unsigned>(rgb & 0xFFFFFF); }

constexpr float kOverwriteCaretAlpha = 0.6f;
constexpr float kSpaceMarkAlpha = 0.6f;
constexpr float kRuleAlpha = 0.2f;
constexpr float kSelectionAlpha = 0.4f;
constexpr char kTabMark[] = "\xE2\x86\x92";  // U+2192

bool lineNumbersOn(const Document& doc) { return doc.relativeLineNumbers || doc.absoluteLineNumbers; }

// The part of line L from column firstColumn on, as bytes [begin, begin + length). A row
// never shows more characters than it has pixels, so a huge line costs no more than a short one.
const char* visibleText(const Document& doc, int line, int firstColumn, int clientWidth, size_t& length) {
    length = 0;
    const char* text = doc.line(line);
    if (!text) return nullptr;
    const char* begin = text + byteOffset(text, std::max(firstColumn, 0));
    const char* end = begin + byteOffset(begin, std::max(clientWidth, 0));
    length = static_cast<size_t>(end - begin);
    return begin;
}

void drawRowText(EditorCanvas& canvas, EditorPaintState& state, const char* text, size_t length, int top, int H,
                 int clientWidth) {
    // Without room for the copy the row stays blank rather than half drawn.
    if (length == 0 || !state.scratch.set(text, length) || state.scratch.size() != length) return;
    // A tab occupies one cell, so it is drawn as one blank.
    char* copy = state.scratch.data();
    for (size_t i = 0; i < length; ++i)
        if (copy[i] == '\t') copy[i] = ' ';
    canvas.drawText(copy, static_cast<int>(length), PixelRect{0, top, clientWidth, top + H},
                    TextStyle{.colour = opaque(state.textColor), .useTextAlpha = true});
}

void drawWhitespaceMarks(EditorCanvas& canvas, const EditorPaintState& state, const char* text, size_t length, int top,
                         int W, int H) {
    unsigned accent = opaque(state.activeTextColor);
    PixelRect cell{0, top, W, top + H};
    for (size_t i = 0; i < length;) {
        int step = std::max(charLength(text + i), 1);
        if (text[i] == ' ')
            canvas.putPixel(cell.left + W / 2, cell.top + H / 2, accent, kSpaceMarkAlpha);
        else if (text[i] == '\t')
            canvas.drawText(kTabMark, 3, cell, TextStyle{.colour = accent});
        i += static_cast<size_t>(step);
        cell.left += W;
        cell.right += W;
    }
}

void drawLineNumber(EditorCanvas& canvas, const Document& doc, EditorPaintState& state, int line, int caretLine,
                    int top, int H, int clientWidth) {
    formatLineNumber(doc, line, caretLine, state.scratch);
    int length = static_cast<int>(state.scratch.size());
    PixelSize size = canvas.measure(state.scratch.c_str(), length);
    int left = clientWidth / 2 - size.width / 2;
    unsigned colour = line == caretLine ? kCaretLineNumberColor : kLineNumberColor;
    canvas.drawText(state.scratch.c_str(), length, PixelRect{left, top, left + size.width, top + H},
                    TextStyle{.colour = colour, .opaque = true, .background = kLineNumberBackground, .useTextAlpha = true});
    canvas.line(0, top + H, clientWidth, top + H, opaque(state.activeTextColor), kRuleAlpha);
}

void drawStatusText(EditorCanvas& canvas, const Document& doc, const ViewState& view, EditorPaintState& state, int top,
                    int clientWidth) {
    if (state.notice.empty())
        formatStatusText(doc, view, state.scratch);
    else
        state.scratch.setFormat(kStatusTextMax, "  %s  ", state.notice.c_str());
    int length = static_cast<int>(state.scratch.size());
    PixelSize size = canvas.measure(state.scratch.c_str(), length);
    canvas.drawText(state.scratch.c_str(), length, PixelRect{clientWidth - size.width, top, clientWidth, top + size.height},
                    TextStyle{.colour = opaque(state.activeTextColor),
                              .opaque = true,
                              .background = opaque(state.backgroundColor),
                              .useTextAlpha = true});
}

void drawSelection(EditorCanvas& canvas, const Document& doc, const EditorPaintState& state, int W, int H,
                   int clientWidth, int clientHeight) {
    unsigned accent = opaque(state.activeTextColor);
    int pitch = H + 1;
    int sc = doc.selectionStart.column - state.firstColumn;
    int ec = doc.selectionEnd.column - state.firstColumn;
    int sl = doc.selectionStart.line - state.topLine;
    int el = doc.selectionEnd.line - state.topLine;
    if (sl == el) {
        canvas.fillRect(sc * W, sl * pitch, (ec - sc) * W, H, accent, kSelectionAlpha);
        return;
    }
    if (sl > el) return;
    canvas.fillRect(sc * W, sl * pitch, clientWidth - sc * W, H, accent, kSelectionAlpha);
    // Rows off the surface would only be clipped away: a selection of millions of lines
    // costs no more than the rows on screen.
    int firstRow = std::max(sl + 1, -1);
    int lastRow = std::min(el - 1, clientHeight / pitch + 1);
    for (int row = firstRow; row <= lastRow; ++row) canvas.fillRect(0, row * pitch, clientWidth, H, accent, kSelectionAlpha);
    canvas.fillRect(0, el * pitch, ec * W, H, accent, kSelectionAlpha);
}

void drawCaret(EditorCanvas& canvas, const Document& doc, const ViewState& view, const EditorPaintState& state) {
    if (!view.caretVisible) return;
    int x = view.screenColumn * view.cellWidth;
    int y = view.screenRow * (view.cellHeight + 1);
    if (doc.overwrite)
        canvas.fillRect(x, y, view.cellWidth, view.cellHeight, opaque(state.activeTextColor), kOverwriteCaretAlpha);
    else
        canvas.line(x, y, x, y + view.cellHeight, opaque(state.activeTextColor), 1.0f);
}

// A row's text and, when they are shown, its whitespace marks.
void drawRow(EditorCanvas& canvas, const Document& doc, EditorPaintState& state, int line, int top, int W, int H,
             int clientWidth) {
    size_t length = 0;
    const char* text = visibleText(doc, line, state.firstColumn, clientWidth, length);
    drawRowText(canvas, state, text, length, top, H, clientWidth);
    if (state.showWhitespace && length) drawWhitespaceMarks(canvas, state, text, length, top, W, H);
}

}  // namespace

void formatStatusText(const Document& doc, const ViewState& view, TextBuffer& out) {
    // A file kept in UTF-16 says so after the line end; UTF-8 goes unmentioned.
    const char* encoding = doc.format.encoding == TextEncoding::Utf16LE   ? " UTF-16LE"
                           : doc.format.encoding == TextEncoding::Utf16BE ? " UTF-16BE"
                                                                           : "";
    out.setFormat(kStatusTextMax, "  %d : %d %s%s %s  ", view.caretColumn + 1, view.caretLine + 1,
                  doc.crlf ? "CRLF" : "LF", encoding, doc.space ? "SPACE" : "TAB");
}

void formatLineNumber(const Document& doc, int line, int caretLine, TextBuffer& out) {
    int j = line - caretLine;
    if (doc.relativeLineNumbers)
        out.setFormat(kStatusTextMax, j > 0 ? "%+8d  " : "%8d  ", j);
    else
        out.setFormat(kStatusTextMax, "%8d  ", line + 1);
}

bool advanceBlink(ViewState& view) {
    view.blinkAccumulator += kBlinkStepMs;
    if (view.blinkAccumulator <= kBlinkPeriodMs) return false;
    view.blinkAccumulator = 0;
    view.caretVisible = !view.caretVisible;
    return true;
}

int ticksUntilBlink(const ViewState& view) {
    int ticks = 1;
    for (int accumulated = view.blinkAccumulator + kBlinkStepMs; accumulated <= kBlinkPeriodMs; accumulated += kBlinkStepMs)
        ++ticks;
    return ticks;
}

PaintSnapshot takePaintSnapshot(const Document& doc, const ViewState& view, const EditorPaintState& state,
                                int clientWidth, int clientHeight) {
    PaintSnapshot s;
    s.textRevision = doc.lines.revision();
    s.caretColumn = view.caretColumn;
    s.caretLine = view.caretLine;
    s.screenColumn = view.screenColumn;
    s.screenRow = view.screenRow;
    s.caretVisible = view.caretVisible;
    s.selectionActive = doc.selectionActive;
    if (doc.selectionActive) {
        s.selectionStart = doc.selectionStart;
        s.selectionEnd = doc.selectionEnd;
    }
    s.crlf = doc.crlf;
    s.space = doc.space;
    s.overwrite = doc.overwrite;
    s.relativeLineNumbers = doc.relativeLineNumbers;
    s.absoluteLineNumbers = doc.absoluteLineNumbers;
    s.showWhitespace = state.showWhitespace;
    s.clientWidth = clientWidth;
    s.clientHeight = clientHeight;
    s.notice = state.notice;
    return s;
}

namespace {

// The grid one paint draws on.
struct PaintGrid {
    int cellWidth = 0;
    int cellHeight = 0;
    int pitch = 0;  // a row and the one-pixel gap under it
    int clientWidth = 0;
    unsigned background = 0;
};

// A blink changes nothing but the caret's own row: nothing else is drawn or copied.
PaintResult paintCaretRow(EditorCanvas& canvas, const Document& doc, const ViewState& view, EditorPaintState& state,
                          const PaintGrid& grid, int caretRow) {
    PaintResult result;
    result.kind = RefreshKind::CaretRow;
    result.caretRow = caretRow;
    result.statusRow = state.visibleRows - 1;
    int top = caretRow * grid.pitch;
    canvas.fillRect(0, top, grid.clientWidth, grid.pitch, grid.background, 1.0f);
    drawCaret(canvas, doc, view, state);
    drawRow(canvas, doc, state, state.topLine + caretRow, top, grid.cellWidth, grid.cellHeight, grid.clientWidth);
    canvas.copyBand(top, grid.pitch);
    return result;
}

// Every row, or on a two-row refresh only the caret's and the status row.
void drawRows(EditorCanvas& canvas, const Document& doc, const ViewState& view, EditorPaintState& state,
              const PaintGrid& grid, const PaintResult& result) {
    const bool twoRow = result.kind == RefreshKind::TwoRow;
    const bool numbers = lineNumbersOn(doc);
    for (int r = 0; r < state.visibleRows; ++r) {
        if (twoRow && r != result.caretRow && r != result.statusRow) continue;
        int L = state.topLine + r;
        int top = r * grid.pitch;
        drawRow(canvas, doc, state, L, top, grid.cellWidth, grid.cellHeight, grid.clientWidth);
        if (numbers) drawLineNumber(canvas, doc, state, L, view.caretLine, top, grid.cellHeight, grid.clientWidth);
        if ((!numbers || !state.notice.empty()) && r == state.visibleRows - 1)
            drawStatusText(canvas, doc, view, state, top, grid.clientWidth);
    }
}

}  // namespace

PaintResult paintEditor(EditorCanvas& canvas, PaintScrollbar& scrollbar, const Document& doc, ViewState& view,
                        EditorPaintState& state, int clientWidth, int clientHeight, bool caretBlinkOnly) {
    PaintResult result;
    PixelSize cell = canvas.measure("V", 1);
    view.cellWidth = cell.width;
    view.cellHeight = cell.height;
    view.clientRect = PixelRect{0, 0, clientWidth, clientHeight};
    const int H = view.cellHeight;
    const int pitch = H + 1;
    const PaintGrid grid{view.cellWidth, H, pitch, clientWidth, opaque(state.backgroundColor)};

    state.topLine = view.topLine();
    state.firstColumn = view.firstColumn();
    PaintCache now{view.caretColumn, view.caretLine, state.firstColumn, state.topLine, doc.lineCount()};
    bool numbers = lineNumbersOn(doc);
    bool cacheHolds = state.paintCache.valid() && state.paintCache == now && state.paintCache.lineCount > 1 && !numbers;
    int caretRow = view.screenRow;
    bool caretRowShown = caretRow >= 0 && caretRow < state.visibleRows - 1;
    if (caretBlinkOnly && cacheHolds && caretRowShown && !doc.selectionActive)
        return paintCaretRow(canvas, doc, view, state, grid, caretRow);

    state.lineCount = doc.lineCount();
    state.visibleRows = H > 0 ? clientHeight / pitch : 0;
    scrollbar.update(state.lineCount, state.visibleRows);

    bool twoRow = cacheHolds;
    result.kind = twoRow ? RefreshKind::TwoRow : RefreshKind::Full;
    result.statusRow = std::max(state.visibleRows - 1, 0);
    result.caretRow = 0;
    caretRowShown = caretRow >= 0 && caretRow < state.visibleRows - 1;
    if (twoRow && caretRowShown) result.caretRow = caretRow;

    // Only what is copied to the screen is drawn: a two-row refresh leaves the rest of the
    // picture as it is.
    if (twoRow) {
        canvas.fillRect(0, result.caretRow * pitch, clientWidth, pitch, grid.background, 1.0f);
        canvas.fillRect(0, result.statusRow * pitch, clientWidth, pitch, grid.background, 1.0f);
    } else {
        canvas.clear(grid.background);
    }
    drawCaret(canvas, doc, view, state);
    drawRows(canvas, doc, view, state, grid, result);
    if (doc.selectionActive) drawSelection(canvas, doc, state, grid.cellWidth, H, clientWidth, clientHeight);

    if (twoRow) {
        canvas.copyBand(result.caretRow * pitch, pitch);
        canvas.copyBand(result.statusRow * pitch, pitch);
        return result;
    }
    canvas.copyBand(0, clientHeight);
    if (!numbers && !doc.selectionActive)
        state.paintCache = now;
    else
        state.paintCache.clear();
    return result;
}
