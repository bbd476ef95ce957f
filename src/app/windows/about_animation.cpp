#include "app/windows/about_animation.h"

#include <algorithm>
#include <utility>

namespace {
constexpr int kBandTop = 178;
constexpr int kBandBottom = 388;
constexpr int kLineStep = 16;
constexpr int kGroupGap = 32;
constexpr int kLastGap = 150;
constexpr int kVisibleFrom = 0;
constexpr int kVisibleTo = 226;
constexpr int kEndMargin = 105;
constexpr int kFadeSlowUntil = 220;
constexpr int kFadeFastStep = 20;
constexpr int kRestartScroll = -32;
}  // namespace

AboutAnimation::AboutAnimation(int lineCount, std::vector<int> separators)
    : lineCount_(lineCount), separators_(std::move(separators)) {}

AboutAnimation::Frame AboutAnimation::frame() {
    Frame result;
    result.alpha = fade_;
    std::vector<CreditPlacement>& drawn = result.lines;
    int top = kBandTop - scroll_;
    int bottom = kBandBottom - scroll_;
    int lastSeparator = separators_.empty() ? -1 : separators_.back();
    for (int index = 0; index < lineCount_; ++index) {
        bool separator = std::binary_search(separators_.begin(), separators_.end(), index);
        int step = separator ? (index == lastSeparator ? kLastGap : kGroupGap) : (index > lastSeparator ? kGroupGap : kLineStep);
        top += step;
        bottom += step;
        if (separator) continue;
        // Only lines near the frame are laid out and drawn at all.
        if (top + kLineStep >= kVisibleFrom && top + kLineStep <= kVisibleTo) drawn.push_back({index, top});
    }
    if (firstFrame_) {
        firstFrame_ = false;
        endPoint_ = bottom - kEndMargin;
    }
    if (scroll_ <= endPoint_) {
        ++scroll_;
    } else {
        fade_ -= fade_ > kFadeSlowUntil ? 1 : kFadeFastStep;
        if (fade_ <= 0) {
            fade_ = 255;
            scroll_ = kRestartScroll;
        }
    }
    return result;
}
