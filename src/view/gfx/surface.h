#pragma once
// An off-screen image of 32-bit pixels 0xAARRGGBB, rows top to bottom, rows packed with no
// padding. Drawing operations clip to the surface. Blending moves each of the four channels
// from its old value towards the new one by the weight floor(alpha * 256) / 256.
#include <cstddef>
#include <cstdint>
#include <memory>

// Where a surface keeps its pixels. The default is plain heap memory; a platform may supply
// storage that it can also show on screen (for example a device-independent bitmap).
class SurfaceStorage {
public:
    virtual ~SurfaceStorage() = default;
    // Makes room for width * height pixels and answers the first one, or nullptr on failure.
    virtual uint32_t* reallocate(int width, int height) = 0;
};

class Surface {
public:
    Surface();
    Surface(int width, int height);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    Surface(Surface&&) noexcept;
    Surface& operator=(Surface&&) noexcept;

    // The content is unspecified afterwards. Negative sizes count as 0. Answers false (and
    // leaves the surface empty) when the memory cannot be had.
    bool resize(int width, int height);
    // Grows to at least the given size, never shrinks.
    bool reserve(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ <= 0 || height_ <= 0; }
    uint32_t* pixels() { return pixels_; }
    const uint32_t* pixels() const { return pixels_; }
    uint32_t* row(int y) { return pixels_ + static_cast<size_t>(y) * static_cast<size_t>(width_); }
    const uint32_t* row(int y) const { return pixels_ + static_cast<size_t>(y) * static_cast<size_t>(width_); }
    // Reading outside the surface answers 0.
    uint32_t pixel(int x, int y) const;
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // Moves the pixels into other storage, keeping the picture. Answers false (and keeps the
    // old storage) when the new storage cannot hold the picture.
    bool adoptStorage(std::unique_ptr<SurfaceStorage> storage);
    SurfaceStorage* storage() const { return storage_.get(); }

    void clear(uint32_t colour);
    void fillRect(int x, int y, int w, int h, uint32_t colour, float alpha);
    void putPixel(int x, int y, uint32_t colour, float alpha);
    // Both end points are drawn; every pixel of the line is blended exactly once.
    void line(int x1, int y1, int x2, int y2, uint32_t colour, float alpha);
    // Unscaled copy of (sx, sy, sw, sh) of source to (dx, dy), clipped to both surfaces.
    void blit(const Surface& source, int dx, int dy, int sx, int sy, int sw, int sh, float alpha);
    // Bilinear scaling of the fractional source rectangle to the destination rectangle.
    // Destination pixel i samples the source at sx + (i + 0.5) * sw / dw - 0.5, where the
    // integer coordinate k is the centre of source pixel k; samples are clamped to the pixels
    // the source rectangle touches, so nothing outside it bleeds in at the edges.
    void scaledBlit(const Surface& source, int dx, int dy, int dw, int dh, float sx, float sy, float sw,
                    float sh, float alpha, bool useSourceAlpha);

private:
    int width_ = 0;
    int height_ = 0;
    uint32_t* pixels_ = nullptr;
    std::unique_ptr<SurfaceStorage> storage_;
};

// Blend weight in 1/256 units for an alpha in 0..1: floor(alpha * 256), limited to 0..256.
int blendWeight(float alpha);
// Moves every channel of dst towards src by weight / 256; a move that is not whole is
// truncated toward zero, so weight 256 gives src exactly and weight 0 leaves dst.
uint32_t blendPixel(uint32_t dst, uint32_t src, int weight);
