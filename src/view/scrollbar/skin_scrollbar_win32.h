#pragma once
// The skinned vertical scrollbar layer. It subclasses a window, takes over its non-client
// area and draws the bar from the skin image (or in system colours without one), keeping
// its own scroll values and reporting user actions as WM_VSCROLL. Every call falls back to
// the system's scrollbar call for a window without the layer.
#include <windows.h>

#include <string>

namespace SkinScrollbar {

// Window property that holds the layer's per-window record.
inline constexpr wchar_t kPropertyName[] = L"OrvaneSkinScrollbar";

// Timer ids of the layer.
inline constexpr UINT_PTR kPressDelayTimer = 65533;
inline constexpr UINT_PTR kRepeatTimer = 65534;
inline constexpr UINT_PTR kHoverTimer = static_cast<UINT_PTR>(-14);
// Sent to the window for a double-click on the thumb (first parameter 1 for a vertical bar).
inline constexpr UINT kThumbDoubleClick = 0x606;

bool attach(HWND window);
// Answers false when the window has no layer.
bool detach(HWND window);
bool isAttached(HWND window);
BOOL getInfo(HWND window, SCROLLINFO* info);
int setInfo(HWND window, const SCROLLINFO* info, BOOL redraw);
int setPosition(HWND window, int position, BOOL redraw);
void show(HWND window, bool on);

// The skin image (UTF-8 path). Without a call the image is "skin\mask\scrollbar.png" in the
// executable's folder. It is loaded the first time a bar is painted.
void setSkinFile(const std::string& path);
// Drops the loaded image; bars painted afterwards load it again.
void releaseSkin();

} // namespace SkinScrollbar
