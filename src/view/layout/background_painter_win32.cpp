#include "view/layout/background_painter_win32.h"

#include "platform/handles_win32.h"

#include "view/gfx/window_surface_win32.h"
#include "view/layout/gdi_region_win32.h"
#include "view/layout/paint_buffer.h"

void BackgroundPainter::begin(HWND window) {
    if (!window || window_) return;
    window_ = window;
    BeginPaint(window, &paint_);
    RECT client{};
    GetClientRect(window, &client);
    const RECT& u = paint_.rcPaint;
    PixelRect update{u.left, u.top, u.right, u.bottom};
    PaintBufferPlan plan = planPaintBuffer(client.right - client.left, client.bottom - client.top, update);
    originX_ = plan.originX;
    originY_ = plan.originY;
    prepareBackground(buffer_, plan, update);
}

void BackgroundPainter::end() {
    if (!window_) return;
    HDC dc = paint_.hdc;
    const RECT& u = paint_.rcPaint;
    win32::Region visible(CreateRectRgnIndirect(&u));
    win32::Region saved(CreateRectRgn(0, 0, 0, 0));
    if (visible && saved && dc) {
        subtractVisibleChildren(window_, visible.get());
        bool hadClip = GetClipRgn(dc, saved.get()) == 1;
        ExtSelectClipRgn(dc, visible.get(), RGN_AND);
        copyToWindow(buffer_, u.left - originX_, u.top - originY_, dc, u);
        SelectClipRgn(dc, hadClip ? saved.get() : nullptr);
    }
    EndPaint(window_, &paint_);
    window_ = nullptr;
}
