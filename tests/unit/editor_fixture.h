#pragma once
// A document with a 30-row, 80-column view for command, key and find tests.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "editor/document.h"
#include "fake_document_host.h"

struct EditorFixture : ::testing::Test {
    EditorFixture() {
        view.cellWidth = 8;
        view.cellHeight = 9;
        view.clientRect = {0, 0, 640, 300};
        doc.newDocument();
        doc.tabSize = 4;
        host.titles.clear();
    }

    void setLines(std::initializer_list<const char*> texts) {
        doc.clearLines();
        for (const char* text : texts) doc.insertLine(doc.lineCount(), text);
    }
    void fillLines(int n, const char* text = "line") {
        doc.clearLines();
        for (int i = 0; i < n; ++i) doc.insertLine(i, text);
    }
    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        for (int i = 0; i < doc.lineCount(); ++i) out.emplace_back(doc.line(i));
        return out;
    }
    // Places the caret without scrolling.
    void caretAt(int column, int line) {
        view.caretColumn = column;
        view.caretLine = line;
    }
    // A keyboard selection from `from` to `to`, ending with the caret at `to`.
    void select(TextPosition from, TextPosition to) {
        caretAt(from.column, from.line);
        doc.extendSelection();
        caretAt(to.column, to.line);
        doc.extendSelection();
    }
    TextPosition caret() const { return {view.caretColumn, view.caretLine}; }

    FakeDocumentHost host;
    ViewState view;
    Document doc{host, view};
};

using Lines = std::vector<std::string>;
