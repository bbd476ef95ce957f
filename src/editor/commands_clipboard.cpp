#include <cstring>
#include <string>
#include <vector>

#include "editor/commands.h"
#include "editor/edit_helpers.h"

using edit::caretLineExists;
using edit::lineExists;

namespace {

// Characters [fromColumn, toColumn) of a line as a piece; toColumn < 0 means to the end.
std::string columnSpan(const char* line, int fromColumn, int toColumn) {
    size_t from = byteOffset(line, fromColumn);
    size_t to = toColumn < 0 ? std::strlen(line) : byteOffset(line, toColumn);
    return to > from ? std::string(line + from, to - from) : std::string();
}

}  // namespace

void copySelection(Document& doc) {
    if (!doc.selectionActive) return;
    // Gathered aside: a copy that runs out of memory leaves the buffer as it was.
    std::vector<std::string> copied;
    TextPosition start = doc.selectionStart;
    TextPosition end = doc.selectionEnd;
    if (start.line == end.line) {
        const char* line = doc.line(start.line);
        if (line && charCount(line) >= start.column) copied.push_back(columnSpan(line, start.column, end.column));
    } else {
        const char* first = doc.line(start.line);
        if (first && charCount(first) >= start.column) copied.push_back(columnSpan(first, start.column, -1));
        for (int index = start.line + 1; index < end.line; ++index) {
            if (const char* middle = doc.line(index)) copied.emplace_back(middle);
        }
        const char* last = doc.line(end.line);
        if (last && charCount(last) >= end.column) copied.push_back(columnSpan(last, 0, end.column));
    }
    doc.copyBuffer.swap(copied);
}

void cutSelection(Document& doc) {
    copySelection(doc);
    deleteForward(doc);
}

void paste(Document& doc) {
    if (doc.copyBuffer.empty() || !caretLineExists(doc)) return;
    ViewState& view = doc.view();
    std::string_view line = edit::lineText(doc, view.caretLine);
    ColumnPosition at = columnPosition(line, view.caretColumn);
    if (at.column < view.caretColumn) return;
    const std::string& head = doc.copyBuffer.front();
    const size_t headBytes = strnlen(head.data(), head.size());
    // The rest of the caret line stays behind the first piece; later pieces become new lines,
    // all inserted in one step. All the memory is taken before anything changes, so a paste
    // is whole or does nothing.
    int pieces = static_cast<int>(doc.copyBuffer.size());
    LineBatch batch;
    if (pieces > 1) {
        size_t bytes = 0;
        for (int i = 1; i < pieces; ++i) bytes += doc.copyBuffer[static_cast<size_t>(i)].size();
        batch.reserve(bytes, static_cast<size_t>(pieces - 1));
        for (int i = 1; i < pieces; ++i) {
            const std::string& piece = doc.copyBuffer[static_cast<size_t>(i)];
            batch.add(piece.data(), strnlen(piece.data(), piece.size()));
        }
    }
    doc.lines.reserveLine(view.caretLine, line.size() + headBytes);
    doc.lines.splice(view.caretLine, at.byte, 0, head.data(), headBytes);
    if (pieces > 1) doc.lines.insert(view.caretLine + 1, std::move(batch));
    if (pieces == 1) {
        doc.setCaretColumn(view.caretColumn + charCount(head.c_str()));
    } else {
        int lastLine = view.caretLine + pieces - 1;
        doc.setCaret(charCount(doc.line(lastLine)), lastLine);
    }
    doc.markModified();
}
