#pragma once
// The skinned vertical scrollbar's behaviour without the window system: presses on the
// arrows, the track and the thumb, the repeat timers, the thumb drag, hovering, the end of a
// press (also when another window takes the mouse away) and the scroll values themselves.
// Each event answers what the window side must do, in this order: release the capture and
// stop timers, send the scroll messages, repaint the bar, start timers, take the capture,
// recompute the frame.
#include "view/scrollbar/bar_painter.h"
#include "view/scrollbar/scroll_math.h"

struct ScrollMessage {
    int code = 0;  // SB_ code: one of the parts, or a thumb or end code below
    int position = 0;
};

inline constexpr int kScrollCodeThumbPosition = 4;
inline constexpr int kScrollCodeThumbTrack = 5;
inline constexpr int kScrollCodeEnd = 8;

struct ScrollEffects {
    bool consumed = false;  // the message was the bar's; otherwise it goes on to the window
    bool releaseCapture = false;
    bool stopPressTimers = false;
    ScrollMessage messages[2];
    int messageCount = 0;
    bool thumbDoubleClick = false;
    bool redraw = false;
    bool startPressDelay = false;  // 300 ms before the repeat starts
    bool startRepeat = false;      // every 55 ms while the part is held
    bool startHover = false;       // 20 ms hover poll
    bool stopHover = false;
    bool takeCapture = false;
    bool recomputeFrame = false;

    void send(int code, int position = 0) { messages[messageCount++] = {code, position}; }
};

// What setInfo and setPosition did.
struct ScrollUpdate {
    int position = 0;           // setInfo: the new position; setPosition: the old one
    bool visibilityChange = false;  // show (or hide) the bar: set or clear its style
    bool shown = false;             // when visibilityChange: the new state
    bool recomputeFrame = false;
    bool redraw = false;
};

class ScrollController {
public:
    ScrollController() = default;

    // Values, the wanted state and the minimum thumb, as the window had them at attach.
    void attach(const ScrollValues& values, bool wanted, int minThumb);

    const ScrollValues& values() const { return values_; }
    bool wanted() const { return wanted_; }
    bool shown() const { return shown_; }
    bool thumbTracking() const { return thumbTracking_; }
    int minThumb() const { return minThumb_; }

    // The frame calculation decided whether the bar got its space.
    void setShown(bool shown) { shown_ = shown; }
    // Show or hide: the caller changes the window style and recomputes the frame.
    void setWanted(bool wanted) { wanted_ = wanted; }

    ScrollUpdate setInfo(const ScrollRequest& request);
    ScrollUpdate setPosition(int position);

    // Mouse and timers. Geometry is the bar's current one; y is bar-relative.
    ScrollEffects press(int part, int y, const BarGeometry& geometry, bool doubleClick);
    ScrollEffects mouseMove(int part, int y, const BarGeometry& geometry);
    ScrollEffects release();
    // The capture went to another window (or the system cancelled the mode): the press ends
    // as a release does, so no timer keeps scrolling and the next click is the text's.
    ScrollEffects cancel(bool captureStillHeld);
    ScrollEffects pressDelayElapsed();
    ScrollEffects repeatTick(int partUnderPointer);
    ScrollEffects hoverEnter();
    ScrollEffects hoverTick(bool pointerStillOver, int partUnderPointer);

    // The geometry to paint: during a drag the thumb is where the pointer put it.
    BarGeometry paintGeometry(BarGeometry geometry) const;
    BarPaintState paintState() const;
    bool pressed() const { return pressedPart_ != kPartNone; }
    bool hot() const { return hotBar_; }

private:
    void trackPressedPart(int part, ScrollEffects& effects);
    ScrollEffects endPress(bool releaseCapture);

    ScrollValues values_;
    bool wanted_ = false;
    bool shown_ = false;
    int minThumb_ = 6;
    bool framePending_ = false;  // visibility changed during a drag; the frame follows after it

    int pressedPart_ = kPartNone;
    int hotPart_ = kPartNone;
    bool hotBar_ = false;
    int lastHitPart_ = kPartNone;

    bool thumbTracking_ = false;
    int dragThumbLength_ = 0;
    int dragThumbStart_ = 0;
    int grabOffset_ = 0;
    int lastSentPosition_ = 0;
};
