#pragma once
// The editor canvas on Win32: draws into the view's off-screen surface with its text
// renderer and copies bands of it to the window's paint DC.
#include <windows.h>

#include "view/editor_canvas.h"
#include "view/gfx/surface.h"
#include "view/gfx/text_renderer_win32.h"

class SurfaceCanvas final : public EditorCanvas {
public:
    SurfaceCanvas(Surface& surface, TextRenderer& renderer, HDC target)
        : surface_(surface), renderer_(renderer), target_(target) {}

    void clear(unsigned colour) override { surface_.clear(colour); }
    void fillRect(int x, int y, int w, int h, unsigned colour, float alpha) override {
        surface_.fillRect(x, y, w, h, colour, alpha);
    }
    void line(int x1, int y1, int x2, int y2, unsigned colour, float alpha) override {
        surface_.line(x1, y1, x2, y2, colour, alpha);
    }
    void putPixel(int x, int y, unsigned colour, float alpha) override { surface_.putPixel(x, y, colour, alpha); }
    PixelSize measure(const char* text, int length) override;
    void drawText(const char* text, int length, const PixelRect& rect, const TextStyle& style) override;
    void copyBand(int top, int height) override;

private:
    Surface& surface_;
    TextRenderer& renderer_;
    HDC target_;
};
