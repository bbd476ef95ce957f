#pragma once
// The DPI scale of a window in 1/256 units (256 = 96 DPI), from the per-window DPI calls that
// newer systems have. Answers 0 when they are missing or the thread is not per-monitor aware
// (version 2), and 256 for no window.
#include <windows.h>

int dpiScale(HWND window);

// A system metric (SM_CXVSCROLL, say) at the DPI of the window's display, from
// GetSystemMetricsForDpi where the system has it; the system-wide metric otherwise.
int systemMetricForWindow(int index, HWND window);
