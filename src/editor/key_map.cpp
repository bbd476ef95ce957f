#include "editor/key_map.h"

#include "editor/commands.h"
#include "editor/typing.h"
#include "editor/find.h"
#include "editor/menu_ids.h"
#include "text/virtual_keys.h"
#include "editor/text_edits.h"

namespace {

enum class Combination { None, Shift, Ctrl, CtrlShift, Other };

Combination classify(const ModifierKeys& m) {
    if (m.alt) return Combination::Other;
    if (m.ctrl) return m.shift ? Combination::CtrlShift : Combination::Ctrl;
    return m.shift ? Combination::Shift : Combination::None;
}

struct Row {
    int key;
    Combination modifiers;
    KeyAction action;
    int menuId = 0;
    bool clear = false;
    bool around = false;
    bool notify = false;
};

using M = Combination;
using A = KeyAction;

// Rows in the order they are tried.
constexpr Row kFunctionKeys[] = {
    {vk::kF1, M::Ctrl, A::MenuCommand, menu_id::kAbout},
    {vk::kF2, M::Ctrl, A::MenuCommand, menu_id::kChangelog},
    {vk::kF3, M::Ctrl, A::MenuCommand, menu_id::kVersion},
    {vk::kF3, M::None, A::FindNext},
    {vk::kF3, M::Shift, A::FindPrevious},
    {vk::kF9, M::None, A::FlipCrlf},
    {vk::kF10, M::None, A::FlipSpace},
    {vk::kF11, M::None, A::ToggleFullscreen},
    {vk::kTab, M::Ctrl, A::ShowSwitchWindow},
    {vk::kLeft, M::None, A::MoveLeft, 0, true},
    {vk::kLeft, M::Shift, A::MoveLeft, 0, false, true},
    {vk::kLeft, M::Ctrl, A::WordLeft},
    {vk::kLeft, M::CtrlShift, A::WordLeft, 0, false, true},
    {vk::kRight, M::None, A::MoveRight, 0, true},
    {vk::kRight, M::Shift, A::MoveRight, 0, false, true},
    {vk::kRight, M::Ctrl, A::WordRight},
    {vk::kRight, M::CtrlShift, A::WordRight, 0, false, true},
    {vk::kUp, M::None, A::MoveUp, 0, true, false, true},
    {vk::kUp, M::Shift, A::MoveUp, 0, false, true, true},
    {vk::kUp, M::Ctrl, A::ScrollLineUp},
    {vk::kDown, M::None, A::MoveDown, 0, true, false, true},
    {vk::kDown, M::Shift, A::MoveDown, 0, false, true, true},
    {vk::kDown, M::Ctrl, A::ScrollLineDown},
    {vk::kHome, M::None, A::MoveHome, 0, true},
    {vk::kHome, M::Shift, A::MoveHome, 0, false, true},
    {vk::kHome, M::Ctrl, A::MoveDocumentStart, 0, true, false, true},
    {vk::kHome, M::CtrlShift, A::MoveDocumentStart, 0, false, true, true},
    {vk::kEnd, M::None, A::MoveEnd, 0, true},
    {vk::kEnd, M::Shift, A::MoveEnd, 0, false, true},
    {vk::kEnd, M::Ctrl, A::MoveDocumentEnd, 0, true, false, true},
    {vk::kEnd, M::CtrlShift, A::MoveDocumentEnd, 0, false, true, true},
    {vk::kPrior, M::None, A::PageUp, 0, true, false, true},
    {vk::kPrior, M::Shift, A::PageUp, 0, false, true, true},
    {vk::kNext, M::None, A::PageDown, 0, true, false, true},
    {vk::kNext, M::Shift, A::PageDown, 0, false, true, true},
    {vk::kEscape, M::None, A::Cancel},
    {vk::kReturn, M::None, A::SplitLine},
    {vk::kTab, M::None, A::Indent},
    {vk::kTab, M::Shift, A::Unindent},
    {vk::kBack, M::Ctrl, A::DeleteWordBackward},
    {vk::kDelete, M::Ctrl, A::DeleteWordForward},
};

constexpr Row kCtrlLetters[] = {
    {vk::letter('F'), M::Ctrl, A::OpenFind},
    {vk::letter('R'), M::Ctrl, A::OpenReplace},
    {vk::letter('W'), M::Ctrl, A::ToggleWhitespace},
    {vk::letter('X'), M::Ctrl, A::Cut},
    {vk::letter('C'), M::Ctrl, A::Copy},
    {vk::letter('V'), M::Ctrl, A::Paste},
    {vk::letter('S'), M::Ctrl, A::MenuCommand, menu_id::kSave},
    {vk::letter('S'), M::CtrlShift, A::MenuCommand, menu_id::kSaveAs},
    {vk::letter('G'), M::Ctrl, A::OpenGotoLine},
    {vk::letter('G'), M::CtrlShift, A::OpenGotoOffset},
    {vk::letter('L'), M::Ctrl, A::AbsoluteLineNumbers},
    {vk::letter('L'), M::CtrlShift, A::RelativeLineNumbers},
    {vk::letter('N'), M::Ctrl, A::MenuCommand, menu_id::kNew},
    {vk::letter('O'), M::Ctrl, A::MenuCommand, menu_id::kOpen},
    {vk::letter('P'), M::Ctrl, A::MenuCommand, menu_id::kPreferences},
    {vk::letter('Q'), M::Ctrl, A::MenuCommand, menu_id::kExit},
    {vk::letter('A'), M::Ctrl, A::SelectAll},
    {vk::letter('Z'), M::Ctrl, A::Undo},
    {vk::letter('Y'), M::Ctrl, A::Redo},
    {vk::letter('Z'), M::CtrlShift, A::Redo},
};

template <size_t N>
const Row* findRow(const Row (&rows)[N], int key, Combination modifiers) {
    for (const Row& row : rows) {
        if (row.key == key && row.modifiers == modifiers) return &row;
    }
    return nullptr;
}

void runCommand(Document& doc, KeyAction action) {
    switch (action) {
        case A::FindNext: findNext(doc); break;
        case A::FindPrevious: findPrevious(doc); break;
        case A::FlipCrlf: toggleCrlf(doc); break;
        case A::FlipSpace: toggleSpace(doc); break;
        case A::MoveLeft: moveLeft(doc); break;
        case A::MoveRight: moveRight(doc); break;
        case A::WordLeft: wordLeft(doc); break;
        case A::WordRight: wordRight(doc); break;
        case A::MoveUp: moveUp(doc); break;
        case A::MoveDown: moveDown(doc); break;
        case A::ScrollLineUp: scrollLineUp(doc); break;
        case A::ScrollLineDown: scrollLineDown(doc); break;
        case A::MoveHome: moveHome(doc); break;
        case A::MoveEnd: moveEnd(doc); break;
        case A::MoveDocumentStart: moveDocumentStart(doc); break;
        case A::MoveDocumentEnd: moveDocumentEnd(doc); break;
        case A::PageUp: pageUp(doc); break;
        case A::PageDown: pageDown(doc); break;
        case A::Cancel: cancel(doc); break;
        case A::SplitLine: splitLine(doc); break;
        case A::Indent: indent(doc); break;
        case A::Unindent: unindent(doc); break;
        case A::DeleteWordBackward: deleteWordBackward(doc); break;
        case A::DeleteWordForward: deleteWordForward(doc); break;
        case A::Cut: cutSelection(doc); break;
        case A::Copy: copySelection(doc); break;
        case A::Paste: paste(doc); break;
        case A::Undo: undo(doc); break;
        case A::Redo: redo(doc); break;
        case A::SelectAll: selectAll(doc); break;
        case A::AbsoluteLineNumbers:
            doc.absoluteLineNumbers = true;
            doc.relativeLineNumbers = false;
            break;
        case A::RelativeLineNumbers:
            doc.relativeLineNumbers = true;
            doc.absoluteLineNumbers = false;
            break;
        case A::ToggleOverwrite: toggleOverwrite(doc); break;
        case A::DeleteForward: deleteForward(doc); break;
        case A::DeleteBackward: deleteBackward(doc); break;
        default: break;
    }
}

// Insert, Delete, Backspace and typed characters, as the editor window sees them.
KeyDecision decideEditorWindowKey(const KeyEvent& event) {
    KeyDecision decision;
    bool plain = event.modifiers.none() && !event.mouseCaptured;
    if (event.kind == KeyMessageKind::KeyDown) {
        if (plain && event.virtualKey == vk::kInsert) decision.action = KeyAction::ToggleOverwrite;
        if (plain && event.virtualKey == vk::kDelete) decision.action = KeyAction::DeleteForward;
        return decision;
    }
    if (event.kind != KeyMessageKind::Char) return decision;
    if (event.character == 8) {
        if (plain) decision.action = KeyAction::DeleteBackward;
        return decision;
    }
    // The other control characters come from shortcuts that mean nothing here (Ctrl+B and
    // the like); Tab and Enter were handled as keys. Written into the text they would be
    // invisible bytes.
    if (event.character < 32) return decision;
    decision.action = KeyAction::TypeCharacter;
    decision.character = event.character;
    return decision;
}

}  // namespace

KeyDecision decideKey(const KeyEvent& event, KeyStage stage) {
    if (stage == KeyStage::EditorWindow) return decideEditorWindowKey(event);
    KeyDecision decision;
    Combination modifiers = classify(event.modifiers);
    if (event.kind == KeyMessageKind::Char) {
        // Typed text goes to the editor window straight away, exactly once.
        if (!event.modifiers.ctrl && !event.modifiers.alt) decision.forwardChar = decision.consumed = true;
        return decision;
    }
    if (event.kind != KeyMessageKind::KeyDown && event.kind != KeyMessageKind::SysKeyDown) return decision;

    const Row* row = event.repeatBit ? findRow(kFunctionKeys, event.virtualKey, modifiers) : nullptr;
    if (!row) row = findRow(kCtrlLetters, event.virtualKey, modifiers);
    if (!row) return decision;

    decision.consumed = true;
    // A drag selection is running: the key is swallowed so it cannot disturb the drag.
    if (event.mouseCaptured) return decision;
    decision.action = row->action;
    decision.menuId = row->menuId;
    decision.clearSelection = row->clear;
    decision.around = row->around;
    decision.notifyKey = row->notify ? event.virtualKey : 0;
    return decision;
}

bool isDocumentAction(KeyAction action) { return action >= KeyAction::FindNext; }

bool performKeyAction(Document& doc, const KeyDecision& decision, TypingState* typing) {
    if (!isDocumentAction(decision.action)) return false;
    Document::CommandScope command(doc);
    if (decision.action == KeyAction::TypeCharacter) {
        // Typed characters are the one command whose steps join into words.
        asCommand(doc, StepKind::Typing, [&] {
            if (typing) {
                typing->type(doc, decision.character);
            } else {
                TypingState once;
                once.type(doc, decision.character);
                once.flush(doc);
            }
        });
        return true;
    }
    if (typing) asCommand(doc, StepKind::Typing, [&] { typing->flush(doc); });
    // Every other key is a command of its own (a move too: it ends the word being typed).
    asCommand(doc, StepKind::Edit, [&] {
        if (decision.clearSelection) doc.clearSelection();
        if (decision.around) doc.extendSelection();
        runCommand(doc, decision.action);
        if (decision.around) doc.extendSelection();
    });
    return true;
}
