#include "view/layout/sizer_math.h"

#include <algorithm>

int anchorShift(int delta, float factor) {
    if (factor >= 1.0f) return delta;
    if (factor > 0.0f) return static_cast<int>(static_cast<double>(delta) * factor);
    return 0;
}

PixelRect anchorRect(const PixelRect& initial, const AnchorFactors& f, int dx, int dy) {
    PixelRect r;
    r.left = initial.left + anchorShift(dx, f.left);
    r.top = initial.top + anchorShift(dy, f.top);
    r.right = std::max(initial.right + anchorShift(dx, f.right), r.left);
    r.bottom = std::max(initial.bottom + anchorShift(dy, f.bottom), r.top);
    return r;
}

PixelRect scaleRect(const PixelRect& r, int numerator, int denominator) {
    if (denominator == 0) return r;
    auto s = [&](int v) { return static_cast<int>(static_cast<long long>(v) * numerator / denominator); };
    return {s(r.left), s(r.top), s(r.right), s(r.bottom)};
}

int scaleFromDpi(unsigned dpi) { return static_cast<int>(dpi * 256u / 96u); }

void layoutSizerItems(std::vector<SizerItemPlan>& items, const PixelRect& client, int initialWidth, int initialHeight,
                      int current, int base) {
    bool convert = current > 0 && base > 0 && current != base;
    PixelRect inBase = convert ? scaleRect(client, base, current) : client;
    int dx = inBase.width() - initialWidth;
    int dy = inBase.height() - initialHeight;
    for (SizerItemPlan& item : items) {
        item.last = anchorRect(item.initial, item.factors, dx, dy);
        item.placed = convert ? scaleRect(item.last, current, base) : item.last;
    }
}
