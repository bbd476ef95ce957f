#include "view/editor_window_win32.h"

#include <windowsx.h>

#include <memory>
#include <new>

// The editor window's own message table. The scrollbar layer sits in front of it and passes
// on what it does not take.
LRESULT CALLBACK editorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    EditorView* view = EditorView::fromWindow(window);
    if (message == WM_NCCREATE && !view) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        const auto* args = static_cast<const EditorWindowArgs*>(cs->lpCreateParams);
        if (!args || !args->document) return FALSE;
        std::unique_ptr<EditorView> created(new (std::nothrow) EditorView(window, *args->document, args->skin, args->settings));
        if (!created) return FALSE;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created.get()));
        created.release()->create(cs->cx, cs->cy);
        return TRUE;
    }
    if (!view) return 0;
    switch (message) {
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete view;
        return 0;
    case WM_SIZE: view->resize(wParam); break;
    case WM_PAINT: view->paint(); return 0;
    case WM_ERASEBKGND:
        // Only the system asks for an erase (our invalidations never do): the window was
        // uncovered, so the next paint must not be a two-row refresh.
        view->clearPaintCache();
        return 1;
    case WM_TIMER: view->timer(wParam); break;
    case WM_LBUTTONDOWN: view->buttonDown(lParam, (wParam & MK_SHIFT) != 0); break;
    case WM_LBUTTONDBLCLK: view->doubleClick(lParam); break;
    case WM_MOUSEMOVE: view->mouseMove(lParam); break;
    case WM_LBUTTONUP: view->buttonUp(lParam); break;
    case WM_CAPTURECHANGED: view->captureLost(); break;
    case WM_VSCROLL: view->verticalScroll(LOWORD(wParam)); break;
    case WM_MOUSEWHEEL: view->wheel(GET_WHEEL_DELTA_WPARAM(wParam)); break;
    case WM_KEYDOWN:
    case WM_CHAR: view->key(message, wParam, lParam); break;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND createEditorWindow(HWND parent, int id, HINSTANCE instance, const EditorWindowArgs& args) {
    return CreateWindowExW(0, kEditorWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                           const_cast<EditorWindowArgs*>(&args));
}
