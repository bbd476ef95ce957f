#include <gtest/gtest.h>

#include <string>

#include "curses_fakes.h"

namespace {

using namespace curses_key;

bool startsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

class FindTest : public testing::Test {
protected:
    // Searches line 0 of a one-line document in a mode.
    int search(int mode, const std::string& line, const std::string& text, int start = 0, bool forward = true) {
        h.editor->doc.lines = {line};
        CursesEditor::shared().search_mode = mode;
        length = -1;
        return h.editor->search_line(text, 0, start, forward, length);
    }
    bool finds(int mode, const std::string& line, const std::string& text) { return search(mode, line, text) >= 0; }

    EditorHarness h;
    int length = -1;
};

}  // namespace

TEST_F(FindTest, SubstringModeIgnoresAsciiCaseAndSubStringMatchesIt) {
    EXPECT_EQ(search(0, "xFoOy", "foo"), 1);
    EXPECT_EQ(length, 3);
    EXPECT_FALSE(finds(1, "xFoOy", "foo"));
    EXPECT_TRUE(finds(1, "xfooy", "foo"));
    EXPECT_FALSE(finds(0, "\xC3\x89t\xC3\xA9", "\xC3\xA9t\xC3\xA9"));  // non-ASCII letters compare exactly
}

TEST_F(FindTest, WordModesNeedBoundariesAroundTheHit) {
    for (int mode : {2, 3}) {
        EXPECT_FALSE(finds(mode, "foobar", "foo")) << mode;
        EXPECT_FALSE(finds(mode, "a1foo", "foo")) << mode;
        EXPECT_TRUE(finds(mode, "foo_bar", "foo")) << mode;
        EXPECT_TRUE(finds(mode, "(foo)", "foo")) << mode;
        EXPECT_TRUE(finds(mode, "foo", "foo")) << mode;
        EXPECT_TRUE(finds(mode, "\xC3\xA9" "foo", "foo")) << mode;
    }
    EXPECT_TRUE(finds(2, "(FOO)", "foo"));
    EXPECT_FALSE(finds(3, "(FOO)", "foo"));
}

TEST_F(FindTest, TokenModesMatchTokensWhateverTheSpacing) {
    EXPECT_TRUE(finds(4, "x = a.b", "a . b"));
    EXPECT_TRUE(finds(4, "x = a .b", "a . b"));
    EXPECT_FALSE(finds(4, "x = a.b;", "a . b"));  // "b;" is one token
    EXPECT_EQ(search(4, "x = a . b", "a.b"), 4);
    EXPECT_EQ(length, 5);  // from the first token's start to the last one's end
    EXPECT_TRUE(finds(4, "A.B", "a.b"));
    EXPECT_FALSE(finds(5, "A.B", "a.b"));
    EXPECT_TRUE(finds(5, "call  ( x )", "call ( x )"));
    EXPECT_FALSE(finds(4, "ab.c", "a.c"));  // tokens are whole
    EXPECT_EQ(search(4, "   ", "a"), -1);
    EXPECT_EQ(search(4, "abc", "   "), -1);  // a search text without tokens
}

TEST_F(FindTest, TokenSearchesStartAtOrBeforeTheGivenPosition) {
    EXPECT_EQ(search(4, "a b a b", "a b", 1), 4);
    EXPECT_EQ(search(4, "a b a b", "a b", 3, false), 0);
    EXPECT_EQ(search(4, "a b a b", "a b", 4, false), 4);
}

TEST_F(FindTest, BackwardSubstringSearchStartsAtThePosition) {
    EXPECT_EQ(search(0, "abcabc", "abc", 5, false), 3);
    EXPECT_EQ(search(0, "abcabc", "abc", 2, false), 0);
    EXPECT_EQ(search(0, "abcabc", "abc", 4, true), -1);
}

TEST_F(FindTest, FindSelectsTheNextMatchAndReportsWhereItIs) {
    h.load("alpha\nbeta gamma\ngamma\n");
    h.editor->prompt.search_text = "gamma";
    h.key(F3);
    EXPECT_EQ(h.editor->view.cursor_y, 1);
    EXPECT_EQ(h.editor->view.cursor_x, 5);
    EXPECT_TRUE(h.editor->sel.selecting);
    EXPECT_EQ(h.editor->sel.sel_x1, 5);
    EXPECT_EQ(h.editor->sel.sel_x2, 10);
    EXPECT_EQ(h.bottomRow(), "Found @ Line 2 Col 6 'gamma' (Shift+)F3|Ctrl+G:(prev)next");
    h.ctrlKey('G');
    EXPECT_EQ(h.editor->view.cursor_y, 2);
    EXPECT_EQ(h.editor->view.cursor_x, 0);
}

TEST_F(FindTest, FindNextOnTheLastMatchWrapsToTheFirst) {
    h.load("one x\ntwo\nthree x\n");
    h.editor->prompt.search_text = "x";
    h.editor->view.cursor_y = 2;
    h.editor->view.cursor_x = 6;
    h.key(F3);
    EXPECT_EQ(h.editor->view.cursor_y, 0);
    EXPECT_EQ(h.editor->view.cursor_x, 4);
    EXPECT_NE(h.bottomRow().find("(wrapped) 'x'"), std::string::npos);
}

TEST_F(FindTest, ShiftF3FindsThePreviousMatch) {
    h.load("x one x\ntwo x\n");
    h.editor->prompt.search_text = "x";
    h.editor->view.cursor_y = 1;
    h.editor->view.cursor_x = 4;
    h.shiftKey(F3);
    EXPECT_EQ(h.editor->view.cursor_y, 0);
    EXPECT_EQ(h.editor->view.cursor_x, 6);
    h.shiftKey(F3);
    EXPECT_EQ(h.editor->view.cursor_x, 0);
    h.shiftKey(F3);  // back around to the end
    EXPECT_EQ(h.editor->view.cursor_y, 1);
    EXPECT_EQ(h.editor->view.cursor_x, 4);
    EXPECT_NE(h.bottomRow().find("(wrapped) "), std::string::npos);
}

TEST_F(FindTest, AMatchOnlyBeforeTheCaretOnItsLineIsFoundAfterGoingAround) {
    h.load("x here\nnothing\n");
    h.editor->prompt.search_text = "x";
    h.editor->view.cursor_x = 3;
    h.key(F3);
    EXPECT_EQ(h.editor->view.cursor_y, 0);
    EXPECT_EQ(h.editor->view.cursor_x, 0);
}

TEST_F(FindTest, NoMatchNamesTheModeAndTheText) {
    h.load("abc\n");
    h.editor->prompt.search_text = "zzz";
    CursesEditor::shared().search_mode = 3;
    h.key(F3);
    EXPECT_EQ(h.bottomRow(), "WordMatch 'zzz' not found");
    EXPECT_FALSE(h.editor->sel.selecting);
}

TEST_F(FindTest, CtrlGWithoutASearchTextOpensTheFindPrompt) {
    h.load("abc\n");
    h.ctrlKey('G');
    EXPECT_EQ(h.editor->prompt.mode, CursesEditor::FindPrompt);
}

TEST_F(FindTest, ReplaceAllCountsInstancesAndLinesWithPluralForms) {
    h.load("aaa\nbab\nccc\n");
    h.editor->prompt.search_text = "a";
    h.editor->prompt.replace_text = "bb";
    h.editor->prompt.mode = CursesEditor::ReplacePrompt;
    h.key(Enter);
    EXPECT_EQ(h.text(), "bbbbbb\nbbbb\nccc");
    EXPECT_EQ(h.bottomRow(), "Replaced 4 instances on 2 lines");
    h.key(Escape);
    h.ctrlKey('Z');
    EXPECT_EQ(h.text(), "aaa\nbab\nccc");
}

TEST_F(FindTest, ReplacingAThreeCharacterLineCountsThreeInstancesOnOneLine) {
    h.load("aaa\n");
    h.editor->prompt.search_text = "a";
    h.editor->prompt.replace_text = "bb";
    h.editor->find(false, true);
    EXPECT_EQ(h.text(), "bbbbbb");
    EXPECT_EQ(h.bottomRow(), "Replaced 3 instances on 1 line");
}

TEST_F(FindTest, OneReplacementIsSingular) {
    h.load("xay\n");
    h.editor->prompt.search_text = "a";
    h.editor->prompt.replace_text = "";
    h.editor->find(false, true);
    EXPECT_EQ(h.text(), "xy");
    EXPECT_EQ(h.bottomRow(), "Replaced 1 instance on 1 line");
}

TEST_F(FindTest, ReplaceAllMovesTheCaretWithTheText) {
    h.load("a-a-a caret\n");
    h.editor->view.cursor_x = 8;
    h.editor->prompt.search_text = "a";
    h.editor->prompt.replace_text = "xyz";
    h.editor->find(false, true);
    EXPECT_EQ(h.text(), "xyz-xyz-xyz cxyzret");
    EXPECT_EQ(h.editor->view.cursor_x, 16);  // still on the "r": two more characters per earlier hit
}

TEST_F(FindTest, ReplaceAllWithNoHitShowsNothingButStillKeepsAnUndoRecord) {
    h.load("abc\n");
    h.editor->prompt.search_text = "q";
    h.editor->prompt.replace_text = "r";
    size_t records = h.editor->history.records.size();
    h.editor->find(false, true);
    EXPECT_EQ(h.editor->history.records.size(), records + 1);
    EXPECT_EQ(h.editor->prompt.mode, CursesEditor::Editing);
}

TEST_F(FindTest, GoingToPlusFiveFromLineTenLandsOnLineSixteen) {
    h.load(numberedLines(40));
    h.editor->view.cursor_y = 10;  // the caret line's index
    h.ctrlKey('J');
    EXPECT_EQ(h.editor->prompt.mode, CursesEditor::GotoPrompt);
    h.type("+5");
    h.key(Enter);
    EXPECT_EQ(h.editor->view.cursor_y, 15);
    EXPECT_EQ(h.editor->view.cursor_x, 7);  // the end of "line 16"
    EXPECT_NE(h.bottomRow().find("Line 16/40"), std::string::npos);
}

TEST_F(FindTest, GoToLineTakesAbsoluteAndBackwardNumbersAndClamps) {
    h.load(numberedLines(40));
    auto go = [&](const std::string& input) {
        h.ctrlKey('J');
        h.type(input);
        h.key(Enter);
        return h.editor->view.cursor_y;
    };
    EXPECT_EQ(go(" 12"), 11);
    EXPECT_EQ(go("- 3"), 8);
    EXPECT_EQ(go("500"), 40);  // one past the last line is allowed
    EXPECT_EQ(go("0"), 40);    // no positive number: only a redraw
    EXPECT_EQ(go("abc"), 40);
    EXPECT_EQ(h.editor->prompt.mode, CursesEditor::Editing);
}

TEST_F(FindTest, CtrlJInTheGoToPromptClosesIt) {
    h.load("x\n");
    h.ctrlKey('J');
    h.type("1");
    h.key(CtrlJ);
    EXPECT_EQ(h.editor->prompt.mode, CursesEditor::Editing);
}

TEST_F(FindTest, ASixtyByteTextShowsItsHeadThreeDotsAndItsTail) {
    std::string text;
    for (int i = 0; i < 60; ++i) text += static_cast<char>('A' + i % 26);
    std::string shown = CursesEditor::ellipsize(text);
    EXPECT_EQ(shown, text.substr(0, 25) + "..." + text.substr(39));
    EXPECT_EQ(CursesEditor::ellipsize(text.substr(0, 41)), text.substr(0, 41));
}

TEST_F(FindTest, EllipsizeCutsOnCharacterBoundaries) {
    std::string text;
    for (int i = 0; i < 30; ++i) text += "\xC3\xA9";  // 60 bytes of two-byte characters
    std::string shown = CursesEditor::ellipsize(text);
    EXPECT_EQ(shown.substr(0, 26), text.substr(0, 26));  // 13 characters: at least 25 bytes
    EXPECT_EQ(shown.substr(26, 3), "...");
    EXPECT_EQ(shown.size(), 26u + 3u + 20u);
    EXPECT_LE(shown.size(), 49u);
}

// The prompt row.

TEST_F(FindTest, TheFindLabelHintDependsOnTheScreenWidth) {
    EditorHarness wide(80, 10);
    wide.load("x\n");
    wide.ctrlKey('F');
    EXPECT_EQ(wide.bottomRow(), "Find substring (Up/Down:mode Ctrl+R:replace ESC:cancel):");
    EditorHarness medium(60, 10);
    medium.load("x\n");
    medium.ctrlKey('F');
    EXPECT_EQ(medium.bottomRow(), "Find substring(U/D:mode Ctrl+R:repl):");
    EditorHarness narrow(40, 10);
    narrow.load("x\n");
    narrow.ctrlKey('F');
    EXPECT_EQ(narrow.bottomRow(), "Find substring:");
}

TEST_F(FindTest, TypingInAPromptReplacesTheOldTextAndBackspaceEditsIt) {
    EditorHarness w(40, 10);
    w.load("x\n");
    w.editor->prompt.search_text = "old";
    w.ctrlKey('F');
    EXPECT_EQ(w.bottomRow(), "Find substring: old");
    EXPECT_EQ(w.screen.cursor_x, 19);  // after the text
    w.type("new");
    EXPECT_EQ(w.editor->prompt.search_text, "new");
    w.key(Backspace);
    w.key(Down);
    EXPECT_EQ(w.bottomRow(), "Find SubString: ne");
    w.key(Up);
    w.key(Up);
    EXPECT_EQ(CursesEditor::shared().search_mode, 5);
    w.key(Escape);
    EXPECT_EQ(w.editor->prompt.mode, CursesEditor::Editing);
    EXPECT_EQ(w.editor->prompt.search_text, "ne");
}

TEST_F(FindTest, BackspaceFirstKeepsTheOldTextForEditing) {
    h.load("x\n");
    h.editor->prompt.search_text = "abc";
    h.ctrlKey('F');
    h.key(Backspace);
    h.type("d");
    EXPECT_EQ(h.editor->prompt.search_text, "abd");
}

TEST_F(FindTest, PastingIntoAPromptTakesTheClipboardsFirstLine) {
    h.load("x\n");
    h.editor->prompt.search_text = "old";
    h.clipboard.unicode = u"first\r\nsecond";
    h.ctrlKey('F');
    h.ctrlKey('V');
    EXPECT_EQ(h.editor->prompt.search_text, "first");
    h.key(Insert);  // Insert alone does nothing
    h.modifiers.shift = true;
    h.key(Insert);
    h.modifiers.shift = false;
    EXPECT_EQ(h.editor->prompt.search_text, "firstfirst");
}

TEST_F(FindTest, CtrlFTakesAOneLineSelectionAsTheSearchText) {
    h.load("pick this word\nother\n");
    h.editor->sel.selecting = true;
    h.editor->sel.sel_x1 = 5;
    h.editor->sel.sel_x2 = 9;
    h.ctrlKey('F');
    EXPECT_EQ(h.editor->prompt.search_text, "this");
    EXPECT_EQ(h.bottomRow(), "Find substring (Up/Down:mode Ctrl+R:replace ESC:cancel): this");
}

TEST_F(FindTest, CtrlRWithoutASearchTextAsksForFindFirst) {
    h.load("x\n");
    h.ctrlKey('R');
    EXPECT_EQ(h.bottomRow(), "Use Ctrl+F first, or run Ctrl+R from Find prompt");
    EXPECT_EQ(h.editor->prompt.mode, CursesEditor::Message);
}

TEST_F(FindTest, CtrlRInTheFindPromptSwitchesToReplaceAndBack) {
    h.load("foo foo\n");
    h.ctrlKey('F');
    h.key(ctrl('R'));  // empty search text: closes the find prompt
    EXPECT_EQ(h.editor->prompt.mode, CursesEditor::Editing);
    h.ctrlKey('F');
    h.type("foo");
    h.key(ctrl('R'));
    EXPECT_EQ(h.editor->prompt.mode, CursesEditor::ReplacePrompt);
    EXPECT_EQ(h.bottomRow(), "Replace all (substring) 'foo':");
    h.type("bar");
    h.key(Enter);
    EXPECT_EQ(h.text(), "bar bar");
    EXPECT_EQ(h.bottomRow(), "Replaced 2 instances on 1 line");
    h.key(Escape);
    h.ctrlKey('R');
    h.key(ctrl('F'));  // from the replace prompt to a fresh find prompt
    EXPECT_EQ(h.editor->prompt.mode, CursesEditor::FindPrompt);
    h.key(ctrl('F'));
    EXPECT_EQ(h.editor->prompt.mode, CursesEditor::Editing);
}

TEST_F(FindTest, EnterInTheFindPromptFinds) {
    h.load("abc target\n");
    h.ctrlKey('F');
    h.type("target");
    h.key(Enter);
    EXPECT_EQ(h.editor->view.cursor_x, 4);
    EXPECT_EQ(h.editor->prompt.mode, CursesEditor::Message);
    EXPECT_TRUE(startsWith(h.bottomRow(), "Found @ Line 1 Col 5"));
}

TEST_F(FindTest, TheGoToPromptLabel) {
    h.load("x\n");
    h.ctrlKey('J');
    EXPECT_EQ(h.bottomRow(), "Go to line (ESC:cancel):");
    h.type("12");
    EXPECT_EQ(h.bottomRow(), "Go to line (ESC:cancel): 12");
}

TEST_F(FindTest, ModeNames) {
    EXPECT_STREQ(CursesEditor::search_mode_name(0), "substring");
    EXPECT_STREQ(CursesEditor::search_mode_name(1), "SubString");
    EXPECT_STREQ(CursesEditor::search_mode_name(2), "wordmatch");
    EXPECT_STREQ(CursesEditor::search_mode_name(3), "WordMatch");
    EXPECT_STREQ(CursesEditor::search_mode_name(4), "tokenmatch");
    EXPECT_STREQ(CursesEditor::search_mode_name(5), "TokenMatch");
}
