#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "view/scrollbar/scroll_skin.h"
#include "win32_temp_dir.h"
#include "view/scrollbar/skin_scrollbar_win32.h"

namespace {

struct ScrollEvent {
    int code;
    int position;
};

std::vector<ScrollEvent> events;
int frameCalculations = 0;
int buttonUpsReachingTheWindow = 0;

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_VSCROLL) {
        events.push_back({LOWORD(wParam), HIWORD(wParam)});
        return 0;
    }
    if (message == WM_NCCALCSIZE) ++frameCalculations;
    if (message == WM_LBUTTONUP) ++buttonUpsReachingTheWindow;
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
        ASSERT_TRUE(SkinScrollbar::attach(window, nullptr));
        setValues(0, 100, 20, 0);
        pumpPending();
        events.clear();
        frameCalculations = 0;
        buttonUpsReachingTheWindow = 0;
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

// The colour of the track halfway between the thumb and the down arrow.
static COLORREF trackPixel(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    pumpPending();
    HDC dc = GetWindowDC(window);
    RECT r;
    GetWindowRect(window, &r);
    int x = (r.right - r.left) - GetSystemMetrics(SM_CXVSCROLL) / 2;
    COLORREF track = GetPixel(dc, x, (r.bottom - r.top) - GetSystemMetrics(SM_CYVSCROLL) - 20);
    ReleaseDC(window, dc);
    return track;
}

TEST_F(SkinScrollbarTest, SkinnedBarIsPaintedDarkAndThePlainOneIsNot) {
    ASSERT_NE(GetFileAttributesA(skinPath().c_str()), INVALID_FILE_ATTRIBUTES) << "the skin belongs next to the exe";
    COLORREF plain = trackPixel(window);
    SkinSource skin(skinPath());
    SkinScrollbar::detach(window);
    ASSERT_TRUE(SkinScrollbar::attach(window, &skin));
    setValues(0, 100, 20, 0);
    COLORREF skinned = trackPixel(window);
    EXPECT_LT(GetRValue(skinned), 0x40);
    EXPECT_LT(GetGValue(skinned), 0x40);
    EXPECT_LT(GetBValue(skinned), 0x40);
    EXPECT_NE(skinned, plain);
    SkinScrollbar::detach(window);
}

TEST_F(SkinScrollbarTest, LosingTheCaptureEndsAPressAndItsRepeat) {
    POINT down = barPoint(barLength() - GetSystemMetrics(SM_CYVSCROLL) / 2);
    SetCursorPos(down.x, down.y);
    pressAt(down);
    ASSERT_EQ(GetCapture(), window);
    // A message box or Alt+Tab takes the mouse away.
    HWND other = CreateWindowExW(0, testClass(), L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    SetCapture(other);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().code, SB_ENDSCROLL);
    size_t after = events.size();
    pumpUntil([] { return false; });  // well past the 300 ms delay and several repeats
    EXPECT_EQ(events.size(), after);
    ReleaseCapture();
    DestroyWindow(other);
    // The next button release belongs to the window again.
    releaseAt(down);
    EXPECT_EQ(buttonUpsReachingTheWindow, 1);
    EXPECT_EQ(events.size(), after);
}

TEST_F(SkinScrollbarTest, ANarrowWindowIsNotReframedWhenTheValuesAreSetAgain) {
    // Narrower than the bar: the bar is wanted but gets no space.
    SetWindowPos(window, nullptr, 0, 0, GetSystemMetrics(SM_CXVSCROLL) / 2, 200, SWP_NOMOVE | SWP_NOZORDER);
    pumpPending();
    frameCalculations = 0;
    for (int i = 0; i < 20; ++i) setValues(0, 100, 20, 0);
    EXPECT_EQ(frameCalculations, 0);
}

TEST_F(SkinScrollbarTest, HidingTheBarDuringAThumbDragWaitsForTheRelease) {
    POINT thumb = barPoint(GetSystemMetrics(SM_CYVSCROLL) + 5);
    pressAt(thumb);
    frameCalculations = 0;
    setValues(0, 10, 50, 0);  // the document shrank under the drag
    EXPECT_EQ(frameCalculations, 0);
    EXPECT_EQ(clientWidth(window), 240 - GetSystemMetrics(SM_CXVSCROLL));
    releaseAt(thumb);
    EXPECT_GT(frameCalculations, 0);
    EXPECT_EQ(clientWidth(window), 240);
}

TEST(SkinSource, LoadsTheSkinFromALongPathThroughTheFileLayer) {
    Win32TempDir dir;
    std::string folder = dir.file(std::string(120, 'd'));
    ASSERT_TRUE(CreateDirectoryW(helperPath(folder).c_str(), nullptr));
    folder += "\\" + std::string(120, 'e');
    ASSERT_TRUE(CreateDirectoryW(helperPath(folder).c_str(), nullptr));
    std::string path = folder + "\\scrollbar.png";
    ASSERT_GT(path.size(), 260u);
    ASSERT_TRUE(Win32TempDir::writeBytes(path, Win32TempDir::readBytes(skinPath())));
    SkinSource skin(path);
    EXPECT_NE(skin.skin(), nullptr);
}
