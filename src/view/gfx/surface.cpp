#include "view/gfx/surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

class HeapStorage final : public SurfaceStorage {
public:
    uint32_t* reallocate(int width, int height) override {
        size_t needed = static_cast<size_t>(width) * static_cast<size_t>(height);
        if (needed > capacity_) {
            std::unique_ptr<uint32_t[]> grown(new (std::nothrow) uint32_t[needed]);
            if (!grown) return nullptr;
            pixels_ = std::move(grown);
            capacity_ = needed;
        }
        return pixels_.get();
    }

private:
    std::unique_ptr<uint32_t[]> pixels_;
    size_t capacity_ = 0;
};

// The part of [start, start + length) that lies inside 0..limit.
struct Span {
    int from;
    int to;
};

Span clipSpan(int start, int length, int limit) {
    int from = std::max(start, 0);
    int to = std::min(start + length, limit);
    return {from, std::max(from, to)};
}

} // namespace

int blendWeight(float alpha) {
    if (!(alpha > 0.0f)) return 0;
    if (alpha >= 1.0f) return 256;
    return static_cast<int>(std::floor(alpha * 256.0f));
}

uint32_t blendPixel(uint32_t dst, uint32_t src, int weight) {
    if (weight >= 256) return src;
    if (weight <= 0) return dst;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        int d = static_cast<int>((dst >> shift) & 0xFFu);
        int s = static_cast<int>((src >> shift) & 0xFFu);
        int v = d + (s - d) * weight / 256;
        out |= static_cast<uint32_t>(v) << shift;
    }
    return out;
}

Surface::Surface() : storage_(std::make_unique<HeapStorage>()) {}

Surface::Surface(int width, int height) : Surface() { resize(width, height); }

Surface::~Surface() = default;

Surface::Surface(Surface&& other) noexcept
    : width_(other.width_), height_(other.height_), pixels_(other.pixels_), storage_(std::move(other.storage_)) {
    other.width_ = other.height_ = 0;
    other.pixels_ = nullptr;
    other.storage_ = std::make_unique<HeapStorage>();
}

Surface& Surface::operator=(Surface&& other) noexcept {
    if (this != &other) {
        width_ = other.width_;
        height_ = other.height_;
        pixels_ = other.pixels_;
        storage_ = std::move(other.storage_);
        other.width_ = other.height_ = 0;
        other.pixels_ = nullptr;
        other.storage_ = std::make_unique<HeapStorage>();
    }
    return *this;
}

bool Surface::resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == 0 || height == 0) {
        width_ = width;
        height_ = height;
        return true;
    }
    uint32_t* p = storage_ ? storage_->reallocate(width, height) : nullptr;
    if (!p) {
        width_ = height_ = 0;
        pixels_ = nullptr;
        return false;
    }
    pixels_ = p;
    width_ = width;
    height_ = height;
    return true;
}

bool Surface::reserve(int width, int height) {
    if (width <= width_ && height <= height_) return true;
    return resize(std::max(width, width_), std::max(height, height_));
}

uint32_t Surface::pixel(int x, int y) const { return contains(x, y) ? row(y)[x] : 0u; }

bool Surface::adoptStorage(std::unique_ptr<SurfaceStorage> storage) {
    if (!storage) return false;
    if (empty()) {
        storage_ = std::move(storage);
        pixels_ = nullptr;
        return true;
    }
    uint32_t* p = storage->reallocate(width_, height_);
    if (!p) return false;
    std::memcpy(p, pixels_, static_cast<size_t>(width_) * static_cast<size_t>(height_) * sizeof(uint32_t));
    storage_ = std::move(storage);
    pixels_ = p;
    return true;
}

void Surface::clear(uint32_t colour) {
    if (empty()) return;
    std::fill(pixels_, pixels_ + static_cast<size_t>(width_) * static_cast<size_t>(height_), colour);
}

void Surface::fillRect(int x, int y, int w, int h, uint32_t colour, float alpha) {
    int weight = blendWeight(alpha);
    if (weight == 0 || w <= 0 || h <= 0 || empty()) return;
    Span xs = clipSpan(x, w, width_);
    Span ys = clipSpan(y, h, height_);
    for (int yy = ys.from; yy < ys.to; ++yy) {
        uint32_t* r = row(yy);
        if (weight == 256) {
            std::fill(r + xs.from, r + xs.to, colour);
        } else {
            for (int xx = xs.from; xx < xs.to; ++xx) r[xx] = blendPixel(r[xx], colour, weight);
        }
    }
}

void Surface::putPixel(int x, int y, uint32_t colour, float alpha) {
    int weight = blendWeight(alpha);
    if (weight == 0 || !contains(x, y)) return;
    uint32_t& p = row(y)[x];
    p = blendPixel(p, colour, weight);
}

void Surface::line(int x1, int y1, int x2, int y2, uint32_t colour, float alpha) {
    int weight = blendWeight(alpha);
    if (weight == 0 || empty()) return;
    // Integer stepping so that no pixel is visited twice (a second blend would darken it).
    int dx = std::abs(x2 - x1);
    int dy = -std::abs(y2 - y1);
    int stepX = x1 < x2 ? 1 : -1;
    int stepY = y1 < y2 ? 1 : -1;
    int error = dx + dy;
    int x = x1;
    int y = y1;
    for (;;) {
        if (contains(x, y)) {
            uint32_t& p = row(y)[x];
            p = blendPixel(p, colour, weight);
        }
        if (x == x2 && y == y2) break;
        int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x += stepX;
        }
        if (e2 <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

void Surface::blit(const Surface& source, int dx, int dy, int sx, int sy, int sw, int sh, float alpha) {
    int weight = blendWeight(alpha);
    if (weight == 0 || sw <= 0 || sh <= 0 || empty() || source.empty()) return;
    // Clip the source rectangle to the source, then the result to the destination.
    if (sx < 0) { dx -= sx; sw += sx; sx = 0; }
    if (sy < 0) { dy -= sy; sh += sy; sy = 0; }
    sw = std::min(sw, source.width_ - sx);
    sh = std::min(sh, source.height_ - sy);
    if (dx < 0) { sx -= dx; sw += dx; dx = 0; }
    if (dy < 0) { sy -= dy; sh += dy; dy = 0; }
    sw = std::min(sw, width_ - dx);
    sh = std::min(sh, height_ - dy);
    if (sw <= 0 || sh <= 0) return;
    // Rows are walked away from an overlap so copying within one surface is safe.
    bool upward = &source == this && dy > sy;
    for (int i = 0; i < sh; ++i) {
        int r = upward ? sh - 1 - i : i;
        const uint32_t* from = source.row(sy + r) + sx;
        uint32_t* to = row(dy + r) + dx;
        if (weight == 256) {
            std::memmove(to, from, static_cast<size_t>(sw) * sizeof(uint32_t));
        } else if (&source == this && dx > sx && dy == sy) {
            for (int c = sw - 1; c >= 0; --c) to[c] = blendPixel(to[c], from[c], weight);
        } else {
            for (int c = 0; c < sw; ++c) to[c] = blendPixel(to[c], from[c], weight);
        }
    }
}

namespace {

// One sampling position along an axis: the two source pixels and the weight of the second.
struct Tap {
    int first;
    int second;
    int weight; // 0..256
};

Tap sampleTap(double position, int lo, int hi) {
    position = std::clamp(position, static_cast<double>(lo), static_cast<double>(hi));
    int first = static_cast<int>(std::floor(position));
    int weight = static_cast<int>(std::lround((position - first) * 256.0));
    int second = std::min(first + 1, hi);
    return {first, second, weight};
}

uint32_t bilinear(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, int fx, int fy) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t top = ((p00 >> shift) & 0xFFu) * static_cast<uint32_t>(256 - fx) + ((p10 >> shift) & 0xFFu) * static_cast<uint32_t>(fx);
        uint32_t bottom = ((p01 >> shift) & 0xFFu) * static_cast<uint32_t>(256 - fx) + ((p11 >> shift) & 0xFFu) * static_cast<uint32_t>(fx);
        uint32_t v = (top * static_cast<uint32_t>(256 - fy) + bottom * static_cast<uint32_t>(fy) + 32768u) >> 16;
        out |= std::min(v, 255u) << shift;
    }
    return out;
}

} // namespace

void Surface::scaledBlit(const Surface& source, int dx, int dy, int dw, int dh, float sx, float sy, float sw,
                         float sh, float alpha, bool useSourceAlpha) {
    int weight = blendWeight(alpha);
    if (weight == 0 || dw <= 0 || dh <= 0 || !(sw > 0.0f) || !(sh > 0.0f) || empty() || source.empty()) return;
    int loX = std::max(0, static_cast<int>(std::floor(sx)));
    int hiX = std::min(source.width_ - 1, static_cast<int>(std::ceil(sx + sw)) - 1);
    int loY = std::max(0, static_cast<int>(std::floor(sy)));
    int hiY = std::min(source.height_ - 1, static_cast<int>(std::ceil(sy + sh)) - 1);
    if (hiX < loX || hiY < loY) return;
    Span xs = clipSpan(dx, dw, width_);
    Span ys = clipSpan(dy, dh, height_);
    double stepX = static_cast<double>(sw) / dw;
    double stepY = static_cast<double>(sh) / dh;
    for (int y = ys.from; y < ys.to; ++y) {
        Tap ty = sampleTap(sy + (y - dy + 0.5) * stepY - 0.5, loY, hiY);
        const uint32_t* row0 = source.row(ty.first);
        const uint32_t* row1 = source.row(ty.second);
        uint32_t* out = row(y);
        for (int x = xs.from; x < xs.to; ++x) {
            Tap tx = sampleTap(sx + (x - dx + 0.5) * stepX - 0.5, loX, hiX);
            uint32_t v = bilinear(row0[tx.first], row0[tx.second], row1[tx.first], row1[tx.second], tx.weight, ty.weight);
            int w = useSourceAlpha ? weight * static_cast<int>(v >> 24) / 255 : weight;
            out[x] = blendPixel(out[x], v, w);
        }
    }
}
