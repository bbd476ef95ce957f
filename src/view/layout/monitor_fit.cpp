#include "view/layout/monitor_fit.h"

#include <algorithm>
#include <climits>

namespace {

int clampToInt(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

// One axis: the length shrinks to the room there is, then the start moves the least that
// keeps the whole length inside.
void fitAxis(int start, int length, int areaStart, int areaEnd, int& fittedStart, int& fittedLength) {
    fittedLength = std::clamp(length, 0, areaEnd - areaStart);
    fittedStart = std::clamp(start, areaStart, areaEnd - fittedLength);
}

}  // namespace

PixelRect boxRect(const WindowBox& box) {
    return {box.x, box.y, clampToInt(static_cast<long long>(box.x) + box.width),
            clampToInt(static_cast<long long>(box.y) + box.height)};
}

PixelRect fitOntoWorkArea(const WindowBox& wanted, const PixelRect& workArea) {
    if (workArea.width() <= 0 || workArea.height() <= 0) return boxRect(wanted);
    int left = 0, width = 0, top = 0, height = 0;
    fitAxis(wanted.x, wanted.width, workArea.left, workArea.right, left, width);
    fitAxis(wanted.y, wanted.height, workArea.top, workArea.bottom, top, height);
    return {left, top, left + width, top + height};
}
