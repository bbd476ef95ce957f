// The base key handler: a showing message goes at the next key, the key table decides, and
// the chosen command runs.
#include "curses/editor/curses_editor.h"

namespace {

bool isLowSurrogate(int key) { return key >= 0xDC00 && key <= 0xDFFF; }

CursesKeyMode keyMode(int mode) {
    switch (mode) {
    case CursesEditor::FindPrompt: return CursesKeyMode::FindPrompt;
    case CursesEditor::ReplacePrompt: return CursesKeyMode::ReplacePrompt;
    case CursesEditor::GotoPrompt: return CursesKeyMode::GotoPrompt;
    default: return CursesKeyMode::Editing;
    }
}

}  // namespace

ModifierKeys CursesEditor::modifiers() const {
    if (const std::optional<ModifierKeys>& recorded = screen.key_modifiers()) return *recorded;
    return services.modifiers ? services.modifiers->held() : ModifierKeys{};
}

CursesKeyInput CursesEditor::keyInput(int key) const {
    CursesKeyInput in;
    in.key = key;
    in.modifiers = modifiers();
    in.mode = keyMode(prompt.mode);
    in.selecting = sel.selecting;
    in.has_search_text = !prompt.search_text.empty();
    return in;
}

int CursesEditor::on_key(int key) {
    PaintBatch batch(*this);
    if (prompt.mode == Message) {
        prompt.mode = Editing;
        requestDraw(-1);
        set_cursor(false, -1);
    }
    const CursesKeyDecision decision = decideCursesKey(keyInput(key));
    if (prompt.mode != Editing) {
        performPrompt(decision, key);
        return 0;
    }
    switch (decision.action) {
    case CursesAction::PreviousTab:
    case CursesAction::NextTab:
    case CursesAction::TabByNumber:
        flushPendingSurrogate();
        if (decision.action == CursesAction::TabByNumber)
            switch_tab(decision.argument, false);
        else
            switch_tab(decision.action == CursesAction::PreviousTab ? -1 : 1, true);
        return 1;
    default: break;
    }
    if (joiner_.holding() && !isLowSurrogate(key)) flushPendingSurrogate();
    perform(decision, key);
    return 0;
}

void CursesEditor::perform(const CursesKeyDecision& decision, int key) {
    switch (decision.action) {
    case CursesAction::Move: moveCaret(key); return;
    case CursesAction::SelectAll: selectAll(); return;
    case CursesAction::Redraw: settleCaret(true); return;
    case CursesAction::Duplicate: duplicate(); return;
    case CursesAction::FindNext: find(false, false); return;
    case CursesAction::FindPrevious: find(true, false); return;
    case CursesAction::OpenFind: openFindPrompt(false); return;
    case CursesAction::OpenReplace: openFindPrompt(true); return;
    case CursesAction::OpenGoto: openGotoPrompt(); return;
    case CursesAction::Backspace: backspace(); return;
    case CursesAction::Delete: deleteKey(); return;
    case CursesAction::Enter: enter(); return;
    case CursesAction::Indent: indentKey(); return;
    case CursesAction::Unindent: unindentKey(); return;
    case CursesAction::ShiftSelection: shiftSelectionKey(decision.argument); return;
    case CursesAction::OtherPane: otherPane(); return;
    case CursesAction::TogglePanes: togglePanes(); return;
    case CursesAction::Undo: undo(); return;
    case CursesAction::Redo: redo(); return;
    case CursesAction::DropSelection: dropSelection(); return;
    case CursesAction::ToggleOverwrite: toggleOverwrite(); return;
    case CursesAction::Paste: paste(); return;
    case CursesAction::Copy: copyOrCut(false); return;
    case CursesAction::Cut: copyOrCut(true); return;
    case CursesAction::Type: typeCharacter(key); return;
    default: return;
    }
}

void CursesEditor::dropSelection() {
    sel.selecting = false;
    settleCaret(true);
}

void CursesEditor::toggleOverwrite() {
    shared().overwrite = !shared().overwrite;
    set_cursor(false, -1);
}
