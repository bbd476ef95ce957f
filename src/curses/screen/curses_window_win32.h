#pragma once
// The Win32 window of a character-cell screen: class OrvaneCursesWindow. It paints the
// screen's grid with a fixed-pitch font, blinks the caret, turns key messages into the
// screen's key codes and hands mouse messages to the screen's mouse callback.
#include <windows.h>

#include "curses/screen/curses_screen.h"

inline constexpr wchar_t kCursesWindowClass[] = L"OrvaneCursesWindow";
// The caret blink timer and its period.
inline constexpr UINT_PTR kCursesBlinkTimer = 2;
inline constexpr UINT kCursesBlinkMs = 400;

// Registers OrvaneCursesWindow once per process; later calls only count. Call it at
// start-up, before any dialog holding such a window is created. True when the class exists.
bool register_curses_window_class(HINSTANCE instance);

// Attaches a screen to a window of the class (a dialog's control): the window's user data
// points at the screen, the key queue is emptied, the blink timer starts, the font is made,
// the grid sized to the client area and the whole window repainted. A window created with
// the screen as its creation parameter is attached at once.
bool attach_curses_window(CursesScreen& screen, HWND window);

LRESULT CALLBACK cursesWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
