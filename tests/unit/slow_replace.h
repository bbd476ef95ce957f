#pragma once
// Search and replace written out slowly and literally, one character position and one
// replacement at a time, as the user would do them by hand; the fast code is held to it.
#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "editor/commands.h"
#include "editor/document.h"
#include "editor/find.h"
#include "fake_document_host.h"
#include "text/utf8.h"

namespace slow {

// T matches line L at column j when j + n <= charCount(L) and the bytes from byteOffset(L, j)
// on equal T's bytes.
inline bool matchesAt(const char* line, const std::string& text, int column) {
    if (column + charCount(text.c_str()) > charCount(line)) return false;
    size_t at = byteOffset(line, column);
    return std::strlen(line) - at >= text.size() && std::memcmp(line + at, text.data(), text.size()) == 0;
}

struct Found {
    int line = -1, column = -1;
};

inline Found slowForward(const Document& doc, const std::string& text, int line, int column) {
    for (int i = std::max(line, 0); i < doc.lineCount(); ++i) {
        int n = charCount(doc.line(i));
        for (int j = std::max(i == line ? column : 0, 0); j <= n; ++j)
            if (matchesAt(doc.line(i), text, j)) return {i, j};
    }
    return {};
}

inline Found slowBackward(const Document& doc, const std::string& text, int line, int column) {
    for (int i = std::min(line, doc.lineCount() - 1); i >= 0; --i) {
        int last = charCount(doc.line(i)) - charCount(text.c_str());
        int from = i == line ? std::min(column, last) : last;
        for (int j = from; j >= 0; --j)
            if (matchesAt(doc.line(i), text, j)) return {i, j};
    }
    return {};
}

// Select the match, delete it with Delete, type the replacement a character at a time; go on
// after the inserted text (forward) or before the match (backward).
inline void slowReplace(Document& doc, const std::string& text, const std::string& replacement, const ReplaceOptions& o) {
    ViewState& view = doc.view();
    if (!o.backward && (view.caretLine < 0 || view.caretLine >= doc.lineCount())) return;
    doc.findText = text;
    doc.replaceText = replacement;
    int line = o.fromStart && !o.backward ? 0 : view.caretLine;
    int column = o.fromStart && !o.backward ? 0 : view.caretColumn;
    const int n = charCount(text.c_str());
    for (;;) {
        Found m = o.backward ? slowBackward(doc, text, line, column) : slowForward(doc, text, line, column);
        if (m.line < 0) return;
        doc.extendSelection();
        doc.selectionStart = {m.column, m.line};
        doc.selectionEnd = {m.column + n, m.line};
        doc.setCaret(m.column, m.line);
        deleteForward(doc);
        for (const char* p = replacement.c_str(); *p;) {
            std::string piece(p, static_cast<size_t>(charLength(p)));
            insertText(doc, piece.c_str());
            p += piece.size();
        }
        if (!o.all) return;
        if (o.backward) {
            line = m.column > 0 ? m.line : m.line - 1;
            column = m.column > 0 ? m.column - 1 : INT_MAX;
            if (line < 0) return;
        } else {
            line = view.caretLine;
            column = view.caretColumn;
        }
    }
}

struct Editor {
    FakeDocumentHost host;
    ViewState view;
    EditorDefaults defaults;
    Document doc{host, view, defaults};
    Editor() {
        view.cellWidth = 8;
        view.cellHeight = 9;
        view.clientRect = {0, 0, 96, 90};  // 12 columns, 9 rows: the scroll clamps often
        host.pointerInside = true;
        doc.newDocument();
    }
};

inline std::string state(const Editor& e) {
    std::string out;
    for (int i = 0; i < e.doc.lineCount(); ++i) out += std::string(e.doc.line(i)) + "\n";
    const ViewState& v = e.view;
    const Document& d = e.doc;
    out += "caret " + std::to_string(v.caretColumn) + "," + std::to_string(v.caretLine) + " screen " +
           std::to_string(v.screenColumn) + "," + std::to_string(v.screenRow) + " selection " +
           std::to_string(d.selectionActive) + " " + std::to_string(d.selectionStart.column) + "," +
           std::to_string(d.selectionStart.line) + "-" + std::to_string(d.selectionEnd.column) + "," +
           std::to_string(d.selectionEnd.line) + " anchor " + std::to_string(d.anchor.column) + "," +
           std::to_string(d.anchor.line) + " modified " + std::to_string(d.modified) + " titles " +
           std::to_string(e.host.titles.size()) +
           // Whether the pointer was hidden: a command hides it once, however many moves it makes.
           " hidden " + std::to_string(e.host.hideCount > 0) + " find " + d.findText +
           " change " + d.replaceText;
    return out;
}

}  // namespace slow
