#pragma once
// The work area of the monitor nearest to a window's remembered or default rectangle, and
// the rectangle fitted onto it (see fitOntoWorkArea for the rule).
#include <windows.h>

#include "view/layout/monitor_fit.h"

// Screen pixels of the outer window rectangle.
RECT fitOntoNearestWorkArea(const WindowBox& wanted);
// Moves and sizes window to the fitted rectangle, without activating it or changing its
// place in the z-order. Answers where it went.
RECT placeOnNearestWorkArea(HWND window, const WindowBox& wanted);
