#include "view/scrollbar/bar_painter.h"

#include <algorithm>

void BarPictureCache::reset() {
    trackThickness = trackLength = -1;
    thumbWidth = thumbLength = thumbState = -1;
    trackGeneration = thumbGeneration = 0;
}

namespace {

struct PartLooks {
    bool pressed;
    bool hot;
};

// A part looks pressed only while it is held and the pointer is over it.
PartLooks looksOf(const BarPaintState& s, int part) {
    bool pressed = s.pressedPart == part && s.hotPart == part;
    return {pressed, !pressed && s.pressedPart == kPartNone && s.hotPart == part};
}

// ---- plain look ----

// A face-filled box with a one-pixel edge: top and left in one colour, bottom and right in
// another; a box under two pixels a side is only filled.
bool edgedBox(Surface& out, int x, int y, int w, int h, uint32_t face, uint32_t topLeft, uint32_t bottomRight) {
    out.fillRect(x, y, w, h, face, 1.0f);
    if (w < 2 || h < 2) return false;
    out.line(x, y, x + w - 1, y, topLeft, 1.0f);
    out.line(x, y, x, y + h - 1, topLeft, 1.0f);
    out.line(x, y + h - 1, x + w - 1, y + h - 1, bottomRight, 1.0f);
    out.line(x + w - 1, y, x + w - 1, y + h - 1, bottomRight, 1.0f);
    return true;
}

void raisedBox(Surface& out, int x, int y, int w, int h, const SystemColours& c) {
    // Outer edge: highlight top-left, dark shadow bottom-right; inner: face and shadow.
    if (!edgedBox(out, x, y, w, h, c.face, c.highlight, c.darkShadow)) return;
    if (w < 4 || h < 4) return;
    out.line(x + 1, y + h - 2, x + w - 2, y + h - 2, c.shadow, 1.0f);
    out.line(x + w - 2, y + 1, x + w - 2, y + h - 2, c.shadow, 1.0f);
}

void flatBox(Surface& out, int x, int y, int w, int h, const SystemColours& c) {
    edgedBox(out, x, y, w, h, c.face, c.shadow, c.shadow);
}

enum class Pointing { Up, Down };

// A filled triangle pointing up or down, centred in the box; a pressed one sits a pixel lower.
void arrowGlyph(Surface& out, int x, int y, int w, int h, Pointing pointing, bool pressed, uint32_t colour) {
    int half = std::max(1, std::min(w, h) / 4);
    int cx = x + w / 2 + (pressed ? 1 : 0);
    int top = y + (h - half) / 2 + (pressed ? 1 : 0);
    for (int i = 0; i < half; ++i) {
        int spread = pointing == Pointing::Up ? i : half - 1 - i;
        out.line(cx - spread, top + i, cx + spread, top + i, colour, 1.0f);
    }
}

void plainArrow(Surface& out, int y, int h, Pointing pointing, const PartLooks& looks, bool active,
                const SystemColours& c) {
    int w = out.width();
    if (looks.pressed) {
        flatBox(out, 0, y, w, h, c);
    } else {
        raisedBox(out, 0, y, w, h, c);
    }
    arrowGlyph(out, 0, y, w, h, pointing, looks.pressed, active ? c.arrow : c.grayArrow);
}

void plainTrack(Surface& out, int y0, int y1, bool pressed, const SystemColours& c) {
    uint32_t a = c.scrollbar;
    uint32_t b = (~a & 0x00FFFFFFu) | 0xFF000000u;
    if (pressed) a = b = c.darkShadow;
    for (int y = std::max(y0, 0); y < std::min(y1, out.height()); ++y) {
        uint32_t* row = out.row(y);
        for (int x = 0; x < out.width(); ++x) row[x] = ((x + y) & 1) ? b : a;
    }
}

// ---- skinned look ----

void skinArrow(Surface& out, const ScrollSkin& skin, int y, int h, bool up, const PartLooks& looks) {
    int state = looks.pressed ? kSkinPressed : looks.hot ? kSkinHot : kSkinNormal;
    const ScrollSkinLayout& l = skin.layout;
    out.fillRect(0, y, out.width(), h, kSkinFlatColour, 1.0f);
    out.scaledBlit(*skin.image, 0, y, out.width(), h, static_cast<float>(l.arrowX[state]),
                   static_cast<float>(up ? l.arrowUpY : l.arrowDownY), kSkinPiece, kSkinPiece, 1.0f, true);
}

void ensureTrack(BarPictureCache& cache, const ScrollSkin& skin, int thickness, int length) {
    if (cache.trackThickness == thickness && cache.trackLength == length && cache.trackGeneration == skin.generation) return;
    composeTrackPicture(cache.track, *skin.image, skin.layout, thickness, length);
    cache.trackThickness = thickness;
    cache.trackLength = length;
    cache.trackGeneration = skin.generation;
}

void skinTrack(Surface& out, const BarPictureCache& cache, int y0, int y1, bool pressed) {
    if (y1 <= y0) return;
    int thickness = out.width();
    out.blit(cache.track, 0, y0, pressed ? thickness : 0, y0, thickness, y1 - y0, 1.0f);
}

void skinThumb(Surface& out, BarPictureCache& cache, Surface& scratch, const ScrollSkin& skin, int y, int length, int state) {
    int width = out.width();
    if (cache.thumbWidth != width || cache.thumbLength != length || cache.thumbState != state ||
        cache.thumbGeneration != skin.generation) {
        composeThumbPicture(cache.thumb, scratch, *skin.image, skin.layout, state, width, length);
        cache.thumbWidth = width;
        cache.thumbLength = length;
        cache.thumbState = state;
        cache.thumbGeneration = skin.generation;
    }
    out.scaledBlit(cache.thumb, 0, y, width, length, 0.0f, 0.0f, static_cast<float>(width), static_cast<float>(length), 1.0f,
                   true);
}

} // namespace

void paintVerticalBar(Surface& out, const BarGeometry& g, const BarPaintState& s, const ScrollSkin* skin,
                      BarPictureCache& cache, Surface& scratch, const SystemColours& c) {
    if (out.empty()) return;
    bool skinned = skin && skin->usable();
    out.clear(skinned ? kSkinFlatColour : c.face);
    int A = g.arrowLength;
    bool withThumb = g.thumbLength > 0 && g.thumbFits() && s.canScroll;

    if (skinned) {
        ensureTrack(cache, *skin, out.width(), g.length);
        skinArrow(out, *skin, 0, A, true, looksOf(s, kPartLineUp));
        if (withThumb) {
            skinTrack(out, cache, g.trackStart, g.thumbStart(), looksOf(s, kPartPageUp).pressed);
            skinTrack(out, cache, g.thumbStart() + g.thumbLength, g.trackEnd(), looksOf(s, kPartPageDown).pressed);
            int state = s.dragging ? kSkinPressed : looksOf(s, kPartThumb).hot ? kSkinHot : kSkinNormal;
            // The thumb's rounded ends show the track through them.
            skinTrack(out, cache, g.thumbStart(), g.thumbStart() + g.thumbLength, false);
            skinThumb(out, cache, scratch, *skin, g.thumbStart(), g.thumbLength, state);
        } else {
            skinTrack(out, cache, g.trackStart, g.trackEnd(), false);
        }
        // The skin has no inactive arrows: they stay normal when the bar cannot scroll.
        skinArrow(out, *skin, g.length - A, A, false, looksOf(s, kPartLineDown));
        return;
    }

    plainArrow(out, 0, A, Pointing::Up, looksOf(s, kPartLineUp), s.canScroll, c);
    if (withThumb) {
        plainTrack(out, g.trackStart, g.thumbStart(), looksOf(s, kPartPageUp).pressed, c);
        plainTrack(out, g.thumbStart() + g.thumbLength, g.trackEnd(), looksOf(s, kPartPageDown).pressed, c);
        raisedBox(out, 0, g.thumbStart(), out.width(), g.thumbLength, c);
    } else {
        plainTrack(out, g.trackStart, g.trackEnd(), false, c);
    }
    plainArrow(out, g.length - A, A, Pointing::Down, looksOf(s, kPartLineDown), s.canScroll, c);
}
