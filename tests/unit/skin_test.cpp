#include <gtest/gtest.h>

#include <string>

#include "view/gfx/png_loader.h"
#include "view/scrollbar/bar_painter.h"
#include "view/scrollbar/scroll_skin.h"

namespace {

constexpr uint32_t kMagenta = 0xFFFF00FFu;

std::unique_ptr<Surface> committedSkin() {
    return loadPNG(std::string(ORVANE_SOURCE_DIR) + "/data/skin/mask/scrollbar.png");
}

bool isOpaqueDark(uint32_t p) {
    return (p >> 24) == 0xFF && ((p >> 16) & 0xFF) < 0x40 && ((p >> 8) & 0xFF) < 0x40 && (p & 0xFF) < 0x40;
}

} // namespace

TEST(SkinLayout, CommittedImageIsMarked) {
    auto image = committedSkin();
    ASSERT_NE(image, nullptr);
    ScrollSkinLayout l = readSkinLayout(*image);
    EXPECT_TRUE(l.valid);
    EXPECT_TRUE(l.marked);
    EXPECT_EQ(l.trackY, 37);
    EXPECT_EQ(l.trackHeight, 201);
    EXPECT_EQ(l.trackTopCap, 6);
    EXPECT_EQ(l.trackBottomCap, 6);
    EXPECT_EQ(l.thumbY, 91);
    const int parts[5] = {8, 16, 18, 16, 8};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(l.thumbParts[i], parts[i]) << i;
}

TEST(SkinLayout, CommittedImageHasADarkTrackAndOpaqueArrows) {
    auto image = committedSkin();
    ASSERT_NE(image, nullptr);
    for (int y = 37; y < 238; y += 20) EXPECT_TRUE(isOpaqueDark(image->pixel(178, y))) << y;
    for (int x : {116, 133, 150})
        for (int y : {121, 181}) EXPECT_EQ(image->pixel(x, y) >> 24, 0xFFu);
    // The pressed thumb leans blue.
    uint32_t pressed = image->pixel(34 + 8, 91 + 12);
    EXPECT_GT(pressed & 0xFF, (pressed >> 16) & 0xFF);
}

TEST(SkinLayout, UnmarkedImageUsesFixedSizes) {
    Surface image(204, 240);
    image.clear(0xFF202020u);
    image.putPixel(168, 40, kMagenta, 1.0f); // a stray marker is not read without the flag
    ScrollSkinLayout l = readSkinLayout(image);
    EXPECT_TRUE(l.valid);
    EXPECT_FALSE(l.marked);
    EXPECT_EQ(l.trackY, 34);
    EXPECT_EQ(l.trackHeight, 204);
    EXPECT_EQ(l.trackTopCap, 0);
    EXPECT_EQ(l.trackBottomCap, 0);
    EXPECT_EQ(l.thumbY, 116);
    const int parts[5] = {8, 16, 18, 16, 8};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(l.thumbParts[i], parts[i]) << i;
}

TEST(SkinLayout, MarkedSyntheticRuns) {
    Surface image(204, 240);
    image.clear(0u);
    image.putPixel(0, 35, kMagenta, 1.0f);
    image.fillRect(168, 37, 1, 3, kMagenta, 1.0f);   // top cap 3
    image.fillRect(168, 228, 1, 10, kMagenta, 1.0f); // bottom cap 10
    const int runs[5] = {2, 5, 7, 4, 1};
    int y = 91;
    for (int i = 0; i < 5; ++i) {
        if (i % 2 == 0) image.fillRect(52, y, 1, runs[i], kMagenta, 1.0f);
        y += runs[i];
    }
    ScrollSkinLayout l = readSkinLayout(image);
    EXPECT_TRUE(l.marked);
    EXPECT_EQ(l.trackTopCap, 3);
    EXPECT_EQ(l.trackBottomCap, 10);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(l.thumbParts[i], runs[i]) << i;
}

TEST(SkinLayout, TooSmallImageIsNotUsable) {
    Surface image(100, 100);
    image.clear(kMagenta);
    EXPECT_FALSE(readSkinLayout(image).valid);
}

TEST(SkinPictures, TrackKeepsCapsAndStretchesTheMiddle) {
    // Synthetic marked skin: caps of 4 rows coloured apart from the middle.
    Surface image(204, 240);
    image.clear(0u);
    image.putPixel(0, 35, kMagenta, 1.0f);
    image.fillRect(168, 37, 1, 4, kMagenta, 1.0f);
    image.fillRect(168, 234, 1, 4, kMagenta, 1.0f);
    image.fillRect(170, 37, 17, 201, 0xFF00FF00u, 1.0f);   // normal middle: green
    image.fillRect(170, 37, 17, 4, 0xFFFF0000u, 1.0f);     // top cap: red
    image.fillRect(170, 234, 17, 4, 0xFF0000FFu, 1.0f);    // bottom cap: blue
    image.fillRect(187, 37, 17, 201, 0xFF444444u, 1.0f);   // pressed: grey
    ScrollSkinLayout l = readSkinLayout(image);
    Surface track;
    composeTrackPicture(track, image, l, 17, 300);
    ASSERT_EQ(track.width(), 34);
    ASSERT_EQ(track.height(), 300);
    EXPECT_EQ(track.pixel(8, 0), 0xFFFF0000u);
    EXPECT_EQ(track.pixel(8, 3), 0xFFFF0000u);
    EXPECT_EQ(track.pixel(8, 4), 0xFF00FF00u);
    EXPECT_EQ(track.pixel(8, 295), 0xFF00FF00u);
    EXPECT_EQ(track.pixel(8, 296), 0xFF0000FFu);
    EXPECT_EQ(track.pixel(8, 299), 0xFF0000FFu);
    EXPECT_EQ(track.pixel(17 + 8, 150), 0xFF444444u);
}

TEST(SkinPictures, ThumbCentresTheGripAndKeepsCaps) {
    Surface image(204, 240);
    image.clear(0u);
    image.putPixel(0, 35, kMagenta, 1.0f);
    const int runs[5] = {8, 16, 18, 16, 8};
    const uint32_t colours[5] = {0xFF110000u, 0xFF220000u, 0xFF330000u, 0xFF440000u, 0xFF550000u};
    int y = 91;
    for (int i = 0; i < 5; ++i) {
        if (i % 2 == 0) image.fillRect(52, y, 1, runs[i], kMagenta, 1.0f);
        image.fillRect(0, y, 17, runs[i], colours[i], 1.0f);
        y += runs[i];
    }
    ScrollSkinLayout l = readSkinLayout(image);
    Surface thumb, scratch;
    composeThumbPicture(thumb, scratch, image, l, kSkinNormal, 17, 120);
    ASSERT_EQ(thumb.height(), 120);
    EXPECT_EQ(thumb.pixel(8, 0), colours[0]);
    EXPECT_EQ(thumb.pixel(8, 7), colours[0]);
    EXPECT_EQ(thumb.pixel(8, 20), colours[1]);
    // Grip of 18 rows centred in 120: rows 51..68.
    EXPECT_EQ(thumb.pixel(8, 51), colours[2]);
    EXPECT_EQ(thumb.pixel(8, 68), colours[2]);
    EXPECT_EQ(thumb.pixel(8, 100), colours[3]);
    EXPECT_EQ(thumb.pixel(8, 119), colours[4]);

    // Shorter than caps and grip together: built at 34 rows, then scaled down to 17.
    composeThumbPicture(thumb, scratch, image, l, kSkinNormal, 17, 17);
    ASSERT_EQ(thumb.height(), 17);
    EXPECT_EQ(thumb.pixel(8, 0), colours[0]);
    EXPECT_EQ(thumb.pixel(8, 16), colours[4]);
}

TEST(BarPainting, SkinnedBarDrawsPiecesWhereTheGeometrySaysSo) {
    auto image = committedSkin();
    ASSERT_NE(image, nullptr);
    ScrollSkin skin;
    skin.layout = readSkinLayout(*image);
    skin.image = std::move(image);
    skin.generation = 1;

    ScrollValues v;
    applyScrollRequest(v, {kScrollAll, 0, 100, 20, 40});
    BarGeometry g = computeBarGeometry(234, 17, v, 6);
    Surface bar(17, 234), scratch;
    BarPictureCache cache;
    BarPaintState state;
    state.canScroll = true;
    paintVerticalBar(bar, g, state, &skin, cache, scratch, SystemColours{});
    // Track above the thumb is the dark groove; the thumb middle is grey, lighter than it.
    uint32_t track = bar.pixel(8, g.trackStart + 10);
    uint32_t thumb = bar.pixel(8, g.thumbStart() + 5);
    EXPECT_TRUE(isOpaqueDark(track));
    EXPECT_GT(thumb & 0xFF, track & 0xFF);
    // Corners of the thumb are transparent in the skin: the groove shows through, not a flat fill.
    EXPECT_EQ(bar.pixel(0, g.thumbStart()), bar.pixel(0, g.trackStart + 10));
    EXPECT_EQ(cache.trackLength, 234);
    EXPECT_EQ(cache.thumbLength, g.thumbLength);

    // Pressing page-down with the pointer on it shows the pressed (bluish) track below the thumb.
    state.pressedPart = state.hotPart = kPartPageDown;
    paintVerticalBar(bar, g, state, &skin, cache, scratch, SystemColours{});
    uint32_t pressed = bar.pixel(8, g.thumbStart() + g.thumbLength + 10);
    EXPECT_GT(pressed & 0xFF, (pressed >> 16) & 0xFF);
    EXPECT_EQ(bar.pixel(8, g.trackStart + 10), track);

    // A new skin generation rebuilds the cached pictures.
    skin.generation = 2;
    paintVerticalBar(bar, g, state, &skin, cache, scratch, SystemColours{});
    EXPECT_EQ(cache.trackGeneration, 2u);
}

TEST(BarPainting, PlainLookUsesSystemColours) {
    SystemColours colours;
    ScrollValues v;
    applyScrollRequest(v, {kScrollAll, 0, 100, 20, 0});
    BarGeometry g = computeBarGeometry(234, 17, v, 6);
    Surface bar(17, 234), scratch;
    BarPictureCache cache;
    BarPaintState state;
    state.canScroll = true;
    paintVerticalBar(bar, g, state, nullptr, cache, scratch, colours);
    EXPECT_EQ(bar.pixel(0, 0), colours.highlight);          // raised arrow box
    EXPECT_EQ(bar.pixel(8, g.thumbStart() + 10), colours.face); // thumb body
    uint32_t a = bar.pixel(4, 150), b = bar.pixel(5, 150);     // checker below the thumb
    EXPECT_TRUE((a == colours.scrollbar && b == ((~colours.scrollbar & 0xFFFFFFu) | 0xFF000000u)) ||
                (b == colours.scrollbar && a == ((~colours.scrollbar & 0xFFFFFFu) | 0xFF000000u)));
    // Unable to scroll: no thumb, greyed arrow glyphs.
    ScrollValues idle;
    BarGeometry flat = computeBarGeometry(234, 17, idle, 6);
    state.canScroll = false;
    paintVerticalBar(bar, flat, state, nullptr, cache, scratch, colours);
    bool grey = false, black = false;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 17; ++x) {
            grey |= bar.pixel(x, y) == colours.grayArrow;
            black |= bar.pixel(x, y) == colours.arrow;
        }
    EXPECT_TRUE(grey);
    EXPECT_FALSE(black);
}
