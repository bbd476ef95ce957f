#pragma once
// Where a window with a remembered or default rectangle opens: on the work area of a
// monitor, so that a monitor unplugged since, or a screen smaller than the default size,
// never hides the window or its edges.
#include "view/layout/sizer_math.h"

// A window's outer origin and size as the placement store keeps them: any values at all.
struct WindowBox {
    int x = 0, y = 0, width = 0, height = 0;
};

// The box as a rectangle, its far edges held within the range of int.
PixelRect boxRect(const WindowBox& box);
// The box moved onto the work area, then shrunk where it is still larger (a negative size
// counts as none). A box that already lies inside is answered unchanged; an empty work area
// leaves the box as it is.
PixelRect fitOntoWorkArea(const WindowBox& wanted, const PixelRect& workArea);
