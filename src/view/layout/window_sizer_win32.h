#pragma once
// Keeps child windows anchored to their parent's edges as the parent is resized, and
// repaints only the parts of the parent that no visible child covers.
#include <windows.h>

#include <vector>

#include "view/layout/sizer_math.h"

class WindowSizer {
public:
    WindowSizer() = default;

    // Remembers the parent and its client size; the DPI scale too, unless switched off.
    void init(HWND parent);
    // Adds a child at its current place with the factors of its four edges.
    void add(HWND child, float left, float top, float right, float bottom);
    void resize();

    int baseScale() const { return baseScale_; }

private:
    int baseScale_ = 256; // 0 switches DPI handling off
    HWND parent_ = nullptr;
    int initialWidth_ = 0;
    int initialHeight_ = 0;
    std::vector<HWND> children_;
    std::vector<SizerItemPlan> items_;
};
