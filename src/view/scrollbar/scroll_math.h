#pragma once
// Arithmetic of the skinned vertical scrollbar: scroll values and their clamping, the bar's
// geometry, hit testing and the position that a thumb drag stands for. No window system here.

// (a * b) / c rounded to the nearest integer, halves away from zero, computed in 64 bits.
// Answers -1 when c is 0 or the result does not fit in 32 bits, as the platform call does.
int mulDiv(int a, int b, int c);

// Mask bits of a scroll-information request (the platform's values).
enum ScrollInfoMask : unsigned {
    kScrollRange = 0x1,
    kScrollPage = 0x2,
    kScrollPosition = 0x4,
    kScrollDisableNoScroll = 0x8,
    kScrollTrackPosition = 0x10,
    kScrollAll = kScrollRange | kScrollPage | kScrollPosition | kScrollTrackPosition,
};

// Parts of a bar; the numbers are also the scroll codes sent for them.
enum ScrollPart : int {
    kPartNone = -1,
    kPartLineUp = 0,
    kPartLineDown = 1,
    kPartPageUp = 2,
    kPartPageDown = 3,
    kPartThumb = 5,
};

struct ScrollValues {
    int minimum = 0;
    int maximum = 0;
    unsigned page = 0;
    int position = 0;
    int trackPosition = 0;
};

struct ScrollRequest {
    unsigned mask = 0;
    int minimum = 0;
    int maximum = 0;
    unsigned page = 0;
    int position = 0;
};

// Applies a request to the values as the system does; answers whether the bar must be shown.
bool applyScrollRequest(ScrollValues& values, const ScrollRequest& request);
// Limits a position to minimum .. maximum - max(page - 1, 0) (minimum if that is empty).
int clampScrollPosition(const ScrollValues& values, int position);
// Presses and drags do nothing unless this holds.
bool barCanScroll(const ScrollValues& values);

// Positions along the bar, measured from its top (bar-relative pixels).
struct BarGeometry {
    int length = 0;        // whole bar
    int arrowLength = 0;   // each arrow
    int trackStart = 0;    // = arrowLength
    int trackLength = 0;   // between the arrows
    int thumbLength = 0;
    int thumbOffset = 0;   // from the track start
    bool thumbFits() const { return thumbLength < trackLength; }
    int thumbStart() const { return trackStart + thumbOffset; }
    int trackEnd() const { return trackStart + trackLength; }
};

BarGeometry computeBarGeometry(int barLength, int arrowLength, const ScrollValues& values, int minThumb);
// Which part lies at bar-relative y; kPartNone outside the bar.
int hitTestBar(const BarGeometry& geometry, int y);

// Thumb start (bar-relative) for a pointer at y during a drag with the given grab offset,
// kept inside the track.
int dragThumbStart(const BarGeometry& geometry, int pointerY, int grabOffset);
// The position that a thumb starting at thumbStart stands for.
int dragPosition(const BarGeometry& geometry, const ScrollValues& values, int thumbStart);
