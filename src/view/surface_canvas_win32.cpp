#include "view/surface_canvas_win32.h"

#include "view/gfx/window_surface_win32.h"

PixelSize SurfaceCanvas::measure(const char* text, int length) {
    return renderer_.measure(text, length);
}

void SurfaceCanvas::drawText(const char* text, int length, const PixelRect& rect, const TextStyle& style) {
    renderer_.setTextColor(style.colour);
    renderer_.setBackgroundMode(style.opaque ? BackgroundMode::Opaque : BackgroundMode::Transparent);
    if (style.opaque) renderer_.setBackgroundColor(style.background);
    RECT area{rect.left, rect.top, rect.right, rect.bottom};
    renderer_.draw(surface_, text, length, area, style.useTextAlpha);
}

void SurfaceCanvas::copyBand(int top, int height) {
    if (!target_ || surface_.empty() || height <= 0) return;
    RECT area{0, top, surface_.width(), top + height};
    copyToWindow(surface_, 0, top, target_, area);
}
