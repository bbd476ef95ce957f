#include "app/main_window/find_dialogs_win32.h"

#include <cstdio>
#include <string>

#include "app/shell/app_context.h"
#include "app/main_window/main_window_win32.h"
#include "app/settings/placement.h"
#include "app/shell/resource_ids.h"
#include "platform/out_of_memory_win32.h"
#include "platform/utf8_win32.h"
#include "view/editor_view_win32.h"
#include "platform/keyboard_win32.h"
#include "view/key_event_win32.h"
#include "view/layout/monitor_fit_win32.h"

namespace {

struct DialogSpec {
    int templateId;
    const char* xKey;
    const char* yKey;
    WindowHandle AuxiliaryWindows::*slot;
};

constexpr int kDefaultX = 0;
constexpr int kDefaultY = 50;

const DialogSpec& specOf(FindDialogKind kind) {
    static const DialogSpec specs[] = {
        {IDD_FIND, "find_wnd_x", "find_wnd_y", &AuxiliaryWindows::findDialog},
        {IDD_REPLACE, "replace_wnd_x", "replace_wnd_y", &AuxiliaryWindows::replaceDialog},
        {IDD_GOTO_LINE, "goto_wnd_x", "goto_wnd_y", &AuxiliaryWindows::gotoLineDialog},
        {IDD_GOTO_OFFSET, "gotooffset_wnd_x", "gotooffset_wnd_y", &AuxiliaryWindows::gotoOffsetDialog},
    };
    return specs[static_cast<int>(kind)];
}

WindowHandle& slotOf(FindDialogKind kind) { return AppContext::instance().windows.*(specOf(kind).slot); }

FindDialogKind kindOf(HWND dialog) { return static_cast<FindDialogKind>(GetWindowLongPtrW(dialog, DWLP_USER)); }

void enter(HWND dialog) {
    MainWindow* main = AppContext::instance().mainWindow;
    Document* doc = main ? main->document() : nullptr;
    if (!doc) return;
    FindDialogKind kind = kindOf(dialog);
    std::string first = utf8::getWindowText(GetDlgItem(dialog, IDC_INPUT));
    std::string second;
    if (kind == FindDialogKind::Replace) second = utf8::getWindowText(GetDlgItem(dialog, IDC_INPUT_SECOND));
    const DialogKeyState modifiers{heldModifierKeys(), main->mouseCaptured()};
    const bool done = runDialogEnter(*doc, kind, first, second, modifiers);
    // Find, replace and go-to move the view: the scrollbar shows where to.
    if (EditorView* view = main->editorView()) view->followView();
    if (done) DestroyWindow(dialog);
}

void rememberPosition(HWND dialog) {
    const DialogSpec& spec = specOf(kindOf(dialog));
    RECT rect{};
    GetWindowRect(dialog, &rect);
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(rect.left));
    placement_set_string(spec.xKey, text);
    std::snprintf(text, sizeof text, "%d", static_cast<int>(rect.top));
    placement_set_string(spec.yKey, text);
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto kind = static_cast<FindDialogKind>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, static_cast<LONG_PTR>(lParam));
        slotOf(kind) = dialog;
        const DialogSpec& spec = specOf(kind);
        int x = placement_get_int(spec.xKey, kDefaultX);
        int y = placement_get_int(spec.yKey, kDefaultY);
        // The dialog keeps its own size; a monitor unplugged since must not hide it.
        RECT size{};
        GetWindowRect(dialog, &size);
        placeOnNearestWorkArea(dialog, {x, y, size.right - size.left, size.bottom - size.top});
        ShowWindow(dialog, SW_SHOW);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            enter(dialog);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            DestroyWindow(dialog);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        rememberPosition(dialog);
        slotOf(kindOf(dialog)) = nullptr;
        return TRUE;
    default: return FALSE;
    }
}

}  // namespace

void openFindDialog(FindDialogKind kind) {
    if (HWND open = static_cast<HWND>(slotOf(kind))) {
        SetForegroundWindow(open);
        SetActiveWindow(open);
        return;
    }
    AppContext& app = AppContext::instance();
    if (!app.mainWindow || !app.mainWindow->window()) return;
    CreateDialogParamW(static_cast<HINSTANCE>(app.instanceHandle), MAKEINTRESOURCEW(specOf(kind).templateId),
                       app.mainWindow->window(), guardedProcedure<dialogProc>, static_cast<LPARAM>(kind));
}
