#include <cstring>
#include <string>
#include <vector>

#include "editor/commands.h"
#include "editor/edit_helpers.h"
#include "editor/text_edits.h"

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
        copied.reserve(static_cast<size_t>(end.line - start.line) + 1);
        for (int index = start.line + 1; index < end.line; ++index) {
            if (std::string_view middle = edit::lineText(doc, index); middle.data()) copied.emplace_back(middle);
        }
        const char* last = doc.line(end.line);
        if (last && charCount(last) >= end.column) copied.push_back(columnSpan(last, 0, end.column));
    }
    doc.copyBuffer.swap(copied);
    doc.host().shareCopy(doc.copyBuffer);
}

void cutSelection(Document& doc) {
    asCommand(doc, StepKind::Edit, [&] {
        copySelection(doc);
        deleteForward(doc);
    });
}

void paste(Document& doc) {
    // Text another program copied since Orvane's last copy or cut comes first; the copy
    // buffer itself stays as the last copy or cut left it.
    std::vector<std::string> foreign;
    pastePieces(doc, doc.host().foreignClipboard(foreign) ? foreign : doc.copyBuffer);
}

void pastePieces(Document& doc, const std::vector<std::string>& pieces) {
    asCommand(doc, StepKind::Edit, [&] {
        if (pieces.empty() || !caretLineExists(doc)) return;
        ViewState& view = doc.view();
        std::string_view line = edit::lineText(doc, view.caretLine);
        ColumnPosition at = columnPosition(line, view.caretColumn);
        if (at.column < view.caretColumn) return;
        // The pieces go in as copied: the first joins the caret line at the caret, the others
        // follow as lines of their own, and the rest of the caret line comes after the last.
        std::string text;
        for (size_t i = 0; i < pieces.size(); ++i) {
            const std::string& piece = pieces[i];
            if (i > 0) text.push_back(kLineBreak);
            text.append(piece.data(), strnlen(piece.data(), piece.size()));
        }
        const int startLine = view.caretLine;
        edits::change(doc, {startLine, at.byte, {}, text});
        const int count = static_cast<int>(pieces.size());
        if (count == 1) {
            doc.setCaretColumn(view.caretColumn + charCount(text.c_str()));
        } else {
            std::string_view last = pieces.back();
            doc.setCaret(charCount(last.substr(0, strnlen(last.data(), last.size()))), startLine + count - 1);
        }
        doc.markModified();
    });
}
