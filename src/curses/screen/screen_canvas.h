#pragma once
// What the character-cell screen paints with: solid fills and one-character text cells.
// Colours are 24-bit 0xRRGGBB. The Win32 side draws with GDI; tests record the calls.
#include <cstdint>

#include "curses/screen/screen_window.h"

class ScreenCanvas {
public:
    virtual ~ScreenCanvas() = default;
    virtual void fill(const PixelRect& area, uint32_t rgb) = 0;
    // Colours for the following drawCell calls.
    virtual void setTextColors(uint32_t foreground, uint32_t background) = 0;
    // One character at the cell's top-left corner with the background filled behind it.
    virtual void drawCell(const PixelRect& cell, char16_t character) = 0;
};
