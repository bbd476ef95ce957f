#include "view/editor_window_win32.h"

#include <windowsx.h>

#include <memory>
#include <new>

#include "view/editor_view_win32.h"

// The editor window's own message table; the scrollbar layer and the key procedure sit in
// front of it and pass on what they do not take.
LRESULT CALLBACK editorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* view = reinterpret_cast<EditorView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    EditorView::setCurrent(view);
    if (message == WM_NCCREATE && !view) {
        std::unique_ptr<EditorView> created(new (std::nothrow) EditorView(window));
        if (!created) return FALSE;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created.get()));
        EditorView::setCurrent(created.get());
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        created.release()->create(cs->cx, cs->cy);
        return TRUE;
    }
    if (!view) return 0;
    switch (message) {
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete view;
        EditorView::setCurrent(nullptr);
        return 0;
    case WM_SIZE: view->resize(wParam); break;
    case WM_PAINT: view->paint(); return 0;
    case WM_ERASEBKGND:
        // Only the system asks for an erase (our invalidations never do): the window was
        // uncovered, so the next paint must not be a two-row refresh.
        view->clearPaintCache();
        return 1;
    case WM_TIMER: view->timer(wParam); break;
    case WM_LBUTTONDOWN: view->buttonDown(lParam); break;
    case WM_MOUSEMOVE: view->mouseMove(lParam); break;
    case WM_LBUTTONUP: view->buttonUp(lParam); break;
    case WM_VSCROLL: view->verticalScroll(LOWORD(wParam)); break;
    case WM_MOUSEWHEEL: view->wheel(GET_WHEEL_DELTA_WPARAM(wParam)); break;
    case WM_KEYDOWN: view->keyDown(static_cast<int>(wParam)); break;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
