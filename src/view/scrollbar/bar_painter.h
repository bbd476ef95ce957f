#pragma once
// Draws a vertical scrollbar into a surface of the bar's size (thickness x length), either
// from the skin image or, without one, in the system's colours.
#include <cstdint>

#include "view/gfx/surface.h"
#include "view/scrollbar/scroll_math.h"
#include "view/scrollbar/scroll_skin.h"

// Colours of the plain look, as 0xAARRGGBB.
struct SystemColours {
    uint32_t scrollbar = 0xFFC8C8C8u;
    uint32_t face = 0xFFD4D0C8u;
    uint32_t highlight = 0xFFFFFFFFu;
    uint32_t shadow = 0xFF808080u;
    uint32_t darkShadow = 0xFF404040u;
    uint32_t arrow = 0xFF000000u;
    uint32_t grayArrow = 0xFF808080u;
};

// Flat boxes and fills of the skinned look.
constexpr uint32_t kSkinFlatColour = 0xFF333333u;

struct BarPaintState {
    int pressedPart = kPartNone; // part held down, if any
    int hotPart = kPartNone;     // part under the pointer (while pressed: the pressed part or none)
    bool dragging = false;       // a thumb drag of this bar is running
    bool canScroll = false;
};

// Pictures kept per bar between paints, rebuilt when the size, state or skin changes.
struct BarPictureCache {
    Surface track;
    int trackThickness = -1;
    int trackLength = -1;
    unsigned trackGeneration = 0;
    Surface thumb;
    int thumbWidth = -1;
    int thumbLength = -1;
    int thumbState = -1;
    unsigned thumbGeneration = 0;
    void reset();
};

// Paints the bar; out must already have the bar's size. skin may be null or unusable, which
// selects the plain look. scratch is working space that only grows.
void paintVerticalBar(Surface& out, const BarGeometry& geometry, const BarPaintState& state, const ScrollSkin* skin,
                      BarPictureCache& cache, Surface& scratch, const SystemColours& colours);
