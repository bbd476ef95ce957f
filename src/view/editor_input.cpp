#include "view/editor_input.h"

#include <algorithm>

#include "text/utf8.h"
#include "text/virtual_keys.h"

TextPosition hitTest(const Document& doc, const HitGeometry& g, int x, int y, bool drag) {
    int row = y / (g.cellHeight + 1);
    if (drag && row < 0) row = 0;
    int count = doc.lineCount();
    int line = count > 0 ? std::clamp(g.topLine + row, 0, count - 1) : 0;
    int c = g.cellWidth > 0 ? x / g.cellWidth : 0;
    if (c < 0) c = 0;
    const char* text = doc.line(line);
    int column = std::min(g.firstColumn + c, text ? charCount(text) : 0);
    return {column, line};
}

int scrollTarget(int request, const BarValues& bar) {
    int p = bar.position;
    switch (request) {
    case kScrollLineUp: p = bar.position - kLineStep; break;
    case kScrollLineDown: p = bar.position + kLineStep; break;
    case kScrollPageUp: p = bar.position - bar.page; break;
    case kScrollPageDown: p = bar.position + bar.page; break;
    case kScrollThumbTrack: p = bar.trackPosition; break;
    case kScrollTop: p = 0; break;
    case kScrollBottom: p = bar.maximum - bar.page; break;
    default: break;
    }
    p = std::min(p, bar.maximum - bar.page);
    return std::max(p, 0);
}

int wheelTarget(int delta, const BarValues& bar) {
    float v = static_cast<float>(bar.position) - static_cast<float>(delta) / 120.0f * 10.0f;
    v = std::min(v, static_cast<float>(bar.maximum - 10));
    v = std::max(v, 0.0f);
    return static_cast<int>(v + 0.5f);
}

bool thumbFollowUp(int virtualKey, const BarValues& bar, int& position) {
    switch (virtualKey) {
    case vk::kPrior: position = std::max(0, bar.position - bar.page); return true;
    case vk::kNext: position = std::min(bar.maximum, bar.position + bar.page); return true;
    case vk::kEnd: position = bar.maximum; return true;
    case vk::kHome: position = 0; return true;
    case vk::kUp: position = std::max(0, bar.position - kLineStep); return true;
    case vk::kDown: position = std::min(bar.maximum, bar.position + kLineStep); return true;
    default: return false;
    }
}

void scrollToLine(Document& doc, int line) {
    doc.setCaretLine(line);
    ViewState& view = doc.view();
    view.caretColumn = 0;
    view.screenColumn = 0;
    view.screenRow = 0;
}

void beginDragSelection(Document& doc, TextPosition at) {
    doc.clearSelection();
    doc.selectionStart = at;
    doc.selectionEnd = at;
    doc.extendSelection();
    doc.setCaret(at.column, at.line);
}

void dragSelectionTo(Document& doc, TextPosition at) {
    doc.selectionEnd = at;
    doc.extendSelection();
    doc.setCaret(at.column, at.line);
}

bool endDragSelection(Document& doc, TextPosition at) {
    dragSelectionTo(doc, at);
    if (doc.selectionStart == doc.selectionEnd) {
        doc.clearSelection();
        return true;
    }
    return false;
}
