#pragma once
// Region arithmetic over a window's children.
#include <windows.h>

// Removes from region the rectangles of the visible direct children of parent (in parent
// client coordinates), stopping once nothing is left. Answers the region's complexity.
int subtractVisibleChildren(HWND parent, HRGN region);
