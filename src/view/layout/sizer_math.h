#pragma once
// Arithmetic of the window sizer: moving child rectangles with their parent's edges by
// anchor factors, and converting between DPI scales (in 1/256 units, 256 = 96 DPI).
#include <vector>

#include "text/pixel_geometry.h"

// How far each edge follows the parent's growth: 1 all of it, 0.5 half, 0 none.
struct AnchorFactors {
    float left = 0, top = 0, right = 0, bottom = 0;
};

// Share of a delta that an edge with this factor moves: the whole delta from 1 up, the
// delta times the factor truncated toward zero between 0 and 1, nothing from 0 down.
int anchorShift(int delta, float factor);
// The initial rectangle moved by the parent's growth (dx, dy), never inverted.
PixelRect anchorRect(const PixelRect& initial, const AnchorFactors& factors, int dx, int dy);
// Every coordinate times numerator / denominator (integer division).
PixelRect scaleRect(const PixelRect& r, int numerator, int denominator);
// A DPI as a scale in 1/256 units.
int scaleFromDpi(unsigned dpi);

struct SizerItemPlan {
    PixelRect initial;
    AnchorFactors factors;
    PixelRect last;   // in base units
    PixelRect placed; // in current units: where the child goes
};

// Lays out all items for a parent whose client rectangle is `client` (current units).
// current is the parent's scale now, base the scale the rectangles were stored at; either
// being 0 (or both equal) means no conversion.
void layoutSizerItems(std::vector<SizerItemPlan>& items, const PixelRect& client, int initialWidth, int initialHeight,
                      int current, int base);
