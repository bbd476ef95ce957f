#include "view/editor_paint.h"

#include <algorithm>
#include <cstring>

#include "editor/text_columns.h"

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
    if (length == 0) return;
    state.scratch.set(text, length);
    // A tab occupies one cell, so it is drawn as one blank.
    char* copy = state.scratch.data();
    for (size_t i = 0; i < length; ++i)
        if (copy[i] == '\t') copy[i] = ' ';
    canvas.drawText(copy, static_cast<int>(length), CanvasRect{0, top, clientWidth, top + H}, opaque(state.textColor),
                    false, 0, true);
}

void drawWhitespaceMarks(EditorCanvas& canvas, const EditorPaintState& state, const char* text, size_t length, int top,
                         int W, int H) {
    unsigned accent = opaque(state.activeTextColor);
    CanvasRect cell{0, top, W, top + H};
    for (size_t i = 0; i < length;) {
        int step = std::max(charLength(text + i), 1);
        if (text[i] == ' ')
            canvas.putPixel(cell.left + W / 2, cell.top + H / 2, accent, kSpaceMarkAlpha);
        else if (text[i] == '\t')
            canvas.drawText(kTabMark, 3, cell, accent, false, 0, false);
        i += static_cast<size_t>(step);
        cell.left += W;
        cell.right += W;
    }
}

void drawLineNumber(EditorCanvas& canvas, const Document& doc, EditorPaintState& state, int line, int caretLine,
                    int top, int H, int clientWidth) {
    formatLineNumber(doc, line, caretLine, state.scratch);
    int length = static_cast<int>(state.scratch.size());
    CanvasTextSize size = canvas.measure(state.scratch.c_str(), length);
    int left = clientWidth / 2 - size.width / 2;
    unsigned colour = line == caretLine ? kCaretLineNumberColor : kLineNumberColor;
    canvas.drawText(state.scratch.c_str(), length, CanvasRect{left, top, left + size.width, top + H}, colour, true,
                    kLineNumberBackground, true);
    canvas.line(0, top + H, clientWidth, top + H, opaque(state.activeTextColor), kRuleAlpha);
}

void drawStatusText(EditorCanvas& canvas, const Document& doc, const ViewState& view, EditorPaintState& state, int top,
                    int clientWidth) {
    formatStatusText(doc, view, state.scratch);
    int length = static_cast<int>(state.scratch.size());
    CanvasTextSize size = canvas.measure(state.scratch.c_str(), length);
    canvas.drawText(state.scratch.c_str(), length, CanvasRect{clientWidth - size.width, top, clientWidth, top + size.height},
                    opaque(state.activeTextColor), true, opaque(state.backgroundColor), true);
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

}  // namespace

void formatStatusText(const Document& doc, const ViewState& view, TextBuffer& out) {
    out.setFormat(kStatusTextMax, "  %d : %d %s %s  ", view.caretColumn + 1, view.caretLine + 1,
                  doc.crlf ? "CRLF" : "LF", doc.space ? "SPACE" : "TAB");
}

void formatLineNumber(const Document& doc, int line, int caretLine, TextBuffer& out) {
    int j = line - caretLine;
    if (doc.relativeLineNumbers)
        out.setFormat(kStatusTextMax, j > 0 ? "%+8d  " : "%8d  ", j);
    else
        out.setFormat(kStatusTextMax, "%8d  ", line + 1);
}

PaintResult paintEditor(EditorCanvas& canvas, PaintScrollbar& scrollbar, const Document& doc, ViewState& view,
                        EditorPaintState& state, int clientWidth, int clientHeight) {
    PaintResult result;
    canvas.clear(opaque(state.backgroundColor));

    CanvasTextSize cell = canvas.measure("V", 1);
    view.glyphBox[0] = 0;
    view.glyphBox[1] = 0;
    view.glyphBox[2] = cell.width;
    view.glyphBox[3] = cell.height;
    view.cellWidth = cell.width;
    view.cellHeight = cell.height;
    view.blinkAccumulator += kBlinkStepMs;
    if (view.blinkAccumulator > kBlinkPeriodMs) {
        view.blinkAccumulator = 0;
        view.caretVisible = !view.caretVisible;
    }
    view.clientRect = PixelRect{0, 0, clientWidth, clientHeight};
    const int W = view.cellWidth;
    const int H = view.cellHeight;
    const int pitch = H + 1;

    state.lineCount = doc.lineCount();
    state.visibleRows = H > 0 ? clientHeight / pitch : 0;
    state.lineStep = 1;
    scrollbar.update(state.lineCount, state.visibleRows);

    state.topLine = view.topLine();
    state.firstColumn = view.firstColumn();
    state.mouseTopLine = state.topLine;

    if (view.caretVisible) {
        int x = view.screenColumn * W;
        int y = view.screenRow * pitch;
        if (doc.overwrite)
            canvas.fillRect(x, y, W, H, opaque(state.activeTextColor), kOverwriteCaretAlpha);
        else
            canvas.line(x, y, x, y + H, opaque(state.activeTextColor), 1.0f);
    }

    PaintCache now{view.caretColumn, view.caretLine, state.firstColumn, state.topLine, state.lineCount};
    bool twoRow = state.paintCache.valid() && state.paintCache == now && state.paintCache.lineCount > 1;
    result.kind = twoRow ? RefreshKind::TwoRow : RefreshKind::Full;
    bool numbers = lineNumbersOn(doc);
    bool rememberedCaretRow = false;

    for (int r = 0; r < state.visibleRows; ++r) {
        int L = state.topLine + r;
        int j = L - view.caretLine;
        int top = r * pitch;
        if (twoRow && !numbers && r < state.visibleRows - 1) {
            if (j != 0) continue;
            result.caretRow = r;
            rememberedCaretRow = true;
        }
        size_t length = 0;
        const char* text = visibleText(doc, L, state.firstColumn, clientWidth, length);
        drawRowText(canvas, state, text, length, top, H, clientWidth);
        if (state.showWhitespace && length) drawWhitespaceMarks(canvas, state, text, length, top, W, H);
        if (numbers) drawLineNumber(canvas, doc, state, L, view.caretLine, top, H, clientWidth);
        if (!numbers && r == state.visibleRows - 1) drawStatusText(canvas, doc, view, state, top, clientWidth);
    }
    if (!rememberedCaretRow) result.caretRow = 0;
    result.statusRow = std::max(state.visibleRows - 1, 0);

    if (doc.selectionActive) drawSelection(canvas, doc, state, W, H, clientWidth, clientHeight);

    if (twoRow && !numbers) {
        canvas.copyBand(result.caretRow * pitch, pitch);
        canvas.copyBand(result.statusRow * pitch, pitch);
        return result;
    }
    result.kind = RefreshKind::Full;
    canvas.copyBand(0, clientHeight);
    if (!numbers && !doc.selectionActive)
        state.paintCache = now;
    else
        state.paintCache.clear();
    return result;
}
