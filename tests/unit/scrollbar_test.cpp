#include <gtest/gtest.h>

#include "view/scrollbar/scroll_math.h"

namespace {

ScrollValues values(int minimum, int maximum, unsigned page, int position) {
    ScrollValues v;
    v.minimum = minimum;
    v.maximum = maximum;
    v.page = page;
    v.position = position;
    return v;
}

// A bar whose track is exactly `track` pixels: arrows of 17 at both ends.
BarGeometry barWithTrack(int track, const ScrollValues& v, int minThumb = 6) {
    return computeBarGeometry(track + 34, 17, v, minThumb);
}

} // namespace

TEST(ScrollMulDiv, RoundsHalfAwayFromZero) {
    EXPECT_EQ(mulDiv(20, 200, 101), 40); // 39.6
    EXPECT_EQ(mulDiv(1, 3, 2), 2);       // 1.5
    EXPECT_EQ(mulDiv(1, 5, 4), 1);       // 1.25
    EXPECT_EQ(mulDiv(-1, 3, 2), -2);     // -1.5
    EXPECT_EQ(mulDiv(1, 3, -2), -2);
    EXPECT_EQ(mulDiv(-1, 3, -2), 2);
    EXPECT_EQ(mulDiv(7, 0, 3), 0);
}

TEST(ScrollMulDiv, ZeroDivisorAndOverflowGiveMinusOne) {
    EXPECT_EQ(mulDiv(5, 5, 0), -1);
    EXPECT_EQ(mulDiv(1 << 30, 1 << 30, 1), -1);
    EXPECT_EQ(mulDiv(1 << 30, 1 << 30, 1 << 30), 1 << 30); // 64-bit intermediate
}

TEST(ScrollGeometry, ThumbLengthFromPage) {
    // 100 lines: range 0..100, page 20, track 200 -> MulDiv(20, 200, 101) = 40.
    BarGeometry g = barWithTrack(200, values(0, 100, 20, 0));
    EXPECT_EQ(g.trackLength, 200);
    EXPECT_EQ(g.thumbLength, 40);
    EXPECT_EQ(g.thumbOffset, 0);
    // A page of one line in a long document is held at the minimum thumb.
    EXPECT_EQ(barWithTrack(200, values(0, 5000, 1, 0)).thumbLength, 6);
    EXPECT_EQ(barWithTrack(200, values(0, 5000, 1, 0), 8).thumbLength, 8);
    // No page: the thumb is as long as an arrow.
    EXPECT_EQ(barWithTrack(200, values(0, 100, 0, 0)).thumbLength, 17);
}

TEST(ScrollGeometry, ThumbOffsetFollowsPosition) {
    // Room 160 over positions 0..81 (100 - 20 + 1 = 81 steps).
    EXPECT_EQ(barWithTrack(200, values(0, 100, 20, 81)).thumbOffset, 160);
    EXPECT_EQ(barWithTrack(200, values(0, 100, 20, 40)).thumbOffset, mulDiv(40, 160, 81));
    // Out-of-range positions are clamped to the track.
    EXPECT_EQ(barWithTrack(200, values(0, 100, 20, 500)).thumbOffset, 160);
    EXPECT_EQ(barWithTrack(200, values(0, 100, 20, -50)).thumbOffset, 0);
    // An inverted range has no thumb.
    BarGeometry none = barWithTrack(200, values(5, 2, 0, 0));
    EXPECT_EQ(none.thumbLength, 0);
    EXPECT_EQ(none.thumbOffset, 0);
}

TEST(ScrollGeometry, ShortBarSharesItsLengthBetweenArrows) {
    BarGeometry g = computeBarGeometry(21, 17, values(0, 100, 20, 0), 6);
    EXPECT_EQ(g.arrowLength, 10);
    EXPECT_EQ(g.trackLength, 1);
    EXPECT_FALSE(g.thumbFits());
    EXPECT_EQ(hitTestBar(g, 0), kPartLineUp);
    EXPECT_EQ(hitTestBar(g, 10), kPartNone); // the one track pixel: thumb does not fit
    EXPECT_EQ(hitTestBar(g, 11), kPartLineDown);
}

TEST(ScrollHitTest, EveryPartAlongTheBar) {
    BarGeometry g = barWithTrack(200, values(0, 100, 20, 40)); // thumb 40 at offset 79
    int thumbTop = g.thumbStart();
    EXPECT_EQ(thumbTop, 17 + 79);
    EXPECT_EQ(hitTestBar(g, -1), kPartNone);
    EXPECT_EQ(hitTestBar(g, 0), kPartLineUp);
    EXPECT_EQ(hitTestBar(g, 16), kPartLineUp);
    EXPECT_EQ(hitTestBar(g, 17), kPartPageUp);
    EXPECT_EQ(hitTestBar(g, thumbTop - 1), kPartPageUp);
    EXPECT_EQ(hitTestBar(g, thumbTop), kPartThumb);
    EXPECT_EQ(hitTestBar(g, thumbTop + 39), kPartThumb);
    EXPECT_EQ(hitTestBar(g, thumbTop + 40), kPartPageDown);
    EXPECT_EQ(hitTestBar(g, 216), kPartPageDown);
    EXPECT_EQ(hitTestBar(g, 217), kPartLineDown);
    EXPECT_EQ(hitTestBar(g, 233), kPartLineDown);
    EXPECT_EQ(hitTestBar(g, 234), kPartNone);
}

TEST(ScrollInfo, PageIsLimitedToTheRange) {
    ScrollValues v;
    ScrollRequest r{kScrollRange | kScrollPage | kScrollPosition, 0, 9, 50, 3};
    EXPECT_FALSE(applyScrollRequest(v, r));
    EXPECT_EQ(v.page, 10u);
    EXPECT_EQ(v.position, 0); // only position 0 fits a full page
}

TEST(ScrollInfo, PositionIsClamped) {
    ScrollValues v;
    applyScrollRequest(v, {kScrollRange | kScrollPage, 0, 100, 20, 0});
    applyScrollRequest(v, {kScrollPosition, 0, 0, 0, 1000});
    EXPECT_EQ(v.position, 81);
    applyScrollRequest(v, {kScrollPosition, 0, 0, 0, -5});
    EXPECT_EQ(v.position, 0);
    // Page 0 counts as page 1 for the upper end.
    applyScrollRequest(v, {kScrollPage | kScrollPosition, 0, 0, 0, 1000});
    EXPECT_EQ(v.position, 100);
    // Fields outside the mask stay as they were.
    applyScrollRequest(v, {kScrollPage, 7, 8, 5, 9});
    EXPECT_EQ(v.minimum, 0);
    EXPECT_EQ(v.maximum, 100);
    EXPECT_EQ(v.position, 100);
}

TEST(ScrollInfo, VisibilityRule) {
    ScrollValues v;
    EXPECT_TRUE(applyScrollRequest(v, {kScrollAll, 0, 100, 20, 0}));
    // Page covering the whole range: hidden.
    EXPECT_FALSE(applyScrollRequest(v, {kScrollAll, 0, 100, 101, 0}));
    // Page equal to the maximum still shows (page <= maximum).
    EXPECT_TRUE(applyScrollRequest(v, {kScrollAll, 0, 100, 100, 0}));
    // Both zero: hidden; an empty range: hidden.
    EXPECT_FALSE(applyScrollRequest(v, {kScrollAll, 0, 0, 0, 0}));
    EXPECT_FALSE(applyScrollRequest(v, {kScrollAll, 5, 5, 0, 0}));
    // The disable-no-scroll bit always keeps the bar.
    EXPECT_TRUE(applyScrollRequest(v, {kScrollAll | kScrollDisableNoScroll, 0, 0, 0, 0}));
    // A page request on an inverted range is taken as it is (unsigned comparison).
    ScrollValues w;
    applyScrollRequest(w, {kScrollRange | kScrollPage, 3, 1, 7, 0});
    EXPECT_EQ(w.page, 7u);
}

TEST(ScrollInfo, CanScroll) {
    EXPECT_TRUE(barCanScroll(values(0, 100, 20, 0)));
    EXPECT_FALSE(barCanScroll(values(0, 100, 101, 0)));
    EXPECT_FALSE(barCanScroll(values(0, 0, 0, 0)));
    EXPECT_FALSE(barCanScroll(values(4, 4, 0, 0)));
}

TEST(ScrollDrag, BothTrackEnds) {
    ScrollValues v = values(0, 100, 20, 0);
    BarGeometry g = barWithTrack(200, v);
    // Grabbed 10 pixels into the thumb; pointer far above the bar keeps the thumb at the top.
    int top = dragThumbStart(g, -500, 10);
    EXPECT_EQ(top, g.trackStart);
    EXPECT_EQ(dragPosition(g, v, top), 0);
    // Far below: thumb at the end, largest position maximum - page + 1.
    int bottom = dragThumbStart(g, 5000, 10);
    EXPECT_EQ(bottom, g.trackEnd() - g.thumbLength);
    EXPECT_EQ(dragPosition(g, v, bottom), 100 - 20 + 1);
    // Half-way.
    EXPECT_EQ(dragPosition(g, v, g.trackStart + 80), mulDiv(80, 81, 160));
}

TEST(ScrollDrag, EmptyRangeGivesThePixelOffset) {
    ScrollValues v = values(0, 0, 0, 0);
    BarGeometry g = barWithTrack(200, v);
    EXPECT_EQ(dragPosition(g, v, g.trackStart + 12), 12);
}
