#include "view/gfx/text_renderer_win32.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "text/utf8.h"
#include "view/gfx/window_surface_win32.h"

namespace {

int toUtf16(char32_t cp, wchar_t out[2]) {
    if (cp < 0x10000) {
        out[0] = static_cast<wchar_t>(cp);
        return 1;
    }
    cp -= 0x10000;
    out[0] = static_cast<wchar_t>(0xD800 + (cp >> 10));
    out[1] = static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    return 2;
}

} // namespace

TextRenderer::TextRenderer() {
    TEXTMETRICW tm;
    if (dc_ && GetTextMetricsW(dc_.get(), &tm)) lineHeight_ = tm.tmHeight;
}

TextRenderer::~TextRenderer() = default;

void TextRenderer::setFont(HFONT font) {
    if (dc_) dc_.select(font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    if (font != font_.get()) font_.reset(font);
    for (Glyph& g : ascii_) g = Glyph{};
    others_.clear();
    TEXTMETRICW tm;
    lineHeight_ = dc_ && GetTextMetricsW(dc_.get(), &tm) ? tm.tmHeight : 0;
}

uint32_t TextRenderer::setTextColor(uint32_t colour) { return std::exchange(textColor_, colour); }
uint32_t TextRenderer::setBackgroundColor(uint32_t colour) { return std::exchange(backgroundColor_, colour); }
BackgroundMode TextRenderer::setBackgroundMode(BackgroundMode mode) { return std::exchange(mode_, mode); }

bool TextRenderer::ensureCanvas(int width, int height) {
    if (canvas_ && width <= canvasWidth_ && height <= canvasHeight_) return true;
    width = std::max(width, canvasWidth_);
    height = std::max(height, canvasHeight_);
    uint32_t* bits = nullptr;
    win32::Bitmap canvas(createPixelBitmap(dc_.get(), width, height, &bits));
    if (!canvas) return false;
    dc_.select(canvas.get());
    canvas_ = std::move(canvas);
    canvasBits_ = bits;
    canvasWidth_ = width;
    canvasHeight_ = height;
    return true;
}

void TextRenderer::rasterise(char32_t cp, Glyph& out) {
    out = Glyph{};
    out.ready = true;
    if (!dc_) return;
    wchar_t units[2];
    int n = toUtf16(cp, units);
    SIZE size{};
    if (!GetTextExtentPoint32W(dc_.get(), units, n, &size)) return;
    out.advance = size.cx;
    // Room on both sides for glyphs that overhang their advance (italics, wide marks).
    int pad = lineHeight_ / 2 + 2;
    int width = size.cx + 2 * pad;
    int height = std::max(lineHeight_, static_cast<int>(size.cy));
    if (width <= 0 || height <= 0 || !ensureCanvas(width, height)) return;
    std::memset(canvasBits_, 0, static_cast<size_t>(canvasWidth_) * static_cast<size_t>(canvasHeight_) * sizeof(uint32_t));
    SetTextColor(dc_.get(), RGB(255, 255, 255));
    SetBkMode(dc_.get(), TRANSPARENT);
    ExtTextOutW(dc_.get(), pad, 0, 0, nullptr, units, static_cast<UINT>(n), nullptr);
    GdiFlush();

    // White on black: the brightest channel is the coverage (sub-pixel smoothing included).
    auto coverageAt = [&](int x, int y) {
        uint32_t p = canvasBits_[static_cast<size_t>(y) * static_cast<size_t>(canvasWidth_) + static_cast<size_t>(x)];
        return static_cast<uint8_t>(std::max({(p >> 16) & 0xFFu, (p >> 8) & 0xFFu, p & 0xFFu}));
    };
    int left = width, right = -1, top = height, bottom = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (coverageAt(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < 0) return; // blank glyph (space)
    out.left = left - pad;
    out.top = top;
    out.width = right - left + 1;
    out.height = bottom - top + 1;
    out.coverage.resize(static_cast<size_t>(out.width) * static_cast<size_t>(out.height));
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.coverage[static_cast<size_t>(y) * static_cast<size_t>(out.width) + static_cast<size_t>(x)] =
                coverageAt(left + x, top + y);
}

const TextRenderer::Glyph& TextRenderer::glyph(char32_t cp) {
    // A text of many distinct characters must not grow the cache without end; starting over
    // costs one rasterisation per character seen again.
    if (cp >= ascii_.size() && others_.size() >= kMaxCachedGlyphs && !others_.count(cp)) others_.clear();
    Glyph& g = cp < ascii_.size() ? ascii_[cp] : others_[cp];
    if (!g.ready) rasterise(cp, g);
    return g;
}

PixelSize TextRenderer::measure(const char* text, int length) {
    PixelSize size{0, lineHeight_};
    if (!text) return size;
    size_t n = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
    forEachDisplayCharacter(text, n, [&](char32_t cp) { size.width += glyph(cp).advance; });
    return size;
}

void TextRenderer::draw(Surface& surface, const char* text, int length, const RECT& rect, bool useTextAlpha) {
    if (!text || surface.empty()) return;
    size_t n = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
    int clipLeft = std::max<int>(rect.left, 0);
    int clipTop = std::max<int>(rect.top, 0);
    int clipRight = std::min<int>(rect.right, surface.width());
    int clipBottom = std::min<int>(rect.bottom, surface.height());
    if (clipLeft >= clipRight || clipTop >= clipBottom) return;

    if (mode_ == BackgroundMode::Opaque) {
        int width = measure(text, static_cast<int>(n)).width;
        int right = std::min<int>(clipRight, rect.left + width);
        int bottom = std::min<int>(clipBottom, rect.top + lineHeight_);
        surface.fillRect(clipLeft, clipTop, right - clipLeft, bottom - clipTop, backgroundColor_, 1.0f);
    }

    const uint32_t colour = textColor_ | 0xFF000000u;
    const int strength = useTextAlpha ? static_cast<int>(textColor_ >> 24) : 255;
    if (strength == 0) return;
    int penX = rect.left;
    forEachDisplayCharacter(text, n, [&](char32_t cp) {
        if (penX >= clipRight) return;
        const Glyph& g = glyph(cp);
        int gx = penX + g.left;
        int gy = rect.top + g.top;
        int x0 = std::max(gx, clipLeft), x1 = std::min(gx + g.width, clipRight);
        int y0 = std::max(gy, clipTop), y1 = std::min(gy + g.height, clipBottom);
        for (int y = y0; y < y1; ++y) {
            const uint8_t* cov = g.coverage.data() + static_cast<size_t>(y - gy) * static_cast<size_t>(g.width);
            uint32_t* row = surface.row(y);
            for (int x = x0; x < x1; ++x) {
                int c = cov[x - gx];
                if (c == 0) continue;
                int weight = c * 256 / 255 * strength / 255;
                row[x] = blendPixel(row[x], colour, weight);
            }
        }
        penX += g.advance;
    });
}
