#include <functional>

#include "editor/commands.h"
#include "editor/find.h"
#include "editor_fixture.h"

using Commands = EditorFixture;

TEST_F(Commands, HorizontalMovesStopAtTheLineEnds) {
    setLines({"abc"});
    moveLeft(doc);
    EXPECT_EQ(caret(), (TextPosition{0, 0}));
    caretAt(3, 0);
    moveRight(doc);
    EXPECT_EQ(caret(), (TextPosition{3, 0}));
    caretAt(9, 0);
    moveRight(doc);  // beyond the end: back to the end
    EXPECT_EQ(caret(), (TextPosition{3, 0}));
    caretAt(4, 7);
    moveLeft(doc);  // works on a missing line
    EXPECT_EQ(caret(), (TextPosition{3, 7}));
}

TEST_F(Commands, VerticalMovesClampTheColumnWithoutRememberingIt) {
    setLines({"0123456789", "abc", "01234567890123456789"});
    caretAt(8, 0);
    moveDown(doc);
    EXPECT_EQ(caret(), (TextPosition{3, 1}));
    moveDown(doc);
    EXPECT_EQ(caret(), (TextPosition{3, 2}));
    moveDown(doc);  // last line
    EXPECT_EQ(caret(), (TextPosition{3, 2}));
    caretAt(15, 2);
    moveUp(doc);
    EXPECT_EQ(caret(), (TextPosition{3, 1}));
    moveUp(doc);
    moveUp(doc);
    EXPECT_EQ(caret(), (TextPosition{3, 0}));
}

TEST_F(Commands, HomeTogglesBetweenIndentAndColumnZero) {
    setLines({"    abc", "   ", "x"});
    caretAt(6, 0);
    moveHome(doc);
    EXPECT_EQ(view.caretColumn, 4);
    moveHome(doc);
    EXPECT_EQ(view.caretColumn, 0);
    moveHome(doc);
    EXPECT_EQ(view.caretColumn, 4);
    caretAt(2, 1);
    moveHome(doc);  // only blanks
    EXPECT_EQ(view.caretColumn, 0);
    caretAt(20, 0);
    moveHome(doc);  // beyond the end comes back into the text
    EXPECT_EQ(view.caretColumn, 4);
    moveEnd(doc);
    EXPECT_EQ(view.caretColumn, 7);
}

TEST_F(Commands, DocumentAndPageMoves) {
    fillLines(100);
    doc.replaceLine(99, "end");
    moveDocumentEnd(doc);
    EXPECT_EQ(caret(), (TextPosition{3, 99}));
    EXPECT_EQ(view.screenRow, 26);
    moveDocumentStart(doc);
    EXPECT_EQ(caret(), (TextPosition{0, 0}));
    EXPECT_EQ(view.screenRow, 0);

    caretAt(4, 0);
    pageDown(doc);
    EXPECT_EQ(caret(), (TextPosition{4, 30}));
    EXPECT_EQ(view.screenRow, 0);  // the caret line becomes the top line
    caretAt(4, 90);
    pageDown(doc);
    EXPECT_EQ(caret(), (TextPosition{3, 99}));
    pageUp(doc);
    EXPECT_EQ(caret(), (TextPosition{3, 69}));
    caretAt(2, 10);
    pageUp(doc);
    EXPECT_EQ(caret(), (TextPosition{2, 0}));
}

TEST_F(Commands, ScrollLineMovesPutTheCaretLineOnTop) {
    fillLines(100);
    caretAt(3, 50);
    view.screenRow = 10;
    view.screenColumn = 3;
    scrollLineUp(doc);
    EXPECT_EQ(caret(), (TextPosition{0, 49}));
    EXPECT_EQ(view.screenRow, 0);
    EXPECT_EQ(view.screenColumn, 0);
    scrollLineDown(doc);
    EXPECT_EQ(caret(), (TextPosition{0, 50}));
    EXPECT_EQ(view.screenRow, 0);
    caretAt(0, 74);  // limit = max(26, 100 - 26)
    scrollLineDown(doc);
    EXPECT_EQ(view.caretLine, 74);
    caretAt(0, 80);
    scrollLineDown(doc);
    EXPECT_EQ(view.caretLine, 74);
}

TEST_F(Commands, ScrollLineDownInAShortDocumentPassesTheLastLine) {
    fillLines(10);
    caretAt(0, 9);
    scrollLineDown(doc);
    EXPECT_EQ(view.caretLine, 10);
    insertText(doc, "x");
    EXPECT_EQ(doc.lineCount(), 10);
    EXPECT_FALSE(doc.modified);
    for (int i = 0; i < 30; ++i) scrollLineDown(doc);
    EXPECT_EQ(view.caretLine, 26);
}

TEST_F(Commands, WordLeftStopsAtWordStartsAndCrossesLines) {
    setLines({"abc def", "", "foo bar"});
    caretAt(7, 2);
    wordLeft(doc);
    EXPECT_EQ(caret(), (TextPosition{4, 2}));
    wordLeft(doc);
    EXPECT_EQ(caret(), (TextPosition{0, 2}));
    wordLeft(doc);  // skips the empty line, lands on the last word start of line 0
    EXPECT_EQ(caret(), (TextPosition{4, 0}));
    caretAt(3, 2);  // on the blank
    wordLeft(doc);
    EXPECT_EQ(caret(), (TextPosition{4, 2}));
    caretAt(0, 0);
    wordLeft(doc);
    EXPECT_EQ(caret(), (TextPosition{0, 0}));
    caretAt(12, 2);  // beyond the end
    wordLeft(doc);
    EXPECT_EQ(caret(), (TextPosition{12, 2}));
}

TEST_F(Commands, WordRightStopsAfterBlanksAndAtLineEnds) {
    setLines({"foo bar baz", "", "abc def", "xyz"});
    for (int expected : {4, 8, 11}) {
        wordRight(doc);
        EXPECT_EQ(caret(), (TextPosition{expected, 0}));
    }
    wordRight(doc);  // through the empty line, never stopping at column 0
    EXPECT_EQ(caret(), (TextPosition{4, 2}));
    wordRight(doc);
    EXPECT_EQ(caret(), (TextPosition{7, 2}));
    wordRight(doc);
    EXPECT_EQ(caret(), (TextPosition{3, 3}));
    wordRight(doc);  // end of the last line
    EXPECT_EQ(caret(), (TextPosition{3, 3}));
}

TEST_F(Commands, TwoByteCharactersAreOneColumnEverywhere) {
    setLines({"\xC3\xA9 \xC3\xA9x"});
    moveRight(doc);
    EXPECT_EQ(view.caretColumn, 1);
    moveEnd(doc);
    EXPECT_EQ(view.caretColumn, 4);
    caretAt(0, 0);
    wordRight(doc);
    EXPECT_EQ(view.caretColumn, 2);
    deleteForward(doc);
    EXPECT_EQ(lines(), (Lines{"\xC3\xA9 x"}));
    caretAt(1, 0);
    deleteBackward(doc);
    EXPECT_EQ(lines(), (Lines{" x"}));
    EXPECT_EQ(view.caretColumn, 0);
    insertText(doc, "\xC3\xA0");
    EXPECT_EQ(lines(), (Lines{"\xC3\xA0 x"}));
    EXPECT_EQ(view.caretColumn, 1);
}

TEST_F(Commands, InsertTextMarksModifiedOnceAndHonoursOverwrite) {
    setLines({"abc"});
    caretAt(1, 0);
    insertText(doc, "XY");
    EXPECT_EQ(lines(), (Lines{"aXYbc"}));
    EXPECT_EQ(view.caretColumn, 3);
    insertText(doc, "Z");
    EXPECT_EQ(host.titles, (Lines{"Orvane - *"}));
    EXPECT_TRUE(doc.modified);

    setLines({"abc"});
    doc.overwrite = true;
    caretAt(1, 0);
    insertText(doc, "x");
    EXPECT_EQ(lines(), (Lines{"axc"}));
    caretAt(3, 0);
    insertText(doc, "y");  // at the end it appends
    EXPECT_EQ(lines(), (Lines{"axcy"}));
}

TEST_F(Commands, InsertTextReplacesASelectionWithoutOverwritingMore) {
    setLines({"abcdef"});
    doc.overwrite = true;
    select({1, 0}, {3, 0});
    insertText(doc, "X");
    EXPECT_EQ(lines(), (Lines{"aXdef"}));
    EXPECT_EQ(caret(), (TextPosition{2, 0}));
    EXPECT_FALSE(doc.selectionActive);
}

TEST_F(Commands, SplitLineMovesTheTailToANewLine) {
    setLines({"abcd", "z"});
    caretAt(2, 0);
    splitLine(doc);
    EXPECT_EQ(lines(), (Lines{"ab", "cd", "z"}));
    EXPECT_EQ(caret(), (TextPosition{0, 1}));
    EXPECT_TRUE(doc.modified);
}

TEST_F(Commands, DeleteForwardAndBackwardJoinLines) {
    setLines({"ab", "cd", "ef", "gh", "ij"});
    caretAt(0, 4);
    deleteBackward(doc);
    EXPECT_EQ(lines(), (Lines{"ab", "cd", "ef", "ghij"}));
    EXPECT_EQ(caret(), (TextPosition{2, 3}));
    caretAt(2, 0);
    deleteForward(doc);
    EXPECT_EQ(lines(), (Lines{"abcd", "ef", "ghij"}));
    EXPECT_EQ(caret(), (TextPosition{2, 0}));
    deleteForward(doc);
    EXPECT_EQ(lines(), (Lines{"abd", "ef", "ghij"}));
}

TEST_F(Commands, DeletesAtTheDocumentEdgesDoNothing) {
    setLines({"ab", "cd"});
    deleteBackward(doc);
    deleteWordBackward(doc);
    caretAt(2, 1);
    deleteForward(doc);
    deleteWordForward(doc);
    EXPECT_EQ(lines(), (Lines{"ab", "cd"}));
    EXPECT_FALSE(doc.modified);
    EXPECT_TRUE(host.titles.empty());
}

TEST_F(Commands, WordDeletes) {
    setLines({"foo bar"});
    deleteWordForward(doc);
    EXPECT_EQ(lines(), (Lines{"bar"}));
    deleteWordForward(doc);  // no blank: to the end
    EXPECT_EQ(lines(), (Lines{""}));

    setLines({"foo bar", "next"});
    caretAt(7, 0);
    deleteWordBackward(doc);
    EXPECT_EQ(lines(), (Lines{"foo", "next"}));
    EXPECT_EQ(view.caretColumn, 3);
    deleteWordBackward(doc);
    EXPECT_EQ(lines(), (Lines{"", "next"}));
    EXPECT_EQ(view.caretColumn, 0);
    deleteWordForward(doc);  // at the end: joins
    EXPECT_EQ(lines(), (Lines{"next"}));
    setLines({"a", "b c"});
    caretAt(0, 1);
    deleteWordBackward(doc);
    EXPECT_EQ(lines(), (Lines{"ab c"}));
    EXPECT_EQ(caret(), (TextPosition{1, 0}));
}

TEST_F(Commands, DeletesRemoveAnActiveSelectionInstead) {
    for (auto command : {deleteForward, deleteBackward, deleteWordForward, deleteWordBackward}) {
        setLines({"abcdef"});
        select({4, 0}, {2, 0});
        command(doc);
        EXPECT_EQ(lines(), (Lines{"abef"}));
        EXPECT_EQ(caret(), (TextPosition{2, 0}));
        EXPECT_FALSE(doc.selectionActive);
    }
}

TEST_F(Commands, IndentInsertsTabSizeUnits) {
    setLines({"x"});
    indent(doc);
    EXPECT_EQ(lines(), (Lines{"    x"}));
    EXPECT_EQ(view.caretColumn, 4);
    doc.space = false;
    indent(doc);
    EXPECT_EQ(lines(), (Lines{"    \t\t\t\tx"}));
    EXPECT_EQ(view.caretColumn, 8);
    select({0, 0}, {4, 0});  // a one-line selection is replaced
    indent(doc);
    EXPECT_EQ(lines(), (Lines{"\t\t\t\t\t\t\t\tx"}));
}

TEST_F(Commands, BlockIndentPrefixesEveryTouchedLine) {
    setLines({"l0", "l1", "l2", "l3", "l4", "l5", "l6"});
    select({3, 2}, {0, 5});
    indent(doc);
    EXPECT_EQ(lines(), (Lines{"l0", "l1", "    l2", "    l3", "    l4", "    l5", "l6"}));
    EXPECT_EQ(caret(), (TextPosition{0, 5}));
    EXPECT_TRUE(doc.selectionActive);
    EXPECT_EQ(doc.selectionStart, (TextPosition{3, 2}));
    EXPECT_TRUE(doc.modified);
}

TEST_F(Commands, UnindentWithoutSelectionDeletesBlanksBeforeTheCaret) {
    setLines({"      x"});
    caretAt(6, 0);
    unindent(doc);
    EXPECT_EQ(lines(), (Lines{"  x"}));
    EXPECT_EQ(view.caretColumn, 2);
    setLines({" ab"});
    caretAt(3, 0);
    unindent(doc);
    EXPECT_EQ(lines(), (Lines{" ab"}));
}

TEST_F(Commands, UnindentShiftsAOneLineSelection) {
    setLines({"  \tabc"});
    select({3, 0}, {6, 0});
    unindent(doc);
    EXPECT_EQ(lines(), (Lines{"abc"}));
    EXPECT_EQ(doc.selectionStart, (TextPosition{0, 0}));
    EXPECT_EQ(doc.selectionEnd, (TextPosition{3, 0}));
    EXPECT_EQ(view.caretColumn, 3);
    EXPECT_TRUE(doc.modified);
    // Only the selection's ends move; the anchor stays where the selection was started.
    EXPECT_EQ(doc.anchor, (TextPosition{3, 0}));
}

TEST_F(Commands, UnindentAfterAFindLeavesTheFarAnchorAndTypingStaysInOrder) {
    setLines({"x", "    abcd"});
    caretAt(0, 0);
    ASSERT_TRUE(search(doc, "abcd", {}));
    ASSERT_EQ(doc.anchor, (TextPosition{0, 0}));
    unindent(doc);
    EXPECT_EQ(doc.anchor, (TextPosition{0, 0}));
    doc.extendSelection();
    moveRight(doc);
    doc.extendSelection();
    EXPECT_GE(doc.selectionStart.column, 0);
    for (const char* key : {"a", "b", "c", "d"}) insertText(doc, key);
    EXPECT_NE(lines()[0].find("abcd"), std::string::npos) << lines()[0];
}

TEST_F(Commands, BlockUnindentRemovesLeadingBlanksPerLine) {
    setLines({"      a", " b", "c", "\t\td"});
    select({2, 0}, {1, 3});
    unindent(doc);
    EXPECT_EQ(lines(), (Lines{"  a", "b", "c", "d"}));
    EXPECT_EQ(caret(), (TextPosition{1, 3}));
    EXPECT_EQ(doc.selectionStart, (TextPosition{2, 0}));
    EXPECT_TRUE(doc.modified);
}

TEST_F(Commands, CutAndPasteMultiLinePieces) {
    setLines({"abcd", "efgh", "ijkl"});
    select({2, 0}, {2, 2});
    cutSelection(doc);
    EXPECT_EQ(lines(), (Lines{"abkl"}));
    EXPECT_EQ(doc.copyBuffer, (Lines{"cd", "efgh", "ij"}));
    EXPECT_EQ(caret(), (TextPosition{2, 0}));

    setLines({"abXY"});
    doc.modified = false;
    caretAt(2, 0);
    paste(doc);
    // The pasted text is what was cut; the rest of the line follows the last piece.
    EXPECT_EQ(lines(), (Lines{"abcd", "efgh", "ijXY"}));
    EXPECT_EQ(caret(), (TextPosition{2, 2}));
    EXPECT_TRUE(doc.modified);
}

TEST_F(Commands, PastingWholeLinesMidLineKeepsTheLineWhole) {
    setLines({"aaaa", "bbbb", "dddd"});
    select({0, 0}, {0, 2});
    copySelection(doc);
    ASSERT_EQ(doc.copyBuffer, (Lines{"aaaa", "bbbb", ""}));
    doc.clearSelection();
    caretAt(2, 2);
    paste(doc);
    EXPECT_EQ(lines(), (Lines{"aaaa", "bbbb", "ddaaaa", "bbbb", "dd"}));
    EXPECT_EQ(caret(), (TextPosition{0, 4}));
}

TEST_F(Commands, PasteOfOnePieceAdvancesOnTheSameLine) {
    setLines({"a\xC3\xA9z"});
    select({1, 0}, {2, 0});
    copySelection(doc);
    EXPECT_EQ(doc.copyBuffer, (Lines{"\xC3\xA9"}));
    EXPECT_TRUE(doc.selectionActive);
    caretAt(3, 0);
    paste(doc);
    EXPECT_EQ(lines(), (Lines{"a\xC3\xA9z\xC3\xA9"}));
    EXPECT_EQ(view.caretColumn, 4);
    EXPECT_TRUE(doc.selectionActive);  // neither replaced nor cleared
}

TEST_F(Commands, CopySkipsPiecesOutsideShortLines) {
    setLines({"ab", "cdef", "g"});
    select({5, 0}, {3, 2});
    copySelection(doc);
    EXPECT_EQ(doc.copyBuffer, (Lines{"cdef"}));
    select({4, 1}, {6, 1});
    copySelection(doc);
    EXPECT_TRUE(doc.copyBuffer.empty());
}

TEST_F(Commands, CutWithoutSelectionDeletesOneCharacterAndKeepsTheBuffer) {
    setLines({"abc"});
    doc.copyBuffer = {"old"};
    caretAt(1, 0);
    cutSelection(doc);
    EXPECT_EQ(lines(), (Lines{"ac"}));
    EXPECT_EQ(doc.copyBuffer, (Lines{"old"}));
}

TEST_F(Commands, CancelClearsSelectionSearchTextsAndLineNumbers) {
    setLines({"abc"});
    select({0, 0}, {2, 0});
    doc.absoluteLineNumbers = true;
    doc.findText = "a";
    doc.replaceText = "b";
    cancel(doc);
    EXPECT_FALSE(doc.selectionActive);
    EXPECT_FALSE(doc.absoluteLineNumbers);
    EXPECT_TRUE(doc.findText.empty());
    EXPECT_TRUE(doc.replaceText.empty());
    toggleOverwrite(doc);
    toggleCrlf(doc);
    toggleSpace(doc);
    EXPECT_TRUE(doc.overwrite);
    EXPECT_FALSE(doc.crlf);
    EXPECT_FALSE(doc.space);
    EXPECT_FALSE(doc.modified);
}

// Editing commands leave a caret that is off the text alone.
TEST_F(Commands, EditingCommandsIgnoreACaretOffTheText) {
    const std::vector<std::function<void(Document&)>> commands = {
        [](Document& d) { insertText(d, "x"); }, splitLine, deleteForward, deleteBackward, deleteWordForward,
        deleteWordBackward, indent, unindent, paste, wordLeft, wordRight, moveEnd, moveHome};
    for (TextPosition where : {TextPosition{0, 3}, TextPosition{9, 0}}) {
        for (size_t i = 0; i < commands.size(); ++i) {
            setLines({"ab", "cd", "ef"});
            doc.copyBuffer = {"p"};
            doc.modified = false;
            caretAt(where.column, where.line);
            commands[i](doc);
            EXPECT_EQ(lines(), (Lines{"ab", "cd", "ef"})) << "command " << i << " line " << where.line;
            EXPECT_FALSE(doc.modified) << "command " << i;
            if (where.line == 3) {
                EXPECT_EQ(caret(), where) << "command " << i;
            }
        }
    }
}

TEST_F(Commands, DeleteSelectionAcrossLinesKeepsTheLinesAround) {
    setLines({"l0", "abcd", "l2", "l3", "wxyz", "l5"});
    select({2, 4}, {1, 1});
    deleteSelection(doc);
    EXPECT_EQ(lines(), (Lines{"l0", "ayz", "l5"}));
    EXPECT_EQ(caret(), (TextPosition{1, 1}));
    EXPECT_FALSE(doc.selectionActive);
    EXPECT_TRUE(doc.modified);
}
