#include "app/windows/changelog_window_win32.h"

#include "app/shell/app_context.h"
#include "app/shell/resource_ids.h"
#include "curses/screen/curses_window_win32.h"

namespace {
constexpr UINT_PTR kKeyTimer = 331;
constexpr UINT kKeyTimerMs = 50;
}  // namespace

ChangelogWindow::ChangelogWindow()
    : AuxiliaryWindow(IDD_CHANGELOG, &AppContext::instance().windows.changelog), editor_(screen_, *this) {
    editor_.doc.indent_size = 2;
}

ChangelogWindow::~ChangelogWindow() = default;

BOOL ChangelogWindow::initialise() {
    HWND control = GetDlgItem(window_, IDC_CHANGELOG_SCREEN);
    attach_curses_window(screen_, control);
    coverClientArea(control);
    sizer_.init(window_);
    sizer_.add(control, 0, 0, 1, 1);
    placeFromStore("changelog", 620, 505, false);
    // Read at every opening: a changed file shows the next time. A missing one is empty.
    editor_.init(AppContext::instance().executableFolder + "changelog.txt");
    editor_.draw(-1);
    editor_.set_cursor(false, -1);
    SetFocus(control);
    keyTimer_.start(window_, kKeyTimer, kKeyTimerMs);
    return FALSE;  // the focus is set
}

void ChangelogWindow::requestClose() {
    // Closed once the key that asked for it is done with: the editor is still running it.
    PostMessageW(window_, WM_COMMAND, IDCANCEL, 0);
}

INT_PTR ChangelogWindow::handle(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_TIMER:
        if (wParam != kKeyTimer) return FALSE;
        editor_.run();
        return TRUE;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) sizer_.resize();
        return TRUE;
    default: return FALSE;
    }
}

void ChangelogWindow::destroyed() {
    keyTimer_.stop();
    editor_.release_document();
    writePlacement("changelog", false);
}
