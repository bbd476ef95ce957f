#include "app/key_router_win32.h"

#include "app/app_context.h"
#include "app/find_dialogs_win32.h"
#include "app/main_window_win32.h"
#include "editor/key_map.h"
#include "view/editor_view_win32.h"
#include "view/key_latency_win32.h"

namespace {

bool held(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

bool belongsToMainWindow(HWND main, HWND target) { return target == main || IsChild(main, target); }

KeyMessageKind kindOf(UINT message) {
    switch (message) {
    case WM_CHAR: return KeyMessageKind::Char;
    case WM_KEYDOWN: return KeyMessageKind::KeyDown;
    case WM_SYSKEYDOWN: return KeyMessageKind::SysKeyDown;
    default: return KeyMessageKind::Other;
    }
}

// The actions that concern windows rather than the document.
void runWindowAction(MainWindow& main, const KeyDecision& decision) {
    switch (decision.action) {
    case KeyAction::MenuCommand: SendMessageW(main.window(), WM_COMMAND, static_cast<WPARAM>(decision.menuId), 0); break;
    case KeyAction::ToggleFullscreen: main.toggle_fullscreen(); break;
    case KeyAction::OpenFind: open_find_dialog(FindDialogKind::Find); break;
    case KeyAction::OpenReplace: open_find_dialog(FindDialogKind::Replace); break;
    case KeyAction::OpenGotoLine: open_find_dialog(FindDialogKind::GotoLine); break;
    case KeyAction::OpenGotoOffset: open_find_dialog(FindDialogKind::GotoOffset); break;
    case KeyAction::ToggleWhitespace:
        if (EditorView* view = EditorView::current()) view->toggleWhitespace();
        break;
    default: break;  // the switch window arrives with its window
    }
}

}  // namespace

bool preTranslateKey(const MSG& message) {
    MainWindow* main = AppContext::instance().mainWindow;
    if (!main || !main->window() || !belongsToMainWindow(main->window(), message.hwnd)) return false;
    KeyInput input;
    input.kind = kindOf(message.message);
    input.virtualKey = static_cast<int>(message.wParam);
    input.ctrl = held(VK_CONTROL);
    input.shift = held(VK_SHIFT);
    input.alt = held(VK_MENU);
    input.repeatBit = (message.lParam & 1) != 0;
    input.mouseCaptured = main->mouseCaptured();

    if (input.kind == KeyMessageKind::Char) {
        if (input.ctrl || input.alt) return false;
        // The editor window gets typed characters straight away, exactly once.
        if (HWND editor = main->editorWindow()) SendMessageW(editor, WM_CHAR, message.wParam, message.lParam);
        return true;
    }
    if (input.kind == KeyMessageKind::Other) return false;

    KeyDecision decision = decideKey(input);
    if (!decision.consumed) return false;
    if (decision.action == KeyAction::None) return true;
    Document* document = main->document();
    keyLatencyMark();
    if (isDocumentAction(decision.action)) {
        if (document) performKeyAction(*document, decision);
    } else {
        runWindowAction(*main, decision);
    }
    if (decision.notifyKey)
        if (HWND editor = main->editorWindow()) SendMessageW(editor, WM_KEYDOWN, static_cast<WPARAM>(decision.notifyKey), 0);
    return true;
}
