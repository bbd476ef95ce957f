#pragma once
// Draws UTF-8 text onto surfaces with one GDI font that the renderer owns. Glyphs are
// rasterised once by GDI (into a small DIB, white on black, so the font's own smoothing
// gives the coverage) and kept; later draws only blend cached coverage and allocate nothing.
#include <windows.h>

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/handles_win32.h"
#include "text/pixel_geometry.h"
#include "view/gfx/surface.h"

enum class BackgroundMode { Transparent, Opaque };

class TextRenderer {
public:
    TextRenderer();
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // Takes ownership of font (releasing the previous one) and forgets the cached glyphs.
    void setFont(HFONT font);
    HFONT font() const { return font_.get(); }
    // Glyphs rasterised and kept, for tests of the cache's bound.
    size_t cachedGlyphs() const { return others_.size(); }
    uint32_t setTextColor(uint32_t colour);
    uint32_t setBackgroundColor(uint32_t colour);
    BackgroundMode setBackgroundMode(BackgroundMode mode);
    int lineHeight() const { return lineHeight_; }

    // Size of the text as one line; length -1 means up to the terminating NUL.
    PixelSize measure(const char* text, int length);
    // Draws the text as one line from rect's top-left corner, clipped to rect. In opaque mode
    // the text's box is filled with the background colour first. With useTextAlpha the
    // coverage is scaled by the text colour's alpha; otherwise that alpha is ignored.
    void draw(Surface& surface, const char* text, int length, const RECT& rect, bool useTextAlpha);

private:
    struct Glyph {
        bool ready = false;
        int advance = 0;
        int left = 0; // offset of the coverage box from the pen position
        int top = 0;
        int width = 0;
        int height = 0;
        std::vector<uint8_t> coverage;
    };

    const Glyph& glyph(char32_t cp);
    void rasterise(char32_t cp, Glyph& out);
    bool ensureCanvas(int width, int height);

    // The font and bitmap outlive the DC that has them selected (members go in reverse).
    win32::Font font_;
    win32::Bitmap canvas_;
    win32::MemoryDC dc_;
    uint32_t* canvasBits_ = nullptr;
    int canvasWidth_ = 0;
    int canvasHeight_ = 0;
    int lineHeight_ = 0;
    uint32_t textColor_ = 0xFF000000u;
    uint32_t backgroundColor_ = 0xFFFFFFFFu;
    BackgroundMode mode_ = BackgroundMode::Transparent;
    static constexpr size_t kMaxCachedGlyphs = 4096;
    std::array<Glyph, 128> ascii_;
    std::unordered_map<char32_t, Glyph> others_;
};
