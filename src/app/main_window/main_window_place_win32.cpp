// Where the main window sits: following a DPI change, the rectangle it remembers, full-screen
// mode and the placement written at the end.
#include "app/main_window/main_window_win32.h"

#include "app/settings/placement.h"
#include "view/editor_window_win32.h"

namespace {

RECT outerRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

}  // namespace

void MainWindow::dpiChanged(const RECT& suggested) {
    // The system proposes the window's new size on the new display; the layout and the
    // scrollbar follow at the new scale.
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    layout(IsZoomed(window_) ? SIZE_MAXIMIZED : SIZE_RESTORED);
    if (EditorView* view = editorView()) view->dpiChanged();
}

void MainWindow::rememberRect() {
    RECT rect = outerRect(window_);
    x_ = rect.left;
    y_ = rect.top;
    width_ = rect.right - rect.left;
    height_ = rect.bottom - rect.top;
}

void MainWindow::toggle_fullscreen() {
    if (!fullscreen_) {
        fullscreen_ = true;
        wasMaximized_ = IsZoomed(window_) != FALSE;
        if (wasMaximized_) SendMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
        savedStyle_ = GetWindowLongPtrW(window_, GWL_STYLE);
        savedExStyle_ = GetWindowLongPtrW(window_, GWL_EXSTYLE);
        RECT before = outerRect(window_);
        SetWindowLongPtrW(window_, GWL_STYLE, savedStyle_ & ~static_cast<LONG_PTR>(WS_CAPTION | WS_THICKFRAME));
        SetWindowLongPtrW(window_, GWL_EXSTYLE,
                          savedExStyle_ & ~static_cast<LONG_PTR>(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE |
                                                                 WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT& m = monitor.rcMonitor;
        SetWindowPos(window_, nullptr, m.left, m.top, m.right - m.left, m.bottom - m.top,
                     SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
        x_ = before.left;
        y_ = before.top;
        width_ = before.right - before.left;
        height_ = before.bottom - before.top;
    } else {
        fullscreen_ = false;
        SetWindowLongPtrW(window_, GWL_STYLE, savedStyle_);
        SetWindowLongPtrW(window_, GWL_EXSTYLE, savedExStyle_);
        SetWindowPos(window_, nullptr, x_, y_, width_, height_, SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
        if (wasMaximized_) SendMessageW(window_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    }
}

void MainWindow::writePlacement() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window_, &placement);
    if (placement.showCmd == SW_SHOWMAXIMIZED) {
        placement_set_string("main_wnd_maximized", "1");
    } else {
        placement_set_string("main_wnd_maximized", "0");
        placementSetInt("main_wnd_x", x_);
        placementSetInt("main_wnd_y", y_);
        placementSetInt("main_wnd_w", width_);
        placementSetInt("main_wnd_h", height_);
    }
}
