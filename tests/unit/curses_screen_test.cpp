#include <gtest/gtest.h>

#include <string>

#include "curses/screen/curses_screen.h"
#include "text/virtual_keys.h"
#include "curses_fakes.h"

namespace {

constexpr int kW = FakeScreenWindow::kCellWidth;
constexpr int kH = FakeScreenWindow::kCellHeight;

class ScreenTest : public testing::Test {
protected:
    void SetUp() override { window = attachFakeWindow(screen, 10, 5); }
    std::string row(int r) { return screenRow(screen, r); }

    CursesScreen screen;
    FakeScreenWindow* window = nullptr;
};

PixelRect whole(const CursesScreen& screen) { return {0, 0, screen.cols * kW, screen.lines * kH}; }

}  // namespace

TEST_F(ScreenTest, AttachSizesTheGridFromTheFontAndClientArea) {
    EXPECT_EQ(screen.cols, 10);
    EXPECT_EQ(screen.lines, 5);
    EXPECT_EQ(screen.cell_width, kW);
    EXPECT_EQ(screen.cell_height, kH);
    EXPECT_EQ(screen.cells.size(), 50u);
    EXPECT_EQ(window->fontCreations, 1);
    EXPECT_GE(window->wholeRepaints, 1);
}

TEST_F(ScreenTest, ALongTextNearTheRowEndFillsTheRestAndLeavesTheCursorAtTheEnd) {
    std::string text(200, 'x');
    screen.move(1, screen.cols - 3);
    screen.addstr(text.c_str());
    EXPECT_EQ(row(1), "       xxx");
    EXPECT_EQ(screen.cursor_x, screen.cols);
    EXPECT_EQ(row(2), std::string(10, ' '));  // nothing wrapped
}

TEST_F(ScreenTest, AddnstrWithZeroWritesNothing) {
    screen.move(0, 0);
    screen.addnstr("abc", 0);
    EXPECT_EQ(row(0), std::string(10, ' '));
    EXPECT_EQ(screen.cursor_x, 0);
}

TEST_F(ScreenTest, TheByteCountIsTestedAfterEachCharacter) {
    screen.move(0, 0);
    screen.addnstr("\xC3\xA9z", 1);  // a two-byte character, then more
    EXPECT_EQ(screen.cell_at(0, 0)->ch, 0xE9);
    EXPECT_EQ(screen.cell_at(0, 1)->ch, 0);
    EXPECT_EQ(screen.cursor_x, 1);

    screen.move(1, 0);
    screen.addnstr("a\xC3\xA9z", 2);  // one byte, then a two-byte character: both written
    EXPECT_EQ(screen.cell_at(1, 0)->ch, 'a');
    EXPECT_EQ(screen.cell_at(1, 1)->ch, 0xE9);
    EXPECT_EQ(screen.cell_at(1, 2)->ch, 0);
}

TEST_F(ScreenTest, WritesTakeTheCurrentAttributeAndMarkOnlyTheirCells) {
    window->invalidated.clear();
    screen.attrset(5);
    screen.move(2, 3, false);
    window->invalidated.clear();
    screen.addstr("ab");
    EXPECT_EQ(screen.cell_at(2, 3)->attr, 5);
    EXPECT_EQ(screen.cell_at(2, 4)->attr, 5);
    ASSERT_EQ(window->invalidated.size(), 1u);
    PixelRect r = window->invalidated[0];
    EXPECT_EQ(r.left, 3 * kW);
    EXPECT_EQ(r.right, 6 * kW);  // through the new cursor column
    EXPECT_EQ(r.top, 2 * kH);
    EXPECT_EQ(r.bottom, 3 * kH);
}

TEST_F(ScreenTest, MalformedBytesShowAsTheirOwnValueAndCharactersBeyondTheCellAsReplacement) {
    screen.move(0, 0);
    screen.addstr("\xC0\x80\xF0\x9F\x98\x80");
    EXPECT_EQ(screen.cell_at(0, 0)->ch, 0xC0);
    EXPECT_EQ(screen.cell_at(0, 1)->ch, 0x80);
    EXPECT_EQ(screen.cell_at(0, 2)->ch, 0xFFFD);
    EXPECT_EQ(screen.cursor_x, 3);
}

TEST_F(ScreenTest, MoveClampsAtZeroAndWritesOutsideTheGridAreDropped) {
    screen.move(-3, -7);
    EXPECT_EQ(screen.cursor_x, 0);
    EXPECT_EQ(screen.cursor_y, 0);
    screen.move(9, 0);
    screen.addstr("lost");
    screen.move(0, 10);
    screen.addstr("lost");
    for (int r = 0; r < screen.lines; ++r) EXPECT_EQ(row(r), std::string(10, ' '));
}

TEST_F(ScreenTest, ClearToLineEndUsesTheEraseAttributeAndKeepsTheCursor) {
    screen.move(1, 0);
    screen.addstr("0123456789");
    screen.bkgdset(26);
    screen.move(1, 4);
    screen.clrtoeol();
    EXPECT_EQ(row(1), "0123      ");
    EXPECT_EQ(screen.cell_at(1, 4)->attr, 26);
    EXPECT_EQ(screen.cell_at(1, 9)->attr, 26);
    EXPECT_EQ(screen.cell_at(1, 3)->attr, 0);
    EXPECT_EQ(screen.cursor_x, 4);
}

TEST_F(ScreenTest, KeysComeOutOldestFirstThenNone) {
    screen.enqueue_key('a');
    screen.enqueue_key(curses_key::Down);
    EXPECT_EQ(screen.getch(), 'a');
    EXPECT_EQ(screen.getch(), curses_key::Down);
    EXPECT_EQ(screen.getch(), curses_key::None);
}

TEST_F(ScreenTest, TheSixtyFifthKeyPushesOutTheFirst) {
    for (int i = 0; i < 65; ++i) screen.enqueue_key(1000 + i);
    EXPECT_EQ(screen.queue_count, 64);
    EXPECT_EQ(screen.getch(), 1001);
    for (int i = 2; i < 65; ++i) EXPECT_EQ(screen.getch(), 1000 + i);
    EXPECT_EQ(screen.getch(), curses_key::None);
}

TEST_F(ScreenTest, AnEmptyQueueWithARedrawWantedGivesTwelveOnceAndRepaintsTheWindow) {
    screen.flags |= CursesScreen::kFullRedraw;
    int repaints = window->wholeRepaints;
    EXPECT_EQ(screen.getch(), curses_key::Redraw);
    EXPECT_EQ(window->wholeRepaints, repaints + 1);
    EXPECT_EQ(screen.flags & CursesScreen::kFullRedraw, 0);
    EXPECT_EQ(screen.getch(), curses_key::None);
}

TEST_F(ScreenTest, WithoutAWindowThereAreNoKeys) {
    screen.enqueue_key('x');
    screen.detach_window();
    EXPECT_EQ(screen.getch(), curses_key::None);
    EXPECT_TRUE(screen.cells.empty());
}

TEST_F(ScreenTest, DeferredRepaintRequestsAreNotSent) {
    screen.flags |= CursesScreen::kDeferRepaint;
    window->invalidated.clear();
    screen.move(0, 0);
    screen.addstr("abc");
    EXPECT_TRUE(window->invalidated.empty());
    screen.flags &= static_cast<uint8_t>(~CursesScreen::kDeferRepaint);
    screen.addstr("d");
    EXPECT_EQ(window->invalidated.size(), 1u);
}

TEST_F(ScreenTest, AClientAreaSmallerThanOneCellGivesAOneByOneGrid) {
    window->size = {3, 5};
    screen.resize_grid();
    EXPECT_EQ(screen.lines, 1);
    EXPECT_EQ(screen.cols, 1);
    EXPECT_EQ(screen.cells.size(), 1u);
    screen.move(0, 0);
    screen.addstr("xyz");
    EXPECT_EQ(screen.cell_at(0, 0)->ch, 'x');
    EXPECT_EQ(screen.cursor_x, 1);
}

TEST_F(ScreenTest, StaleMetricsAreMeasuredBeforeTheNextRepaintRequest) {
    window->font = {9, 18};
    screen.flags |= CursesScreen::kMetricsStale;
    window->invalidated.clear();
    screen.invalidate_cells(1, 1, 2, 2);
    EXPECT_EQ(screen.cell_width, 9);
    EXPECT_EQ(screen.cell_height, 18);
    ASSERT_EQ(window->invalidated.size(), 1u);
    EXPECT_EQ(window->invalidated[0].left, 9);
    EXPECT_EQ(window->invalidated[0].bottom, 36);
}

TEST(KeyTranslation, CtrlLettersAndBracketsGiveControlCodes) {
    ModifierKeys ctrl{.ctrl = true, .alt = false};
    EXPECT_EQ(translate_key_down('A', ctrl), 1);
    EXPECT_EQ(translate_key_down('Z', ctrl), 26);
    EXPECT_EQ(translate_key_down(219, ctrl), 27);  // the left-bracket key
    EXPECT_EQ(translate_key_down(91, ctrl), 27);
    EXPECT_EQ(translate_key_down(221, ctrl), 29);
    EXPECT_EQ(translate_key_down(93, ctrl), 29);
    EXPECT_EQ(translate_key_down(97, ctrl), 1);
    EXPECT_EQ(translate_key_down(vk::kControl, ctrl), -1);
    EXPECT_EQ(translate_key_down('A', {.ctrl = true, .alt = true}), -1);  // AltGr combinations type characters
}

TEST(KeyTranslation, PlainLettersComeFromTheCharacterMessage) {
    EXPECT_EQ(translate_key_down('A', {}), -1);
    EXPECT_EQ(translate_char('A'), 65);
    EXPECT_EQ(translate_char(0xE9), 0xE9);
    EXPECT_EQ(translate_char(8), -1);
    EXPECT_EQ(translate_char(13), -1);
    EXPECT_EQ(translate_char(31), -1);
}

TEST(KeyTranslation, SpecialKeysHaveTheirCodes) {
    EXPECT_EQ(translate_key_down(vk::kBack, {}), 8);
    EXPECT_EQ(translate_key_down(vk::kTab, {}), 9);
    EXPECT_EQ(translate_key_down(vk::kReturn, {}), 13);
    EXPECT_EQ(translate_key_down(vk::kEscape, {}), 27);
    EXPECT_EQ(translate_key_down(vk::kPrior, {}), 4098);
    EXPECT_EQ(translate_key_down(vk::kNext, {}), 4099);
    EXPECT_EQ(translate_key_down(vk::kEnd, {}), 4103);
    EXPECT_EQ(translate_key_down(vk::kHome, {}), 4102);
    EXPECT_EQ(translate_key_down(vk::kLeft, {}), 4101);
    EXPECT_EQ(translate_key_down(vk::kUp, {}), 4097);
    EXPECT_EQ(translate_key_down(vk::kRight, {}), 4100);
    EXPECT_EQ(translate_key_down(vk::kDown, {}), 4096);
    EXPECT_EQ(translate_key_down(vk::kInsert, {}), 4104);
    EXPECT_EQ(translate_key_down(vk::kDelete, {}), 4105);
    EXPECT_EQ(translate_key_down(vk::kF1, {}), 4106);
    EXPECT_EQ(translate_key_down(vk::kF12, {.ctrl = true}), 4117);
}

TEST(KeyTranslation, ACharacterWhoseUnitIsAKeyCodeIsMarkedAsACharacter) {
    // U+1000 would otherwise read as the Down key.
    EXPECT_EQ(translate_char(0x1000), curses_key::LiteralCharacter + 0x1000);
    EXPECT_EQ(translate_char(0x1016), 0x1016);
}

TEST_F(ScreenTest, PaneGeometryFollowsTheMarginsAndTheUpperRows) {
    screen.top_margin = 1;
    screen.bottom_margin = 1;
    screen.upper_rows = 2;  // r = 3: upper_rows = r - 1 means no split
    EXPECT_FALSE(screen.split());
    EXPECT_EQ(screen.pane(0).top, 1);
    EXPECT_EQ(screen.pane(0).rows, 3);
    EXPECT_EQ(screen.pane(1).rows, 0);
    screen.upper_rows = 1;
    EXPECT_TRUE(screen.split());
    EXPECT_EQ(screen.pane(0).rows, 1);
    EXPECT_EQ(screen.pane(1).top, 3);
    EXPECT_EQ(screen.pane(1).rows, 1);
    EXPECT_EQ(screen.pane_at_row(2), -1);  // the separator
    EXPECT_EQ(screen.pane_at_row(0), -1);
    EXPECT_EQ(screen.pane_at_row(3), 1);
}

TEST_F(ScreenTest, TheThumbIsProportionalAndAtLeastOneCellHigh) {
    screen.top_margin = screen.bottom_margin = 1;
    screen.upper_rows = 2;  // one pane of 3 rows
    screen.scrollbar_width = 1;
    screen.total_lines = 30;
    screen.pane_offset[0] = 27;
    screen.update_scroll_bars(screen.cols * kW);
    // A client area of exactly 10 cells: the bar takes one more column.
    EXPECT_EQ(screen.bar_cols[0], 2);
    EXPECT_EQ(screen.thumb_size[0], kH);  // 3*3*16/30 = 4, raised to one cell
    EXPECT_EQ(screen.thumb_pos[0], 27 * (3 * kH - kH) / 27);
    screen.update_scroll_bars(screen.cols * kW + kW * 3 / 4);  // most of a cell to spare
    EXPECT_EQ(screen.bar_cols[0], 1);
    screen.total_lines = 6;
    screen.pane_offset[0] = 1;
    screen.update_scroll_bars(screen.cols * kW);
    EXPECT_EQ(screen.thumb_size[0], 3 * 3 * kH / 6);
    EXPECT_EQ(screen.thumb_pos[0], 1 * (3 * kH - 24) / 3);
}

TEST_F(ScreenTest, APaneWhoseLinesAllFitHasNoBar) {
    screen.top_margin = screen.bottom_margin = 1;
    screen.upper_rows = 2;
    screen.scrollbar_width = 1;
    screen.total_lines = 3;
    screen.update_scroll_bars(screen.cols * kW);
    EXPECT_EQ(screen.bar_cols[0], 0);
    EXPECT_EQ(screen.thumb_size[0], 0);
}

TEST_F(ScreenTest, PointerShapesFollowTheCellUnderThePointer) {
    screen.top_margin = screen.bottom_margin = 1;
    screen.upper_rows = 1;  // split: separator on row 2
    screen.scrollbar_width = 1;
    screen.total_lines = 100;
    screen.update_scroll_bars(screen.cols * kW + 7);
    EXPECT_EQ(screen.pointer_shape(3 * kW, 2 * kH + 1), PointerShape::SizeNorthSouth);
    EXPECT_EQ(screen.pointer_shape(3 * kW, 0), PointerShape::Arrow);
    EXPECT_EQ(screen.pointer_shape(3 * kW, 4 * kH + 2), PointerShape::Arrow);
    EXPECT_EQ(screen.pointer_shape(9 * kW + 1, 1 * kH), PointerShape::Arrow);  // the bar
    EXPECT_EQ(screen.pointer_shape(3 * kW, 1 * kH), PointerShape::IBeam);
}

// Paint.

class ScreenPaintTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        for (int i = 0; i < 32; ++i) screen.colors[i] = {0x010101u * static_cast<uint32_t>(i), 0x100000u + static_cast<uint32_t>(i)};
        screen.top_margin = screen.bottom_margin = 1;
        screen.upper_rows = 2;
        screen.scrollbar_width = 1;
        screen.blink_phase = 1;
    }
    RecordingScreenCanvas paintAll(int extraWidth = kW / 2 + 1) {
        RecordingScreenCanvas canvas;
        screen.paint(canvas, {0, 0, screen.cols * kW + extraWidth, screen.lines * kH + 10}, screen.cols * kW + extraWidth);
        return canvas;
    }
    uint32_t bg(int a) const { return screen.colors[a].bg; }
};

TEST_F(ScreenPaintTest, BlankCellsOfOneAttributeAreFilledInOneRun) {
    screen.move(0, 0, false);
    screen.drawn_cursor_x = 0;
    screen.drawn_cursor_y = 0;
    screen.blink_phase = 0;  // no caret this paint
    screen.attrset(0);
    screen.move(1, 0, false);
    screen.addstr("ab   c");
    screen.cursor_x = screen.drawn_cursor_x = 0;
    screen.cursor_y = screen.drawn_cursor_y = 0;
    RecordingScreenCanvas canvas;
    screen.paint(canvas, {0, kH, 9 * kW, 2 * kH}, 10 * kW);
    std::vector<PaintOp> cells = canvas.of(PaintOp::Cell);
    ASSERT_EQ(cells.size(), 3u);  // a, b, c
    EXPECT_EQ(cells[0].ch, u'a');
    EXPECT_EQ(cells[2].ch, u'c');
    EXPECT_EQ(cells[2].rect.left, 5 * kW);
    // The three blanks between b and c are one fill, the blanks after c another.
    std::vector<PaintOp> fills = canvas.of(PaintOp::Fill);
    ASSERT_GE(fills.size(), 2u);
    EXPECT_EQ(fills[0].rect.left, 2 * kW);
    EXPECT_EQ(fills[0].rect.right, 5 * kW);
    EXPECT_EQ(fills[0].color, bg(0));
    EXPECT_EQ(fills[1].rect.left, 6 * kW);
    EXPECT_EQ(fills[1].rect.right, 9 * kW);
}

TEST_F(ScreenPaintTest, AnAttributeChangeEndsABlankRunAndColoursAreSetOnlyWhenTheyChange) {
    screen.move(1, 0, false);
    screen.attrset(3);
    screen.addstr("xy");
    screen.attrset(4);
    screen.addstr("  z");
    screen.attrset(0);
    screen.cursor_x = screen.drawn_cursor_x = 0;
    screen.cursor_y = screen.drawn_cursor_y = 0;
    screen.blink_phase = 0;
    RecordingScreenCanvas canvas;
    screen.paint(canvas, {0, kH, 6 * kW, 2 * kH}, 10 * kW);
    std::vector<PaintOp> colorOps = canvas.of(PaintOp::Colors);
    ASSERT_EQ(colorOps.size(), 2u);  // attribute 3 once for x and y, attribute 4 once for z
    EXPECT_EQ(colorOps[0].background, bg(3));
    EXPECT_EQ(colorOps[1].background, bg(4));
    std::vector<PaintOp> fills = canvas.of(PaintOp::Fill);
    ASSERT_GE(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect.left, 2 * kW);
    EXPECT_EQ(fills[0].rect.right, 4 * kW);
    EXPECT_EQ(fills[0].color, bg(4));
}

TEST_F(ScreenPaintTest, TheCaretIsACellAndATwoPixelBarInTheForegroundColour) {
    screen.attrset(6);
    screen.move(2, 3);
    screen.bkgdset(6);
    screen.clrtoeol();
    RecordingScreenCanvas canvas;
    screen.paint(canvas, {0, 2 * kH, 8 * kW, 3 * kH}, 10 * kW);
    std::vector<PaintOp> cells = canvas.of(PaintOp::Cell);
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_EQ(cells[0].ch, u' ');  // a blank for the caret on a blank cell
    EXPECT_EQ(cells[0].rect.left, 3 * kW);
    bool bar = false;
    for (const PaintOp& op : canvas.of(PaintOp::Fill))
        if (op.rect.left == 3 * kW && op.rect.right == 3 * kW + 2 && op.rect.top == 2 * kH && op.rect.bottom == 3 * kH &&
            op.color == screen.colors[6].fg)
            bar = true;
    EXPECT_TRUE(bar);
}

TEST_F(ScreenPaintTest, AMovedCaretShowsAtOnceAndResetsTheBlink) {
    screen.blink_phase = 0;
    screen.move(1, 2);
    RecordingScreenCanvas canvas = paintAll();
    EXPECT_EQ(screen.blink_phase, 0);
    EXPECT_EQ(screen.drawn_cursor_x, 2);
    EXPECT_EQ(canvas.of(PaintOp::Cell).size(), 1u);
}

TEST_F(ScreenPaintTest, APaneWithoutAThumbPaintsTheLastColumnInTheTextBackground) {
    screen.total_lines = 2;  // fits in the 3-row pane
    screen.attrset(9);
    for (int r = 0; r < screen.lines; ++r) {
        screen.move(r, 0);
        screen.addstr("##########");
    }
    RecordingScreenCanvas canvas = paintAll();
    EXPECT_EQ(screen.bar_cols[0], 0);
    const int lastColumnX = 9 * kW + 1;
    EXPECT_EQ(canvas.colorAt(lastColumnX, 2 * kH), bg(0));
    EXPECT_EQ(canvas.colorAt(screen.cols * kW + 2, 2 * kH), bg(0));  // and the strip beyond
    // Margin rows end in the background of their last cell's attribute.
    EXPECT_EQ(canvas.colorAt(lastColumnX, 0), bg(9));
    EXPECT_EQ(canvas.colorAt(lastColumnX, 4 * kH), bg(9));
}

TEST_F(ScreenPaintTest, ScrollBarTrackAndThumbAreGreys) {
    screen.total_lines = 30;
    screen.pane_offset[0] = 0;
    RecordingScreenCanvas canvas = paintAll(0);
    ASSERT_EQ(screen.bar_cols[0], 2);
    EXPECT_EQ(canvas.colorAt(9 * kW, 1 * kH + 2), 0x606060);     // thumb at the top
    EXPECT_EQ(canvas.colorAt(9 * kW, 3 * kH + 2), 0x808080);     // track below it
    EXPECT_EQ(canvas.colorAt(8 * kW + 1, 2 * kH + 2), 0x808080); // the bar is two columns wide
}

TEST_F(ScreenPaintTest, TheAreaBelowTheGridIsInTheStatusBackground) {
    RecordingScreenCanvas canvas = paintAll();
    EXPECT_EQ(canvas.colorAt(3 * kW, 5 * kH + 4), bg(2));
}

TEST_F(ScreenPaintTest, WithoutAGridOnlyMarginsAndBarsArePainted) {
    screen.cells.clear();
    screen.total_lines = 30;
    RecordingScreenCanvas canvas = paintAll();
    EXPECT_TRUE(canvas.of(PaintOp::Cell).empty());
    EXPECT_EQ(canvas.colorAt(9 * kW, 1 * kH + 2), 0x606060);
    EXPECT_EQ(canvas.colorAt(3 * kW, 5 * kH + 4), bg(2));
}

TEST_F(ScreenPaintTest, PaintingTouchesOnlyTheUpdateArea) {
    screen.move(1, 0);
    screen.addstr("abcdefghij");
    RecordingScreenCanvas canvas;
    screen.paint(canvas, {2 * kW, kH, 4 * kW, 2 * kH}, 10 * kW);
    for (const PaintOp& op : canvas.ops) {
        if (op.kind == PaintOp::Colors) continue;
        EXPECT_GE(op.rect.left, 2 * kW);
        EXPECT_LE(op.rect.right, 4 * kW);
    }
    EXPECT_EQ(canvas.of(PaintOp::Cell).size(), 2u);
}

// Caret blink.

TEST_F(ScreenTest, AFocusedCaretShowsForTwoTicksAndHidesForOne) {
    screen.blink_phase = 0;
    std::vector<bool> shown;
    for (int i = 0; i < 6; ++i) {
        screen.blink_tick(true);
        shown.push_back(screen.blink_phase != 0);
    }
    EXPECT_EQ(shown, (std::vector<bool>{true, true, false, true, true, false}));
}

TEST_F(ScreenTest, AnUnfocusedCaretNeverHides) {
    screen.blink_phase = 0;
    for (int i = 0; i < 7; ++i) {
        screen.blink_tick(false);
        EXPECT_NE(screen.blink_phase, 0);
    }
}

TEST_F(ScreenTest, AMovedCaretStaysShownInEveryPaintUntilTheNextTick) {
    screen.blink_phase = 2;
    screen.move(1, 1);
    RecordingScreenCanvas first;
    screen.paint(first, whole(screen), screen.cols * kW);
    RecordingScreenCanvas second;
    screen.paint(second, whole(screen), screen.cols * kW);  // another paint before the tick
    EXPECT_EQ(first.of(PaintOp::Cell).size(), 1u);
    EXPECT_EQ(second.of(PaintOp::Cell).size(), 1u);
    window->invalidated.clear();
    EXPECT_FALSE(screen.blink_tick(false));  // still shown: nothing to repaint
    EXPECT_TRUE(window->invalidated.empty());
}

TEST_F(ScreenTest, AVisibilityChangeMarksTheCursorCell) {
    screen.blink_phase = 2;
    screen.move(3, 4);
    window->invalidated.clear();
    EXPECT_TRUE(screen.blink_tick(true));  // 2 -> 0: hides
    ASSERT_EQ(window->invalidated.size(), 1u);
    EXPECT_EQ(window->invalidated[0].left, 4 * kW);
    EXPECT_EQ(window->invalidated[0].top, 3 * kH);
}
