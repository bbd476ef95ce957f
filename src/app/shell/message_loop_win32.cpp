#include "app/shell/message_loop_win32.h"

#include <windows.h>

#include <initializer_list>

#include "app/shell/app_context.h"
#include "app/windows/auxiliary_window_win32.h"
#include "app/shell/key_router_win32.h"
#include "app/main_window/main_window_win32.h"
#include "platform/out_of_memory_win32.h"
#include "view/editor_view_win32.h"

namespace {

constexpr ATOM kDialogClassAtom = 32770;

bool isDialogClass(HWND window) {
    return static_cast<ATOM>(GetClassLongPtrW(window, GCW_ATOM)) == kDialogClassAtom;
}

// The nearest dialog-class window at or above target; a top-level dialog ends the walk.
HWND dialogFor(HWND target) {
    HWND candidate = nullptr;
    for (HWND window = target; window; window = GetParent(window)) {
        if (isDialogClass(window)) {
            candidate = window;
            if (!(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)) break;
        }
    }
    return candidate;
}

// Keys and clicks anywhere (the find dialogs and menus included) can change what the editor
// shows; it looks at once rather than at its next resting tick.
void wakeEditor(const MSG& message) {
    bool input = (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) ||
                 (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) ||
                 (message.message >= WM_NCMOUSEMOVE && message.message <= WM_NCMBUTTONDBLCLK);
    if (!input) return;
    MainWindow* main = AppContext::instance().mainWindow;
    if (EditorView* view = main ? main->editorView() : nullptr) view->wake();
}

// Each open auxiliary window gets its keyboard navigation (Tab, Enter, Esc), in this order.
bool routeToAuxiliaryWindows(const AuxiliaryWindows& windows, MSG& message) {
    for (AuxiliaryWindow* window :
         {windows.switchWindow, windows.changelog, windows.preferences, windows.license, windows.about}) {
        if (window && window->window() && IsDialogMessageW(window->window(), &message)) return true;
    }
    return false;
}

}  // namespace

int run_message_loop() {
    MSG message;
    for (;;) {
        BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == 0) return static_cast<int>(message.wParam);
        if (result < 0) {
            Sleep(10);
            continue;
        }
        if (!message.hwnd) {
            DispatchMessageW(&message);
            continue;
        }
        AppContext& app = AppContext::instance();
        if (app.mainWindow) {
            // A command run from the key map that runs out of memory has done nothing: the key
            // counts as handled once the user is told.
            if (whileMemoryLasts(message.hwnd, true, [&] { return preTranslateKey(message); })) {
                wakeEditor(message);
                continue;
            }
            if (app.mainWindow->window() && IsDialogMessageW(app.mainWindow->window(), &message)) {
                wakeEditor(message);
                continue;
            }
        }
        if (routeToAuxiliaryWindows(app.windows, message)) {
            wakeEditor(message);
            continue;
        }
        if (HWND dialog = dialogFor(message.hwnd); dialog && IsDialogMessageW(dialog, &message)) {
            wakeEditor(message);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
        wakeEditor(message);
    }
}
