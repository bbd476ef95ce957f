#pragma once
// Paints a window's background double-buffered without painting over its child windows.
// Between begin and end the caller may draw into buffer() (client coordinates minus origin).
#include <windows.h>

#include "view/gfx/surface.h"

class BackgroundPainter {
public:
    BackgroundPainter() = default;
    BackgroundPainter(const BackgroundPainter&) = delete;
    BackgroundPainter& operator=(const BackgroundPainter&) = delete;

    void begin(HWND window);
    void end();

    Surface& buffer() { return buffer_; }
    int originX() const { return originX_; }
    int originY() const { return originY_; }

private:
    Surface buffer_; // grown, never shrunk
    HWND window_ = nullptr;
    PAINTSTRUCT paint_{};
    int originX_ = 0;
    int originY_ = 0;
};
