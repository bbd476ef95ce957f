#pragma once
// The one place that reads the live keyboard state.
#include <windows.h>

#include "text/modifier_keys.h"

// The key (a virtual-key code) is held down now.
inline bool keyHeld(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

// Ctrl, Shift and Alt as they are held now (the asynchronous key state).
inline ModifierKeys heldModifierKeys() {
    return {.ctrl = keyHeld(VK_CONTROL), .shift = keyHeld(VK_SHIFT), .alt = keyHeld(VK_MENU)};
}
