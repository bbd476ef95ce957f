#include "view/scrollbar/scroll_skin.h"

#include "view/gfx/png_loader.h"

#include <algorithm>
#include <cmath>

namespace {

// Counts consecutive pixels from (x, y) stepping by (stepX, stepY) whose marker state is
// `marker`.
int runLength(const Surface& image, int x, int y, int stepX, int stepY, bool marker) {
    int n = 0;
    while (image.contains(x, y) && isSkinMarker(image.pixel(x, y)) == marker) {
        ++n;
        x += stepX;
        y += stepY;
    }
    return n;
}

void stretchRows(Surface& out, const Surface& image, int sx, int sy, int sh, int dx, int dy, int dw, int dh) {
    if (sh <= 0 || dh <= 0 || dw <= 0) return;
    out.scaledBlit(image, dx, dy, dw, dh, static_cast<float>(sx), static_cast<float>(sy), static_cast<float>(kSkinPiece),
                   static_cast<float>(sh), 1.0f, false);
}

} // namespace

bool isSkinMarker(uint32_t pixel) { return pixel == 0xFFFF00FFu; }

ScrollSkinLayout readSkinLayout(const Surface& image) {
    ScrollSkinLayout l;
    // Rightmost piece ends at x 203 (pressed track), lowest at row 237 (track, arrows above).
    l.valid = image.width() >= 204 && image.height() >= 238;
    if (!l.valid) return l;
    l.marked = isSkinMarker(image.pixel(0, 35));
    if (!l.marked) return l;

    l.trackY = 37;
    l.trackHeight = 201;
    l.trackTopCap = runLength(image, 168, 37, 0, 1, true);
    l.trackBottomCap = runLength(image, 168, 237, 0, -1, true);
    if (l.trackTopCap + l.trackBottomCap > l.trackHeight) {
        l.trackTopCap = std::min(l.trackTopCap, l.trackHeight);
        l.trackBottomCap = l.trackHeight - l.trackTopCap;
    }

    l.thumbY = 91;
    int y = l.thumbY;
    for (int i = 0; i < 5; ++i) {
        l.thumbParts[i] = runLength(image, 52, y, 0, 1, i % 2 == 0);
        y += l.thumbParts[i];
    }
    return l;
}

void composeTrackPicture(Surface& out, const Surface& image, const ScrollSkinLayout& l, int thickness, int length) {
    if (!out.resize(2 * thickness, length) || out.empty()) return;
    out.clear(0xFF333333u);
    int top = l.trackTopCap;
    int bottom = l.trackBottomCap;
    if (top + bottom > length) {
        // Too short for both caps at full height: share the length between them.
        top = top + bottom > 0 ? length * top / (top + bottom) : 0;
        bottom = length - top;
    }
    int middleSource = l.trackHeight - l.trackTopCap - l.trackBottomCap;
    for (int half = 0; half < 2; ++half) {
        int sx = l.trackX[half];
        int dx = half * thickness;
        stretchRows(out, image, sx, l.trackY, l.trackTopCap, dx, 0, thickness, top);
        stretchRows(out, image, sx, l.trackY + l.trackTopCap, middleSource, dx, top, thickness, length - top - bottom);
        stretchRows(out, image, sx, l.trackY + l.trackHeight - l.trackBottomCap, l.trackBottomCap, dx, length - bottom,
                    thickness, bottom);
    }
}

void composeThumbPicture(Surface& out, Surface& scratch, const Surface& image, const ScrollSkinLayout& l, int state,
                         int width, int length) {
    if (!out.resize(width, length) || out.empty()) return;
    state = std::clamp(state, 0, 2);
    const int* p = l.thumbParts;
    float scale = (width == 16 || width == 17) ? 1.0f : static_cast<float>(width) / kSkinPiece;
    int topCap = static_cast<int>(std::lround(p[0] * scale));
    int grip = static_cast<int>(std::lround(p[2] * scale));
    int bottomCap = static_cast<int>(std::lround(p[4] * scale));
    int extent = std::max(length, topCap + grip + bottomCap);
    if (!scratch.reserve(width, extent)) return;
    scratch.fillRect(0, 0, width, extent, 0u, 1.0f);

    int sx = l.thumbX[state];
    int y0 = l.thumbY;
    int gripTop = (extent - grip) / 2;
    int lowerTop = gripTop + grip;
    stretchRows(scratch, image, sx, y0, p[0], 0, 0, width, topCap);
    stretchRows(scratch, image, sx, y0 + p[0], p[1], 0, topCap, width, gripTop - topCap);
    stretchRows(scratch, image, sx, y0 + p[0] + p[1], p[2], 0, gripTop, width, grip);
    stretchRows(scratch, image, sx, y0 + p[0] + p[1] + p[2], p[3], 0, lowerTop, width, extent - bottomCap - lowerTop);
    stretchRows(scratch, image, sx, y0 + p[0] + p[1] + p[2] + p[3], p[4], 0, extent - bottomCap, width, bottomCap);

    out.scaledBlit(scratch, 0, 0, width, length, 0.0f, 0.0f, static_cast<float>(width), static_cast<float>(extent), 1.0f,
                   false);
}

const ScrollSkin* SkinSource::skin() {
    if (!tried_) {
        tried_ = true;
        skin_.image = loadPNG(path_);
        skin_.layout = skin_.image ? readSkinLayout(*skin_.image) : ScrollSkinLayout{};
        skin_.generation = ++generation_;
    }
    return skin_.usable() ? &skin_ : nullptr;
}

void SkinSource::release() {
    skin_.image.reset();
    skin_.layout = ScrollSkinLayout{};
    tried_ = false;
}
