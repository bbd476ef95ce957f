#include <gtest/gtest.h>
#include <windows.h>

#include "view/layout/monitor_fit_win32.h"

namespace {

RECT primaryWorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(MonitorFitWin32, ARectangleFarOffScreenOpensOnTheNearestWorkArea) {
    RECT work = primaryWorkArea();
    ASSERT_GT(work.right - work.left, 200);
    // Far beyond the bottom right of every monitor: the nearest is the one there is.
    RECT shown = fitOntoNearestWorkArea({work.right + 20000, work.bottom + 20000, 150, 120});
    EXPECT_TRUE(sameRect(shown, RECT{work.right - 150, work.bottom - 120, work.right, work.bottom}))
        << shown.left << "," << shown.top << " " << shown.right << "," << shown.bottom;
    // Taller than the screen: moved to the top and as tall as the work area.
    shown = fitOntoNearestWorkArea({work.left + 10, work.top + 30, 100, (work.bottom - work.top) * 2});
    EXPECT_TRUE(sameRect(shown, RECT{work.left + 10, work.top, work.left + 110, work.bottom}));
}

TEST(MonitorFitWin32, AWindowThatFitsIsPlacedExactlyAsStored) {
    RECT work = primaryWorkArea();
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    RECT shown = placeOnNearestWorkArea(window, {work.left + 7, work.top + 9, 123, 77});
    RECT actual{};
    GetWindowRect(window, &actual);
    EXPECT_TRUE(sameRect(shown, RECT{work.left + 7, work.top + 9, work.left + 130, work.top + 86}));
    EXPECT_TRUE(sameRect(actual, shown));
    shown = placeOnNearestWorkArea(window, {-40000, -40000, 123, 77});
    GetWindowRect(window, &actual);
    EXPECT_TRUE(sameRect(actual, RECT{work.left, work.top, work.left + 123, work.top + 77}));
    DestroyWindow(window);
}
