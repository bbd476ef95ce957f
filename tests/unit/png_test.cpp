#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "view/gfx/png_loader.h"

namespace {

std::string tempPath(const char* name) { return testing::TempDir() + "orvane_png_" + name; }

// Writes an image through libpng's writer; answers the file's bytes as well.
std::vector<unsigned char> writePng(const std::string& path, png_uint_32 format, int width, int height,
                                    const void* pixels, const void* colormap = nullptr, int entries = 0) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = format;
    image.colormap_entries = static_cast<png_uint_32>(entries);
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels, 0, colormap));
    std::vector<unsigned char> bytes(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, 0, colormap));
    bytes.resize(size);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr);
    if (f) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return bytes;
}

} // namespace

TEST(PngLoad, RgbaKeepsColoursAndAlpha) {
    const unsigned char rgba[] = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 10, 20, 30, 40};
    std::string path = tempPath("rgba.png");
    writePng(path, PNG_FORMAT_RGBA, 2, 2, rgba);
    auto s = loadPNG(path);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->width(), 2);
    EXPECT_EQ(s->height(), 2);
    EXPECT_EQ(s->pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(s->pixel(1, 0), 0x8000FF00u);
    EXPECT_EQ(s->pixel(0, 1), 0x000000FFu);
    EXPECT_EQ(s->pixel(1, 1), 0x280A141Eu);
    std::remove(path.c_str());
}

TEST(PngLoad, PaletteBecomesRgba) {
    const unsigned char colormap[] = {0x11, 0x22, 0x33, 0xFF, 0x00, 0xFF};
    const unsigned char indices[] = {0, 1, 1, 0};
    std::string path = tempPath("palette.png");
    writePng(path, PNG_FORMAT_RGB_COLORMAP, 4, 1, indices, colormap, 2);
    auto s = loadPNG(path);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->width(), 4);
    EXPECT_EQ(s->pixel(0, 0), 0xFF112233u);
    EXPECT_EQ(s->pixel(1, 0), 0xFFFF00FFu);
    EXPECT_EQ(s->pixel(2, 0), 0xFFFF00FFu);
    EXPECT_EQ(s->pixel(3, 0), 0xFF112233u);
    std::remove(path.c_str());
}

TEST(PngLoad, GrayscaleBecomesOpaqueGreys) {
    const unsigned char gray[] = {0, 128, 255};
    std::string path = tempPath("gray.png");
    writePng(path, PNG_FORMAT_GRAY, 3, 1, gray);
    auto s = loadPNG(path);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(s->pixel(1, 0), 0xFF808080u);
    EXPECT_EQ(s->pixel(2, 0), 0xFFFFFFFFu);
    std::remove(path.c_str());
}

TEST(PngLoad, SixteenBitBecomesEightBit) {
    const png_uint_16 linear[] = {0, 65535, 0, 65535, 65535, 65535, 0, 0};
    std::string path = tempPath("deep.png");
    writePng(path, PNG_FORMAT_LINEAR_RGB_ALPHA, 2, 1, linear);
    auto s = loadPNG(path);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->pixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(s->pixel(1, 0) >> 24, 0u);
    std::remove(path.c_str());
}

TEST(PngLoad, MissingTruncatedAndGarbageGiveNothing) {
    EXPECT_EQ(loadPNG(tempPath("does-not-exist.png")), nullptr);

    std::vector<unsigned char> rgba(32 * 32 * 4);
    for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<unsigned char>(i * 7);
    std::string path = tempPath("cut.png");
    std::vector<unsigned char> bytes = writePng(path, PNG_FORMAT_RGBA, 32, 32, rgba.data());
    ASSERT_GT(bytes.size(), 100u);
    EXPECT_NE(decodePNG(bytes.data(), bytes.size()), nullptr);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size() / 2, f);
    std::fclose(f);
    EXPECT_EQ(loadPNG(path), nullptr);
    std::remove(path.c_str());

    // Only the signature and the header survive.
    EXPECT_EQ(decodePNG(bytes.data(), 40), nullptr);
    const unsigned char garbage[] = "this is not a png file at all";
    EXPECT_EQ(decodePNG(garbage, sizeof garbage), nullptr);
    EXPECT_EQ(decodePNG(nullptr, 0), nullptr);
}
