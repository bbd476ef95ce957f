#include "view/scrollbar/scroll_controller.h"

namespace {

bool sameValues(const ScrollValues& a, const ScrollValues& b) {
    return a.minimum == b.minimum && a.maximum == b.maximum && a.page == b.page && a.position == b.position &&
           a.trackPosition == b.trackPosition;
}

}  // namespace

void ScrollController::attach(const ScrollValues& values, bool wanted, int minThumb) {
    values_ = values;
    wanted_ = wanted;
    minThumb_ = minThumb;
}

ScrollUpdate ScrollController::setInfo(const ScrollRequest& request) {
    ScrollUpdate update;
    ScrollValues before = values_;
    bool mustShow = applyScrollRequest(values_, request);
    update.position = values_.position;
    // Compared with what is wanted, not with what got space: a window narrower than the bar
    // wants it and never gets it, and must not be re-framed on every paint for that.
    if (mustShow != wanted_) {
        wanted_ = mustShow;
        update.visibilityChange = true;
        update.shown = mustShow;
        // Re-framing during a thumb drag would move the bar under the pointer.
        if (thumbTracking_)
            framePending_ = true;
        else
            update.recomputeFrame = true;
        return update;
    }
    update.redraw = !thumbTracking_ && !sameValues(before, values_);
    return update;
}

ScrollUpdate ScrollController::setPosition(int position) {
    ScrollUpdate update;
    update.position = values_.position;
    values_.position = clampScrollPosition(values_, position);
    update.redraw = !thumbTracking_ && values_.position != update.position;
    return update;
}

ScrollEffects ScrollController::press(int part, int y, const BarGeometry& geometry, bool doubleClick) {
    ScrollEffects effects;
    effects.consumed = true;
    if (part == kPartNone || !barCanScroll(values_) || pressed()) return effects;
    if (part == kPartThumb) {
        if (doubleClick) {
            effects.thumbDoubleClick = true;
            return effects;
        }
        dragThumbLength_ = geometry.thumbLength;
        dragThumbStart_ = geometry.thumbStart();
        grabOffset_ = y - geometry.thumbStart();
        lastSentPosition_ = values_.position;
        values_.trackPosition = values_.position;
        thumbTracking_ = true;
        pressedPart_ = hotPart_ = lastHitPart_ = part;
        effects.redraw = true;
        effects.takeCapture = true;
        return effects;
    }
    pressedPart_ = hotPart_ = lastHitPart_ = part;
    effects.send(part);
    effects.redraw = true;
    effects.startPressDelay = true;
    effects.takeCapture = true;
    return effects;
}

void ScrollController::trackPressedPart(int part, ScrollEffects& effects) {
    int hot = part == pressedPart_ ? pressedPart_ : kPartNone;
    if (part != lastHitPart_ || hot != hotPart_) effects.redraw = true;
    lastHitPart_ = part;
    hotPart_ = hot;
}

ScrollEffects ScrollController::mouseMove(int part, int y, const BarGeometry& geometry) {
    ScrollEffects effects;
    if (thumbTracking_) {
        effects.consumed = true;
        BarGeometry g = geometry;
        g.thumbLength = dragThumbLength_;
        dragThumbStart_ = dragThumbStart(g, y, grabOffset_);
        effects.redraw = true;
        int position = dragPosition(g, values_, dragThumbStart_);
        if (position != lastSentPosition_) {
            lastSentPosition_ = position;
            values_.trackPosition = position;
            effects.send(kScrollCodeThumbTrack, position);
        }
        return effects;
    }
    if (!pressed()) return effects;
    effects.consumed = true;
    trackPressedPart(part, effects);
    return effects;
}

ScrollEffects ScrollController::endPress(bool releaseCapture) {
    ScrollEffects effects;
    if (!pressed()) return effects;
    effects.consumed = true;
    effects.releaseCapture = releaseCapture;
    effects.stopPressTimers = true;
    if (thumbTracking_) {
        effects.send(kScrollCodeThumbPosition, lastSentPosition_);
        thumbTracking_ = false;
    }
    effects.send(kScrollCodeEnd);
    pressedPart_ = hotPart_ = lastHitPart_ = kPartNone;
    effects.redraw = true;
    if (framePending_) {
        framePending_ = false;
        effects.recomputeFrame = true;
    }
    return effects;
}

ScrollEffects ScrollController::release() { return endPress(true); }

ScrollEffects ScrollController::cancel(bool captureStillHeld) { return endPress(captureStillHeld); }

ScrollEffects ScrollController::pressDelayElapsed() {
    ScrollEffects effects;
    effects.consumed = true;
    if (!pressed() || thumbTracking_) return effects;
    effects.stopPressTimers = true;
    effects.startRepeat = true;
    return effects;
}

ScrollEffects ScrollController::repeatTick(int partUnderPointer) {
    ScrollEffects effects;
    effects.consumed = true;
    if (!pressed() || thumbTracking_) {
        effects.stopPressTimers = true;
        return effects;
    }
    trackPressedPart(partUnderPointer, effects);
    if (hotPart_ == pressedPart_) effects.send(pressedPart_);
    return effects;
}

ScrollEffects ScrollController::hoverEnter() {
    ScrollEffects effects;
    effects.consumed = true;
    if (hotBar_ || !shown_) return effects;
    hotBar_ = true;
    if (!pressed()) hotPart_ = kPartNone;
    effects.startHover = true;
    effects.redraw = true;
    return effects;
}

ScrollEffects ScrollController::hoverTick(bool pointerStillOver, int partUnderPointer) {
    ScrollEffects effects;
    effects.consumed = true;
    if (thumbTracking_ || pressed()) return effects;
    if (pointerStillOver) {
        if (partUnderPointer != hotPart_) {
            hotPart_ = partUnderPointer;
            effects.redraw = true;
        }
        return effects;
    }
    effects.stopHover = true;
    hotBar_ = false;
    hotPart_ = kPartNone;
    effects.redraw = true;
    return effects;
}

BarGeometry ScrollController::paintGeometry(BarGeometry geometry) const {
    if (thumbTracking_) {
        geometry.thumbLength = dragThumbLength_;
        geometry.thumbOffset = dragThumbStart_ - geometry.trackStart;
    }
    return geometry;
}

BarPaintState ScrollController::paintState() const {
    BarPaintState state;
    state.pressedPart = pressedPart_;
    state.hotPart = hotBar_ || pressed() ? hotPart_ : kPartNone;
    state.dragging = thumbTracking_;
    state.canScroll = barCanScroll(values_);
    return state;
}
