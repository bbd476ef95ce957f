#include <gtest/gtest.h>

#include <string>

#include "curses_fakes.h"

namespace {

using namespace curses_key;
constexpr int kH = FakeScreenWindow::kCellHeight;

class MouseTest : public testing::Test {
protected:
    MouseTest() : h(40, 12) {}  // a 10-row pane on rows 1 to 10
    void click(int col, int row, bool shift = false) {
        h.mouse(MouseAction::LeftDown, col, row, shift);
        h.mouse(MouseAction::LeftUp, col, row);
    }
    void doubleClick(int col, int row) {
        click(col, row);
        h.mouse(MouseAction::LeftDoubleClick, col, row);
        h.mouse(MouseAction::LeftUp, col, row);
    }
    TextPosition caret() const { return {h.editor->view.cursor_x, h.editor->view.cursor_y}; }

    EditorHarness h;
};

class RightClickEditor final : public CursesEditor {
public:
    using CursesEditor::CursesEditor;
    void on_right_click(ScreenWindow* window) override {
        ++rightClicks;
        lastWindow = window;
    }
    int rightClicks = 0;
    ScreenWindow* lastWindow = nullptr;
};

}  // namespace

TEST_F(MouseTest, AClickPutsTheCaretOnThePointedCharacterWithinTheDocument) {
    h.load("hello world\nsecond\n");
    click(3, 2);
    EXPECT_EQ(caret(), (TextPosition{3, 1}));
    click(30, 1);
    EXPECT_EQ(caret(), (TextPosition{11, 0}));  // past the line end: its end
    click(2, 8);
    EXPECT_EQ(caret(), (TextPosition{2, 1}));  // below the last line: the last line
    EXPECT_FALSE(h.window->captured);
}

TEST_F(MouseTest, AClickCountsTheHorizontalScrollAndThePaneOffset) {
    h.load(numberedLines(100));
    h.editor->panes.pane_offset[0] = 20;
    h.editor->view.scroll_x = 2;
    h.editor->draw(-1);
    click(1, 4);
    EXPECT_EQ(caret(), (TextPosition{3, 23}));
}

TEST_F(MouseTest, ShiftClickSelectsFromTheOldCaret) {
    h.load("0123456789\nabcdefghij\n");
    click(2, 1);
    click(5, 2, true);
    EXPECT_TRUE(h.editor->sel.selecting);
    EXPECT_EQ(h.editor->selection().start, (TextPosition{2, 0}));
    EXPECT_EQ(h.editor->selection().end, (TextPosition{5, 1}));
    click(7, 2, true);  // from the anchor again, the caret being the selection's end
    EXPECT_EQ(h.editor->selection().start, (TextPosition{2, 0}));
    EXPECT_EQ(h.editor->selection().end, (TextPosition{7, 1}));
    click(1, 1);
    EXPECT_FALSE(h.editor->sel.selecting);
}

TEST_F(MouseTest, ADoubleClickSelectsTheWordUnderThePointer) {
    h.load("call(some_name, other)\n");
    doubleClick(8, 1);
    EXPECT_EQ(h.editor->selection().start, (TextPosition{5, 0}));
    EXPECT_EQ(h.editor->selection().end, (TextPosition{14, 0}));
    EXPECT_EQ(caret(), (TextPosition{14, 0}));
}

TEST_F(MouseTest, ADoubleClickOnASpaceBetweenWordsTakesBothWords) {
    h.load("one two three\n");
    doubleClick(7, 1);
    EXPECT_EQ(h.editor->selection().start, (TextPosition{4, 0}));
    EXPECT_EQ(h.editor->selection().end, (TextPosition{13, 0}));
}

TEST_F(MouseTest, AClickLeavesAnOpenPrompt) {
    h.load("x\n");
    h.ctrlKey('F');
    click(0, 1);
    EXPECT_EQ(h.editor->prompt.mode, CursesEditor::Editing);
    EXPECT_EQ(h.bottomRow().substr(0, 6), "Ctrl+(");
}

TEST_F(MouseTest, AClickInTheLowerPaneMakesItCurrent) {
    h.load(numberedLines(100));
    h.ctrlKey('P');  // upper rows 1-4, separator 5, lower 6-10
    click(2, 7);
    EXPECT_EQ(h.editor->panes.current_pane, 1);
    EXPECT_EQ(caret(), (TextPosition{2, 1}));
    EXPECT_NE(h.row(5).find("Lower pane: Line 2/100"), std::string::npos);
}

TEST_F(MouseTest, DraggingTheSeparatorResizesThePanes) {
    h.load(numberedLines(100));
    h.ctrlKey('P');
    h.mouse(MouseAction::LeftDown, 3, 5);
    EXPECT_EQ(h.editor->drag.drag_state, 3);
    EXPECT_TRUE(h.window->captured);
    h.mouse(MouseAction::Move, 3, 3);
    EXPECT_EQ(h.editor->pane(0).rows, 2);
    EXPECT_EQ(h.editor->pane(1).top, 4);
    h.mouse(MouseAction::Move, 3, 8);
    EXPECT_EQ(h.editor->pane(0).rows, 7);
    h.mouse(MouseAction::LeftUp, 3, 8);
    EXPECT_EQ(h.editor->drag.drag_state, 0);
    EXPECT_FALSE(h.window->captured);
}

TEST_F(MouseTest, DraggingTheSeparatorToTheTopRemovesTheSplitAndKeepsTheLowerPanesView) {
    h.load(numberedLines(100));
    h.ctrlKey('P');
    h.editor->panes.pane_offset[1] = 40;
    h.editor->draw(-1);
    h.mouse(MouseAction::LeftDown, 3, 5);
    h.mouse(MouseAction::Move, 3, 1);  // the upper pane's top row
    EXPECT_FALSE(h.editor->is_split());
    EXPECT_EQ(h.editor->panes.pane_offset[0], 40);
    EXPECT_EQ(h.editor->panes.current_pane, 0);
    EXPECT_EQ(h.row(1), "line 41");
}

TEST_F(MouseTest, ClicksOnTheScrollBarPageAndTheThumbDrags) {
    h.load(numberedLines(100));
    // A client area of exactly 40 cells: the bar is columns 38 and 39; the thumb is one cell.
    h.mouse(MouseAction::LeftDown, 39, 5);  // below the thumb
    EXPECT_EQ(h.editor->panes.pane_offset[0], 10);
    EXPECT_EQ(h.row(1), "line 11");
    h.mouse(MouseAction::LeftUp, 39, 5);
    h.mouse(MouseAction::LeftDown, 38, 1);  // above the thumb, now at 16 + 10 * 144 / 90 pixels
    EXPECT_EQ(h.editor->panes.pane_offset[0], 0);
    h.mouse(MouseAction::LeftUp, 38, 1);
    EXPECT_EQ(caret(), (TextPosition{0, 0}));  // paging leaves the caret

    h.mousePixel(MouseAction::LeftDown, 39 * 8, kH + 8);  // on the thumb, 8 pixels into it
    EXPECT_EQ(h.editor->drag.drag_state, 1);
    EXPECT_EQ(h.editor->drag.drag_offset, 8);
    h.mousePixel(MouseAction::Move, 39 * 8, kH + 8 + 72);
    EXPECT_EQ(h.editor->panes.pane_offset[0], 90 * 72 / 144);
    h.mousePixel(MouseAction::Move, 39 * 8, 5000);
    EXPECT_EQ(h.editor->panes.pane_offset[0], 94);  // at most line count - rows + 4
    h.mousePixel(MouseAction::LeftUp, 39 * 8, 5000);
}

TEST_F(MouseTest, DraggingSelectsOnceThePointerLeavesThePressCell) {
    h.load("0123456789\nabcdefghij\nklmnopqrst\n");
    h.mouse(MouseAction::LeftDown, 2, 1);
    h.mouse(MouseAction::Move, 2, 1);
    EXPECT_FALSE(h.editor->sel.selecting);
    h.mouse(MouseAction::Move, 5, 3);
    EXPECT_TRUE(h.editor->sel.selecting);
    EXPECT_EQ(h.editor->selection().start, (TextPosition{2, 0}));
    EXPECT_EQ(h.editor->selection().end, (TextPosition{5, 2}));
    EXPECT_EQ(caret(), (TextPosition{2, 0}));  // the caret itself stays
    h.mouse(MouseAction::Move, 30, 3);
    EXPECT_EQ(h.editor->sel.sel_x2, 10);  // clamped to the line
    h.mouse(MouseAction::LeftUp, 30, 3);
    EXPECT_TRUE(h.editor->sel.selecting);
}

TEST_F(MouseTest, DraggingBelowThePaneScrollsItALineAtATime) {
    h.load(numberedLines(100));
    h.mouse(MouseAction::LeftDown, 1, 5);
    h.mouse(MouseAction::Move, 1, 11);  // the bottom row, below the pane
    EXPECT_EQ(h.editor->panes.pane_offset[0], 1);
    EXPECT_EQ(h.editor->sel.sel_y2, 10);
    h.mouse(MouseAction::Move, 2, 11);
    EXPECT_EQ(h.editor->panes.pane_offset[0], 2);
    EXPECT_EQ(h.editor->sel.sel_y2, 11);
    h.mouse(MouseAction::Move, 2, 0);  // above it
    EXPECT_EQ(h.editor->panes.pane_offset[0], 1);
    EXPECT_EQ(h.editor->sel.sel_y2, 1);
}

TEST_F(MouseTest, TheWheelScrollsSixLinesANotch) {
    h.load(numberedLines(100));
    h.mouse(MouseAction::Wheel, 3, 3);  // no delta: nothing
    EXPECT_EQ(h.editor->panes.pane_offset[0], 0);
    h.mousePixel(MouseAction::Wheel, 20, 3 * kH, -120);
    EXPECT_EQ(h.editor->panes.pane_offset[0], 6);
    EXPECT_EQ(h.row(1), "line 7");
    h.mousePixel(MouseAction::Wheel, 20, 3 * kH, 240);
    EXPECT_EQ(h.editor->panes.pane_offset[0], 0);
}

TEST(CursesMouse, TheWheelDoesNotScrollAThreeLineDocumentInATwentyRowPane) {
    EditorHarness h(40, 22);
    h.load("a\nb\nc\n");
    h.mousePixel(MouseAction::Wheel, 20, 3 * kH, -120);
    EXPECT_EQ(h.editor->panes.pane_offset[0], 0);
}

TEST_F(MouseTest, ADoubleClickOnAWebLinkOpensIt) {
    h.load("see (http://example.com/page) end\n");
    doubleClick(12, 1);
    ASSERT_EQ(h.links.opened.size(), 1u);
    EXPECT_EQ(h.links.opened[0], "http://example.com/page");
    EXPECT_FALSE(h.editor->sel.selecting);  // nothing else happens
}

TEST_F(MouseTest, AShortLinkOpensNothingAndSelectsTheWord) {
    h.load("go http:// now\n");
    doubleClick(4, 1);
    EXPECT_TRUE(h.links.opened.empty());
    EXPECT_EQ(h.editor->selection().start, (TextPosition{3, 0}));
    EXPECT_EQ(h.editor->selection().end, (TextPosition{7, 0}));
}

TEST_F(MouseTest, ALinkMustNotFollowALetterOrDigit) {
    h.load("xhttp://example.com/abc\n");
    doubleClick(8, 1);
    EXPECT_TRUE(h.links.opened.empty());
}

TEST_F(MouseTest, LinkColumnsCountCharactersNotBytes) {
    h.load("\xC3\xA9\xC3\xA9\xC3\xA9 http://example.org/x\n");
    doubleClick(5, 1);  // the first "t" of http, at byte 8
    ASSERT_EQ(h.links.opened.size(), 1u);
    EXPECT_EQ(h.links.opened[0], "http://example.org/x");
}

TEST(CursesMouse, ARightClickMovesTheCaretAndTellsTheHost) {
    CursesEditor::shared() = {};
    CursesScreen screen;
    FakeScreenWindow* window = attachFakeWindow(screen, 40, 12);
    FakeModifiers modifiers;
    RightClickEditor editor(screen, {&modifiers, nullptr, nullptr});
    editor.doc.lines = {"abcdef", "ghi"};
    editor.push_undo();
    editor.sel.selecting = true;
    editor.sel.sel_x2 = 3;
    MouseEvent e;
    e.action = MouseAction::RightDown;
    e.x = 2 * 8 + 1;
    e.y = 2 * kH + 1;
    screen.mouse_callback(screen.user_data, *window, e);
    EXPECT_EQ(editor.rightClicks, 1);
    EXPECT_EQ(editor.lastWindow, window);
    EXPECT_EQ(editor.view.cursor_y, 1);
    EXPECT_EQ(editor.view.cursor_x, 2);
    EXPECT_TRUE(editor.sel.selecting);  // only a left press drops the selection
    EXPECT_FALSE(window->captured);
}

TEST_F(MouseTest, LosingTheCaptureEndsADrag) {
    h.load(numberedLines(100));
    h.ctrlKey('P');
    h.mouse(MouseAction::LeftDown, 3, 5);
    h.mouse(MouseAction::CaptureChanged, 0, 0);
    EXPECT_EQ(h.editor->drag.drag_state, 0);
    h.mouse(MouseAction::Move, 3, 8);
    EXPECT_EQ(h.editor->pane(0).rows, 4);  // unchanged
}
