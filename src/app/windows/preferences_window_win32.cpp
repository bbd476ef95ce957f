#include "app/windows/preferences_window_win32.h"

#include "app/shell/app_context.h"
#include "app/main_window/external_editor_win32.h"
#include "app/settings/prefs.h"
#include "app/shell/resource_ids.h"
#include "curses/screen/curses_window_win32.h"

namespace {
constexpr UINT_PTR kKeyTimer = 340;
constexpr UINT kKeyTimerMs = 50;
}  // namespace

PreferencesWindow::PreferencesWindow()
    : AuxiliaryWindow(IDD_PREFERENCES, &AppContext::instance().windows.preferences),
      left_(leftScreen_, *this),
      right_(rightScreen_, *this) {
    left_.doc.indent_size = 2;
    right_.doc.indent_size = 2;
}

PreferencesWindow::~PreferencesWindow() = default;

BOOL PreferencesWindow::initialise() {
    HWND left = GetDlgItem(window_, IDC_PREFERENCES_LEFT);
    HWND right = GetDlgItem(window_, IDC_PREFERENCES_RIGHT);
    attach_curses_window(leftScreen_, left);
    attach_curses_window(rightScreen_, right);
    // Half the client area each, then the sizer keeps them so.
    RECT client{};
    GetClientRect(window_, &client);
    int middle = client.right / 2;
    SetWindowPos(left, nullptr, 0, 0, middle, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(right, nullptr, middle, 0, client.right - middle, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    sizer_.init(window_);
    sizer_.add(left, 0, 0, 0.5f, 1);
    sizer_.add(right, 0.5f, 0, 1, 1);
    placeFromStore("preferences", 1120, 720, true);
    // Both files are read at every opening, so an edit made outside shows here.
    const AppContext& app = AppContext::instance();
    left_.init(app.dataFolder + kDefaultPreferencesFile);
    right_.init(app.dataFolder + kPreferencesFile);
    for (CursesEditor* editor : {static_cast<CursesEditor*>(&left_), static_cast<CursesEditor*>(&right_)}) {
        editor->draw(-1);
        editor->set_cursor(false, -1);
    }
    SetFocus(pref_curses_right_focus(app.prefs) ? right : left);
    keyTimer_.start(window_, kKeyTimer, kKeyTimerMs);
    return FALSE;  // the focus is set
}

void PreferencesWindow::switchPane() { PostMessageW(window_, kSwitchPaneMessage, 0, 0); }

void PreferencesWindow::requestClose() {
    // Closed once the key that asked for it is done with: the editor is still running it.
    PostMessageW(window_, WM_COMMAND, IDCANCEL, 0);
}

void PreferencesWindow::openExternal(const std::string& path) {
    openInExternalEditor(window_, path);
}

INT_PTR PreferencesWindow::handle(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case kSwitchPaneMessage: {
        HWND left = GetDlgItem(window_, IDC_PREFERENCES_LEFT);
        HWND right = GetDlgItem(window_, IDC_PREFERENCES_RIGHT);
        SetFocus(GetFocus() == right ? left : right);
        return TRUE;
    }
    case WM_TIMER:
        if (wParam != kKeyTimer) return FALSE;
        left_.run();
        right_.run();
        return TRUE;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) sizer_.resize();
        return TRUE;
    case WM_PAINT:
        background_.begin(window_);
        background_.end();
        return TRUE;
    case WM_ERASEBKGND:
        SetWindowLongPtrW(window_, DWLP_MSGRESULT, 1);
        return TRUE;
    default: return FALSE;
    }
}

void PreferencesWindow::destroyed() {
    keyTimer_.stop();
    left_.release_document();
    right_.release_document();
    writePlacement("preferences", true);
}
