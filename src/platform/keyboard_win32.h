#pragma once
// The one place that reads the live keyboard state.
#include <windows.h>

// The key (a virtual-key code) is held down now.
inline bool keyHeld(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }
