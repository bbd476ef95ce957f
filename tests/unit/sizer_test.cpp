#include <gtest/gtest.h>

#include <vector>

#include "view/layout/paint_buffer.h"
#include "view/layout/sizer_math.h"

namespace {

// The preferences window's two panes in a 400 x 300 parent.
std::vector<SizerItemPlan> twoPanes() {
    std::vector<SizerItemPlan> items(2);
    items[0].initial = {0, 0, 200, 300};
    items[0].factors = {0, 0, 0.5f, 1};
    items[1].initial = {200, 0, 400, 300};
    items[1].factors = {0.5f, 0, 1, 1};
    return items;
}

} // namespace

TEST(SizerAnchors, ShiftByFactor) {
    EXPECT_EQ(anchorShift(200, 1.0f), 200);
    EXPECT_EQ(anchorShift(200, 2.0f), 200);
    EXPECT_EQ(anchorShift(200, 0.5f), 100);
    EXPECT_EQ(anchorShift(201, 0.5f), 100); // half pixel lost
    EXPECT_EQ(anchorShift(-201, 0.5f), -100); // toward zero
    EXPECT_EQ(anchorShift(200, 0.0f), 0);
    EXPECT_EQ(anchorShift(200, -1.0f), 0);
}

TEST(SizerLayout, WiderParentMovesHalfAndWholeEdges) {
    auto items = twoPanes();
    layoutSizerItems(items, {0, 0, 600, 300}, 400, 300, 0, 0);
    EXPECT_EQ(items[0].placed, (PixelRect{0, 0, 300, 300}));
    EXPECT_EQ(items[1].placed, (PixelRect{300, 0, 600, 300}));
    // Odd growth: each half loses the half pixel.
    layoutSizerItems(items, {0, 0, 401, 310}, 400, 300, 0, 0);
    EXPECT_EQ(items[0].placed, (PixelRect{0, 0, 200, 310}));
    EXPECT_EQ(items[1].placed, (PixelRect{200, 0, 401, 310}));
}

TEST(SizerLayout, ShrinkingNeverInvertsAnItem) {
    auto items = twoPanes();
    layoutSizerItems(items, {0, 0, 200, 100}, 400, 300, 0, 0);
    EXPECT_EQ(items[0].placed, (PixelRect{0, 0, 100, 100}));
    EXPECT_EQ(items[1].placed, (PixelRect{100, 0, 200, 100}));
    // Far smaller than the initial size: right and bottom stop at left and top.
    std::vector<SizerItemPlan> fixed(1);
    fixed[0].initial = {50, 40, 80, 60};
    fixed[0].factors = {0, 0, 1, 1};
    layoutSizerItems(fixed, {0, 0, 10, 10}, 400, 300, 0, 0);
    EXPECT_EQ(fixed[0].placed, (PixelRect{50, 40, 50, 40}));
}

TEST(SizerLayout, FullCoverItemFollowsTheClient) {
    std::vector<SizerItemPlan> items(1);
    items[0].initial = {0, 0, 630, 210};
    items[0].factors = {0, 0, 1, 1};
    layoutSizerItems(items, {0, 0, 700, 250}, 630, 210, 256, 256);
    EXPECT_EQ(items[0].placed, (PixelRect{0, 0, 700, 250}));
}

TEST(SizerDpi, ScaleFromDpi) {
    EXPECT_EQ(scaleFromDpi(96), 256);
    EXPECT_EQ(scaleFromDpi(144), 384);
    EXPECT_EQ(scaleFromDpi(120), 320);
}

TEST(SizerDpi, From96To144) {
    // Initialised at 96 DPI (base 256) with a 400 x 300 client; now shown at 144 DPI with the
    // client grown to 1.5 times the size plus 30 pixels of real growth.
    auto items = twoPanes();
    layoutSizerItems(items, {0, 0, 630, 450}, 400, 300, 384, 256);
    // In base units the client is 630*256/384 = 420 wide, 300 high: dx 20, dy 0.
    EXPECT_EQ(items[0].last, (PixelRect{0, 0, 210, 300}));
    EXPECT_EQ(items[1].last, (PixelRect{210, 0, 420, 300}));
    // Placed at 1.5 times those coordinates.
    EXPECT_EQ(items[0].placed, (PixelRect{0, 0, 315, 450}));
    EXPECT_EQ(items[1].placed, (PixelRect{315, 0, 630, 450}));
}

TEST(SizerDpi, UnavailableScaleConvertsNothing) {
    auto items = twoPanes();
    layoutSizerItems(items, {0, 0, 600, 300}, 400, 300, 0, 256);
    EXPECT_EQ(items[0].placed, (PixelRect{0, 0, 300, 300}));
    layoutSizerItems(items, {0, 0, 600, 300}, 400, 300, 384, 0);
    EXPECT_EQ(items[0].placed, (PixelRect{0, 0, 300, 300}));
}

TEST(BackgroundPlan, WholeClientUpTo2047) {
    PaintBufferPlan p = planPaintBuffer(2047, 2047, {10, 20, 30, 40});
    EXPECT_EQ(p.originX, 0);
    EXPECT_EQ(p.originY, 0);
    EXPECT_EQ(p.width, 2047);
    EXPECT_EQ(p.height, 2047);
}

TEST(BackgroundPlan, OnlyTheUpdateRectangleBeyond2047) {
    PaintBufferPlan wide = planPaintBuffer(2048, 100, {10, 20, 30, 60});
    EXPECT_EQ(wide.originX, 10);
    EXPECT_EQ(wide.originY, 20);
    EXPECT_EQ(wide.width, 20);
    EXPECT_EQ(wide.height, 40);
    PaintBufferPlan tall = planPaintBuffer(100, 3000, {0, 2500, 100, 2600});
    EXPECT_EQ(tall.originY, 2500);
    EXPECT_EQ(tall.height, 100);
}

TEST(BackgroundPlan, FillsOnlyTheUpdatePartAndNeverShrinks) {
    Surface buffer;
    PixelRect update{2, 1, 4, 3};
    PaintBufferPlan plan = planPaintBuffer(6, 5, update);
    ASSERT_TRUE(prepareBackground(buffer, plan, {0, 0, 6, 5}));
    buffer.clear(0u);
    ASSERT_TRUE(prepareBackground(buffer, plan, update));
    EXPECT_EQ(buffer.pixel(2, 1), kBackgroundFill);
    EXPECT_EQ(buffer.pixel(3, 2), kBackgroundFill);
    EXPECT_EQ(buffer.pixel(1, 1), 0u);
    EXPECT_EQ(buffer.pixel(4, 2), 0u);
    // A smaller client later keeps the larger buffer.
    ASSERT_TRUE(prepareBackground(buffer, planPaintBuffer(2, 2, {0, 0, 2, 2}), {0, 0, 2, 2}));
    EXPECT_EQ(buffer.width(), 6);
    EXPECT_EQ(buffer.height(), 5);
    // A buffered update rectangle lands at the buffer's origin.
    Surface partial;
    PixelRect far{3000, 10, 3002, 12};
    ASSERT_TRUE(prepareBackground(partial, planPaintBuffer(4000, 100, far), far));
    EXPECT_EQ(partial.width(), 2);
    EXPECT_EQ(partial.pixel(0, 0), kBackgroundFill);
    EXPECT_EQ(partial.pixel(1, 1), kBackgroundFill);
}
