#pragma once
// The cell under a pointer position.

// Pointer cells round toward minus infinity, so a pointer left of or above the window (while
// the mouse is captured) lies outside the grid.
inline int cellOf(int pixels, int cellSize) {
    cellSize = cellSize > 1 ? cellSize : 1;
    return pixels >= 0 ? pixels / cellSize : -((-pixels + cellSize - 1) / cellSize);
}
