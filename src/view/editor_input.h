#pragma once
// Mouse, scrollbar and wheel arithmetic of the editor window, and the document side of a
// drag selection. The view keeps no scroll offset: every scroll moves the caret to column 0
// of the new top line in the top-left cell.
#include "editor/document.h"

struct HitGeometry {
    int cellWidth = 0;
    int cellHeight = 0;
    int topLine = 0;
    int firstColumn = 0;
};

// The text position under client point (x, y). With drag, rows above the window count as row 0.
TextPosition hitTest(const Document& doc, const HitGeometry& geometry, int x, int y, bool drag);

// The scrollbar's values as the view reads them.
struct BarValues {
    int maximum = 0;
    int page = 0;
    int position = 0;
    int trackPosition = 0;
};

// Scroll requests with the platform's codes.
enum ScrollRequestCode : int {
    kScrollLineUp = 0,
    kScrollLineDown = 1,
    kScrollPageUp = 2,
    kScrollPageDown = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
    kScrollTop = 6,
    kScrollBottom = 7,
    kScrollEnd = 8,
};

// One scroll step is one line.
inline constexpr int kLineStep = 1;

// The new top line for a scrollbar request, within 0 .. maximum - page.
int scrollTarget(int request, const BarValues& bar);
// The new top line for a wheel turn (120 per notch, 10 lines a notch, positive = away from the user).
int wheelTarget(int delta, const BarValues& bar);
// The bar position after a keyboard move sent on to the window; false for keys that leave the bar.
bool thumbFollowUp(int virtualKey, const BarValues& bar, int& position);

// Moves the caret to column 0 of `line` in the top-left cell, which makes `line` the top line.
void scrollToLine(Document& doc, int line);

// The document side of a drag selection; the caller holds the mouse capture meanwhile.
void beginDragSelection(Document& doc, TextPosition at);
void dragSelectionTo(Document& doc, TextPosition at);
// Answers true when the press and release fell on the same cell and the selection was dropped.
bool endDragSelection(Document& doc, TextPosition at);
