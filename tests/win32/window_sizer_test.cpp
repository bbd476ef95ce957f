#include <gtest/gtest.h>
#include <windows.h>

#include "view/layout/background_painter_win32.h"
#include "view/layout/dpi_win32.h"
#include "view/layout/sizer_math.h"
#include "view/layout/window_sizer_win32.h"

namespace {

HWND makeWindow(HWND parent, int x, int y, int w, int h) {
    DWORD style = parent ? (WS_CHILD | WS_VISIBLE) : (WS_POPUP | WS_VISIBLE);
    return CreateWindowExW(0, L"STATIC", L"", style, x, y, w, h, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

RECT placeOf(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void pumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

} // namespace

TEST(WindowSizer, TwoPanesFollowTheParent) {
    HWND parent = makeWindow(nullptr, 50, 50, 400, 300);
    HWND left = makeWindow(parent, 0, 0, 200, 300);
    HWND right = makeWindow(parent, 200, 0, 200, 300);
    WindowSizer sizer;
    sizer.init(parent);
    sizer.add(left, 0, 0, 0.5f, 1);
    sizer.add(right, 0.5f, 0, 1, 1);
    SetWindowPos(parent, nullptr, 0, 0, 600, 280, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    sizer.resize();
    RECT l = placeOf(left), r = placeOf(right);
    EXPECT_EQ(l.right, 300);
    EXPECT_EQ(l.bottom, 280);
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.right, 600);
    // Both children cover everything: nothing is left to repaint in the parent.
    pumpPending();
    ValidateRect(parent, nullptr);
    sizer.resize();
    EXPECT_FALSE(GetUpdateRect(parent, nullptr, FALSE));
    DestroyWindow(parent);
}

TEST(WindowSizer, UncoveredAreaIsInvalidated) {
    HWND parent = makeWindow(nullptr, 50, 50, 300, 200);
    HWND child = makeWindow(parent, 0, 0, 100, 200);
    WindowSizer sizer;
    sizer.init(parent);
    sizer.add(child, 0, 0, 0, 1);
    pumpPending();
    ValidateRect(parent, nullptr);
    sizer.resize();
    RECT update;
    ASSERT_TRUE(GetUpdateRect(parent, &update, FALSE));
    EXPECT_EQ(update.left, 100);
    EXPECT_EQ(update.right, 300);
    DestroyWindow(parent);
}

TEST(DpiScale, OnlyAPerMonitorAwareThreadGetsScales) {
    using SetContextFn = HANDLE(WINAPI*)(HANDLE);
    auto set = reinterpret_cast<SetContextFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
    ASSERT_NE(set, nullptr);
    const HANDLE perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4));
    const HANDLE unaware = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));
    HANDLE before = set(unaware);
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(dpiScale(nullptr), 0);
    HWND window = makeWindow(nullptr, 10, 10, 100, 100);
    EXPECT_EQ(dpiScale(window), 0);
    // Systems that know the per-monitor version 2 context give real scales under it (Wine 8
    // refuses that context, so there only the unaware half can be seen).
    if (set(perMonitorV2)) {
        EXPECT_EQ(dpiScale(nullptr), 256);
        EXPECT_EQ(dpiScale(window), scaleFromDpi(GetDpiForWindow(window)));
    }
    DestroyWindow(window);
    set(before);
}

TEST(BackgroundPainter, FillsAroundChildren) {
    HWND parent = makeWindow(nullptr, 60, 60, 120, 80);
    HWND child = makeWindow(parent, 0, 0, 40, 80);
    pumpPending();
    UpdateWindow(child);
    InvalidateRect(parent, nullptr, FALSE);
    BackgroundPainter painter;
    painter.begin(parent);
    painter.begin(parent); // ignored while a paint runs
    EXPECT_EQ(painter.buffer().width(), 120);
    EXPECT_EQ(painter.buffer().pixel(100, 10), 0xFFFFFF80u);
    painter.end();
    HDC dc = GetDC(parent);
    EXPECT_EQ(GetPixel(dc, 100, 10), RGB(0xFF, 0xFF, 0x80));
    EXPECT_NE(GetPixel(dc, 10, 10), RGB(0xFF, 0xFF, 0x80));
    ReleaseDC(parent, dc);
    DestroyWindow(parent);
}
