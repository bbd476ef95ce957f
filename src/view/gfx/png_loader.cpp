#include "view/gfx/png_loader.h"

#include <png.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/file_io.h"

// libpng's simplified reader keeps its error handling (setjmp/longjmp) inside the library,
// so a corrupt or truncated file just makes a call fail.
std::unique_ptr<Surface> decodePNG(const unsigned char* data, size_t size) {
    if (!data || size == 0) return nullptr;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return nullptr;
    image.format = PNG_FORMAT_RGBA;
    if (image.width == 0 || image.height == 0 || image.width > 32768 || image.height > 32768) {
        png_image_free(&image);
        return nullptr;
    }
    std::vector<unsigned char> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return nullptr;
    }
    auto surface = std::make_unique<Surface>();
    if (!surface->resize(static_cast<int>(image.width), static_cast<int>(image.height))) return nullptr;
    const unsigned char* p = rgba.data();
    for (int y = 0; y < surface->height(); ++y) {
        uint32_t* out = surface->row(y);
        for (int x = 0; x < surface->width(); ++x, p += 4)
            out[x] = (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | uint32_t{p[2]};
    }
    return surface;
}

std::unique_ptr<Surface> loadPNG(const std::string& path) {
    // Images are small; a file beyond 64 MiB is not one we want.
    constexpr int64_t kMaxImageBytes = 64LL << 20;
    std::string bytes;
    if (!readWholeFile(path, bytes, kMaxImageBytes)) return nullptr;
    return decodePNG(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}
