#include "app/shell/key_router_win32.h"

#include "app/shell/app_context.h"
#include "app/main_window/find_dialogs_win32.h"
#include "app/main_window/main_window_win32.h"
#include "app/windows/switch_window_win32.h"
#include "editor/key_map.h"
#include "view/editor_view_win32.h"
#include "view/key_event_win32.h"
#include "view/key_latency_win32.h"

namespace {

bool belongsToMainWindow(HWND main, HWND target) { return target == main || IsChild(main, target); }

// The actions that concern windows rather than the document.
void runWindowAction(MainWindow& main, const KeyDecision& decision) {
    switch (decision.action) {
    case KeyAction::MenuCommand: SendMessageW(main.window(), WM_COMMAND, static_cast<WPARAM>(decision.menuId), 0); break;
    case KeyAction::ToggleFullscreen: main.toggle_fullscreen(); break;
    case KeyAction::OpenFind: openFindDialog(FindDialogKind::Find); break;
    case KeyAction::OpenReplace: openFindDialog(FindDialogKind::Replace); break;
    case KeyAction::OpenGotoLine: openFindDialog(FindDialogKind::GotoLine); break;
    case KeyAction::OpenGotoOffset: openFindDialog(FindDialogKind::GotoOffset); break;
    case KeyAction::ToggleWhitespace:
        if (EditorView* view = main.editorView()) view->toggleWhitespace();
        break;
    case KeyAction::ShowSwitchWindow: show_switch_window(); break;
    default: break;
    }
}

}  // namespace

bool preTranslateKey(const MSG& message) {
    MainWindow* main = AppContext::instance().mainWindow;
    if (!main || !main->window() || !belongsToMainWindow(main->window(), message.hwnd)) return false;
    KeyEvent event = keyEventFrom(message.message, message.wParam, message.lParam, main->mouseCaptured());
    if (event.kind == KeyMessageKind::Other) return false;
    KeyDecision decision = decideKey(event);
    if (decision.forwardChar) {
        // The editor window gets typed characters straight away, exactly once.
        if (HWND editor = main->editorWindow()) SendMessageW(editor, WM_CHAR, message.wParam, message.lParam);
        return true;
    }
    if (!decision.consumed) return false;
    if (decision.action == KeyAction::None) return true;
    keyLatencyMark();
    if (isDocumentAction(decision.action)) {
        if (Document* document = main->document()) performKeyAction(*document, decision);
        // Undo and redo can change lines far from the caret: the next paint shows them all.
        if (decision.action == KeyAction::Undo || decision.action == KeyAction::Redo)
            if (EditorView* view = main->editorView()) view->clearPaintCache();
    } else {
        runWindowAction(*main, decision);
    }
    if (decision.notifyKey) {
        if (HWND editor = main->editorWindow()) SendMessageW(editor, WM_KEYDOWN, static_cast<WPARAM>(decision.notifyKey), 0);
    } else if (EditorView* view = main->editorView()) {
        // Whatever the action did to the view, the scrollbar shows it.
        view->followView();
    }
    return true;
}
