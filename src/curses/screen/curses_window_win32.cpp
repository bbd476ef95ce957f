#include "curses/screen/curses_window_win32.h"

#include <windowsx.h>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/handles_win32.h"
#include "platform/keyboard_win32.h"
#include "platform/out_of_memory_win32.h"
#include "text/virtual_keys.h"

namespace {

COLORREF toColorRef(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// The screen's side of one window: its handle, font, blink timer and mouse capture.
class CursesWindowPort final : public ScreenWindow {
public:
    CursesWindowPort(HWND window, CursesScreen* screen) : window_(window), screen_(screen) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(screen));
        timer_.start(window_, kCursesBlinkTimer, kCursesBlinkMs);
    }
    ~CursesWindowPort() override {
        // The link goes first, so messages sent while letting go reach the default handler;
        // a window that another screen took over keeps that screen.
        if (IsWindow(window_) && GetWindowLongPtrW(window_, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(screen_))
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        capture_.release();
        timer_.stop();
    }

    void invalidate(const PixelRect& area) override {
        RECT r{area.left, area.top, area.right, area.bottom};
        InvalidateRect(window_, &r, FALSE);
    }
    void invalidateAll() override { InvalidateRect(window_, nullptr, FALSE); }
    PixelSize clientSize() const override {
        RECT r{};
        GetClientRect(window_, &r);
        return {r.right - r.left, r.bottom - r.top};
    }
    bool createFont() override {
        if (!font_)
            font_.reset(CreateFontW(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, FF_MODERN | DEFAULT_PITCH, L"Courier New"));
        return static_cast<bool>(font_);
    }
    PixelSize measureFont() override {
        if (!font_) return {};
        if (paintDc_) return measureWith(paintDc_);
        win32::WindowDC dc(window_);
        return dc ? measureWith(dc.get()) : PixelSize{};
    }
    bool hasFocus() const override { return GetFocus() == window_; }
    void captureMouse() override { capture_.take(window_); }
    void releaseMouse() override { capture_.release(); }
    void* nativeHandle() const override { return window_; }

    HWND handle() const { return window_; }
    HFONT font() const { return font_.get(); }
    void setPaintDc(HDC dc) { paintDc_ = dc; }

private:
    PixelSize measureWith(HDC dc) const {
        TEXTMETRICW metrics{};
        BOOL measured = FALSE;
        {
            win32::SelectedObject font(dc, font_.get());
            measured = GetTextMetricsW(dc, &metrics);
        }
        if (!measured) return {};
        return {metrics.tmAveCharWidth, metrics.tmHeight};
    }

    HWND window_;
    CursesScreen* screen_;
    win32::Font font_;
    win32::WindowTimer timer_;
    win32::MouseCapture capture_;
    HDC paintDc_ = nullptr;
};

// Solid fills and one-character cells with GDI; one brush per colour for the paint.
class GdiScreenCanvas final : public ScreenCanvas {
public:
    explicit GdiScreenCanvas(HDC dc) : dc_(dc) {}
    void fill(const PixelRect& area, uint32_t rgb) override {
        RECT r{area.left, area.top, area.right, area.bottom};
        FillRect(dc_, &r, brush(rgb));
    }
    void setTextColors(uint32_t foreground, uint32_t background) override {
        SetTextColor(dc_, toColorRef(foreground));
        SetBkColor(dc_, toColorRef(background));
    }
    void drawCell(const PixelRect& cell, char16_t character) override {
        RECT r{cell.left, cell.top, cell.right, cell.bottom};
        wchar_t unit = static_cast<wchar_t>(character);
        ExtTextOutW(dc_, cell.left, cell.top, ETO_OPAQUE | ETO_CLIPPED, &r, &unit, 1, nullptr);
    }

private:
    HBRUSH brush(uint32_t rgb) {
        for (auto& [color, b] : brushes_)
            if (color == rgb) return b.get();
        brushes_.emplace_back(rgb, win32::Brush(CreateSolidBrush(toColorRef(rgb))));
        return brushes_.back().second.get();
    }

    HDC dc_;
    std::vector<std::pair<uint32_t, win32::Brush>> brushes_;
};

CursesScreen* screenOf(HWND window) { return reinterpret_cast<CursesScreen*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

// The port of a screen attached to this very window, or null.
CursesWindowPort* portOf(CursesScreen* screen, HWND window) {
    if (!screen || !screen->window) return nullptr;
    auto* port = static_cast<CursesWindowPort*>(screen->window.get());
    return port->handle() == window ? port : nullptr;
}

void paint(CursesScreen& screen, CursesWindowPort& port, HWND window) {
    win32::PaintDC dc(window);
    if (!dc.get()) return;
    port.setPaintDc(dc.get());
    screen.refresh_metrics();
    win32::SelectedObject font(dc.get(), port.font());
    SetTextAlign(dc.get(), TA_LEFT | TA_TOP);
    SetBkMode(dc.get(), OPAQUE);
    RECT client{};
    GetClientRect(window, &client);
    const RECT& area = dc.area();
    GdiScreenCanvas canvas(dc.get());
    screen.paint(canvas, {area.left, area.top, area.right, area.bottom}, client.right - client.left);
    port.setPaintDc(nullptr);
}

LPCWSTR pointerFor(PointerShape shape) {
    switch (shape) {
    case PointerShape::SizeNorthSouth: return IDC_SIZENS;
    case PointerShape::IBeam: return IDC_IBEAM;
    default: return IDC_ARROW;
    }
}

int forwardMouse(CursesScreen& screen, CursesWindowPort& port, MouseAction action, int x, int y, WPARAM keys, int wheel) {
    if (!screen.mouse_callback) return 0;
    MouseEvent event;
    event.action = action;
    event.x = x;
    event.y = y;
    event.wheel_delta = wheel;
    event.held.shift = (keys & MK_SHIFT) != 0;
    event.held.ctrl = (keys & MK_CONTROL) != 0;
    return screen.mouse_callback(screen.user_data, port, event);
}

// Wheel messages carry the pointer in screen coordinates.
int forwardWheel(CursesScreen& screen, CursesWindowPort& port, HWND window, int delta, WPARAM keys, LPARAM lParam) {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(window, &p);
    return forwardMouse(screen, port, MouseAction::Wheel, p.x, p.y, keys, delta);
}

MouseAction mouseActionOf(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN: return MouseAction::LeftDown;
    case WM_RBUTTONDOWN: return MouseAction::RightDown;
    case WM_LBUTTONUP: return MouseAction::LeftUp;
    case WM_RBUTTONUP: return MouseAction::RightUp;
    case WM_LBUTTONDBLCLK: return MouseAction::LeftDoubleClick;
    case WM_RBUTTONDBLCLK: return MouseAction::RightDoubleClick;
    case WM_MBUTTONDBLCLK: return MouseAction::MiddleDoubleClick;
    default: return MouseAction::Move;
    }
}

int registrations = 0;

}  // namespace

bool register_curses_window_class(HINSTANCE instance) {
    if (registrations++ > 0) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = guardedProcedure<cursesWindowProc>;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;
    wc.lpszClassName = kCursesWindowClass;
    if (RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) return true;
    registrations = 0;
    return false;
}

bool attach_curses_window(CursesScreen& screen, HWND window) {
    if (!window || !IsWindow(window)) return false;
    // A previous window lets go of the screen first.
    screen.window.reset();
    screen.attach_window(std::make_unique<CursesWindowPort>(window, &screen));
    return true;
}

namespace {

// A key message into the screen's key queue; false for one the system keeps.
bool takeKey(CursesScreen& screen, UINT message, WPARAM wParam) {
    switch (message) {
    case WM_SYSKEYDOWN:
        // F10 arrives as a system key; other Alt combinations stay the system's.
        if (wParam != vk::kF10) return false;
        [[fallthrough]];
    case WM_KEYDOWN:
        screen.enqueue_key(translate_key_down(static_cast<int>(wParam), heldModifierKeys()),
                           heldModifierKeys());
        return true;
    case WM_CHAR: screen.enqueue_key(translate_char(static_cast<unsigned>(wParam)), heldModifierKeys()); return true;
    default: return true;  // WM_KEYUP
    }
}

// A mouse message to the screen's mouse handler.
LRESULT mouseMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A button press takes the focus first, which may detach the screen.
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) SetFocus(window);
    CursesScreen* screen = screenOf(window);
    CursesWindowPort* port = portOf(screen, window);
    if (!port) return 0;
    switch (message) {
    case WM_MOUSEWHEEL:
        return forwardWheel(*screen, *port, window, GET_WHEEL_DELTA_WPARAM(wParam), GET_KEYSTATE_WPARAM(wParam), lParam);
    case WM_CAPTURECHANGED: return forwardMouse(*screen, *port, MouseAction::CaptureChanged, 0, 0, 0, 0);
    default:
        return forwardMouse(*screen, *port, mouseActionOf(message), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), wParam, 0);
    }
}

// Keys, the caret's blink and the mouse; nothing for a message the window leaves alone.
std::optional<LRESULT> inputMessage(HWND window, CursesScreen& screen, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        if (GetParent(window)) return DLGC_WANTALLKEYS;
        return std::nullopt;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_KEYUP:
        if (takeKey(screen, message, wParam)) return 0;
        return std::nullopt;
    case WM_TIMER:
        if (wParam != kCursesBlinkTimer) return std::nullopt;
        screen.blink_tick(GetFocus() == window);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
    case WM_CAPTURECHANGED: return mouseMessage(window, message, wParam, lParam);
    default: return std::nullopt;
    }
}

}  // namespace

LRESULT CALLBACK cursesWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Registered with the first message; 0 (a failed registration) never matches.
    static const UINT wheelAlias = RegisterWindowMessageW(L"MSWHEEL_ROLLMSG");

    if (message == WM_CREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (create && create->lpCreateParams) attach_curses_window(*static_cast<CursesScreen*>(create->lpCreateParams), window);
        return 0;
    }
    CursesScreen* screen = screenOf(window);
    CursesWindowPort* port = portOf(screen, window);
    if (!port) return DefWindowProcW(window, message, wParam, lParam);

    if (wheelAlias != 0 && message == wheelAlias)
        return forwardWheel(*screen, *port, window, static_cast<short>(LOWORD(wParam)), 0, lParam);

    switch (message) {
    case WM_DESTROY:
        screen->window.reset();
        return 0;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) {
            screen->resize_grid();
            if (screen->resize_callback)
                screen->resize_callback(*screen);
            else
                screen->flags |= CursesScreen::kFullRedraw;
        }
        return 0;
    case WM_PAINT: paint(*screen, *port, window); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETCURSOR: {
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(window, &p);
        SetCursor(LoadCursorW(nullptr, pointerFor(screen->pointer_shape(p.x, p.y))));
        return TRUE;
    }
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {160, 120};
        return 0;
    }
    default: break;
    }
    if (std::optional<LRESULT> handled = inputMessage(window, *screen, message, wParam, lParam)) return *handled;
    return DefWindowProcW(window, message, wParam, lParam);
}
