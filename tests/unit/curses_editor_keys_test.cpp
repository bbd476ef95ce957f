#include <gtest/gtest.h>

#include <string>

#include "curses/system/clipboard_text.h"
#include "curses_fakes.h"

namespace {

using namespace curses_key;

std::string utf8(const std::u16string& units) { return utf16ToUtf8(units); }

bool startsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

class KeysTest : public testing::Test {
protected:
    void load(const std::string& text) { h.load(text); }
    void caretAt(int x, int y) {
        h.editor->view.cursor_x = x;
        h.editor->view.cursor_y = y;
        h.editor->set_cursor(false, -1);
    }
    void select(int x1, int y1, int x2, int y2) {
        h.editor->sel.selecting = true;
        h.editor->sel.sel_x1 = x1;
        h.editor->sel.sel_y1 = y1;
        h.editor->sel.sel_x2 = x2;
        h.editor->sel.sel_y2 = y2;
        h.editor->view.cursor_x = x2;
        h.editor->view.cursor_y = y2;
    }
    std::string message() { return h.bottomRow(); }
    int caretX() const { return h.editor->view.cursor_x; }
    int caretY() const { return h.editor->view.cursor_y; }

    EditorHarness h;
};

}  // namespace

// Backspace, Tab and Shift+Tab.

TEST_F(KeysTest, BackspaceInTheIndentationRemovesOneIndentStep) {
    load("    x\n");
    caretAt(4, 0);
    h.key(Backspace);
    EXPECT_EQ(h.text(), "  x");
    EXPECT_EQ(caretX(), 2);
}

TEST_F(KeysTest, BackspaceOffAnIndentStepRemovesOneCharacter) {
    load("    x\n");
    caretAt(3, 0);
    h.key(Backspace);
    EXPECT_EQ(h.text(), "   x");
    EXPECT_EQ(caretX(), 2);
}

TEST_F(KeysTest, BackspaceAfterTextRemovesOneCharacterEvenOnAStep) {
    load("ab  cd\n");
    caretAt(4, 0);
    h.key(Backspace);
    EXPECT_EQ(h.text(), "ab cd");
}

TEST_F(KeysTest, BackspaceRemovesAWholeMultiByteCharacter) {
    load("a\xC3\xA9" "b\n");
    caretAt(2, 0);
    h.key(Backspace);
    EXPECT_EQ(h.text(), "ab");
}

TEST_F(KeysTest, BackspaceAtColumnZeroJoinsTheLineToThePreviousOne) {
    load("one\ntwo\n   \nthree\n");
    caretAt(0, 1);
    h.key(Backspace);
    EXPECT_EQ(h.text(), "onetwo\n   \nthree");
    EXPECT_EQ(caretX(), 3);
    EXPECT_EQ(caretY(), 0);
    caretAt(0, 1);  // a line of only blanks goes without its blanks
    h.key(Backspace);
    EXPECT_EQ(h.text(), "onetwo\nthree");
    EXPECT_EQ(caretX(), 6);
}

TEST_F(KeysTest, BackspacePastTheLastLineOnlyMovesTheCaret) {
    load("ab\n");
    h.editor->view.cursor_y = 1;
    h.editor->view.cursor_x = 0;
    h.key(Backspace);
    EXPECT_EQ(h.text(), "ab");
    EXPECT_EQ(caretY(), 0);
    EXPECT_EQ(caretX(), 2);
    EXPECT_FALSE(h.editor->is_modified());
}

TEST_F(KeysTest, TabAtColumnThreeWithIndentTwoInsertsOneSpace) {
    load("abc\n");
    caretAt(3, 0);
    h.key(Tab);
    EXPECT_EQ(h.text(), "abc ");
    EXPECT_EQ(caretX(), 4);
    h.key(Tab);
    EXPECT_EQ(h.text(), "abc   ");
}

TEST_F(KeysTest, TabWithASelectionIndentsItsLinesAndShiftTabTakesItBack) {
    load("a\nb\nc\n");
    select(0, 0, 1, 1);
    h.key(Tab);
    EXPECT_EQ(h.text(), "  a\n  b\nc");
    h.shiftKey(Tab);
    EXPECT_EQ(h.text(), "a\nb\nc");
    EXPECT_TRUE(h.editor->sel.selecting);
}

TEST_F(KeysTest, ShiftTabAfterTextRemovesTheSpacesBeforeTheCaret) {
    load("x = 1;     // note\n");
    caretAt(11, 0);
    h.shiftKey(Tab);
    EXPECT_EQ(h.text(), "x = 1;   // note");
    EXPECT_EQ(caretX(), 9);
}

TEST_F(KeysTest, ShiftTabInTheIndentationRemovesToThePreviousStep) {
    load("     x\n");
    caretAt(5, 0);
    h.shiftKey(Tab);
    EXPECT_EQ(h.text(), "    x");  // 5 mod 2 = 1
    EXPECT_EQ(caretX(), 4);
    h.shiftKey(Tab);
    EXPECT_EQ(h.text(), "  x");  // 4 mod 2 = 0: a whole step
}

// Typing.

TEST_F(KeysTest, TypingInsertsAtTheCaretAndOverwriteReplaces) {
    load("abc\n");
    caretAt(1, 0);
    h.type("XY");
    EXPECT_EQ(h.text(), "aXYbc");
    h.key(Insert);
    EXPECT_TRUE(CursesEditor::shared().overwrite);
    EXPECT_NE(h.bottomRow().find("[OVR]"), std::string::npos);
    h.type("z");
    EXPECT_EQ(h.text(), "aXYzc");
    h.type("12");
    EXPECT_EQ(h.text(), "aXYz12");
}

TEST_F(KeysTest, TypingReplacesTheSelection) {
    load("hello world\n");
    select(0, 0, 5, 0);
    h.type("J");
    EXPECT_EQ(h.text(), "J world");
    EXPECT_FALSE(h.editor->sel.selecting);
}

TEST_F(KeysTest, CtrlKIsInsertedAsAVerticalTabAndCtrlEDoesNothing) {
    load("ab\n");
    caretAt(1, 0);
    h.ctrlKey('K');
    EXPECT_EQ(h.text(), "a\vb");
    h.ctrlKey('E');
    EXPECT_EQ(h.text(), "a\vb");
}

TEST_F(KeysTest, SpecialKeyCodesAndOtherControlCodesDoNotType) {
    load("ab\n");
    h.key(F12);
    h.key(ctrl('B'));
    h.key(127);
    EXPECT_EQ(h.text(), "ab");
    EXPECT_FALSE(h.editor->is_modified());
}

TEST_F(KeysTest, TwoSurrogateHalvesBecomeOneFourByteCharacter) {
    load("\n");
    h.key(0xD83D);
    EXPECT_EQ(h.text(), "");  // the first half waits
    h.key(0xDE00);
    EXPECT_EQ(h.text(), "\xF0\x9F\x98\x80");
    EXPECT_EQ(caretX(), 1);
}

TEST_F(KeysTest, ALoneHighSurrogateIsWrittenOnItsOwnBeforeTheNextKey) {
    load("\n");
    h.key(0xD83D);
    h.key('a');
    EXPECT_EQ(h.text(), "\xED\xA0\xBD" "a");
}

TEST_F(KeysTest, ACharacterWhoseUnitIsAKeyCodeIsTyped) {
    load("\n");
    h.key(translate_char(0x1000));
    EXPECT_EQ(h.text(), "\xE1\x80\x80");
}

// Enter.

TEST_F(KeysTest, EnterSplitsTheLineAndCarriesTheIndentation) {
    load("    foo bar\n");
    caretAt(7, 0);
    h.key(Enter);
    EXPECT_EQ(h.text(), "    foo\n    bar");
    EXPECT_EQ(caretY(), 1);
    EXPECT_EQ(caretX(), 4);
}

TEST_F(KeysTest, CtrlEnterLeavesTheLineWholeAndOpensAnIndentedLineBelow) {
    load("  middle of it\n");
    caretAt(6, 0);
    h.modifiers.ctrl = true;
    h.key(Enter);
    h.modifiers.ctrl = false;
    EXPECT_EQ(h.text(), "  middle of it\n  ");
    EXPECT_EQ(caretY(), 1);
    EXPECT_EQ(caretX(), 2);
}

TEST_F(KeysTest, EnterInOverwriteModeMovesToTheNextLineAtTheIndentation) {
    load("  one\ntwo\n");
    caretAt(4, 0);
    h.key(Insert);
    h.key(Enter);
    EXPECT_EQ(h.text(), "  one\ntwo");
    EXPECT_EQ(caretY(), 1);
    EXPECT_EQ(caretX(), 2);
    h.key(Enter);  // on the last line: a new line with its indentation
    EXPECT_EQ(h.text(), "  one\ntwo\n");
    EXPECT_EQ(caretY(), 2);
}

// Delete.

TEST_F(KeysTest, DeleteAtTheLineEndJoinsTheNextLineKeepingOneBlank) {
    load("call(\n        arg)\nlast\n");
    caretAt(5, 0);
    h.key(Delete);
    EXPECT_EQ(h.text(), "call( arg)\nlast");
    caretAt(4, 1);
    h.key(Delete);  // on the last line's end: nothing
    EXPECT_EQ(h.text(), "call( arg)\nlast");
    caretAt(0, 1);
    h.key(Delete);
    EXPECT_EQ(h.text(), "call( arg)\nast");
}

// Movement and selection.

TEST_F(KeysTest, ShiftRightThreeTimesThenLeftPutsTheCaretAtTheSelectionStart) {
    load("0123456789\n");
    caretAt(5, 0);
    for (int i = 0; i < 3; ++i) h.shiftKey(Right);
    EXPECT_TRUE(h.editor->sel.selecting);
    EXPECT_EQ(h.editor->sel.sel_x2, 8);
    h.key(Left);
    EXPECT_EQ(caretX(), 5);
    EXPECT_FALSE(h.editor->sel.selecting);
}

TEST_F(KeysTest, APlainMovementOutsideTheOldSelectionMovesNormally) {
    load("0123456789\nabc\n");
    select(2, 0, 4, 0);
    h.editor->view.cursor_x = 9;  // the caret outside the selection
    h.key(Right);
    EXPECT_FALSE(h.editor->sel.selecting);
    EXPECT_EQ(caretX(), 10);
}

TEST_F(KeysTest, RightAtTheLineEndGoesToTheNextLineAndLeftComesBack) {
    load("ab\ncd\n");
    caretAt(2, 0);
    h.key(Right);
    EXPECT_EQ(caretY(), 1);
    EXPECT_EQ(caretX(), 0);
    h.key(Left);
    EXPECT_EQ(caretY(), 0);
    EXPECT_EQ(caretX(), 2);
}

TEST_F(KeysTest, CtrlRightAndLeftMoveByWords) {
    load("foo_bar  baz;qux(1)\n");
    caretAt(0, 0);
    h.modifiers.ctrl = true;
    h.key(Right);
    EXPECT_EQ(caretX(), 9);  // over foo_bar and the blanks
    h.key(Right);
    EXPECT_EQ(caretX(), 12);  // stops at ";"
    h.key(Right);
    EXPECT_EQ(caretX(), 13);
    h.key(Right);
    EXPECT_EQ(caretX(), 16);
    h.key(Left);
    EXPECT_EQ(caretX(), 13);
    h.key(Left);
    EXPECT_EQ(caretX(), 12);
    h.key(Left);
    EXPECT_EQ(caretX(), 9);
    h.key(Left);
    EXPECT_EQ(caretX(), 0);
    h.modifiers.ctrl = false;
}

TEST_F(KeysTest, HomeGoesToTheFirstTextColumnThenToColumnZero) {
    load("    text\nsecond\n");
    caretAt(6, 0);
    h.key(Home);
    EXPECT_EQ(caretX(), 4);
    h.key(Home);
    EXPECT_EQ(caretX(), 0);
    h.key(Home);
    EXPECT_EQ(caretX(), 4);
    caretAt(3, 1);
    h.modifiers.ctrl = true;
    h.key(End);
    EXPECT_EQ(caretY(), 1);
    EXPECT_EQ(caretX(), 6);
    h.key(Home);
    EXPECT_EQ(caretY(), 0);
    EXPECT_EQ(caretX(), 0);
    h.modifiers.ctrl = false;
}

TEST_F(KeysTest, PageDownGoesToThePanesLastLineThenScrolls) {
    EditorHarness big(80, 12);  // a 10-row pane
    big.load(numberedLines(100));
    big.key(PageDown);
    EXPECT_EQ(big.editor->view.cursor_y, 9);
    EXPECT_EQ(big.editor->panes.pane_offset[0], 0);
    big.key(PageDown);
    EXPECT_EQ(big.editor->panes.pane_offset[0], 8);
    EXPECT_EQ(big.editor->view.cursor_y, 17);
    big.key(PageUp);
    EXPECT_EQ(big.editor->view.cursor_y, 8);
    big.key(PageUp);
    EXPECT_EQ(big.editor->view.cursor_y, 0);
    EXPECT_EQ(big.editor->panes.pane_offset[0], 0);
}

TEST_F(KeysTest, CtrlDownScrollsAndPullsTheCaretAlong) {
    EditorHarness big(80, 12);
    big.load(numberedLines(100));
    big.modifiers.ctrl = true;
    big.key(Down);
    big.key(Down);
    EXPECT_EQ(big.editor->panes.pane_offset[0], 2);
    EXPECT_EQ(big.editor->view.cursor_y, 2);
    big.key(Up);
    EXPECT_EQ(big.editor->panes.pane_offset[0], 1);
    EXPECT_EQ(big.editor->view.cursor_y, 2);
    big.modifiers.ctrl = false;
    EXPECT_EQ(big.row(1), "line 2");
}

TEST_F(KeysTest, CtrlASelectsEverythingAndEscapeDropsIt) {
    load("one\ntwo\nthree\n");
    caretAt(1, 1);
    h.ctrlKey('A');
    EXPECT_TRUE(h.editor->sel.selecting);
    EXPECT_EQ(h.editor->sel.sel_x2, 5);
    EXPECT_EQ(h.editor->sel.sel_y2, 2);
    EXPECT_EQ(caretY(), 1);
    EXPECT_TRUE(startsWith(h.bottomRow(), "SELECTING  ESC:cancel Ctrl+(Copy X:cut V:paste)"));
    h.key(Escape);
    EXPECT_FALSE(h.editor->sel.selecting);
}

// Clipboard.

TEST_F(KeysTest, CopyingTwoWholeLinesGivesOneCrLfBetweenThem) {
    load("first\nsecond\nthird\n");
    select(0, 0, 6, 1);
    h.ctrlKey('C');
    EXPECT_EQ(utf8(h.clipboard.unicode), "first\r\nsecond");
    EXPECT_EQ(CursesEditor::shared().copy_buffer, "first\r\nsecond");
    EXPECT_TRUE(startsWith(message(), "Copied 13 bytes"));
    EXPECT_TRUE(h.editor->sel.selecting);  // copy keeps the selection
}

TEST_F(KeysTest, CopyKeepsTheShapeOfABlockThatStartsInsideTheIndentation) {
    load("    if (x) {\n        y();\n    }\n");
    select(4, 0, 5, 2);
    h.ctrlKey('C');
    EXPECT_EQ(utf8(h.clipboard.unicode), "    if (x) {\r\n        y();\r\n    }");
}

TEST_F(KeysTest, CopyWritesLeadingGroupsAsTabsForATabIndentedFile) {
    h.load("a\n\tb\n");
    select(0, 0, 6, 1);
    h.ctrlKey('C');
    EXPECT_EQ(utf8(h.clipboard.unicode), "a\r\n\tb");
}

TEST_F(KeysTest, CopyOfNonAsciiTextIsUnicodeOnTheClipboard) {
    load("\xCE\xB1\xCE\xB2 \xF0\x9F\x98\x80\n");
    select(0, 0, 4, 0);
    h.ctrlKey('C');
    EXPECT_EQ(h.clipboard.unicode, u"\u03B1\u03B2 \U0001F600");
}

TEST_F(KeysTest, CtrlXWithNothingSelectedDoesNothingAndWithAnEmptySelectionSaysSo) {
    load("text\n");
    h.ctrlKey('X');
    EXPECT_EQ(h.text(), "text");
    EXPECT_EQ(h.clipboard.writes, 0);
    EXPECT_EQ(h.editor->prompt.mode, CursesEditor::Editing);
    select(2, 0, 2, 0);
    h.ctrlKey('X');
    EXPECT_TRUE(startsWith(message(), "No selection"));
    EXPECT_EQ(h.clipboard.writes, 0);
}

TEST_F(KeysTest, CutRemovesTheSelectionAndReportsItsBytes) {
    load("abc\ndef\n");
    select(1, 0, 2, 1);
    h.ctrlKey('X');
    EXPECT_EQ(h.text(), "af");
    EXPECT_EQ(utf8(h.clipboard.unicode), "bc\r\nde");
    EXPECT_TRUE(startsWith(message(), "Cut 6 bytes"));
    EXPECT_EQ(caretX(), 1);
    h.key('!');  // the message goes with the next key, which is still handled
    EXPECT_EQ(h.text(), "a!f");
}

TEST_F(KeysTest, AClipboardThatCannotBeWrittenCutsNothingAndSaysSo) {
    load("abc\ndef\n");
    h.clipboard.unicode = u"earlier";
    h.clipboard.refuses = true;
    select(1, 0, 2, 1);
    h.ctrlKey('X');
    EXPECT_EQ(h.text(), "abc\ndef");
    EXPECT_TRUE(startsWith(message(), "Can't cut: clipboard unavailable")) << message();
    EXPECT_TRUE(h.editor->sel.selecting);
    h.key(Escape);
    select(0, 0, 3, 0);
    h.ctrlKey('C');
    EXPECT_TRUE(startsWith(message(), "Can't copy: clipboard unavailable")) << message();
    // What the clipboard held before is what a paste gives.
    h.clipboard.refuses = false;
    h.key(Escape);
    caretAt(0, 1);
    h.ctrlKey('V');
    EXPECT_EQ(h.text(), "abc\nearlierdef");
}

TEST_F(KeysTest, PasteSplitsTheClipboardAtEveryLineBreakAndExpandsTabs) {
    load("<>\n");
    caretAt(1, 0);
    h.clipboard.unicode = u"one\r\ntwo\rthree\n\tfour";
    h.ctrlKey('V');
    EXPECT_EQ(h.text(), "<one\ntwo\nthree\n  four>");
    EXPECT_TRUE(startsWith(message(), "Pasted"));
    EXPECT_EQ(caretY(), 3);
    EXPECT_EQ(caretX(), 6);
}

TEST_F(KeysTest, AClipboardTextEndingInALineBreakEndsOnAnEmptyLine) {
    load("x\n");
    h.clipboard.unicode = u"a\r\nb\r\n";
    h.ctrlKey('V');
    EXPECT_EQ(h.text(), "a\nb\nx");
    EXPECT_EQ(caretY(), 2);
    EXPECT_EQ(caretX(), 0);
}

TEST_F(KeysTest, PasteJoinsSurrogatePairsAndFallsBackToPlainText) {
    load("\n");
    h.clipboard.unicode = u"\U0001F600";
    h.ctrlKey('V');
    EXPECT_EQ(h.text(), "\xF0\x9F\x98\x80");
    h.clipboard.unicode.clear();
    h.clipboard.plain = "plain";
    h.ctrlKey('V');
    EXPECT_EQ(h.text(), "\xF0\x9F\x98\x80plain");
    h.clipboard.plain.clear();
    h.ctrlKey('V');
    EXPECT_TRUE(startsWith(message(), "Clipboard empty"));
}

TEST_F(KeysTest, PasteReplacesTheSelection) {
    load("keep DROP keep\n");
    select(5, 0, 9, 0);
    h.clipboard.unicode = u"new";
    h.ctrlKey('V');
    EXPECT_EQ(h.text(), "keep new keep");
    h.ctrlKey('Z');
    EXPECT_EQ(h.text(), "keep DROP keep");
}

// Duplicate.

TEST_F(KeysTest, CtrlDDuplicatesTheCaretLine) {
    load("a\nb\n");
    caretAt(1, 1);
    h.ctrlKey('D');
    EXPECT_EQ(h.text(), "a\nb\nb");
    EXPECT_EQ(caretY(), 2);
    EXPECT_TRUE(startsWith(message(), "Duplicated line"));
}

TEST_F(KeysTest, CtrlDDuplicatesTheSelectionAfterItself) {
    load("xaby\n");
    select(1, 0, 3, 0);
    h.ctrlKey('D');
    EXPECT_EQ(h.text(), "xababy");
    EXPECT_TRUE(h.editor->sel.selecting);
    EXPECT_EQ(caretX(), 3);
    EXPECT_TRUE(startsWith(message(), "Duplicated selection"));
    h.key(Escape);  // the message's key
    select(2, 0, 2, 0);
    h.ctrlKey('D');  // an empty selection does nothing
    EXPECT_EQ(h.text(), "xababy");
}

// Undo and redo.

TEST_F(KeysTest, UndoRightAfterLoadingCannotUndo) {
    load("x\n");
    h.ctrlKey('Z');
    EXPECT_TRUE(startsWith(message(), "Can't Undo"));
    EXPECT_EQ(h.editor->prompt.mode, CursesEditor::Message);
    h.ctrlKey('Y');
    EXPECT_TRUE(startsWith(message(), "Can't Redo"));
}

TEST_F(KeysTest, UndoAndRedoReportWhatIsLeft) {
    load("\n");
    h.type("abc");
    h.ctrlKey('Z');
    EXPECT_TRUE(startsWith(message(), "Undid action - 2 items in undo buffer"));
    EXPECT_EQ(h.text(), "ab");
    h.ctrlKey('Z');
    h.ctrlKey('Y');
    EXPECT_TRUE(startsWith(message(), "Redid action - 1 items in redo buffer"));
    EXPECT_EQ(h.text(), "ab");
    h.ctrlShiftKey(ctrl('Z'));  // Ctrl+Shift+Z redoes too
    EXPECT_EQ(h.text(), "abc");
}

// Panes.

TEST_F(KeysTest, CtrlPSplitsAndJoinsThePanes) {
    load(numberedLines(100));
    h.ctrlKey('P');
    EXPECT_TRUE(h.editor->is_split());
    EXPECT_EQ(h.editor->pane(0).rows, 10);  // trunc(0.5 * 21)
    EXPECT_EQ(h.editor->pane(1).top, 12);
    EXPECT_EQ(h.editor->pane(1).rows, 11);
    EXPECT_EQ(h.row(12), "line 1");  // the lower pane starts where the upper one does
    EXPECT_NE(h.row(11).find("Upper pane: Line 1/100"), std::string::npos);
    h.ctrlKey('P');
    EXPECT_FALSE(h.editor->is_split());
}

TEST_F(KeysTest, CtrlOSplitsWhenNeededAndMovesToTheOtherPane) {
    load(numberedLines(100));
    h.ctrlKey('O');
    EXPECT_TRUE(h.editor->is_split());
    EXPECT_EQ(h.editor->panes.current_pane, 1);
    EXPECT_NE(h.row(11).find("Lower pane:"), std::string::npos);
    h.modifiers.ctrl = true;
    for (int i = 0; i < 30; ++i) h.key(Down);  // scroll the lower pane
    h.modifiers.ctrl = false;
    h.ctrlKey('O');
    EXPECT_EQ(h.editor->panes.current_pane, 0);
    EXPECT_EQ(h.editor->view.cursor_y, 9);  // pulled to the upper pane's last line
    h.ctrlKey('O');
    h.ctrlKey('P');  // joining from the lower pane keeps its view
    EXPECT_EQ(h.editor->panes.current_pane, 0);
    EXPECT_EQ(h.editor->panes.pane_offset[0], 30);
}

TEST_F(KeysTest, CtrlWithTabSwitchingKeysStopsTheRunLoop) {
    load("x\n");
    h.modifiers.ctrl = true;
    EXPECT_EQ(h.key(Escape), 1);
    EXPECT_EQ(h.key(CtrlCloseBracket), 1);
    EXPECT_EQ(h.key(F1 + 4), 1);
    EXPECT_EQ(h.key(F12), 0);
    h.modifiers.ctrl = false;
    EXPECT_EQ(h.text(), "x");
}

TEST_F(KeysTest, CommandKeysWithExtraModifiersDoNothing) {
    load("abc\n");
    h.modifiers.ctrl = h.modifiers.shift = true;
    h.key(ctrl('A'));
    h.key(ctrl('D'));
    h.modifiers.ctrl = h.modifiers.shift = false;
    EXPECT_FALSE(h.editor->sel.selecting);
    EXPECT_EQ(h.text(), "abc");
    h.modifiers.alt = true;
    h.key(Delete);
    h.modifiers.alt = false;
    EXPECT_EQ(h.text(), "abc");
}

TEST(ClipboardText, ConversionToTheClipboardKeepsEveryCharacter) {
    EXPECT_EQ(clipboard_text_from_utf8("a\xC3\xA9\xF0\x9F\x98\x80"), u"a\u00E9\U0001F600");
    EXPECT_EQ(clipboard_text_from_utf8("\xC0"), u"\u00C0");  // a malformed byte as its value
    // A NUL byte cannot travel in clipboard text, which it would end: it goes as the editor shows it.
    EXPECT_EQ(clipboard_text_from_utf8(std::string("a\0b", 3)), u"a\uFFFDb");
}

TEST(ClipboardText, LinesStopAtTheFirstZeroUnit) {
    std::u16string text = u"ab";
    text += u'\0';
    text += u"cd";
    EXPECT_EQ(clipboard_lines(text, "", 2), (std::vector<std::string>{"ab"}));
    EXPECT_TRUE(clipboard_lines(u"", "", 2).empty());
}
