#include "editor/document.h"

#include <algorithm>
#include <cstring>

#include "text/utf8.h"

namespace {
constexpr size_t kMaxTitleBytes = 2048;
}

int ViewState::visibleColumns() const {
    if (cellWidth <= 0) return 0;
    return (clientRect.right - clientRect.left) / cellWidth;
}

int ViewState::visibleRows() const {
    if (cellHeight <= 0) return 0;
    return (clientRect.bottom - clientRect.top) / (cellHeight + 1);
}

std::string fileNamePart(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

Document::Document(DocumentHost& host, ViewState& view, const EditorDefaults& defaults)
    : host_(host), view_(view), defaults_(defaults) {
    crlf = defaults.crlf;
    space = defaults.space;
    tabSize = defaults.tabSize;
}

int Document::longestLine() const {
    int longest = 0;
    for (int i = 0; i < lines.count(); ++i) longest = std::max(longest, charCount(lines.view(i)));
    return longest;
}

void Document::hidePointerWhileTyping() {
    if (pointerSettled_) return;
    pointerSettled_ = commandDepth_ > 0;
    if (!mouseCaptured() && host_.pointerInEditor()) host_.hidePointer();
}

bool Document::mouseCaptured() {
    if (captureKnown_) return captured_;
    const bool captured = host_.mouseCaptured();
    if (commandDepth_ > 0) {
        captureKnown_ = true;
        captured_ = captured;
    }
    return captured;
}

void Document::setCaretColumn(int column) {
    hidePointerWhileTyping();
    view_.caretVisible = true;
    int d = column - view_.caretColumn;
    if (d > 0)
        view_.screenColumn = std::min(view_.screenColumn + d, view_.visibleColumns());
    else if (d < 0)
        view_.screenColumn = std::max(view_.screenColumn + d, 0);
    view_.caretColumn = column;
}

void Document::setCaretLine(int line) {
    hidePointerWhileTyping();
    view_.caretVisible = true;
    int d = line - view_.caretLine;
    // Moving down keeps three rows below the caret; a window of fewer than four rows pins it to row 0.
    if (d > 0)
        view_.screenRow = std::max(std::min(view_.screenRow + d, view_.visibleRows() - 4), 0);
    else if (d < 0)
        view_.screenRow = std::max(view_.screenRow + d, 0);
    view_.caretLine = line;
}

void Document::setCaret(int column, int line) {
    setCaretColumn(column);
    setCaretLine(line);
}

void Document::extendSelection() {
    bool captured = mouseCaptured();
    if (!selectionActive) {
        selectionActive = true;
        anchor = captured ? selectionStart : TextPosition{view_.caretColumn, view_.caretLine};
    }
    TextPosition moving = captured ? selectionEnd : TextPosition{view_.caretColumn, view_.caretLine};
    if (moving.before(anchor)) {
        selectionStart = moving;
        selectionEnd = anchor;
    } else {
        selectionStart = anchor;
        selectionEnd = moving;
    }
}

void Document::clearSelection() {
    selectionActive = false;
    anchor = selectionStart = selectionEnd = TextPosition{};
}

void Document::setTitleFormat(const char* format, const char* fileName) {
    TextBuffer title;
    if (fileName)
        title.setFormat(kMaxTitleBytes, format, host_.applicationName(), fileName);
    else
        title.setFormat(kMaxTitleBytes, format, host_.applicationName());
    host_.setTitle(title.c_str());
}

void Document::setSavedTitle() { setTitleFormat("%s - %s", fileNamePart(path).c_str()); }

void Document::setUnmodifiedTitle() {
    if (path.empty())
        setTitleFormat("%s - *", nullptr);
    else
        setSavedTitle();
}

void Document::markModified() {
    if (modified) return;
    // The flag first: a title that cannot be made must not leave changed text looking saved.
    modified = true;
    setTitleFormat("%s - *%s", fileNamePart(path).c_str());
}

void Document::newDocument() {
    // The document it replaces goes into the history, so Ctrl+Z brings it back.
    DocumentContent fresh;
    fresh.lines.insert(0, "", 0);
    fresh.crlf = defaults_.crlf;
    fresh.space = defaults_.space;
    history.replaceDocument(*this, fresh);
    modified = false;
    setTitleFormat("%s - *", nullptr);
}
