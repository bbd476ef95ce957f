#pragma once
// Owns a GDI region for the length of a scope.
#include <windows.h>

class GdiRegion {
public:
    explicit GdiRegion(HRGN region) : region_(region) {}
    ~GdiRegion() {
        if (region_) DeleteObject(region_);
    }
    GdiRegion(const GdiRegion&) = delete;
    GdiRegion& operator=(const GdiRegion&) = delete;
    HRGN get() const { return region_; }
    explicit operator bool() const { return region_ != nullptr; }

private:
    HRGN region_;
};

// Removes from region the rectangles of the visible direct children of parent (in parent
// client coordinates), stopping once nothing is left. Answers the region's complexity.
int subtractVisibleChildren(HWND parent, HRGN region);
