#include "view/key_event_win32.h"

#include "platform/keyboard_win32.h"

KeyEvent keyEventFrom(UINT message, WPARAM wParam, LPARAM lParam, bool mouseCaptured) {
    KeyEvent event;
    switch (message) {
    case WM_CHAR: event.kind = KeyMessageKind::Char; break;
    case WM_KEYDOWN: event.kind = KeyMessageKind::KeyDown; break;
    case WM_SYSKEYDOWN: event.kind = KeyMessageKind::SysKeyDown; break;
    default: return event;
    }
    if (event.kind == KeyMessageKind::Char)
        event.character = static_cast<unsigned>(wParam & 0xFFFF);
    else
        event.virtualKey = static_cast<int>(wParam);
    event.modifiers = heldModifierKeys();
    event.repeatBit = (lParam & 1) != 0;
    event.mouseCaptured = mouseCaptured;
    return event;
}
