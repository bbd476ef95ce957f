#pragma once
// The editor window (class zazorovodiz_superhost, control 1003 of the main window).
#include <windows.h>

inline constexpr wchar_t kEditorWindowClass[] = L"zazorovodiz_superhost";

LRESULT CALLBACK editorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
