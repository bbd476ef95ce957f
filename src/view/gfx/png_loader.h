#pragma once
// PNG decoding into 32-bit surfaces. Every colour type and bit depth comes out as 8-bit
// 0xAARRGGBB with the file's alpha (opaque when it has none). A file that cannot be read or
// decoded gives nullptr.
#include <cstddef>
#include <memory>
#include <string>

#include "view/gfx/surface.h"

std::unique_ptr<Surface> decodePNG(const unsigned char* data, size_t size);
// The path is UTF-8.
std::unique_ptr<Surface> loadPNG(const std::string& path);
