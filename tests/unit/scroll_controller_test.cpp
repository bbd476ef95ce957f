#include "view/scrollbar/scroll_controller.h"

#include <gtest/gtest.h>

namespace {

// 100 lines, a page of 20, on a bar of 17-pixel arrows and a 200-pixel track.
struct ScrollControllerTest : ::testing::Test {
    ScrollControllerTest() {
        controller.attach({}, true, 6);
        controller.setShown(true);
        controller.setInfo({kScrollRange | kScrollPage | kScrollPosition, 0, 100, 20, 0});
    }
    BarGeometry geometry() const { return computeBarGeometry(234, 17, controller.values(), 6); }
    int downArrowY() const { return 234 - 5; }

    static std::vector<int> codes(const ScrollEffects& e) {
        std::vector<int> out;
        for (int i = 0; i < e.messageCount; ++i) out.push_back(e.messages[i].code);
        return out;
    }

    ScrollController controller;
};

using Codes = std::vector<int>;

TEST_F(ScrollControllerTest, ArrowPressScrollsAtOnceThenRepeatsWhileThePointerStaysOnIt) {
    ScrollEffects press = controller.press(kPartLineDown, downArrowY(), geometry(), false);
    EXPECT_EQ(codes(press), Codes{kPartLineDown});
    EXPECT_TRUE(press.takeCapture);
    EXPECT_TRUE(press.startPressDelay);
    EXPECT_TRUE(press.redraw);
    // The first delay only starts the repeat.
    ScrollEffects delay = controller.pressDelayElapsed();
    EXPECT_TRUE(codes(delay).empty());
    EXPECT_TRUE(delay.startRepeat);
    EXPECT_EQ(codes(controller.repeatTick(kPartLineDown)), Codes{kPartLineDown});
    // Off the arrow the repeat pauses (and the arrow is drawn released); back on, it resumes.
    ScrollEffects off = controller.repeatTick(kPartPageDown);
    EXPECT_TRUE(codes(off).empty());
    EXPECT_TRUE(off.redraw);
    EXPECT_EQ(controller.paintState().hotPart, kPartNone);
    EXPECT_EQ(codes(controller.repeatTick(kPartLineDown)), Codes{kPartLineDown});
    ScrollEffects release = controller.release();
    EXPECT_EQ(codes(release), Codes{kScrollCodeEnd});
    EXPECT_TRUE(release.releaseCapture);
    EXPECT_TRUE(release.stopPressTimers);
    EXPECT_FALSE(controller.pressed());
}

TEST_F(ScrollControllerTest, ThumbDragPastTheEndSendsTheLargestPositionOnce) {
    BarGeometry g = geometry();
    ScrollEffects press = controller.press(kPartThumb, g.thumbStart() + 5, g, false);
    EXPECT_TRUE(codes(press).empty());
    EXPECT_TRUE(controller.thumbTracking());
    ScrollEffects first = controller.mouseMove(kPartNone, 2000, g);
    ASSERT_EQ(first.messageCount, 1);
    EXPECT_EQ(first.messages[0].code, kScrollCodeThumbTrack);
    EXPECT_EQ(first.messages[0].position, 100 - 20 + 1);
    EXPECT_EQ(controller.values().trackPosition, 81);
    EXPECT_TRUE(codes(controller.mouseMove(kPartNone, 3000, g)).empty());
    // The thumb is painted where the pointer put it: at the end of the track.
    BarGeometry painted = controller.paintGeometry(g);
    EXPECT_EQ(painted.thumbStart() + painted.thumbLength, g.trackEnd());
    ScrollEffects release = controller.release();
    ASSERT_EQ(release.messageCount, 2);
    EXPECT_EQ(release.messages[0].code, kScrollCodeThumbPosition);
    EXPECT_EQ(release.messages[0].position, 81);
    EXPECT_EQ(release.messages[1].code, kScrollCodeEnd);
    EXPECT_FALSE(controller.thumbTracking());
}

TEST_F(ScrollControllerTest, LosingTheCaptureEndsThePressLikeARelease) {
    controller.press(kPartLineDown, downArrowY(), geometry(), false);
    ScrollEffects lost = controller.cancel(false);
    EXPECT_EQ(codes(lost), Codes{kScrollCodeEnd});
    EXPECT_TRUE(lost.stopPressTimers);
    EXPECT_FALSE(lost.releaseCapture);  // it is gone already
    EXPECT_FALSE(controller.pressed());
    // A late repeat tick stops its timer and sends nothing; the next release is not the bar's.
    ScrollEffects tick = controller.repeatTick(kPartLineDown);
    EXPECT_TRUE(codes(tick).empty());
    EXPECT_TRUE(tick.stopPressTimers);
    EXPECT_FALSE(controller.release().consumed);
    // A drag ended this way reports where it got to.
    BarGeometry g = geometry();
    controller.press(kPartThumb, g.thumbStart() + 1, g, false);
    controller.mouseMove(kPartNone, g.thumbStart() + 41, g);
    ScrollEffects cancelled = controller.cancel(true);
    EXPECT_TRUE(cancelled.releaseCapture);
    EXPECT_EQ(codes(cancelled), (Codes{kScrollCodeThumbPosition, kScrollCodeEnd}));
}

TEST_F(ScrollControllerTest, PressesDoNothingWhenTheBarCannotScroll) {
    controller.setInfo({kScrollRange | kScrollPage | kScrollDisableNoScroll, 0, 10, 11, 0});
    ScrollEffects press = controller.press(kPartLineDown, downArrowY(), geometry(), false);
    EXPECT_TRUE(codes(press).empty());
    EXPECT_FALSE(press.takeCapture);
    EXPECT_FALSE(controller.pressed());
}

TEST_F(ScrollControllerTest, ThumbDoubleClickIsReportedNotDragged) {
    BarGeometry g = geometry();
    ScrollEffects twice = controller.press(kPartThumb, g.thumbStart() + 1, g, true);
    EXPECT_TRUE(twice.thumbDoubleClick);
    EXPECT_FALSE(controller.thumbTracking());
}

TEST_F(ScrollControllerTest, HoverLightsThePartUnderThePointerAndEndsWhenItLeaves) {
    ScrollEffects enter = controller.hoverEnter();
    EXPECT_TRUE(enter.startHover);
    EXPECT_TRUE(controller.hoverEnter().messageCount == 0 && !controller.hoverEnter().startHover);
    EXPECT_TRUE(controller.hoverTick(true, kPartLineUp).redraw);
    EXPECT_EQ(controller.paintState().hotPart, kPartLineUp);
    EXPECT_FALSE(controller.hoverTick(true, kPartLineUp).redraw);  // nothing changed, nothing painted
    ScrollEffects leave = controller.hoverTick(false, kPartNone);
    EXPECT_TRUE(leave.stopHover);
    EXPECT_TRUE(leave.redraw);
    EXPECT_FALSE(controller.hot());
}

TEST_F(ScrollControllerTest, SettingTheSameValuesAgainPaintsNothing) {
    ScrollUpdate same = controller.setInfo({kScrollRange | kScrollPage | kScrollPosition, 0, 100, 20, 0});
    EXPECT_FALSE(same.redraw);
    EXPECT_FALSE(same.visibilityChange);
    EXPECT_TRUE(controller.setInfo({kScrollRange | kScrollPage, 0, 120, 20, 0}).redraw);
    EXPECT_FALSE(controller.setPosition(0).redraw);
    EXPECT_TRUE(controller.setPosition(7).redraw);
}

TEST_F(ScrollControllerTest, VisibilityFollowsWhatIsWantedNotWhatGotSpace) {
    // Too narrow for the bar: wanted, but no space given.
    controller.setShown(false);
    ScrollUpdate again = controller.setInfo({kScrollRange | kScrollPage, 0, 100, 20, 0});
    EXPECT_FALSE(again.visibilityChange);
    EXPECT_FALSE(again.recomputeFrame);
    ScrollUpdate hide = controller.setInfo({kScrollRange | kScrollPage, 0, 10, 50, 0});
    EXPECT_TRUE(hide.visibilityChange);
    EXPECT_FALSE(hide.shown);
    EXPECT_TRUE(hide.recomputeFrame);
    EXPECT_FALSE(controller.wanted());
}

TEST_F(ScrollControllerTest, TheFrameWaitsForTheEndOfAThumbDrag) {
    BarGeometry g = geometry();
    controller.press(kPartThumb, g.thumbStart() + 1, g, false);
    ScrollUpdate hide = controller.setInfo({kScrollRange | kScrollPage, 0, 10, 50, 0});
    EXPECT_TRUE(hide.visibilityChange);
    EXPECT_FALSE(hide.recomputeFrame);
    EXPECT_FALSE(controller.setInfo({kScrollPosition, 0, 0, 0, 3}).redraw);  // the drag owns the picture
    EXPECT_TRUE(controller.release().recomputeFrame);
}

}  // namespace
