#include "app/windows/auxiliary_window_win32.h"

#include <string>

#include "app/shell/app_context.h"
#include "app/main_window/main_window_win32.h"
#include "app/settings/placement.h"
#include "platform/out_of_memory_win32.h"
#include "view/layout/monitor_fit_win32.h"

bool AuxiliaryWindow::create() {
    AppContext& app = AppContext::instance();
    HWND parent = app.mainWindow ? app.mainWindow->window() : nullptr;
    HWND created = CreateDialogParamW(static_cast<HINSTANCE>(app.instanceHandle), MAKEINTRESOURCEW(templateId_), parent,
                                      guardedProcedure<dialogProc>, reinterpret_cast<LPARAM>(this));
    if (!created) return false;
    ShowWindow(created, SW_SHOW);
    return true;
}

void AuxiliaryWindow::focus() {
    if (!window_) return;
    SetForegroundWindow(window_);
    SetActiveWindow(window_);
}

void AuxiliaryWindow::close() {
    if (window_) DestroyWindow(window_);
}

void AuxiliaryWindow::placeFromStore(const char* prefix, int defaultWidth, int defaultHeight, bool sized) {
    std::string key(prefix);
    int x = placement_get_int((key + "_wnd_x").c_str(), 0);
    int y = placement_get_int((key + "_wnd_y").c_str(), 50);
    int width = sized ? placement_get_int((key + "_wnd_w").c_str(), defaultWidth) : defaultWidth;
    int height = sized ? placement_get_int((key + "_wnd_h").c_str(), defaultHeight) : defaultHeight;
    // A monitor unplugged since, or a smaller screen, must not hide the window.
    placeOnNearestWorkArea(window_, {x, y, width, height});
}

void AuxiliaryWindow::coverClientArea(HWND child) const {
    RECT client{};
    GetClientRect(window_, &client);
    SetWindowPos(child, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

void AuxiliaryWindow::writePlacement(const char* prefix, bool sized) const {
    RECT rect{};
    GetWindowRect(window_, &rect);
    std::string key(prefix);
    placementSetInt((key + "_wnd_x").c_str(), rect.left);
    placementSetInt((key + "_wnd_y").c_str(), rect.top);
    if (!sized) return;
    placementSetInt((key + "_wnd_w").c_str(), rect.right - rect.left);
    placementSetInt((key + "_wnd_h").c_str(), rect.bottom - rect.top);
}

INT_PTR CALLBACK AuxiliaryWindow::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<AuxiliaryWindow*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
        self->window_ = window;
        return self->initialise();
    }
    auto* self = reinterpret_cast<AuxiliaryWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return FALSE;
    switch (message) {
    case WM_COMMAND:
        // Esc and the close box.
        if (LOWORD(wParam) == IDCANCEL) {
            self->close();
            return TRUE;
        }
        break;
    case WM_DESTROY:
        self->destroyed();
        if (self->slot_ && *self->slot_ == self) *self->slot_ = nullptr;
        return TRUE;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete self;
        return TRUE;
    default: break;
    }
    return self->handle(message, wParam, lParam);
}
