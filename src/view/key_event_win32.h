#pragma once
// Keyboard messages as the key decisions see them: one portable KeyEvent, its modifiers read
// from the live keyboard state once.
#include <windows.h>

#include "editor/key_map.h"

// The event for a keyboard message; other messages give KeyMessageKind::Other.
KeyEvent keyEventFrom(UINT message, WPARAM wParam, LPARAM lParam, bool mouseCaptured);
