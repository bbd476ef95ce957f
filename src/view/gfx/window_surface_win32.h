#pragma once
// Showing surfaces on screen: a surface's pixels move into a device-independent bitmap held
// in its own memory device context, from which they are copied to a window's DC.
#include <windows.h>

#include "platform/handles_win32.h"
#include "view/gfx/surface.h"

// A 32-bit top-down device-independent bitmap of the given size, rows packed as a Surface
// keeps them; bits receives its pixels. Null on failure.
HBITMAP createPixelBitmap(HDC dc, int width, int height, uint32_t** bits);

class DibStorage final : public SurfaceStorage {
public:
    DibStorage() = default;
    DibStorage(const DibStorage&) = delete;
    DibStorage& operator=(const DibStorage&) = delete;

    uint32_t* reallocate(int width, int height) override;
    HDC dc() const { return dc_.get(); }

private:
    // The bitmap outlives the DC that has it selected (members go in reverse).
    win32::Bitmap bitmap_;
    win32::MemoryDC dc_;
    uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// Plain copy (no blending) of the surface, from (sx, sy), into area of the target DC. The
// first copy moves the surface into a DIB; later copies reuse it.
bool copyToWindow(Surface& surface, int sx, int sy, HDC target, const RECT& area);
