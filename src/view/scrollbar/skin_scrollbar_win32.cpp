#include "view/scrollbar/skin_scrollbar_win32.h"

#include <windowsx.h>

#include <memory>
#include <optional>

#include "platform/handles_win32.h"
#include "view/gfx/window_surface_win32.h"
#include "view/layout/dpi_win32.h"
#include "view/scrollbar/bar_painter.h"
#include "view/scrollbar/scroll_controller.h"
#include "view/scrollbar/scroll_skin.h"

namespace SkinScrollbar {
namespace {

constexpr UINT_PTR kSubclassId = 0x5C0B;

// The layer's record for one window.
struct BarWindow {
    explicit BarWindow(HWND w, SkinSource* s) : window(w), skin(s) {}
    BarWindow(const BarWindow&) = delete;
    BarWindow& operator=(const BarWindow&) = delete;

    HWND window;
    SkinSource* skin;
    ScrollController controller;
    BarPictureCache pictures;
    Surface picture;  // the bar being painted
    Surface scratch;  // working space for thumb pictures
    bool leftScrollbar = false;
    int borderLeft = 0, borderRight = 0, borderTop = 0, borderBottom = 0;
    bool preventStyleChange = false;
    // The timers die with the record, so none fires into a window without the layer.
    win32::WindowTimer pressDelayTimer, repeatTimer, hoverTimer;
};

BarWindow* stateOf(HWND window) { return static_cast<BarWindow*>(GetPropW(window, kPropertyName)); }

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

int thickness(HWND window) { return systemMetricForWindow(SM_CXVSCROLL, window); }
int arrowLength(HWND window) { return systemMetricForWindow(SM_CYVSCROLL, window); }

POINT windowOrigin(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return {r.left, r.top};
}

RECT barRect(HWND window, const BarWindow& s) {
    RECT w;
    GetWindowRect(window, &w);
    int width = w.right - w.left;
    int height = w.bottom - w.top;
    int t = thickness(window);
    RECT r;
    r.left = s.leftScrollbar ? s.borderLeft : width - s.borderRight - t;
    r.right = r.left + t;
    r.top = s.borderTop;
    r.bottom = height - s.borderBottom;
    return r;
}

BarGeometry geometryOf(HWND window, const BarWindow& s, const RECT& bar) {
    return computeBarGeometry(bar.bottom - bar.top, arrowLength(window), s.controller.values(), s.controller.minThumb());
}

POINT screenToWindow(HWND window, POINT screen) {
    POINT o = windowOrigin(window);
    return {screen.x - o.x, screen.y - o.y};
}

POINT clientToWindow(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return screenToWindow(window, client);
}

// The part of the bar under a point in window coordinates.
int hitPart(HWND window, const BarWindow& s, POINT p) {
    if (!s.controller.shown()) return kPartNone;
    RECT bar = barRect(window, s);
    if (p.x < bar.left || p.x >= bar.right) return kPartNone;
    return hitTestBar(geometryOf(window, s, bar), p.y - bar.top);
}

POINT pointerInWindow(HWND window) {
    POINT cursor;
    GetCursorPos(&cursor);
    return screenToWindow(window, cursor);
}

// ---- painting ----

void paintBar(HWND window, BarWindow& s, HDC dc) {
    if (!s.controller.shown() || !dc) return;
    RECT bar = barRect(window, s);
    if (bar.right <= bar.left || bar.bottom <= bar.top) return;
    BarGeometry g = s.controller.paintGeometry(geometryOf(window, s, bar));
    if (!s.picture.resize(bar.right - bar.left, bar.bottom - bar.top)) return;
    const ScrollSkin* skin = s.skin ? s.skin->skin() : nullptr;
    // The system colours are only needed for the plain look.
    SystemColours colours = skin ? SystemColours{} : systemColours();
    paintVerticalBar(s.picture, g, s.controller.paintState(), skin, s.pictures, s.scratch, colours);
    copyToWindow(s.picture, 0, 0, dc, bar);
}

void redrawBar(HWND window, BarWindow& s) {
    win32::WindowDC dc(window, win32::WindowDC::Whole);
    paintBar(window, s, dc.get());
}

void recomputeFrame(HWND window) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// Calls the next procedure with the scrollbar styles cleared, so the system never sizes or
// paints bars of its own. The record may be gone afterwards (the call can destroy the
// window), hence it is looked up again.
LRESULT callHidden(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    BarWindow* s = stateOf(window);
    if (!s || s->preventStyleChange) return DefSubclassProc(window, message, wParam, lParam);
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR bars = WS_HSCROLL | WS_VSCROLL;
    s->preventStyleChange = true;
    if (style & bars) SetWindowLongPtrW(window, GWL_STYLE, style & ~bars);
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    s = stateOf(window);
    if (s) {
        if (style & bars) SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | (style & bars));
        s->preventStyleChange = false;
    }
    return result;
}

void setVerticalStyle(HWND window, BarWindow& s, bool on) {
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    LONG_PTR wanted = on ? (style | WS_VSCROLL) : (style & ~static_cast<LONG_PTR>(WS_VSCROLL));
    if (wanted == style) return;
    bool was = s.preventStyleChange;
    s.preventStyleChange = true;
    SetWindowLongPtrW(window, GWL_STYLE, wanted);
    s.preventStyleChange = was;
}

// Carries out what the controller decided, in its order. The window may destroy itself
// while it handles a scroll message; then nothing more is done.
void perform(HWND window, const ScrollEffects& effects) {
    if (effects.releaseCapture && GetCapture() == window) ReleaseCapture();
    if (BarWindow* bar = stateOf(window)) {
        if (effects.stopPressTimers) {
            bar->pressDelayTimer.stop();
            bar->repeatTimer.stop();
        }
        if (effects.stopHover) bar->hoverTimer.stop();
    }
    for (int i = 0; i < effects.messageCount; ++i) {
        const ScrollMessage& m = effects.messages[i];
        SendMessageW(window, WM_VSCROLL, MAKEWPARAM(static_cast<WORD>(m.code), static_cast<WORD>(m.position)), 0);
        if (!stateOf(window)) return;
    }
    if (effects.thumbDoubleClick) {
        SendMessageW(window, kThumbDoubleClick, 1, 0);
        if (!stateOf(window)) return;
    }
    BarWindow* s = stateOf(window);
    if (!s) return;
    if (effects.redraw) redrawBar(window, *s);
    if (effects.startPressDelay) s->pressDelayTimer.start(window, kPressDelayTimer, 300);
    if (effects.startRepeat) s->repeatTimer.start(window, kRepeatTimer, 55);
    if (effects.startHover) s->hoverTimer.start(window, kHoverTimer, 20);
    if (effects.takeCapture) SetCapture(window);
    if (effects.recomputeFrame) recomputeFrame(window);
}

// ---- messages ----

LRESULT calcSize(HWND window, WPARAM wParam, LPARAM lParam) {
    auto* rect = reinterpret_cast<RECT*>(lParam);  // first rectangle in both forms of the message
    RECT proposed = *rect;
    LRESULT result = callHidden(window, WM_NCCALCSIZE, wParam, lParam);
    BarWindow* s = stateOf(window);
    if (!s) return result;
    s->borderLeft = rect->left - proposed.left;
    s->borderTop = rect->top - proposed.top;
    s->borderRight = proposed.right - rect->right;
    s->borderBottom = proposed.bottom - rect->bottom;
    int t = thickness(window);
    bool shown = s->controller.wanted() && rect->right - rect->left >= t;
    if (shown) {
        if (s->leftScrollbar)
            rect->left += t;
        else
            rect->right -= t;
    }
    s->controller.setShown(shown);
    return result;
}

void press(HWND window, BarWindow& s, POINT screen, bool doubleClick) {
    POINT p = screenToWindow(window, screen);
    RECT bar = barRect(window, s);
    perform(window, s.controller.press(hitPart(window, s, p), p.y - bar.top, geometryOf(window, s, bar), doubleClick));
}

bool onTimer(HWND window, BarWindow& s, UINT_PTR id) {
    if (id == kPressDelayTimer) {
        perform(window, s.controller.pressDelayElapsed());
        return true;
    }
    if (id == kRepeatTimer) {
        perform(window, s.controller.repeatTick(hitPart(window, s, pointerInWindow(window))));
        return true;
    }
    if (id == kHoverTimer) {
        POINT cursor;
        GetCursorPos(&cursor);
        RECT hover = barRect(window, s);
        POINT o = windowOrigin(window);
        OffsetRect(&hover, o.x, o.y);
        bool over = PtInRect(&hover, cursor) && WindowFromPoint(cursor) == window;
        perform(window, s.controller.hoverTick(over, over ? hitPart(window, s, screenToWindow(window, cursor)) : kPartNone));
        return true;
    }
    return false;
}

// The frame's messages: sizing, hit-testing and painting the bar, presses on it.
std::optional<LRESULT> frameMessage(HWND window, BarWindow& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCALCSIZE: return calcSize(window, wParam, lParam);
    case WM_NCHITTEST: {
        POINT p = screenToWindow(window, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (s.controller.shown()) {
            RECT bar = barRect(window, s);
            if (PtInRect(&bar, p)) return HTVSCROLL;
        }
        return std::nullopt;
    }
    case WM_NCPAINT:
        redrawBar(window, s);
        return callHidden(window, message, wParam, lParam);
    case WM_NCACTIVATE:
    case WM_SYSCOMMAND: return callHidden(window, message, wParam, lParam);
    case WM_STYLECHANGED:
        if (s.preventStyleChange) return 0;
        if (wParam == static_cast<WPARAM>(GWL_EXSTYLE))
            s.leftScrollbar = (reinterpret_cast<const STYLESTRUCT*>(lParam)->styleNew & WS_EX_LEFTSCROLLBAR) != 0;
        return std::nullopt;
    case WM_NCMOUSEMOVE:
        if (wParam != HTVSCROLL) return std::nullopt;
        perform(window, s.controller.hoverEnter());
        return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (wParam != HTVSCROLL) return std::nullopt;
        press(window, s, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, message == WM_NCLBUTTONDBLCLK);
        return 0;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
        if (wParam == HTVSCROLL) return 0;
        return std::nullopt;
    default: return std::nullopt;
    }
}

// A drag, its end or its loss, and the repeat and hover timers.
std::optional<LRESULT> dragMessage(HWND window, BarWindow& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE: {
        POINT p = clientToWindow(window, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        RECT bar = barRect(window, s);
        ScrollEffects effects =
            s.controller.mouseMove(hitPart(window, s, p), p.y - bar.top, geometryOf(window, s, bar));
        if (!effects.consumed) return std::nullopt;
        perform(window, effects);
        return 0;
    }
    case WM_LBUTTONUP: {
        ScrollEffects effects = s.controller.release();
        if (!effects.consumed) return std::nullopt;
        perform(window, effects);
        return 0;
    }
    case WM_CAPTURECHANGED:
        // Alt+Tab, a message box or another window took the mouse during a press.
        if (reinterpret_cast<HWND>(lParam) != window) perform(window, s.controller.cancel(false));
        return std::nullopt;
    case WM_CANCELMODE: perform(window, s.controller.cancel(true)); return std::nullopt;
    case WM_TIMER:
        if (onTimer(window, s, wParam)) return 0;
        return std::nullopt;
    default: return std::nullopt;
    }
}

LRESULT CALLBACK layerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    BarWindow* s = stateOf(window);
    if (!s) return DefSubclassProc(window, message, wParam, lParam);
    if (std::optional<LRESULT> handled = frameMessage(window, *s, message, wParam, lParam)) return *handled;
    if (std::optional<LRESULT> handled = dragMessage(window, *s, message, wParam, lParam)) return *handled;
    if (message == WM_MOUSEHWHEEL) {
        LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        return result == 0 ? 1 : result;
    }
    if (message == WM_NCDESTROY) detach(window);
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

bool attach(HWND window, SkinSource* skin) {
    if (!window) return false;
    if (stateOf(window)) return true;
    auto s = std::make_unique<BarWindow>(window, skin);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ScrollValues values;
    if (GetScrollInfo(window, SB_VERT, &info)) values = {info.nMin, info.nMax, info.nPage, info.nPos, info.nTrackPos};
    s->leftScrollbar = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    bool wanted = (GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL) != 0;
    DWORD version = GetVersion();
    s->controller.attach(values, wanted, LOBYTE(LOWORD(version)) < 5 ? 8 : 6);
    if (!SetPropW(window, kPropertyName, s.get())) return false;
    if (!SetWindowSubclass(window, layerProc, kSubclassId, 0)) {
        RemovePropW(window, kPropertyName);
        return false;
    }
    s.release();
    recomputeFrame(window);
    return true;
}

bool detach(HWND window) {
    BarWindow* s = stateOf(window);
    if (!s) return false;
    std::unique_ptr<BarWindow> owned(s);
    if (GetCapture() == window && s->controller.pressed()) ReleaseCapture();
    RemoveWindowSubclass(window, layerProc, kSubclassId);
    RemovePropW(window, kPropertyName);
    owned.reset();
    recomputeFrame(window);
    return true;
}

bool isAttached(HWND window) { return stateOf(window) != nullptr; }

BOOL getInfo(HWND window, SCROLLINFO* info) {
    BarWindow* s = stateOf(window);
    if (!s) return GetScrollInfo(window, SB_VERT, info);
    if (!info) return FALSE;
    const ScrollValues& v = s->controller.values();
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
    BarWindow* s = stateOf(window);
    if (!s) return SetScrollInfo(window, SB_VERT, info, redraw);
    if (!info) return s->controller.values().position;
    ScrollUpdate update = s->controller.setInfo({info->fMask, info->nMin, info->nMax, info->nPage, info->nPos});
    if (update.visibilityChange) setVerticalStyle(window, *s, update.shown);
    if (update.recomputeFrame) recomputeFrame(window);
    if (update.redraw && IsWindowVisible(window)) redrawBar(window, *s);
    return update.position;
}

int setPosition(HWND window, int position, BOOL redraw) {
    BarWindow* s = stateOf(window);
    if (!s) return SetScrollPos(window, SB_VERT, position, redraw);
    ScrollUpdate update = s->controller.setPosition(position);
    if (update.redraw && IsWindowVisible(window)) redrawBar(window, *s);
    return update.position;
}

void show(HWND window, bool on) {
    BarWindow* s = stateOf(window);
    if (!s) {
        ShowScrollBar(window, SB_VERT, on ? TRUE : FALSE);
        return;
    }
    s->controller.setWanted(on);
    setVerticalStyle(window, *s, on);
    recomputeFrame(window);
}

void refreshFrame(HWND window) {
    if (BarWindow* s = stateOf(window)) {
        s->pictures.reset();
        recomputeFrame(window);
    }
}

}  // namespace SkinScrollbar
