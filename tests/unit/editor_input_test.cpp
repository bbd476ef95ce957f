#include "view/editor_input.h"

#include <gtest/gtest.h>

#include "text/virtual_keys.h"
#include "editor_fixture.h"

namespace {

struct InputTest : EditorFixture {
    HitGeometry geometry(int top = 0, int first = 0) { return {8, 14, top, first}; }
};

TEST_F(InputTest, HitTestMapsCellsToColumnsAndLines) {
    setLines({"abcdef", "xy", "third"});
    EXPECT_EQ(hitTest(doc, geometry(), 8 * 3 + 2, 15 * 2 + 3, false), (TextPosition{3, 2}));
    EXPECT_EQ(hitTest(doc, geometry(), 7, 14, false), (TextPosition{0, 0}));
}

TEST_F(InputTest, ClickRightOfTheLineEndLandsAtTheEnd) {
    setLines({"abcdef", "xy", "third"});
    EXPECT_EQ(hitTest(doc, geometry(), 8 * 30, 15, false), (TextPosition{2, 1}));
    EXPECT_EQ(hitTest(doc, geometry(), 8 * 4 + 7, 14, false), (TextPosition{4, 0}));
}

TEST_F(InputTest, ClickBelowTheLastLineLandsOnIt) {
    setLines({"abcdef", "xy", "third"});
    EXPECT_EQ(hitTest(doc, geometry(), 8, 15 * 20, false), (TextPosition{1, 2}));
}

TEST_F(InputTest, ScrolledViewAddsTopLineAndFirstColumn) {
    fillLines(50, "0123456789abcdef");
    EXPECT_EQ(hitTest(doc, geometry(10, 4), 8 * 3, 15 * 2, false), (TextPosition{7, 12}));
}

TEST_F(InputTest, DragAboveTheWindowStaysOnTheTopLineButAReleaseGoesAbove) {
    fillLines(50, "abc");
    EXPECT_EQ(hitTest(doc, geometry(10), 0, -40, true).line, 10);
    // -40 / 15 truncates toward zero: row -2.
    EXPECT_EQ(hitTest(doc, geometry(10), 0, -40, false).line, 8);
    EXPECT_EQ(hitTest(doc, geometry(10), -30, 0, false).column, 0);
}

TEST_F(InputTest, EmptyDocumentHitsTheOrigin) {
    doc.clearLines();
    EXPECT_EQ(hitTest(doc, geometry(), 100, 100, false), (TextPosition{0, 0}));
}

TEST_F(InputTest, ScrollRequests) {
    BarValues bar{100, 20, 30, 55};
    EXPECT_EQ(scrollTarget(kScrollLineUp, bar), 29);
    EXPECT_EQ(scrollTarget(kScrollLineDown, bar), 31);
    EXPECT_EQ(scrollTarget(kScrollPageUp, bar), 10);
    EXPECT_EQ(scrollTarget(kScrollPageDown, bar), 50);
    EXPECT_EQ(scrollTarget(kScrollThumbTrack, bar), 55);
    EXPECT_EQ(scrollTarget(kScrollTop, bar), 0);
    EXPECT_EQ(scrollTarget(kScrollBottom, bar), 80);
    EXPECT_EQ(scrollTarget(kScrollThumbPosition, bar), 30);
    EXPECT_EQ(scrollTarget(kScrollEnd, bar), 30);
}

TEST_F(InputTest, ScrollRequestsAreLimitedToTheRange) {
    EXPECT_EQ(scrollTarget(kScrollPageDown, BarValues{100, 20, 75, 0}), 80);
    EXPECT_EQ(scrollTarget(kScrollPageUp, BarValues{100, 20, 5, 0}), 0);
    EXPECT_EQ(scrollTarget(kScrollBottom, BarValues{5, 20, 0, 0}), 0);
}

TEST_F(InputTest, WheelTenLinesANotch) {
    EXPECT_EQ(wheelTarget(120, BarValues{100, 20, 25, 0}), 15);
    EXPECT_EQ(wheelTarget(-120, BarValues{100, 20, 25, 0}), 35);
    EXPECT_EQ(wheelTarget(-120, BarValues{12, 13, 0, 0}), 2);
    EXPECT_EQ(wheelTarget(240, BarValues{100, 20, 5, 0}), 0);
    EXPECT_EQ(wheelTarget(-120, BarValues{5, 6, 0, 0}), 0);
    // A smooth wheel's part notch rounds to the nearest line.
    EXPECT_EQ(wheelTarget(-30, BarValues{100, 20, 10, 0}), 13);
}

TEST_F(InputTest, ThumbFollowUp) {
    BarValues bar{100, 20, 30, 0};
    int p = -1;
    EXPECT_TRUE(thumbFollowUp(vk::kPrior, bar, p));
    EXPECT_EQ(p, 10);
    EXPECT_TRUE(thumbFollowUp(vk::kNext, bar, p));
    EXPECT_EQ(p, 50);
    EXPECT_TRUE(thumbFollowUp(vk::kEnd, bar, p));
    EXPECT_EQ(p, 100);
    EXPECT_TRUE(thumbFollowUp(vk::kHome, bar, p));
    EXPECT_EQ(p, 0);
    EXPECT_TRUE(thumbFollowUp(vk::kUp, bar, p));
    EXPECT_EQ(p, 29);
    EXPECT_TRUE(thumbFollowUp(vk::kDown, bar, p));
    EXPECT_EQ(p, 31);
    EXPECT_TRUE(thumbFollowUp(vk::kNext, BarValues{100, 20, 95, 0}, p));
    EXPECT_EQ(p, 100);
    p = -7;
    EXPECT_FALSE(thumbFollowUp(vk::kLeft, bar, p));
    EXPECT_EQ(p, -7);
}

TEST_F(InputTest, ScrollToLinePutsTheLineAtTheTopLeft) {
    fillLines(100, "abcdef");
    caretAt(3, 40);
    view.screenColumn = 3;
    view.screenRow = 10;
    scrollToLine(doc, 15);
    EXPECT_EQ(view.caretLine, 15);
    EXPECT_EQ(view.caretColumn, 0);
    EXPECT_EQ(view.topLine(), 15);
    EXPECT_EQ(view.firstColumn(), 0);
}

TEST_F(InputTest, ClickWithoutMovementLeavesNoSelection) {
    setLines({"abcdef", "xy"});
    host.captured = true;
    beginDragSelection(doc, {3, 0});
    EXPECT_TRUE(doc.selectionActive);
    EXPECT_EQ(caret(), (TextPosition{3, 0}));
    EXPECT_TRUE(endDragSelection(doc, {3, 0}));
    EXPECT_FALSE(doc.selectionActive);
    EXPECT_EQ(caret(), (TextPosition{3, 0}));
}

TEST_F(InputTest, DragUpwardsSelectsFromThePressPoint) {
    setLines({"abcdef", "xyz", "third"});
    host.captured = true;
    beginDragSelection(doc, {2, 2});
    dragSelectionTo(doc, {1, 1});
    dragSelectionTo(doc, {4, 0});
    EXPECT_FALSE(endDragSelection(doc, {4, 0}));
    EXPECT_TRUE(doc.selectionActive);
    EXPECT_EQ(doc.selectionStart, (TextPosition{4, 0}));
    EXPECT_EQ(doc.selectionEnd, (TextPosition{2, 2}));
    EXPECT_EQ(caret(), (TextPosition{4, 0}));
}

TEST_F(InputTest, PressDropsTheOldSelection) {
    setLines({"abcdef", "xyz"});
    select({0, 0}, {2, 1});
    host.captured = true;
    beginDragSelection(doc, {1, 0});
    EXPECT_EQ(doc.selectionStart, (TextPosition{1, 0}));
    EXPECT_EQ(doc.selectionEnd, (TextPosition{1, 0}));
}

}  // namespace
