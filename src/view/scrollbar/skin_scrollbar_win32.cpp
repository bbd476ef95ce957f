#include "view/scrollbar/skin_scrollbar_win32.h"

#include <windowsx.h>

#include <memory>

#include "view/gfx/png_loader.h"
#include "view/gfx/window_surface_win32.h"
#include "view/scrollbar/bar_painter.h"
#include "view/scrollbar/scroll_math.h"
#include "view/scrollbar/scroll_skin.h"

namespace SkinScrollbar {
namespace {

constexpr int kVerticalBar = 1;

struct ScrollBarState {
    bool wanted = false;
    bool shown = false;
    ScrollValues values;
    int barType = kVerticalBar;
    int minThumb = 6;
    BarPictureCache pictures;
};

struct ScrollWindowState {
    explicit ScrollWindowState(HWND w) : window(w) { horizontal.barType = 0; }
    ~ScrollWindowState() {
        // Timers die with the record so none fires into a window without the layer.
        for (UINT_PTR id : {kPressDelayTimer, kRepeatTimer, kHoverTimer}) KillTimer(window, id);
    }
    ScrollWindowState(const ScrollWindowState&) = delete;
    ScrollWindowState& operator=(const ScrollWindowState&) = delete;

    HWND window;
    WNDPROC previous = nullptr;
    ScrollBarState horizontal;
    ScrollBarState vertical;
    bool thumbTracking = false;
    bool leftScrollbar = false;
    int borderLeft = 0, borderRight = 0, borderTop = 0, borderBottom = 0;
    bool preventStyleChange = false;
    UINT scrollMessage = 0;
    int pressedBar = -1, pressedPart = kPartNone;
    int hotBar = -1, hotPart = kPartNone, lastHotPart = kPartNone;
    RECT hoverRect{}; // screen coordinates
    int skinIndex = 0;
};

// The one thumb drag that can run at a time.
struct DragState {
    RECT bar{};         // window coordinates
    int thumbLength = 0;
    int thumbStart = 0; // bar-relative
    int grabOffset = 0;
    int lastPosition = 0;
    int lastHitPart = kPartNone;
};

DragState drag;
ScrollSkin skin;             // skin index 0, kept for the process
bool skinTried = false;
unsigned skinGeneration = 0;
std::string skinPath;        // empty: the executable's folder
Surface barPicture;          // the bar being painted
Surface scratch;             // working space for thumb pictures

ScrollWindowState* stateOf(HWND window) { return static_cast<ScrollWindowState*>(GetPropW(window, kPropertyName)); }

std::string defaultSkinPath() {
    wchar_t module[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, module, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    std::wstring folder(module, n);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    folder += L"skin\\mask\\scrollbar.png";
    int length = WideCharToMultiByte(CP_UTF8, 0, folder.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string path(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, folder.c_str(), -1, path.data(), length, nullptr, nullptr);
    path.resize(static_cast<size_t>(length - 1));
    return path;
}

const ScrollSkin* currentSkin() {
    if (!skinTried) {
        skinTried = true;
        skin.image = loadPNG(skinPath.empty() ? defaultSkinPath() : skinPath);
        skin.layout = skin.image ? readSkinLayout(*skin.image) : ScrollSkinLayout{};
        skin.generation = ++skinGeneration;
    }
    return skin.usable() ? &skin : nullptr;
}

uint32_t fromColorRef(COLORREF c) { return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

SystemColours systemColours() {
    SystemColours c;
    c.scrollbar = fromColorRef(GetSysColor(COLOR_SCROLLBAR));
    c.face = fromColorRef(GetSysColor(COLOR_BTNFACE));
    c.highlight = fromColorRef(GetSysColor(COLOR_BTNHIGHLIGHT));
    c.shadow = fromColorRef(GetSysColor(COLOR_BTNSHADOW));
    c.darkShadow = fromColorRef(GetSysColor(COLOR_3DDKSHADOW));
    c.arrow = fromColorRef(GetSysColor(COLOR_BTNTEXT));
    c.grayArrow = fromColorRef(GetSysColor(COLOR_GRAYTEXT));
    return c;
}

// ---- geometry in window coordinates ----

POINT windowOrigin(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return {r.left, r.top};
}

RECT verticalBarRect(HWND window, const ScrollWindowState& s) {
    RECT w;
    GetWindowRect(window, &w);
    int width = w.right - w.left;
    int height = w.bottom - w.top;
    int thickness = GetSystemMetrics(SM_CXVSCROLL);
    RECT r;
    r.left = s.leftScrollbar ? s.borderLeft : width - s.borderRight - thickness;
    r.right = r.left + thickness;
    r.top = s.borderTop;
    r.bottom = height - s.borderBottom;
    return r;
}

BarGeometry geometryOf(const ScrollWindowState& s, const RECT& bar) {
    return computeBarGeometry(bar.bottom - bar.top, GetSystemMetrics(SM_CYVSCROLL), s.vertical.values, s.vertical.minThumb);
}

POINT screenToWindow(HWND window, POINT screen) {
    POINT o = windowOrigin(window);
    return {screen.x - o.x, screen.y - o.y};
}

POINT clientToWindow(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return screenToWindow(window, client);
}

// Part of the vertical bar under a point in window coordinates.
int hitPart(HWND window, const ScrollWindowState& s, POINT p) {
    if (!s.vertical.shown) return kPartNone;
    RECT bar = verticalBarRect(window, s);
    if (p.x < bar.left || p.x >= bar.right) return kPartNone;
    return hitTestBar(geometryOf(s, bar), p.y - bar.top);
}

// ---- painting ----

void paintBar(HWND window, ScrollWindowState& s, HDC dc) {
    if (!s.vertical.shown || !dc) return;
    RECT bar = verticalBarRect(window, s);
    if (bar.right <= bar.left || bar.bottom <= bar.top) return;
    BarGeometry g = geometryOf(s, bar);
    if (s.thumbTracking) {
        g.thumbLength = drag.thumbLength;
        g.thumbOffset = drag.thumbStart - g.trackStart;
    }
    BarPaintState state;
    state.pressedPart = s.pressedBar == kVerticalBar ? s.pressedPart : kPartNone;
    state.hotPart = s.hotBar == kVerticalBar || s.pressedBar == kVerticalBar ? s.hotPart : kPartNone;
    state.dragging = s.thumbTracking;
    state.canScroll = barCanScroll(s.vertical.values);
    if (!barPicture.resize(bar.right - bar.left, bar.bottom - bar.top)) return;
    paintVerticalBar(barPicture, g, state, currentSkin(), s.vertical.pictures, scratch, systemColours());
    copyToWindow(barPicture, 0, 0, dc, bar);
}

void redrawBar(HWND window, ScrollWindowState& s) {
    HDC dc = GetWindowDC(window);
    if (!dc) return;
    paintBar(window, s, dc);
    ReleaseDC(window, dc);
}

void recomputeFrame(HWND window) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// Calls the previous procedure with the scrollbar styles cleared, so the system never
// sizes or paints bars of its own. The record may be gone afterwards (the call can destroy
// the window), hence it is looked up again.
LRESULT callHidden(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ScrollWindowState* s = stateOf(window);
    WNDPROC previous = s->previous;
    if (s->preventStyleChange) return CallWindowProcW(previous, window, message, wParam, lParam);
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR bars = WS_HSCROLL | WS_VSCROLL;
    s->preventStyleChange = true;
    if (style & bars) SetWindowLongPtrW(window, GWL_STYLE, style & ~bars);
    LRESULT result = CallWindowProcW(previous, window, message, wParam, lParam);
    s = stateOf(window);
    if (s) {
        if (style & bars) SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | (style & bars));
        s->preventStyleChange = false;
    }
    return result;
}

void setVerticalStyle(HWND window, ScrollWindowState& s, bool on) {
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    LONG_PTR wanted = on ? (style | WS_VSCROLL) : (style & ~static_cast<LONG_PTR>(WS_VSCROLL));
    if (wanted == style) return;
    bool was = s.preventStyleChange;
    s.preventStyleChange = true;
    SetWindowLongPtrW(window, GWL_STYLE, wanted);
    s.preventStyleChange = was;
}

// ---- mouse ----

void sendScroll(HWND window, int code, int position = 0) {
    SendMessageW(window, WM_VSCROLL, MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(position)), 0);
}

// While a part is held it looks pressed only with the pointer over it.
void trackPressedPart(HWND window, ScrollWindowState& s, POINT windowPoint) {
    int part = hitPart(window, s, windowPoint);
    int hot = part == s.pressedPart ? s.pressedPart : kPartNone;
    bool changed = part != drag.lastHitPart || hot != s.hotPart;
    drag.lastHitPart = part;
    s.hotPart = hot;
    if (changed) redrawBar(window, s);
}

void press(HWND window, ScrollWindowState& s, POINT screen, bool doubleClick) {
    POINT p = screenToWindow(window, screen);
    int part = hitPart(window, s, p);
    if (part == kPartNone || !barCanScroll(s.vertical.values)) return;
    RECT bar = verticalBarRect(window, s);
    BarGeometry g = geometryOf(s, bar);
    if (part == kPartThumb) {
        if (doubleClick) {
            SendMessageW(window, kThumbDoubleClick, 1, 0);
            return;
        }
        drag.bar = bar;
        drag.thumbLength = g.thumbLength;
        drag.thumbStart = g.thumbStart();
        drag.grabOffset = p.y - bar.top - g.thumbStart();
        drag.lastPosition = s.vertical.values.position;
        drag.lastHitPart = part;
        s.vertical.values.trackPosition = s.vertical.values.position;
        s.thumbTracking = true;
        s.pressedBar = kVerticalBar;
        s.pressedPart = part;
        s.hotPart = part;
        redrawBar(window, s);
        SetCapture(window);
        return;
    }
    s.scrollMessage = WM_VSCROLL;
    s.pressedBar = kVerticalBar;
    s.pressedPart = part;
    s.hotPart = part;
    drag.lastHitPart = part;
    sendScroll(window, part);
    ScrollWindowState* again = stateOf(window);
    if (!again) return;
    redrawBar(window, *again);
    SetTimer(window, kPressDelayTimer, 300, nullptr);
    SetCapture(window);
}

void dragThumb(HWND window, ScrollWindowState& s, POINT windowPoint) {
    RECT bar = drag.bar;
    BarGeometry g = geometryOf(s, bar);
    g.thumbLength = drag.thumbLength;
    drag.thumbStart = dragThumbStart(g, windowPoint.y - bar.top, drag.grabOffset);
    redrawBar(window, s);
    int position = dragPosition(g, s.vertical.values, drag.thumbStart);
    if (position != drag.lastPosition) {
        drag.lastPosition = position;
        s.vertical.values.trackPosition = position;
        sendScroll(window, SB_THUMBTRACK, position);
    }
}

LRESULT release(HWND window, ScrollWindowState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    if (s.pressedPart == kPartNone) return CallWindowProcW(s.previous, window, message, wParam, lParam);
    KillTimer(window, kPressDelayTimer);
    KillTimer(window, kRepeatTimer);
    ReleaseCapture();
    // The window may react to these messages by destroying itself, so the record is
    // looked up again after each.
    if (s.thumbTracking) {
        sendScroll(window, SB_THUMBPOSITION, drag.lastPosition);
        ScrollWindowState* again = stateOf(window);
        if (!again) return 0;
        again->thumbTracking = false;
    }
    sendScroll(window, SB_ENDSCROLL);
    ScrollWindowState* again = stateOf(window);
    if (!again) return 0;
    again->pressedBar = -1;
    again->pressedPart = kPartNone;
    again->hotPart = kPartNone;
    again->scrollMessage = 0;
    redrawBar(window, *again);
    return 0;
}

void hoverStart(HWND window, ScrollWindowState& s) {
    if (s.hotBar == kVerticalBar || !s.vertical.shown) return;
    s.hotBar = kVerticalBar;
    s.hotPart = kPartNone;
    s.hoverRect = verticalBarRect(window, s);
    POINT o = windowOrigin(window);
    OffsetRect(&s.hoverRect, o.x, o.y);
    SetTimer(window, kHoverTimer, 20, nullptr);
    redrawBar(window, s);
}

void hoverPoll(HWND window, ScrollWindowState& s) {
    if (s.thumbTracking || s.pressedPart != kPartNone) return;
    POINT cursor;
    GetCursorPos(&cursor);
    if (PtInRect(&s.hoverRect, cursor) && WindowFromPoint(cursor) == window) {
        int part = hitPart(window, s, screenToWindow(window, cursor));
        if (part != s.hotPart) {
            s.lastHotPart = s.hotPart;
            s.hotPart = part;
            redrawBar(window, s);
        }
        return;
    }
    KillTimer(window, kHoverTimer);
    s.hotBar = -1;
    s.hotPart = kPartNone;
    redrawBar(window, s);
}

bool onTimer(HWND window, ScrollWindowState& s, UINT_PTR id) {
    if (id == kPressDelayTimer) {
        KillTimer(window, kPressDelayTimer);
        SetTimer(window, kRepeatTimer, 55, nullptr);
        return true;
    }
    if (id == kRepeatTimer) {
        POINT cursor;
        GetCursorPos(&cursor);
        trackPressedPart(window, s, screenToWindow(window, cursor));
        if (s.pressedPart != kPartNone && s.hotPart == s.pressedPart) sendScroll(window, s.pressedPart);
        return true;
    }
    if (id == kHoverTimer) {
        hoverPoll(window, s);
        return true;
    }
    return false;
}

// ---- frame ----

LRESULT calcSize(HWND window, WPARAM wParam, LPARAM lParam) {
    auto* rect = reinterpret_cast<RECT*>(lParam); // first rectangle in both forms of the message
    RECT proposed = *rect;
    LRESULT result = callHidden(window, WM_NCCALCSIZE, wParam, lParam);
    ScrollWindowState* s = stateOf(window);
    if (!s) return result;
    s->borderLeft = rect->left - proposed.left;
    s->borderTop = rect->top - proposed.top;
    s->borderRight = proposed.right - rect->right;
    s->borderBottom = proposed.bottom - rect->bottom;
    int thickness = GetSystemMetrics(SM_CXVSCROLL);
    if (s->vertical.wanted && rect->right - rect->left >= thickness) {
        if (s->leftScrollbar) {
            rect->left += thickness;
        } else {
            rect->right -= thickness;
        }
        s->vertical.shown = true;
    } else {
        s->vertical.shown = false;
    }
    return result;
}

LRESULT CALLBACK layerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ScrollWindowState* s = stateOf(window);
    if (!s) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_NCCALCSIZE:
        return calcSize(window, wParam, lParam);
    case WM_NCHITTEST: {
        POINT p = screenToWindow(window, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (s->vertical.shown) {
            RECT bar = verticalBarRect(window, *s);
            if (PtInRect(&bar, p)) return HTVSCROLL;
        }
        break;
    }
    case WM_NCPAINT: {
        redrawBar(window, *s);
        return callHidden(window, message, wParam, lParam);
    }
    case WM_NCACTIVATE:
    case WM_SYSCOMMAND:
        return callHidden(window, message, wParam, lParam);
    case WM_STYLECHANGED:
        if (s->preventStyleChange) return 0;
        if (wParam == static_cast<WPARAM>(GWL_EXSTYLE))
            s->leftScrollbar = (reinterpret_cast<const STYLESTRUCT*>(lParam)->styleNew & WS_EX_LEFTSCROLLBAR) != 0;
        break;
    case WM_NCMOUSEMOVE:
        if (wParam == HTVSCROLL) {
            hoverStart(window, *s);
            return 0;
        }
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTVSCROLL) {
            press(window, *s, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, message == WM_NCLBUTTONDBLCLK);
            return 0;
        }
        break;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
        if (wParam == HTVSCROLL) return 0;
        break;
    case WM_MOUSEMOVE: {
        POINT p = clientToWindow(window, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (s->thumbTracking) {
            dragThumb(window, *s, p);
            return 0;
        }
        if (s->pressedPart != kPartNone) {
            trackPressedPart(window, *s, p);
            return 0;
        }
        break;
    }
    case WM_LBUTTONUP:
        return release(window, *s, message, wParam, lParam);
    case WM_TIMER:
        if (onTimer(window, *s, wParam)) return 0;
        break;
    case WM_MOUSEHWHEEL: {
        LRESULT result = CallWindowProcW(s->previous, window, message, wParam, lParam);
        return result == 0 ? 1 : result;
    }
    case WM_NCDESTROY: {
        WNDPROC previous = s->previous;
        detach(window);
        return CallWindowProcW(previous, window, message, wParam, lParam);
    }
    default:
        break;
    }
    return CallWindowProcW(s->previous, window, message, wParam, lParam);
}

} // namespace

bool attach(HWND window) {
    if (!window) return false;
    if (stateOf(window)) return true;
    auto s = std::make_unique<ScrollWindowState>(window);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (GetScrollInfo(window, SB_VERT, &info)) {
        s->vertical.values = {info.nMin, info.nMax, info.nPage, info.nPos, info.nTrackPos};
    }
    info.fMask = SIF_ALL;
    if (GetScrollInfo(window, SB_HORZ, &info)) {
        s->horizontal.values = {info.nMin, info.nMax, info.nPage, info.nPos, info.nTrackPos};
    }
    s->leftScrollbar = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    s->vertical.wanted = (style & WS_VSCROLL) != 0;
    s->horizontal.wanted = (style & WS_HSCROLL) != 0;
    DWORD version = GetVersion();
    int minThumb = LOBYTE(LOWORD(version)) < 5 ? 8 : 6;
    s->vertical.minThumb = s->horizontal.minThumb = minThumb;
    if (!SetPropW(window, kPropertyName, s.get())) return false;
    ScrollWindowState* raw = s.release();
    raw->previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&layerProc)));
    recomputeFrame(window);
    return true;
}

bool detach(HWND window) {
    ScrollWindowState* s = stateOf(window);
    if (!s) return false;
    std::unique_ptr<ScrollWindowState> owned(s);
    if (GetCapture() == window && s->pressedPart != kPartNone) ReleaseCapture();
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == &layerProc)
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s->previous));
    RemovePropW(window, kPropertyName);
    owned.reset();
    recomputeFrame(window);
    return true;
}

bool isAttached(HWND window) { return stateOf(window) != nullptr; }

BOOL getInfo(HWND window, SCROLLINFO* info) {
    ScrollWindowState* s = stateOf(window);
    if (!s) return GetScrollInfo(window, SB_VERT, info);
    if (!info) return FALSE;
    const ScrollValues& v = s->vertical.values;
    bool copied = false;
    if (info->fMask & SIF_RANGE) {
        info->nMin = v.minimum;
        info->nMax = v.maximum;
        copied = true;
    }
    if (info->fMask & SIF_PAGE) {
        info->nPage = v.page;
        copied = true;
    }
    if (info->fMask & SIF_POS) {
        info->nPos = v.position;
        copied = true;
    }
    if (info->fMask & SIF_TRACKPOS) {
        info->nTrackPos = v.trackPosition;
        copied = true;
    }
    return copied ? TRUE : FALSE;
}

int setInfo(HWND window, const SCROLLINFO* info, BOOL redraw) {
    ScrollWindowState* s = stateOf(window);
    if (!s) return SetScrollInfo(window, SB_VERT, info, redraw);
    if (!info) return s->vertical.values.position;
    ScrollRequest request{info->fMask, info->nMin, info->nMax, info->nPage, info->nPos};
    bool mustShow = applyScrollRequest(s->vertical.values, request);
    int position = s->vertical.values.position;
    if (mustShow != s->vertical.shown) {
        show(window, mustShow); // recomputes the frame
        return position;
    }
    if (!s->thumbTracking && IsWindowVisible(window)) redrawBar(window, *s);
    return position;
}

int setPosition(HWND window, int position, BOOL redraw) {
    ScrollWindowState* s = stateOf(window);
    if (!s) return SetScrollPos(window, SB_VERT, position, redraw);
    int old = s->vertical.values.position;
    s->vertical.values.position = clampScrollPosition(s->vertical.values, position);
    if (!s->thumbTracking && IsWindowVisible(window)) redrawBar(window, *s);
    return old;
}

void show(HWND window, bool on) {
    ScrollWindowState* s = stateOf(window);
    if (!s) {
        ShowScrollBar(window, SB_VERT, on ? TRUE : FALSE);
        return;
    }
    s->vertical.wanted = on;
    setVerticalStyle(window, *s, on);
    recomputeFrame(window);
}

void setSkinFile(const std::string& path) {
    skinPath = path;
    releaseSkin();
}

void releaseSkin() {
    skin.image.reset();
    skin.layout = ScrollSkinLayout{};
    skinTried = false;
}

} // namespace SkinScrollbar
