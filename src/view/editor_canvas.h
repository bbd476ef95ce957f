#pragma once
// What the editor paint routine draws with. The decisions (which rows, which rectangles,
// which texts) live in portable code; a canvas turns them into pixels. Colours are
// 0xAARRGGBB; alpha is the blend weight 0..1.
#include "text/pixel_geometry.h"

// How a text run is drawn. An opaque background fills the text's own box first; with
// useTextAlpha the glyphs are scaled by the colour's alpha, otherwise drawn at full strength.
struct TextStyle {
    unsigned colour = 0xFF000000u;
    bool opaque = false;
    unsigned background = 0;
    bool useTextAlpha = false;
};

class EditorCanvas {
public:
    virtual ~EditorCanvas() = default;
    virtual void clear(unsigned colour) = 0;
    virtual void fillRect(int x, int y, int w, int h, unsigned colour, float alpha) = 0;
    virtual void line(int x1, int y1, int x2, int y2, unsigned colour, float alpha) = 0;
    virtual void putPixel(int x, int y, unsigned colour, float alpha) = 0;
    virtual PixelSize measure(const char* text, int length) = 0;
    // One line of text from rect's top-left corner, clipped to rect.
    virtual void drawText(const char* text, int length, const PixelRect& rect, const TextStyle& style) = 0;
    // Copies a full-width band of the picture to the screen at the same place.
    virtual void copyBand(int top, int height) = 0;
};
