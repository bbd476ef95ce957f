#include "editor/commands.h"
#include "editor/find.h"
#include "editor_fixture.h"

using Find = EditorFixture;

TEST_F(Find, ForwardFindsAMatchAtTheCaretAndSelectsIt) {
    setLines({"xx ab", "ab"});
    caretAt(3, 0);
    EXPECT_TRUE(search(doc, "ab", {}));
    EXPECT_EQ(caret(), (TextPosition{3, 0}));
    EXPECT_TRUE(doc.selectionActive);
    EXPECT_EQ(doc.selectionStart, (TextPosition{3, 0}));
    EXPECT_EQ(doc.selectionEnd, (TextPosition{5, 0}));
    EXPECT_EQ(doc.findText, "ab");
    caretAt(4, 0);
    doc.clearSelection();
    EXPECT_TRUE(search(doc, "ab", {}));
    EXPECT_EQ(caret(), (TextPosition{0, 1}));
}

TEST_F(Find, FromStartIgnoresTheCaret) {
    fillLines(20, "abc def");
    caretAt(5, 10);
    EXPECT_TRUE(search(doc, "abc", {.fromStart = true}));
    EXPECT_EQ(caret(), (TextPosition{0, 0}));
    EXPECT_EQ(view.screenRow, 0);
}

TEST_F(Find, BackwardFindsTheNearestMatchAtOrBeforeTheCaret) {
    setLines({"ab ab ab", "zz", "ab x"});
    caretAt(0, 2);
    EXPECT_TRUE(search(doc, "ab", {.backward = true}));  // a match at the caret counts
    EXPECT_EQ(caret(), (TextPosition{0, 2}));
    doc.clearSelection();
    caretAt(1, 1);
    EXPECT_TRUE(search(doc, "ab", {.backward = true}));  // the last match of an earlier line
    EXPECT_EQ(caret(), (TextPosition{6, 0}));
    doc.clearSelection();
    caretAt(5, 0);
    EXPECT_TRUE(search(doc, "ab", {.backward = true}));
    EXPECT_EQ(caret(), (TextPosition{3, 0}));
    doc.clearSelection();
    caretAt(0, 40);  // missing lines are skipped
    EXPECT_TRUE(search(doc, "ab", {.backward = true}));
    EXPECT_EQ(caret(), (TextPosition{0, 2}));
}

TEST_F(Find, MatchingIsExactBytesOnCharacterBoundaries) {
    setLines({"ABC abc"});
    EXPECT_TRUE(search(doc, "abc", {.fromStart = true}));
    EXPECT_EQ(caret(), (TextPosition{4, 0}));

    setLines({"x\xC3\xA0y\xC3\xA9"});
    EXPECT_TRUE(search(doc, "\xC3\xA9", {.fromStart = true}));
    EXPECT_EQ(doc.selectionStart, (TextPosition{3, 0}));
    EXPECT_EQ(doc.selectionEnd, (TextPosition{4, 0}));

    // Two stray bytes are two characters; inside the euro sign there is only one left.
    setLines({"\xE2\x82\xAC"});
    doc.clearSelection();
    caretAt(0, 0);
    EXPECT_FALSE(search(doc, "\xE2\x82", {.fromStart = true}));
    EXPECT_FALSE(search(doc, "B", {.fromStart = true}));
}

TEST_F(Find, MatchesStartOnlyAtCharacterStartsAndCountColumnsAcrossLongLines) {
    setLines({"\xC3\xA9x \xA9x"});
    EXPECT_TRUE(search(doc, "\xA9x", {.fromStart = true}));  // not inside the first character
    EXPECT_EQ(caret(), (TextPosition{3, 0}));

    std::string longLine = std::string(37, 'a') + "\xC3\xA9" + std::string(20, 'c') + "\xE2\x82\xAC b b";
    setLines({longLine.c_str()});
    caretAt(0, 0);
    EXPECT_TRUE(search(doc, "b", {}));
    EXPECT_EQ(caret(), (TextPosition{60, 0}));
    caretAt(61, 0);
    EXPECT_TRUE(search(doc, "b", {.backward = true}));
    EXPECT_EQ(caret(), (TextPosition{60, 0}));
    caretAt(62, 0);
    EXPECT_TRUE(search(doc, "b", {.backward = true}));
    EXPECT_EQ(caret(), (TextPosition{62, 0}));
}

TEST_F(Find, NoMatchMovesTheCaretToTheSelectionEdge) {
    setLines({"abcdef"});
    caretAt(1, 0);
    EXPECT_FALSE(search(doc, "zz", {}));
    EXPECT_EQ(caret(), (TextPosition{1, 0}));
    select({1, 0}, {3, 0});
    search(doc, "zz", {.backward = true});
    EXPECT_EQ(caret(), (TextPosition{1, 0}));
    search(doc, "zz", {});
    EXPECT_EQ(caret(), (TextPosition{3, 0}));
    EXPECT_TRUE(doc.selectionActive);
}

TEST_F(Find, SearchKeepsTheOldAnchor) {
    setLines({"one two one"});
    caretAt(1, 0);
    search(doc, "two", {});
    doc.extendSelection();
    moveRight(doc);
    doc.extendSelection();
    EXPECT_EQ(doc.selectionStart, (TextPosition{1, 0}));
    EXPECT_EQ(doc.selectionEnd, (TextPosition{5, 0}));
}

TEST_F(Find, F3WalksThroughMatchesAndStopsAtTheLast) {
    setLines({"ab ab", "ab"});
    search(doc, "ab", {.fromStart = true});
    findNext(doc);
    EXPECT_EQ(caret(), (TextPosition{3, 0}));
    findNext(doc);
    EXPECT_EQ(caret(), (TextPosition{0, 1}));
    findNext(doc);  // no more: the selection stays, the caret goes to its end
    EXPECT_EQ(caret(), (TextPosition{2, 1}));
    EXPECT_EQ(doc.selectionStart, (TextPosition{0, 1}));
    findPrevious(doc);
    EXPECT_EQ(caret(), (TextPosition{0, 1}));
    findPrevious(doc);
    EXPECT_EQ(caret(), (TextPosition{3, 0}));
    findPrevious(doc);
    EXPECT_EQ(caret(), (TextPosition{0, 0}));
    findPrevious(doc);  // nothing before the first match: it stays selected
    EXPECT_EQ(caret(), (TextPosition{0, 0}));
    EXPECT_EQ(doc.selectionEnd, (TextPosition{2, 0}));
}

TEST_F(Find, ShiftF3FromAMatchAtColumnZeroReachesEarlierLines) {
    setLines({"ab x", "zz", "ab"});
    caretAt(0, 2);
    search(doc, "ab", {});
    findPrevious(doc);
    EXPECT_EQ(caret(), (TextPosition{0, 0}));
}

TEST_F(Find, ShiftF3AtColumnZeroFindsAMatchThereWhenTheCaretCameByHome) {
    setLines({"ab x", "zz", "ab y"});
    doc.findText = "ab";
    caretAt(3, 2);
    moveHome(doc);
    findPrevious(doc);
    EXPECT_EQ(caret(), (TextPosition{0, 2}));
    EXPECT_TRUE(doc.selectionActive);
    EXPECT_EQ(doc.selectionStart, (TextPosition{0, 2}));
    EXPECT_EQ(doc.selectionEnd, (TextPosition{2, 2}));
    // Now that match is the selection: the next Shift+F3 steps back over it.
    findPrevious(doc);
    EXPECT_EQ(caret(), (TextPosition{0, 0}));
}

TEST_F(Find, ShiftF3AtColumnZeroWithAnotherSelectionFindsTheMatchThere) {
    setLines({"ab x", "ab y"});
    doc.findText = "ab";
    select({4, 1}, {0, 1});  // Shift+Home: the whole line is selected, not the match
    findPrevious(doc);
    EXPECT_EQ(caret(), (TextPosition{0, 1}));
    EXPECT_EQ(doc.selectionEnd, (TextPosition{2, 1}));
}

TEST_F(Find, ReplaceNeedsTheCaretLine) {
    setLines({"ab"});
    caretAt(0, 5);
    replace(doc, "ab", "x", {.fromStart = true, .all = true});
    EXPECT_EQ(lines(), (Lines{"ab"}));
}

TEST_F(Find, F3DoesNothingWithoutASearchText) {
    setLines({"ab ab"});
    findNext(doc);
    findPrevious(doc);
    EXPECT_EQ(caret(), (TextPosition{0, 0}));
    EXPECT_FALSE(doc.selectionActive);
    search(doc, "ab", {.fromStart = true});
    gotoLine(doc, "1");
    caretAt(0, 0);
    findNext(doc);
    EXPECT_FALSE(doc.selectionActive);
    EXPECT_EQ(caret(), (TextPosition{0, 0}));
}

TEST_F(Find, ReplaceAllTerminatesAndReplacesEachMatchOnce) {
    setLines({"aaa"});
    replace(doc, "a", "b", {.fromStart = true, .all = true});
    EXPECT_EQ(lines(), (Lines{"bbb"}));
    EXPECT_TRUE(doc.modified);

    setLines({"aXa", "", "a"});
    replace(doc, "a", "aa", {.fromStart = true, .all = true});
    EXPECT_EQ(lines(), (Lines{"aaXaa", "", "aa"}));
    EXPECT_EQ(doc.findText, "a");
    EXPECT_EQ(doc.replaceText, "aa");

    setLines({"abab"});
    caretAt(0, 0);
    replace(doc, "ab", "", {.fromStart = true, .all = true});
    EXPECT_EQ(lines(), (Lines{""}));
}

TEST_F(Find, ReplaceOnceThenF3RepeatsIt) {
    setLines({"a-a-a"});
    caretAt(1, 0);
    replace(doc, "a", "\xC3\xA9", {});
    EXPECT_EQ(lines(), (Lines{"a-\xC3\xA9-a"}));
    EXPECT_EQ(caret(), (TextPosition{3, 0}));
    findNext(doc);
    EXPECT_EQ(lines(), (Lines{"a-\xC3\xA9-\xC3\xA9"}));
    findPrevious(doc);
    EXPECT_EQ(lines(), (Lines{"\xC3\xA9-\xC3\xA9-\xC3\xA9"}));
}

TEST_F(Find, ReplaceInOverwriteModeOverwritesAfterTheMatch) {
    setLines({"abcdef"});
    doc.overwrite = true;
    replace(doc, "b", "XY", {.fromStart = true});
    EXPECT_EQ(lines(), (Lines{"aXYef"}));
}

TEST_F(Find, GotoLineParsesASignedDecimal) {
    EXPECT_EQ(parseGotoLine("12"), 12);
    EXPECT_EQ(parseGotoLine("-3"), -3);
    EXPECT_EQ(parseGotoLine(" 7 "), 7);
    EXPECT_EQ(parseGotoLine(""), 0);
    EXPECT_EQ(parseGotoLine("abc"), 0);
    EXPECT_EQ(parseGotoLine("12abc"), 0);
    EXPECT_EQ(parseGotoLine("99999999999"), 0);
    EXPECT_EQ(parseLineOffset("  +4xyz"), 4);
    EXPECT_EQ(parseLineOffset("-10"), -10);
    EXPECT_EQ(parseLineOffset("x1"), 0);
}

TEST_F(Find, GotoLineClampsAndKeepsTheColumn) {
    fillLines(10, "ab");
    caretAt(7, 4);
    select({0, 4}, {1, 4});
    doc.findText = "ab";
    gotoLine(doc, "99999");
    EXPECT_EQ(caret(), (TextPosition{1, 9}));
    EXPECT_FALSE(doc.selectionActive);
    EXPECT_TRUE(doc.findText.empty());
    caretAt(7, 4);
    gotoLine(doc, "0");
    EXPECT_EQ(caret(), (TextPosition{7, 0}));
    gotoLine(doc, "3");
    EXPECT_EQ(view.caretLine, 2);
    gotoLine(doc, "");
    EXPECT_EQ(view.caretLine, 0);
}

TEST_F(Find, GotoLineOffsetMovesRelativeToTheCaret) {
    fillLines(100);
    caretAt(0, 1);
    gotoLineOffset(doc, "-3");
    EXPECT_EQ(view.caretLine, 0);
    gotoLineOffset(doc, "25");
    EXPECT_EQ(view.caretLine, 25);
    gotoLineOffset(doc, "-10");
    EXPECT_EQ(view.caretLine, 15);
    gotoLineOffset(doc, "99999999999999999999");
    EXPECT_EQ(view.caretLine, 99);
    gotoLineOffset(doc, "junk");
    EXPECT_EQ(view.caretLine, 99);
    doc.clearLines();
    gotoLineOffset(doc, "5");
    EXPECT_EQ(view.caretLine, 0);
}
