#include "view/surface_canvas_win32.h"

#include "view/gfx/window_surface_win32.h"

CanvasTextSize SurfaceCanvas::measure(const char* text, int length) {
    TextSize size = renderer_.measure(text, length);
    return {size.width, size.height};
}

void SurfaceCanvas::drawText(const char* text, int length, const CanvasRect& rect, unsigned colour, bool opaque,
                             unsigned background, bool useTextAlpha) {
    renderer_.setTextColor(colour);
    renderer_.setBackgroundMode(opaque ? BackgroundMode::Opaque : BackgroundMode::Transparent);
    if (opaque) renderer_.setBackgroundColor(background);
    RECT area{rect.left, rect.top, rect.right, rect.bottom};
    renderer_.draw(surface_, text, length, area, useTextAlpha);
}

void SurfaceCanvas::copyBand(int top, int height) {
    if (!target_ || surface_.empty() || height <= 0) return;
    RECT area{0, top, surface_.width(), top + height};
    copyToWindow(surface_, 0, top, target_, area);
}
