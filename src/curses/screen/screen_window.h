#pragma once
// What the character-cell screen needs from the window it is shown in. The Win32 window
// implements it; tests use a fake. The screen owns the object it is attached to: dropping
// it detaches the window (its link back to the screen, its font and its timer go with it).
#include <cstdint>

#include "text/modifier_keys.h"
#include "text/pixel_geometry.h"


// The mouse messages the window hands to the editor, in client coordinates.
enum class MouseAction {
    Move,
    LeftDown,
    LeftUp,
    LeftDoubleClick,
    RightDown,
    RightUp,
    RightDoubleClick,
    MiddleDoubleClick,
    Wheel,
    CaptureChanged,
};

struct MouseEvent {
    MouseAction action = MouseAction::Move;
    int x = 0;
    int y = 0;
    int wheel_delta = 0;  // Wheel: positive away from the user, 120 a notch
    ModifierKeys held;    // Shift and Ctrl as the message reports them (never Alt)
};

class ScreenWindow {
public:
    virtual ~ScreenWindow() = default;
    // Asks for a repaint of the pixel area, without erasing the background.
    virtual void invalidate(const PixelRect& area) = 0;
    virtual void invalidateAll() = 0;
    virtual PixelSize clientSize() const = 0;
    // Creates the fixed-pitch font unless there is one; false when there is none.
    virtual bool createFont() = 0;
    // The font's text height and average character width; {0, 0} when it cannot be measured.
    virtual PixelSize measureFont() = 0;
    virtual bool hasFocus() const = 0;
    virtual void captureMouse() = 0;
    virtual void releaseMouse() = 0;
    // The platform's window handle (for the clipboard owner and the shell), or null.
    virtual void* nativeHandle() const = 0;
};
