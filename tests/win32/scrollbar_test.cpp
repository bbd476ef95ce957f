#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "view/scrollbar/skin_scrollbar_win32.h"

namespace {

struct ScrollEvent {
    int code;
    int position;
};

std::vector<ScrollEvent> events;

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_VSCROLL) {
        events.push_back({LOWORD(wParam), HIWORD(wParam)});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* testClass() {
    static const wchar_t* name = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = recordingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = L"OrvaneScrollbarTestWindow";
        RegisterClassW(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

// Pumps messages until the predicate holds or about two seconds have passed.
template <typename Predicate>
bool pumpUntil(Predicate done) {
    for (int i = 0; i < 200 && !done(); ++i) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return done();
}

void pumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

std::string skinPath() {
    char module[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string folder(module, n);
    folder.erase(folder.find_last_of("\\/") + 1);
    return folder + "skin\\mask\\scrollbar.png";
}

class SkinScrollbarTest : public testing::Test {
protected:
    void SetUp() override {
        events.clear();
        window = CreateWindowExW(0, testClass(), L"Orvane scrollbar test", WS_POPUP | WS_VISIBLE | WS_VSCROLL, 100, 100, 240,
                                 320, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(SkinScrollbar::attach(window));
        setValues(0, 100, 20, 0);
        pumpPending();
        events.clear();
    }
    void TearDown() override {
        if (window) DestroyWindow(window);
        pumpPending();
    }

    int setValues(int minimum, int maximum, UINT page, int position) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = minimum;
        info.nMax = maximum;
        info.nPage = page;
        info.nPos = position;
        return SkinScrollbar::setInfo(window, &info, TRUE);
    }

    // Screen point in the middle of the bar at bar-relative y.
    POINT barPoint(int y) const {
        RECT r;
        GetWindowRect(window, &r);
        return {r.right - GetSystemMetrics(SM_CXVSCROLL) / 2, r.top + y};
    }
    int barLength() const {
        RECT r;
        GetWindowRect(window, &r);
        return r.bottom - r.top;
    }
    void pressAt(POINT screen) {
        SendMessageW(window, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(screen.x, screen.y));
    }
    void moveTo(POINT screen) {
        POINT client = screen;
        ScreenToClient(window, &client);
        SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    }
    void releaseAt(POINT screen) {
        POINT client = screen;
        ScreenToClient(window, &client);
        SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    }

    HWND window = nullptr;
};

int clientWidth(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return r.right - r.left;
}

} // namespace

TEST_F(SkinScrollbarTest, AttachTakesTheBarsSpaceAndAnswersHitTests) {
    EXPECT_TRUE(SkinScrollbar::isAttached(window));
    EXPECT_NE(GetPropW(window, SkinScrollbar::kPropertyName), nullptr);
    EXPECT_EQ(clientWidth(window), 240 - GetSystemMetrics(SM_CXVSCROLL));
    POINT p = barPoint(100);
    EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTVSCROLL);
}

TEST_F(SkinScrollbarTest, ArrowPressScrollsAtOnceThenRepeats) {
    POINT down = barPoint(barLength() - GetSystemMetrics(SM_CYVSCROLL) / 2);
    SetCursorPos(down.x, down.y);
    pressAt(down);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, SB_LINEDOWN);
    EXPECT_EQ(GetCapture(), window);
    EXPECT_TRUE(pumpUntil([] { return events.size() >= 3; }));
    for (const ScrollEvent& e : events) EXPECT_EQ(e.code, SB_LINEDOWN);
    size_t before = events.size();
    releaseAt(down);
    // Only the end of the scroll follows an arrow press: no thumb position.
    ASSERT_EQ(events.size(), before + 1);
    EXPECT_EQ(events.back().code, SB_ENDSCROLL);
    EXPECT_NE(GetCapture(), window);
    // The repeat has stopped.
    pumpUntil([] { return false; });
    EXPECT_EQ(events.size(), before + 1);
}

TEST_F(SkinScrollbarTest, ThumbDragToTheEndSendsLargestPositionThenPositionAndEnd) {
    // Thumb at position 0 sits just below the up arrow.
    POINT thumb = barPoint(GetSystemMetrics(SM_CYVSCROLL) + 5);
    pressAt(thumb);
    EXPECT_TRUE(events.empty());
    moveTo({thumb.x, thumb.y + 2000});
    moveTo({thumb.x, thumb.y + 3000});
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, SB_THUMBTRACK);
    EXPECT_EQ(events[0].position, 100 - 20 + 1);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    ASSERT_TRUE(SkinScrollbar::getInfo(window, &info));
    EXPECT_EQ(info.nTrackPos, 81);
    releaseAt({thumb.x, thumb.y + 3000});
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1].code, SB_THUMBPOSITION);
    EXPECT_EQ(events[1].position, 81);
    EXPECT_EQ(events[2].code, SB_ENDSCROLL);
}

TEST_F(SkinScrollbarTest, PageLargerThanRangeHidesTheBar) {
    setValues(0, 10, 50, 0);
    EXPECT_EQ(clientWidth(window), 240);
    POINT p = barPoint(100);
    EXPECT_NE(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTVSCROLL);
    setValues(0, 100, 20, 0);
    EXPECT_EQ(clientWidth(window), 240 - GetSystemMetrics(SM_CXVSCROLL));
}

TEST_F(SkinScrollbarTest, ValuesAreClampedAndReadBack) {
    EXPECT_EQ(setValues(0, 100, 20, 500), 81);
    EXPECT_EQ(SkinScrollbar::setPosition(window, -7, TRUE), 81);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(SkinScrollbar::getInfo(window, &info));
    EXPECT_EQ(info.nPos, 0);
    EXPECT_EQ(info.nMax, 100);
    EXPECT_EQ(info.nPage, 20u);
    info.fMask = 0;
    EXPECT_FALSE(SkinScrollbar::getInfo(window, &info));
}

TEST_F(SkinScrollbarTest, PressIsIgnoredWhenTheBarCannotScroll) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    info.nMax = 10;
    info.nPage = 11;
    SkinScrollbar::setInfo(window, &info, TRUE);
    pressAt(barPoint(barLength() - 3));
    EXPECT_TRUE(events.empty());
    EXPECT_NE(GetCapture(), window);
}

TEST_F(SkinScrollbarTest, DetachRestoresTheWindow) {
    EXPECT_TRUE(SkinScrollbar::detach(window));
    EXPECT_FALSE(SkinScrollbar::isAttached(window));
    EXPECT_EQ(GetPropW(window, SkinScrollbar::kPropertyName), nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)), &recordingProc);
    EXPECT_FALSE(SkinScrollbar::detach(window));
}

TEST_F(SkinScrollbarTest, WithoutTheLayerTheSystemBarIsUsed) {
    SkinScrollbar::detach(window);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = 50;
    info.nPage = 10;
    info.nPos = 7;
    SkinScrollbar::setInfo(window, &info, TRUE);
    SCROLLINFO back{};
    back.cbSize = sizeof back;
    back.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(window, SB_VERT, &back));
    EXPECT_EQ(back.nMax, 50);
    EXPECT_EQ(back.nPos, 7);
    EXPECT_EQ(SkinScrollbar::setPosition(window, 9, TRUE), 7);
    EXPECT_EQ(GetScrollPos(window, SB_VERT), 9);
}

TEST_F(SkinScrollbarTest, SkinnedBarIsPaintedDark) {
    SkinScrollbar::setSkinFile(skinPath());
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    pumpPending();
    HDC dc = GetWindowDC(window);
    RECT r;
    GetWindowRect(window, &r);
    int x = (r.right - r.left) - GetSystemMetrics(SM_CXVSCROLL) / 2;
    COLORREF track = GetPixel(dc, x, (r.bottom - r.top) - GetSystemMetrics(SM_CYVSCROLL) - 20);
    ReleaseDC(window, dc);
    if (GetFileAttributesA(skinPath().c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no skin next to the exe";
    EXPECT_LT(GetRValue(track), 0x40);
    EXPECT_LT(GetGValue(track), 0x40);
    EXPECT_LT(GetBValue(track), 0x40);
}

TEST(SkinScrollbarShowcase, KeepsAWindowOpenWhenAsked) {
    // ORVANE_SHOWCASE_MS=<ms> leaves a skinned test window on screen for a screenshot.
    char value[32] = {};
    if (!GetEnvironmentVariableA("ORVANE_SHOWCASE_MS", value, sizeof value)) GTEST_SKIP();
    SkinScrollbar::setSkinFile(skinPath());
    HWND window = CreateWindowExW(0, testClass(), L"Orvane skinned bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL, 40,
                                  40, 360, 420, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(SkinScrollbar::attach(window));
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = 100;
    info.nPage = 20;
    info.nPos = 30;
    SkinScrollbar::setInfo(window, &info, TRUE);
    DWORD until = GetTickCount() + static_cast<DWORD>(std::atoi(value));
    while (GetTickCount() < until) pumpUntil([] { return false; });
    DestroyWindow(window);
    pumpPending();
}
