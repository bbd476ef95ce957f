#include <gtest/gtest.h>

#include "editor/document.h"
#include "fake_document_host.h"

namespace {

// A view of 30 rows (cell height 9 + 1 gap) and 80 columns.
struct DocumentFixture : ::testing::Test {
    DocumentFixture() {
        view.cellWidth = 8;
        view.cellHeight = 9;
        view.clientRect = {0, 0, 640, 300};
    }
    void fillLines(int n) {
        document.clearLines();
        for (int i = 0; i < n; ++i) document.insertLine(i, "line");
    }
    FakeDocumentHost host;
    ViewState view;
    Document document{host, view};
};

}  // namespace

TEST_F(DocumentFixture, VisibleRowsAndColumnsFollowTheCellSize) {
    EXPECT_EQ(view.visibleRows(), 30);
    EXPECT_EQ(view.visibleColumns(), 80);
    ViewState empty;
    EXPECT_EQ(empty.visibleRows(), 0);
    EXPECT_EQ(empty.visibleColumns(), 0);
}

TEST_F(DocumentFixture, StepwiseDownKeepsThreeRowsBelowTheCaret) {
    fillLines(100);
    for (int i = 1; i <= 26; ++i) {
        document.setCaretLine(i);
        EXPECT_EQ(view.screenRow, i);
    }
    document.setCaretLine(27);
    EXPECT_EQ(view.screenRow, 26);
    EXPECT_EQ(view.topLine(), 1);
}

TEST_F(DocumentFixture, LargeJumpsPinTheCaretToTheBandEdges) {
    document.setCaretLine(1000);
    EXPECT_EQ(view.screenRow, 26);
    EXPECT_EQ(view.topLine(), 1000 - 26);
    document.setCaretLine(10);
    EXPECT_EQ(view.screenRow, 0);
    EXPECT_EQ(view.topLine(), 10);
}

TEST_F(DocumentFixture, ColumnMovesScrollSideways) {
    document.setCaretColumn(200);
    EXPECT_EQ(view.screenColumn, 80);
    EXPECT_EQ(view.firstColumn(), 120);
    document.setCaretColumn(150);
    EXPECT_EQ(view.screenColumn, 30);
    document.setCaretColumn(0);
    EXPECT_EQ(view.screenColumn, 0);
}

TEST_F(DocumentFixture, TinyWindowKeepsTheCaretRowAtZero) {
    view.clientRect = {0, 0, 640, 20};  // two rows
    document.setCaretLine(5);
    EXPECT_EQ(view.screenRow, 0);
    EXPECT_EQ(view.topLine(), 5);
}

TEST_F(DocumentFixture, CaretMovesShowTheCaretAndHideThePointerOnlyWhenAllowed) {
    host.pointerInside = true;
    document.setCaretColumn(1);
    EXPECT_TRUE(view.caretVisible);
    EXPECT_EQ(host.hideCount, 1);
    host.captured = true;
    document.setCaretColumn(2);
    EXPECT_EQ(host.hideCount, 1);
    host.captured = false;
    host.pointerInside = false;
    document.setCaretLine(2);
    EXPECT_EQ(host.hideCount, 1);
}

TEST_F(DocumentFixture, ExtendSelectionNormalisesAroundTheAnchor) {
    document.setCaret(5, 2);
    document.extendSelection();
    document.setCaret(1, 2);
    document.extendSelection();
    EXPECT_TRUE(document.selectionActive);
    EXPECT_EQ(document.anchor, (TextPosition{5, 2}));
    EXPECT_EQ(document.selectionStart, (TextPosition{1, 2}));
    EXPECT_EQ(document.selectionEnd, (TextPosition{5, 2}));
    document.setCaret(0, 4);
    document.extendSelection();
    EXPECT_EQ(document.selectionStart, (TextPosition{5, 2}));
    EXPECT_EQ(document.selectionEnd, (TextPosition{0, 4}));
    document.clearSelection();
    EXPECT_FALSE(document.selectionActive);
    EXPECT_EQ(document.anchor, TextPosition{});
    EXPECT_EQ(document.selectionEnd, TextPosition{});
}

TEST_F(DocumentFixture, CapturedExtendTakesTheAnchorFromSelectionStart) {
    host.captured = true;
    document.selectionStart = {3, 1};
    document.selectionEnd = {3, 1};
    document.extendSelection();
    document.selectionEnd = {1, 0};
    document.extendSelection();
    EXPECT_EQ(document.anchor, (TextPosition{3, 1}));
    EXPECT_EQ(document.selectionStart, (TextPosition{1, 0}));
    EXPECT_EQ(document.selectionEnd, (TextPosition{3, 1}));
}

TEST_F(DocumentFixture, NewDocumentAndMarkModifiedSetTitlesOnce) {
    document.newDocument();
    ASSERT_EQ(document.lineCount(), 1);
    EXPECT_STREQ(document.line(0), "");
    EXPECT_EQ(view.caretColumn, 0);
    EXPECT_EQ(view.caretLine, 0);
    EXPECT_EQ(host.titles.back(), "Orvane - *");
    document.markModified();
    document.markModified();
    EXPECT_EQ(host.titles.size(), 2u);
    EXPECT_EQ(host.titles.back(), "Orvane - *");
    document.path = "C:\\work\\notes.txt";
    document.modified = false;
    document.markModified();
    EXPECT_EQ(host.titles.back(), "Orvane - *notes.txt");
    EXPECT_TRUE(document.modified);
}

TEST_F(DocumentFixture, NewDocumentKeepsTabSizeAndCopyBuffer) {
    document.tabSize = 5;
    document.overwrite = true;
    document.copyBuffer = {"x"};
    document.crlf = false;
    document.newDocument();
    EXPECT_EQ(document.tabSize, 5);
    EXPECT_TRUE(document.overwrite);
    EXPECT_EQ(document.copyBuffer.size(), 1u);
    EXPECT_TRUE(document.crlf);  // back to the preference
}

TEST(LineList, PrimitivesClampAndIgnoreBadIndices) {
    LineList lines;
    lines.insert(5, "b");
    lines.insert(-3, "a");
    lines.insert(99, "c");
    ASSERT_EQ(lines.count(), 3);
    EXPECT_STREQ(lines.at(0), "a");
    EXPECT_STREQ(lines.at(2), "c");
    EXPECT_EQ(lines.at(3), nullptr);
    EXPECT_EQ(lines.at(-1), nullptr);
    lines.remove(7);
    lines.remove(-1);
    EXPECT_EQ(lines.count(), 3);
    lines.replace(1, "B");
    EXPECT_STREQ(lines.at(1), "B");
    lines.remove(0);
    EXPECT_STREQ(lines.at(0), "B");
}

TEST(FileNamePart, TakesTheTextAfterTheLastSeparator) {
    EXPECT_EQ(fileNamePart("C:\\a\\b.txt"), "b.txt");
    EXPECT_EQ(fileNamePart("/tmp/x/y"), "y");
    EXPECT_EQ(fileNamePart("a/b\\c"), "c");
    EXPECT_EQ(fileNamePart("plain"), "plain");
    EXPECT_EQ(fileNamePart(""), "");
}

TEST(TextBuffer, EditsStayTerminatedAndFormatsAreCut) {
    TextBuffer b;
    EXPECT_STREQ(b.c_str(), "");
    b.set("hello", 3);
    EXPECT_STREQ(b.c_str(), "hel");
    b.append("lo world");
    b.insert(0, ">> ");
    b.insert(1000, "!");
    EXPECT_STREQ(b.c_str(), ">> hello world!");
    b.erase(3, 6);
    EXPECT_STREQ(b.c_str(), ">> world!");
    b.erase(5, 1000);
    EXPECT_STREQ(b.c_str(), ">> wo");
    EXPECT_EQ(b.size(), 5u);
    b.setFormat(8, "%d : %s", 12345, "abcdef");
    EXPECT_STREQ(b.c_str(), "12345 : ");
    b.appendFormat(10, "%s", "xyz");
    EXPECT_STREQ(b.c_str(), "12345 : xy");
    std::string big(10000, 'q');
    b.set(big.c_str());
    EXPECT_EQ(b.size(), 10000u);
}
