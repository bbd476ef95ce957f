#include <gtest/gtest.h>

#include "view/gfx/surface.h"

namespace {

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

// Counts the pixels of the surface that differ from the background.
int touched(const Surface& s, uint32_t background) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.pixel(x, y) != background) ++n;
    return n;
}

} // namespace

TEST(SurfaceBlend, WeightIsFloorOfAlphaTimes256) {
    EXPECT_EQ(blendWeight(0.0f), 0);
    EXPECT_EQ(blendWeight(0.4f), 102);
    EXPECT_EQ(blendWeight(0.6f), 153);
    EXPECT_EQ(blendWeight(1.0f), 256);
    EXPECT_EQ(blendWeight(-1.0f), 0);
    EXPECT_EQ(blendWeight(3.0f), 256);
}

TEST(SurfaceBlend, KnownPixelsAtFourAlphas) {
    Surface s(1, 1);
    const uint32_t old = 0x20406080u;
    const uint32_t colour = 0xFFFF0010u;

    s.clear(old);
    s.fillRect(0, 0, 1, 1, colour, 0.0f);
    EXPECT_EQ(s.pixel(0, 0), old);

    // Weight 102: a 0x20 -> 0x20 + 0xDF*102/256 = 0x20 + 88; r 0x40 + 0xBF*102/256 = 0x40 + 76;
    // g 0x60 - 0x60*102/256 (toward zero) = 0x60 - 38; b 0x80 - 0x70*102/256 = 0x80 - 44.
    s.clear(old);
    s.fillRect(0, 0, 1, 1, colour, 0.4f);
    EXPECT_EQ(s.pixel(0, 0), (uint32_t{0x20 + 88} << 24) | (uint32_t{0x40 + 76} << 16) | (uint32_t{0x60 - 38} << 8) | uint32_t{0x80 - 44});

    // Weight 153: a +133, r +114, g -57, b -66.
    s.clear(old);
    s.fillRect(0, 0, 1, 1, colour, 0.6f);
    EXPECT_EQ(s.pixel(0, 0), (uint32_t{0x20 + 133} << 24) | (uint32_t{0x40 + 114} << 16) | (uint32_t{0x60 - 57} << 8) | uint32_t{0x80 - 66});

    s.clear(old);
    s.fillRect(0, 0, 1, 1, colour, 1.0f);
    EXPECT_EQ(s.pixel(0, 0), colour);
}

TEST(SurfaceBlend, PutPixelAndLineUseTheSameRule) {
    Surface s(3, 1);
    s.clear(kBlack);
    s.putPixel(0, 0, kWhite, 0.4f);
    s.line(1, 0, 2, 0, kWhite, 0.4f);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(s.pixel(x, 0), 0xFF656565u) << x;
}

TEST(SurfaceBasics, ResizeReserveAndMove) {
    Surface s;
    EXPECT_TRUE(s.empty());
    ASSERT_TRUE(s.resize(5, 3));
    EXPECT_EQ(s.width(), 5);
    EXPECT_EQ(s.height(), 3);
    ASSERT_TRUE(s.reserve(2, 7));
    EXPECT_EQ(s.width(), 5);
    EXPECT_EQ(s.height(), 7);
    s.clear(kWhite);
    Surface moved(std::move(s));
    EXPECT_EQ(moved.pixel(4, 6), kWhite);
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(moved.pixel(5, 0), 0u);
    EXPECT_EQ(moved.pixel(-1, 0), 0u);
    ASSERT_TRUE(moved.resize(-4, 2));
    EXPECT_TRUE(moved.empty());
    moved.fillRect(0, 0, 4, 4, kWhite, 1.0f); // nothing to draw on, must not crash
}

TEST(SurfaceClipping, FillRectAtAllEdges) {
    Surface s(4, 4);
    s.clear(kBlack);
    s.fillRect(-2, 1, 3, 1, kWhite, 1.0f); // left: only x 0
    s.fillRect(3, 2, 5, 1, kWhite, 1.0f);  // right: only x 3
    s.fillRect(1, -5, 1, 6, kWhite, 1.0f); // top: only y 0
    s.fillRect(2, 3, 1, 9, kWhite, 1.0f);  // bottom: only y 3
    EXPECT_EQ(touched(s, kBlack), 4);
    EXPECT_EQ(s.pixel(0, 1), kWhite);
    EXPECT_EQ(s.pixel(3, 2), kWhite);
    EXPECT_EQ(s.pixel(1, 0), kWhite);
    EXPECT_EQ(s.pixel(2, 3), kWhite);
    s.fillRect(-10, -10, 5, 5, kWhite, 1.0f);
    s.fillRect(4, 0, 3, 3, kWhite, 1.0f);
    s.fillRect(0, 0, 0, 3, kWhite, 1.0f);
    EXPECT_EQ(touched(s, kBlack), 4);
}

TEST(SurfaceClipping, PutPixelOutsideIsIgnored) {
    Surface s(2, 2);
    s.clear(kBlack);
    s.putPixel(-1, 0, kWhite, 1.0f);
    s.putPixel(2, 0, kWhite, 1.0f);
    s.putPixel(0, -1, kWhite, 1.0f);
    s.putPixel(0, 2, kWhite, 1.0f);
    EXPECT_EQ(touched(s, kBlack), 0);
}

TEST(SurfaceClipping, LinesCrossingEveryEdge) {
    Surface s(4, 4);
    s.clear(kBlack);
    s.line(-3, 0, 6, 0, kWhite, 1.0f); // across left and right: 4 pixels
    s.line(1, -3, 1, 9, kWhite, 1.0f); // across top and bottom: 3 more (1,0 already set)
    EXPECT_EQ(touched(s, kBlack), 7);
    s.line(2, 2, 2, 2, kWhite, 1.0f); // a single point includes its end
    EXPECT_EQ(s.pixel(2, 2), kWhite);
    // Drawn backwards the end points are still included.
    s.clear(kBlack);
    s.line(3, 3, 0, 3, kWhite, 1.0f);
    EXPECT_EQ(touched(s, kBlack), 4);
}

TEST(SurfaceClipping, LineBlendsEachPixelOnce) {
    Surface s(5, 5);
    s.clear(kBlack);
    s.line(0, 0, 4, 4, kWhite, 0.4f);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(s.pixel(i, i), 0xFF656565u);
    EXPECT_EQ(touched(s, kBlack), 5);
}

TEST(SurfaceClipping, BlitAtAllEdges) {
    Surface src(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) src.row(y)[x] = 0xFF000000u | static_cast<uint32_t>(y * 3 + x + 1);
    Surface dst(4, 4);

    dst.clear(kBlack);
    dst.blit(src, -1, -2, 0, 0, 3, 3, 1.0f); // left and top cut
    EXPECT_EQ(dst.pixel(0, 0), 0xFF000008u);
    EXPECT_EQ(dst.pixel(1, 0), 0xFF000009u);
    EXPECT_EQ(touched(dst, kBlack), 2);

    dst.clear(kBlack);
    dst.blit(src, 2, 3, 0, 0, 3, 3, 1.0f); // right and bottom cut
    EXPECT_EQ(dst.pixel(2, 3), 0xFF000001u);
    EXPECT_EQ(dst.pixel(3, 3), 0xFF000002u);
    EXPECT_EQ(touched(dst, kBlack), 2);

    // A source rectangle that reaches outside the source is cut too, shifting the target.
    dst.clear(kBlack);
    dst.blit(src, 0, 0, -1, 2, 5, 5, 1.0f);
    EXPECT_EQ(dst.pixel(1, 0), 0xFF000007u);
    EXPECT_EQ(dst.pixel(3, 0), 0xFF000009u);
    EXPECT_EQ(touched(dst, kBlack), 3);

    dst.clear(kBlack);
    dst.blit(src, 4, 0, 0, 0, 3, 3, 1.0f);
    dst.blit(src, 0, -3, 0, 0, 3, 3, 1.0f);
    EXPECT_EQ(touched(dst, kBlack), 0);
}

TEST(SurfaceBlit, BlendsWithAlpha) {
    Surface src(1, 1);
    src.clear(kWhite);
    Surface dst(1, 1);
    dst.clear(kBlack);
    dst.blit(src, 0, 0, 0, 0, 1, 1, 0.4f);
    EXPECT_EQ(dst.pixel(0, 0), 0xFF656565u);
    dst.blit(src, 0, 0, 0, 0, 1, 1, 0.0f);
    EXPECT_EQ(dst.pixel(0, 0), 0xFF656565u);
}

TEST(SurfaceBlit, OverlappingCopyWithinOneSurface) {
    Surface s(1, 4);
    for (int y = 0; y < 4; ++y) s.row(y)[0] = static_cast<uint32_t>(y);
    s.blit(s, 0, 1, 0, 0, 1, 3, 1.0f);
    EXPECT_EQ(s.pixel(0, 0), 0u);
    EXPECT_EQ(s.pixel(0, 1), 0u);
    EXPECT_EQ(s.pixel(0, 2), 1u);
    EXPECT_EQ(s.pixel(0, 3), 2u);
}

// Sample centres: destination pixel i of a 2 -> 4 enlargement samples source x = (i + 0.5) / 2 - 0.5,
// i.e. -0.25, 0.25, 0.75, 1.25, clamped to 0..1: weights of the right pixel 0, 1/4, 3/4, 1.
TEST(SurfaceScaledBlit, TwoByTwoToFourByFour) {
    Surface src(2, 2);
    src.row(0)[0] = 0xFF000000u;
    src.row(0)[1] = 0xFFFF0000u; // red 255
    src.row(1)[0] = 0xFF0000FFu; // blue 255
    src.row(1)[1] = 0xFF00FF00u; // green 255
    Surface dst(4, 4);
    dst.clear(0u);
    dst.scaledBlit(src, 0, 0, 4, 4, 0.0f, 0.0f, 2.0f, 2.0f, 1.0f, false);
    const int w[4] = {0, 64, 192, 256}; // in 1/256
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            auto weigh = [&](int wx, int wy) { return (wx * wy + 128) / 256; };
            // Channel values: red from (1,0), blue from (0,1), green from (1,1), each 255.
            int red = (255 * weigh(w[x], 256 - w[y]) + 128) / 256;
            int green = (255 * weigh(w[x], w[y]) + 128) / 256;
            int blue = (255 * weigh(256 - w[x], w[y]) + 128) / 256;
            uint32_t got = dst.pixel(x, y);
            EXPECT_EQ(got >> 24, 0xFFu) << x << "," << y;
            EXPECT_NEAR(static_cast<int>((got >> 16) & 0xFF), red, 1) << x << "," << y;
            EXPECT_NEAR(static_cast<int>((got >> 8) & 0xFF), green, 1) << x << "," << y;
            EXPECT_NEAR(static_cast<int>(got & 0xFF), blue, 1) << x << "," << y;
        }
    }
    // Exact values at a few places worked out by hand.
    EXPECT_EQ(dst.pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(dst.pixel(3, 0), 0xFFFF0000u);
    EXPECT_EQ(dst.pixel(1, 0), 0xFF400000u); // 255 * 64 / 256 = 63.75 -> 64
    EXPECT_EQ(dst.pixel(2, 0), 0xFFBF0000u); // 255 * 192 / 256 = 191.25 -> 191
    EXPECT_EQ(dst.pixel(3, 3), 0xFF00FF00u);
    EXPECT_EQ(dst.pixel(0, 1), 0xFF000040u);
}

TEST(SurfaceScaledBlit, FractionalSourceRectangle) {
    // A 4x1 ramp; the source rectangle starts half-way into pixel 1 and is one pixel wide,
    // so an unscaled copy samples at x = 1.5 (half of pixels 1 and 2).
    Surface src(4, 1);
    for (int x = 0; x < 4; ++x) src.row(0)[x] = 0xFF000000u | static_cast<uint32_t>(x * 40);
    Surface dst(1, 1);
    dst.scaledBlit(src, 0, 0, 1, 1, 1.5f, 0.0f, 1.0f, 1.0f, 1.0f, false);
    EXPECT_EQ(dst.pixel(0, 0), 0xFF000000u | 60u);
}

TEST(SurfaceScaledBlit, EdgesDoNotBleedFromOutsideTheSourceRectangle) {
    Surface src(3, 1);
    src.row(0)[0] = kWhite;
    src.row(0)[1] = kBlack;
    src.row(0)[2] = kWhite;
    Surface dst(8, 1);
    dst.scaledBlit(src, 0, 0, 8, 1, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, false);
    for (int x = 0; x < 8; ++x) EXPECT_EQ(dst.pixel(x, 0), kBlack) << x;
}

TEST(SurfaceScaledBlit, SourceAlphaBlendsOverTheDestination) {
    Surface src(1, 1);
    src.clear(0x80FFFFFFu); // half transparent white
    Surface dst(2, 1);
    dst.clear(kBlack);
    dst.scaledBlit(src, 0, 0, 1, 1, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, true);
    // weight 256 * 128 / 255 = 128: colour channels 0 -> 127, alpha 255 -> 255 - 127*128/256.
    EXPECT_EQ(dst.pixel(0, 0), 0xC07F7F7Fu);
    // Without source alpha the pixel replaces the destination.
    dst.scaledBlit(src, 1, 0, 1, 1, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, false);
    EXPECT_EQ(dst.pixel(1, 0), 0x80FFFFFFu);
    // Fully transparent source leaves the destination as it was.
    src.clear(0x00FFFFFFu);
    dst.clear(kBlack);
    dst.scaledBlit(src, 0, 0, 2, 1, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, true);
    EXPECT_EQ(touched(dst, kBlack), 0);
}

TEST(SurfaceClipping, ScaledBlitAtAllEdges) {
    Surface src(1, 1);
    src.clear(kWhite);
    Surface dst(4, 4);
    dst.clear(kBlack);
    dst.scaledBlit(src, -2, -2, 3, 3, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, false); // top-left: 1 pixel
    dst.scaledBlit(src, 3, 3, 3, 3, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, false);   // bottom-right: 1 pixel
    EXPECT_EQ(touched(dst, kBlack), 2);
    EXPECT_EQ(dst.pixel(0, 0), kWhite);
    EXPECT_EQ(dst.pixel(3, 3), kWhite);
    dst.scaledBlit(src, 4, 0, 3, 3, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, false);
    dst.scaledBlit(src, 0, -3, 3, 3, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, false);
    dst.scaledBlit(src, 0, 0, 3, 3, 5.0f, 0.0f, 1.0f, 1.0f, 1.0f, false); // source outside
    EXPECT_EQ(touched(dst, kBlack), 2);
}
