#pragma once
// The skinned vertical scrollbar layer. It subclasses a window, takes over its non-client
// area and draws the bar from the skin (or in system colours without one), keeping its own
// scroll values and reporting user actions as WM_VSCROLL. What a press, a drag or a timer
// means is decided by the portable ScrollController; this layer only translates messages
// and draws. Every call falls back to the system's scrollbar call for a window without it.
#include <windows.h>

class SkinSource;

namespace SkinScrollbar {

// Window property that holds the layer's per-window record.
inline constexpr wchar_t kPropertyName[] = L"OrvaneSkinScrollbar";

// Timer ids of the layer.
inline constexpr UINT_PTR kPressDelayTimer = 65533;
inline constexpr UINT_PTR kRepeatTimer = 65534;
inline constexpr UINT_PTR kHoverTimer = static_cast<UINT_PTR>(-14);
// Sent to the window for a double-click on the thumb (first parameter 1 for a vertical bar).
inline constexpr UINT kThumbDoubleClick = 0x606;

// skin may be null (the plain look); it must outlive the window's bar.
bool attach(HWND window, SkinSource* skin);
// Answers false when the window has no layer.
bool detach(HWND window);
bool isAttached(HWND window);
BOOL getInfo(HWND window, SCROLLINFO* info);
int setInfo(HWND window, const SCROLLINFO* info, BOOL redraw);
int setPosition(HWND window, int position, BOOL redraw);
void show(HWND window, bool on);
// Recomputes the frame, for a window whose DPI (and so bar thickness) changed.
void refreshFrame(HWND window);

}  // namespace SkinScrollbar
