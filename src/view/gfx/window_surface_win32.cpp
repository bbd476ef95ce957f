#include "view/gfx/window_surface_win32.h"

#include <memory>

uint32_t* DibStorage::reallocate(int width, int height) {
    if (bits_ && width == width_ && height == height_) return bits_;
    if (!dc_) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows, as the surface keeps them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win32::Bitmap bitmap(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return nullptr;
    dc_.select(bitmap.get());
    bitmap_ = std::move(bitmap);
    bits_ = static_cast<uint32_t*>(bits);
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
