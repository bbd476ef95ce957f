#include "view/layout/monitor_fit_win32.h"

namespace {

RECT toRect(const PixelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

RECT fitOntoNearestWorkArea(const WindowBox& wanted) {
    RECT asked = toRect(boxRect(wanted));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&asked, MONITOR_DEFAULTTONEAREST), &monitor)) return asked;
    const RECT& work = monitor.rcWork;
    return toRect(fitOntoWorkArea(wanted, {work.left, work.top, work.right, work.bottom}));
}

RECT placeOnNearestWorkArea(HWND window, const WindowBox& wanted) {
    RECT shown = fitOntoNearestWorkArea(wanted);
    SetWindowPos(window, nullptr, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top,
                 SWP_NOACTIVATE | SWP_NOZORDER);
    return shown;
}
