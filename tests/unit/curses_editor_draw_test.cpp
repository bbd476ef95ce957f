#include <gtest/gtest.h>

#include <string>

#include "curses_fakes.h"

namespace {

using namespace curses_key;

// The attributes of a row's cells as one digit-or-letter per cell (0-9, then a-v).
std::string rowAttributes(CursesScreen& screen, int row, int from, int count) {
    std::string out;
    for (int x = from; x < from + count; ++x) {
        int a = screen.cell_at(row, x)->attr;
        out += static_cast<char>(a < 10 ? '0' + a : 'a' + a - 10);
    }
    return out;
}

class HelpExtraEditor final : public CursesEditor {
public:
    using CursesEditor::CursesEditor;
    void draw_help_extra() override {
        screen.attrset(3);
        screen.addstr("S");
        screen.attrset(2);
        screen.addstr("ave");
    }
};

}  // namespace

TEST(CursesDraw, TheStatusOfAFreshHundredLineFileInOneTwentyRowPane) {
    EditorHarness h(80, 22);
    h.load(numberedLines(100));
    const std::string status = "Line 1/100 [1-21] Col 1 [INS]";
    EXPECT_EQ(screenRow(h.screen, 21).substr(80 - status.size() - 1, status.size() + 1), status + " ");
    EXPECT_EQ(rowAttributes(h.screen, 21, 50, 3), "222");
    h.key('x');
    EXPECT_NE(h.bottomRow().find("Line 1/100 [1-21] Col 2 [INS]*"), std::string::npos);
}

TEST(CursesDraw, AShorterStatusBlanksWhatTheLongerOneLeft) {
    EditorHarness h(80, 10);
    std::string file;
    for (int i = 0; i < 100; ++i) file += std::string(30, 'a') + "\n";
    h.load(file);
    h.editor->view.cursor_x = 10;
    h.editor->set_cursor(false, -1);
    const std::string longer = "Line 1/100 [1-9] Col 11 [INS]";
    EXPECT_EQ(screenRow(h.screen, 9).substr(50, longer.size()), longer);
    h.editor->view.cursor_x = 0;
    h.editor->set_cursor(false, -1);
    const std::string shorter = "Line 1/100 [1-9] Col 1 [INS]";
    std::string row = screenRow(h.screen, 9);
    EXPECT_EQ(row[50], ' ');
    EXPECT_EQ(row.substr(51, shorter.size()), shorter);
    EXPECT_EQ(h.editor->panes.status_len, static_cast<int>(shorter.size()));
}

TEST(CursesDraw, TheBottomRowWithoutASplitHighlightsPaneFindAndReplace) {
    EditorHarness h(60, 10);
    h.load("x\n");
    const std::string help = "Ctrl+(Pane Find/Replace )";
    EXPECT_EQ(screenRow(h.screen, 9).substr(0, help.size()), help);
    EXPECT_EQ(rowAttributes(h.screen, 9, 0, static_cast<int>(help.size())), "2222223222232222322222222");
}

TEST(CursesDraw, TheBottomRowWithASplitOffersTheOtherPane) {
    EditorHarness h(60, 10);
    h.load("x\n");
    h.ctrlKey('P');
    const std::string help = "Ctrl+(Otherpane noPanes Find/Replace )";
    EXPECT_EQ(screenRow(h.screen, 9).substr(0, help.size()), help);
    EXPECT_EQ(rowAttributes(h.screen, 9, 0, 19), "2222223222222222223");
    // The status moves to the separator row.
    EXPECT_NE(h.row(h.editor->pane(0).top + h.editor->pane(0).rows).find("Upper pane: Line 1/1"), std::string::npos);
    EXPECT_EQ(h.editor->panes.status_len, 0);
}

TEST(CursesDraw, AHostAddsItsOwnKeysBeforeTheClosingParenthesis) {
    CursesEditor::shared() = {};
    CursesScreen screen;
    attachFakeWindow(screen, 60, 10);
    FakeModifiers modifiers;
    HelpExtraEditor editor(screen, {&modifiers, nullptr, nullptr});
    editor.draw(-1);
    EXPECT_EQ(trimRight(screenRow(screen, 9)).substr(0, 29), "Ctrl+(Pane Find/Replace Save)");
    EXPECT_EQ(screen.cell_at(9, 24)->attr, 3);
}

TEST(CursesDraw, TheTitleRowShowsTheFileNameOnRed) {
    EditorHarness h(40, 6);
    h.load("x\n", "short.txt");
    std::string title = h.row(0);
    EXPECT_NE(title.find("short.txt"), std::string::npos);
    EXPECT_EQ(h.screen.cell_at(0, 0)->attr, 27);
    EXPECT_EQ(h.screen.cell_at(0, 39)->attr, 26);
    EXPECT_EQ(h.screen.colors[26].bg, 0xC00000u);
}

TEST(CursesDraw, AFileNameLongerThanTheScreenShowsDotsAndItsTail) {
    EditorHarness h(20, 6);
    h.editor->doc.file_name = "/a/very/long/folder/name/file.txt";
    h.editor->draw(-1);
    EXPECT_EQ(h.row(0), "...r/name/file.txt");  // "..." and the last 15 bytes
}

TEST(CursesDraw, RowsPastTheLastLineAreCleared) {
    EditorHarness h(20, 6);
    h.load("one\n");
    EXPECT_EQ(h.row(1), "one");
    EXPECT_EQ(h.row(2), "");
    EXPECT_EQ(h.row(4), "");
}

TEST(CursesDraw, LinesAreShownFromTheHorizontalScroll) {
    EditorHarness h(20, 6);
    h.load("0123456789abcdefghijklmnopqrstuvwxyz\n");
    h.editor->view.cursor_x = 30;
    h.editor->set_cursor(false, -1);
    EXPECT_EQ(h.editor->view.scroll_x, 14);
    EXPECT_EQ(h.row(1), "efghijklmnopqrstuvwx");
}

TEST(CursesDraw, TheSelectionIsHighlightedOnItsLines) {
    EditorHarness h(20, 8);
    h.load("abcdef\n\nxyz\n");
    h.editor->sel.selecting = true;
    h.editor->sel.sel_x1 = 2;
    h.editor->sel.sel_y1 = 0;
    h.editor->sel.sel_x2 = 1;
    h.editor->sel.sel_y2 = 2;
    h.editor->draw(-1);
    EXPECT_EQ(rowAttributes(h.screen, 1, 0, 7), "0044440");
    EXPECT_EQ(rowAttributes(h.screen, 2, 0, 2), "40");  // an empty line shows one highlighted blank
    EXPECT_EQ(rowAttributes(h.screen, 3, 0, 3), "400");
    EXPECT_EQ(h.row(1), "abcdef");
}

TEST(CursesDraw, AnEmptyOneLineSelectionIsNotHighlighted) {
    EditorHarness h(20, 8);
    h.load("abcdef\n");
    h.editor->sel.selecting = true;
    h.editor->sel.sel_x1 = h.editor->sel.sel_x2 = 2;
    h.editor->draw(-1);
    EXPECT_EQ(rowAttributes(h.screen, 1, 0, 6), "000000");
}

TEST(CursesDraw, AMessageTakesTheBottomRowUntilTheNextKey) {
    EditorHarness h(20, 8);
    h.load("x\n");
    h.editor->show_message("a message longer than the row");
    EXPECT_EQ(h.editor->prompt.mode, CursesEditor::Message);
    EXPECT_EQ(h.bottomRow(), "a message longer t");  // at most cols - 2 bytes
    EXPECT_EQ(h.screen.cell_at(7, 0)->attr, 24);
    EXPECT_EQ(h.screen.cell_at(7, 19)->attr, 24);
    EXPECT_EQ(h.screen.cursor_y, 1);  // back on the caret
    h.key(Right);
    EXPECT_EQ(h.editor->prompt.mode, CursesEditor::Editing);
    EXPECT_EQ(h.bottomRow().find("a message"), std::string::npos);
}

TEST(CursesDraw, AFullRedrawAsksForOneRepaintOfTheWindow) {
    EditorHarness h(20, 8);
    h.load("x\ny\n");
    h.window->invalidated.clear();
    int repaints = h.window->wholeRepaints;
    h.editor->draw(-1);
    EXPECT_EQ(h.window->wholeRepaints, repaints + 1);
    EXPECT_TRUE(h.window->invalidated.size() <= 2u);  // at most the screen cursor's cells
}

TEST(CursesDraw, OneLineIsRedrawnWhereverAPaneShowsIt) {
    EditorHarness h(20, 12);
    h.load("a\nb\nc\n");
    h.ctrlKey('P');
    h.editor->doc.lines[1] = "changed";
    h.editor->draw(1);
    EXPECT_EQ(h.row(2), "changed");
    EXPECT_EQ(h.row(h.editor->pane(1).top + 1), "changed");
    EXPECT_EQ(h.row(1), "a");
}

TEST(CursesDraw, TheScreenGetsThePaneGeometryForItsScrollBars) {
    EditorHarness h(30, 12);
    h.load(numberedLines(50));
    h.ctrlKey('P');
    EXPECT_EQ(h.screen.top_margin, 1);
    EXPECT_EQ(h.screen.bottom_margin, 1);
    EXPECT_EQ(h.screen.upper_rows, h.editor->pane(0).rows);
    EXPECT_EQ(h.screen.total_lines, 50);
    EXPECT_EQ(h.screen.pane(1).top, h.editor->pane(1).top);
    EXPECT_EQ(h.screen.pane(1).rows, h.editor->pane(1).rows);
    h.ctrlKey('P');
    EXPECT_EQ(h.screen.pane(0).rows, h.editor->pane(0).rows);
    EXPECT_FALSE(h.screen.split());
}

TEST(CursesDraw, APaintOfTheEditorShowsTextStatusAndThumb) {
    EditorHarness h(30, 12);
    h.load(numberedLines(50));
    RecordingScreenCanvas canvas;
    h.screen.paint(canvas, {0, 0, 30 * 8, 12 * 16}, 30 * 8 + 5);
    bool sawL = false;
    for (const PaintOp& op : canvas.of(PaintOp::Cell))
        if (op.ch == u'l' && op.rect.left == 0 && op.rect.top == 16) sawL = true;
    EXPECT_TRUE(sawL);
    EXPECT_EQ(h.screen.bar_cols[0], 1);
    EXPECT_EQ(canvas.colorAt(29 * 8 + 2, 16 + 2), 0x606060);  // the thumb at the top of the pane
}

TEST(CursesDraw, BytesAfterANulAreShownAndWithinReach) {
    EditorHarness h(40, 10);
    h.load(std::string("ab\0cd\nnext\n", 11));
    // The NUL shows as the replacement character (a '?' here), and the text after it too.
    EXPECT_EQ(h.row(1).substr(0, 5), "ab?cd");
    EXPECT_EQ(h.editor->line_length(0), 5);
    h.key(End);
    EXPECT_EQ(h.editor->view.cursor_x, 5);
    h.key('!');
    EXPECT_EQ(h.editor->doc.lines[0], std::string("ab\0cd!", 6));
    EXPECT_EQ(h.row(1).substr(0, 6), "ab?cd!");
    EXPECT_EQ(h.editor->save_file(), 0);
    EXPECT_EQ(h.dir.read("doc.txt"), std::string("ab\0cd!\nnext\n", 12));
}
