#include "view/scrollbar/scroll_math.h"

#include <algorithm>
#include <cstdint>

int mulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    int64_t product = static_cast<int64_t>(a) * b;
    bool negative = (product < 0) != (c < 0);
    int64_t magnitude = product < 0 ? -product : product;
    int64_t divisor = c < 0 ? -static_cast<int64_t>(c) : c;
    int64_t q = (magnitude + divisor / 2) / divisor;
    if (q > INT32_MAX) return -1;
    return static_cast<int>(negative ? -q : q);
}

int clampScrollPosition(const ScrollValues& v, int position) {
    int highest = v.maximum - std::max(static_cast<int>(v.page) - 1, 0);
    if (highest < v.minimum) return v.minimum;
    return std::clamp(position, v.minimum, highest);
}

bool applyScrollRequest(ScrollValues& v, const ScrollRequest& r) {
    if (r.mask & kScrollRange) {
        v.minimum = r.minimum;
        v.maximum = r.maximum;
    }
    if (r.mask & kScrollPage) {
        // Unsigned on purpose: an inverted range leaves the requested page as it is.
        unsigned span = static_cast<unsigned>(v.maximum - v.minimum + 1);
        v.page = std::min(r.page, span);
    }
    if (r.mask & kScrollPosition) v.position = clampScrollPosition(v, r.position);
    if (r.mask & kScrollDisableNoScroll) return true;
    return v.page <= static_cast<unsigned>(v.maximum) && !(v.page == 0 && v.maximum == 0) && v.maximum > v.minimum;
}

bool barCanScroll(const ScrollValues& v) {
    return static_cast<unsigned>(v.maximum) >= v.page && v.minimum < v.maximum && v.maximum != 0;
}

BarGeometry computeBarGeometry(int barLength, int arrowLength, const ScrollValues& v, int minThumb) {
    BarGeometry g;
    g.length = std::max(barLength, 0);
    g.arrowLength = g.length < 2 * arrowLength ? g.length / 2 : arrowLength;
    g.trackStart = g.arrowLength;
    g.trackLength = g.length - 2 * g.arrowLength;
    if (v.maximum < v.minimum) return g; // no thumb, at the track start
    int span = v.maximum - v.minimum + 1;
    if (v.page == 0) {
        g.thumbLength = g.arrowLength;
    } else {
        g.thumbLength = std::max(mulDiv(static_cast<int>(v.page), g.trackLength, span), minThumb);
    }
    int room = g.trackLength - g.thumbLength;
    int offset = mulDiv(v.position - v.minimum, room, span - std::max(static_cast<int>(v.page), 1));
    g.thumbOffset = std::max(std::min(offset, room), 0);
    return g;
}

int hitTestBar(const BarGeometry& g, int y) {
    if (y < 0 || y >= g.length) return kPartNone;
    if (y < g.arrowLength) return kPartLineUp;
    if (y >= g.length - g.arrowLength) return kPartLineDown;
    if (!g.thumbFits()) return kPartNone;
    if (y < g.thumbStart()) return kPartPageUp;
    if (y < g.thumbStart() + g.thumbLength) return kPartThumb;
    return kPartPageDown;
}

int dragThumbStart(const BarGeometry& g, int pointerY, int grabOffset) {
    int highest = g.trackEnd() - g.thumbLength;
    return std::max(std::min(pointerY - grabOffset, highest), g.trackStart);
}

int dragPosition(const BarGeometry& g, const ScrollValues& v, int thumbStart) {
    int pixels = thumbStart - g.trackStart;
    if (v.maximum <= v.minimum) return pixels;
    int room = g.trackLength - g.thumbLength;
    if (room <= 0) return v.minimum;
    return v.minimum + mulDiv(pixels, v.maximum - v.minimum - static_cast<int>(v.page) + 1, room);
}
