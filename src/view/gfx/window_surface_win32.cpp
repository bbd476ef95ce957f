#include "view/gfx/window_surface_win32.h"

#include <memory>

HBITMAP createPixelBitmap(HDC dc, int width, int height, uint32_t** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows, as the surface keeps them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = static_cast<uint32_t*>(pixels);
    return bitmap;
}

uint32_t* DibStorage::reallocate(int width, int height) {
    if (bits_ && width == width_ && height == height_) return bits_;
    if (!dc_) return nullptr;
    uint32_t* bits = nullptr;
    win32::Bitmap bitmap(createPixelBitmap(dc_.get(), width, height, &bits));
    if (!bitmap) return nullptr;
    dc_.select(bitmap.get());
    bitmap_ = std::move(bitmap);
    bits_ = bits;
    width_ = width;
    height_ = height;
    return bits_;
}

bool copyToWindow(Surface& surface, int sx, int sy, HDC target, const RECT& area) {
    if (surface.empty() || !target) return false;
    auto* dib = dynamic_cast<DibStorage*>(surface.storage());
    if (!dib) {
        if (!surface.adoptStorage(std::make_unique<DibStorage>())) return false;
        dib = static_cast<DibStorage*>(surface.storage());
    }
    return BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dib->dc(), sx, sy, SRCCOPY) !=
           FALSE;
}
