#include <gtest/gtest.h>
#include <windows.h>

#include "text/utf8.h"
#include "view/gfx/surface.h"
#include "view/gfx/text_renderer_win32.h"
#include "view/gfx/window_surface_win32.h"

namespace {

HFONT editorFont(int height) {
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, L"Courier New");
}

int changed(const Surface& s, uint32_t background) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) n += s.pixel(x, y) != background;
    return n;
}

} // namespace

TEST(TextRenderer, MeasuresOneLine) {
    TextRenderer r;
    r.setFont(editorFont(14));
    PixelSize v = r.measure("V", -1);
    EXPECT_GT(v.width, 0);
    EXPECT_GT(v.height, 0);
    EXPECT_EQ(v.height, r.lineHeight());
    PixelSize four = r.measure("VVVV", -1);
    EXPECT_EQ(four.width, 4 * v.width);
    EXPECT_EQ(r.measure("VVVV", 2).width, 2 * v.width);
    // "→" is three bytes of UTF-8 but one character.
    EXPECT_EQ(r.measure("\xE2\x86\x92", -1).width, r.measure("\xE2\x86\x92", 3).width);
    EXPECT_GT(r.measure("\xE2\x86\x92", -1).width, 0);
}

TEST(TextRenderer, DrawsClippedToTheRectangle) {
    TextRenderer r;
    r.setFont(editorFont(16));
    r.setTextColor(0xFFFFFFFFu);
    Surface s(200, 40);
    s.clear(0xFF000000u);
    RECT rect{10, 5, 30, 25};
    r.draw(s, "WWWWWWWW", -1, rect, false);
    ASSERT_GT(changed(s, 0xFF000000u), 0);
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (x < rect.left || x >= rect.right || y < rect.top || y >= rect.bottom) {
                EXPECT_EQ(s.pixel(x, y), 0xFF000000u) << x << "," << y;
            }
}

TEST(TextRenderer, OpaqueModeFillsTheTextBox) {
    TextRenderer r;
    r.setFont(editorFont(14));
    r.setBackgroundColor(0xFF0000FFu);
    EXPECT_EQ(r.setBackgroundMode(BackgroundMode::Opaque), BackgroundMode::Transparent);
    Surface s(100, 30);
    s.clear(0xFF000000u);
    r.draw(s, " ", -1, RECT{0, 0, 100, 30}, false);
    PixelSize box = r.measure(" ", -1);
    EXPECT_EQ(s.pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(s.pixel(box.width - 1, box.height - 1), 0xFF0000FFu);
    EXPECT_EQ(s.pixel(box.width, 0), 0xFF000000u);
}

TEST(TextRenderer, TextAlphaScalesCoverage) {
    TextRenderer r;
    r.setFont(editorFont(16));
    Surface full(60, 30), faded(60, 30), ignored(60, 30);
    for (Surface* s : {&full, &faded, &ignored}) s->clear(0xFF000000u);
    r.setTextColor(0xFFC0C0C0u);
    r.draw(full, "M", -1, RECT{0, 0, 60, 30}, true);
    r.setTextColor(0x00C0C0C0u);
    r.draw(faded, "M", -1, RECT{0, 0, 60, 30}, true);
    r.draw(ignored, "M", -1, RECT{0, 0, 60, 30}, false);
    EXPECT_GT(changed(full, 0xFF000000u), 0);
    EXPECT_EQ(changed(faded, 0xFF000000u), 0);
    // Without the alpha mode the colour's alpha byte is ignored: same picture as full strength.
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_EQ(ignored.pixel(x, y), full.pixel(x, y));
}

TEST(TextRenderer, CachedTextDrawsTheSameAgain) {
    TextRenderer r;
    r.setFont(editorFont(14));
    r.setTextColor(0xFF8080FFu);
    Surface a(120, 20), b(120, 20);
    a.clear(0xFF000000u);
    b.clear(0xFF000000u);
    r.draw(a, "abc\xC3\xA9", -1, RECT{0, 0, 120, 20}, false);
    r.draw(b, "abc\xC3\xA9", -1, RECT{0, 0, 120, 20}, false);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 120; ++x) ASSERT_EQ(a.pixel(x, y), b.pixel(x, y));
    // A new font forgets the glyphs and measures anew.
    int small = r.measure("V", -1).height;
    r.setFont(editorFont(24));
    EXPECT_GT(r.measure("V", -1).height, small);
}

TEST(WindowSurface, CopiesPixelsToAWindow) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    Surface s(32, 32);
    s.clear(0xFF102030u);
    s.fillRect(16, 0, 16, 32, 0xFFFF0000u, 1.0f);
    HDC dc = GetDC(window);
    ASSERT_TRUE(copyToWindow(s, 0, 0, dc, RECT{0, 0, 32, 32}));
    // A second copy reuses the bitmap and takes a source offset.
    ASSERT_TRUE(copyToWindow(s, 16, 0, dc, RECT{32, 0, 48, 32}));
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(GetPixel(dc, 20, 2), RGB(0xFF, 0, 0));
    EXPECT_EQ(GetPixel(dc, 40, 2), RGB(0xFF, 0, 0));
    ReleaseDC(window, dc);
    // Drawing after the move into the bitmap still works on the same pixels.
    s.putPixel(0, 0, 0xFF00FF00u, 1.0f);
    EXPECT_EQ(s.pixel(0, 0), 0xFF00FF00u);
    DestroyWindow(window);
}

TEST(TextRenderer, EveryMalformedSequenceDrawsOneReplacementGlyph) {
    TextRenderer r;
    r.setFont(editorFont(14));
    int replacement = r.measure("\xEF\xBF\xBD", -1).width;
    ASSERT_GT(replacement, 0);
    // An encoded surrogate, a lead above U+10FFFF and a five-byte form: one character each.
    EXPECT_EQ(r.measure("\xED\xA0\x80", -1).width, replacement);
    EXPECT_EQ(r.measure("\xF5\x80\x80\x80", -1).width, replacement);
    EXPECT_EQ(r.measure("\xF8\x88\x80\x80\x80", -1).width, replacement);
    // Two stray bytes are two characters.
    EXPECT_EQ(r.measure("\xC0\x80", -1).width, 2 * replacement);
}

TEST(TextRenderer, GlyphCacheStaysBoundedOverManyDistinctCharacters) {
    TextRenderer r;
    r.setFont(editorFont(14));
    for (int cp = 0x4E00; cp < 0x4E00 + 6000; ++cp) {
        char bytes[4];
        int n = encode(cp, bytes, sizeof bytes);
        r.measure(bytes, n);
    }
    EXPECT_LE(r.cachedGlyphs(), 4096u);
    EXPECT_GT(r.cachedGlyphs(), 0u);
}
