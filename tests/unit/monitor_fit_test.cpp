#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

#include "view/layout/monitor_fit.h"

namespace {

const PixelRect kLaptopWorkArea{0, 0, 1366, 728};  // 1366 x 768 less a 40-pixel taskbar
const WindowBox kDefaultMainWindow{50, 50, 1120, 900};

bool inside(const PixelRect& r, const PixelRect& area) {
    return r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom;
}

}  // namespace

TEST(MonitorFit, TheDefaultMainWindowKeepsItsStatusRowOnALaptopScreen) {
    // Moved up first, then only as much shorter as the screen needs; the width fits as it is.
    EXPECT_EQ(fitOntoWorkArea(kDefaultMainWindow, kLaptopWorkArea), (PixelRect{50, 0, 1170, 728}));
}

TEST(MonitorFit, ARectangleLeftOnAnUnpluggedMonitorComesBackWhole) {
    const PixelRect screen{0, 0, 1600, 1200};
    EXPECT_EQ(fitOntoWorkArea({5000, 4000, 1120, 900}, screen), (PixelRect{480, 300, 1600, 1200}));
    EXPECT_EQ(fitOntoWorkArea({-3000, -2000, 630, 210}, screen), (PixelRect{0, 0, 630, 210}));
    // A monitor left of the primary one is a work area with negative coordinates.
    EXPECT_EQ(fitOntoWorkArea({-1500, 100, 700, 500}, {-1920, 0, 0, 1040}), (PixelRect{-1500, 100, -800, 600}));
}

TEST(MonitorFit, ValuesEditedByHandStayInRange) {
    const PixelRect screen{0, 0, 1600, 1200};
    EXPECT_EQ(fitOntoWorkArea({INT_MAX, INT_MAX, INT_MAX, INT_MAX}, screen), screen);
    EXPECT_EQ(fitOntoWorkArea({INT_MIN, 10, 300, -5}, screen), (PixelRect{0, 10, 300, 10}));
    EXPECT_EQ(boxRect({INT_MAX - 5, 0, 100, 100}), (PixelRect{INT_MAX - 5, 0, INT_MAX, 100}));
    // Without a work area there is nothing to fit to.
    EXPECT_EQ(fitOntoWorkArea({5000, 4000, 10, 10}, {0, 0, 0, 0}), (PixelRect{5000, 4000, 5010, 4010}));
}

// Over random boxes and work areas: the result lies inside, keeps every size that fits, is
// the stored rectangle itself when that fits, and otherwise moves no further than needed.
TEST(MonitorFit, AnyBoxEndsInsideMovedAndShrunkNoMoreThanNeeded) {
    std::mt19937 random(24);
    std::uniform_int_distribution<int> coordinate(-5000, 5000), size(-100, 4000);
    for (int round = 0; round < 20000; ++round) {
        PixelRect area{coordinate(random), coordinate(random), 0, 0};
        area.right = area.left + std::max(1, size(random));
        area.bottom = area.top + std::max(1, size(random));
        WindowBox box{coordinate(random), coordinate(random), size(random), size(random)};
        if (round % 4 == 0) box = {area.left + 3, area.top + 2, area.width() / 2, area.height() - 2};
        PixelRect fitted = fitOntoWorkArea(box, area);
        ASSERT_TRUE(inside(fitted, area)) << round;
        ASSERT_EQ(fitted.width(), std::clamp(box.width, 0, area.width())) << round;
        ASSERT_EQ(fitted.height(), std::clamp(box.height, 0, area.height())) << round;
        if (inside(boxRect(box), area) && box.width >= 0 && box.height >= 0) {
            ASSERT_EQ(fitted, boxRect(box)) << round;
        }
        // Any other inside position of the same size is at least as far from the stored one.
        ASSERT_EQ(fitted.left, std::clamp(box.x, area.left, area.right - fitted.width())) << round;
        ASSERT_EQ(fitted.top, std::clamp(box.y, area.top, area.bottom - fitted.height())) << round;
    }
}
