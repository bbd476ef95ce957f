#pragma once
// Which part of a window a background painter buffers. Client areas up to 2047 pixels in
// both directions are buffered whole; larger ones only for the update rectangle, so the
// buffer stays of a reasonable size.
#include "view/gfx/surface.h"
#include "view/layout/sizer_math.h"

constexpr int kPaintBufferLimit = 2047;
// Opaque light yellow (red FF, green FF, blue 80) that the background is painted with.
constexpr uint32_t kBackgroundFill = 0xFFFFFF80u;

struct PaintBufferPlan {
    int originX = 0; // client coordinates of the buffer's top-left pixel
    int originY = 0;
    int width = 0;   // size the buffer needs at least
    int height = 0;
};

PaintBufferPlan planPaintBuffer(int clientWidth, int clientHeight, const PixelRect& update);
// Grows the buffer as needed (never shrinks it) and fills the update rectangle's part.
bool prepareBackground(Surface& buffer, const PaintBufferPlan& plan, const PixelRect& update);
