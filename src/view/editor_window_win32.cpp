#include "view/editor_window_win32.h"

#include "app/app_context.h"
#include "app/prefs.h"

// Until the editor view paints the document, the window shows its background colour.
LRESULT CALLBACK editorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        int rgb = pref_background_color(AppContext::instance().prefs);
        HBRUSH brush = CreateSolidBrush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
        FillRect(dc, &ps.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(window, &ps);
        return 0;
    }
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}
