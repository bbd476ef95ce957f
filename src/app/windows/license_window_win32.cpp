#include "app/windows/license_window_win32.h"

#include "app/shell/app_context.h"
#include "app/shell/resource_ids.h"
#include "platform/file_io.h"
#include "platform/utf8_win32.h"

LicenseWindow::LicenseWindow()
    : AuxiliaryWindow(IDD_LICENSE, &AppContext::instance().windows.license), white_(CreateSolidBrush(RGB(255, 255, 255))) {}

BOOL LicenseWindow::initialise() {
    HWND text = GetDlgItem(window_, IDC_LICENSE_TEXT);
    coverClientArea(text);
    sizer_.init(window_);
    sizer_.add(text, 0, 0, 1, 1);
    placeFromStore("license", 400, 400, false);
    // Read at every opening: a changed file shows the next time. A missing one is empty.
    std::string licence;
    readWholeFile(AppContext::instance().executableFolder + "license.txt", licence);
    SetFocus(text);
    utf8::setWindowText(text, licence.c_str());
    SendMessageW(text, EM_SETSEL, 0, 0);
    return FALSE;  // the focus is set
}

INT_PTR LicenseWindow::handle(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        // Black on white, although the control is read-only.
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        // The colour messages are answered with the brush itself.
        return reinterpret_cast<INT_PTR>(white_.get());
    }
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) sizer_.resize();
        return TRUE;
    default: return FALSE;
    }
}

void LicenseWindow::destroyed() { writePlacement("license", false); }
