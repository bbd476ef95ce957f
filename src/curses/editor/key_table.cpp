// The curses editor's key table: one row per key, with the modifiers it allows.
#include "curses/editor/key_table.h"

#include <cctype>

namespace {

using namespace curses_key;

// Which modifiers a row accepts besides the key itself.
enum class Allows {
    Any,          // whatever is held
    NoAlt,        // Shift may be held, Alt not
    Plain,        // neither Shift nor Alt
    NoCtrlNoAlt,  // Shift may be held, Ctrl and Alt not
};

struct KeyRow {
    int key;
    Allows allows;
    CursesAction action;
};

constexpr KeyRow kEditingRows[] = {
    {ctrl('A'), Allows::Plain, CursesAction::SelectAll},
    {Redraw, Allows::Any, CursesAction::Redraw},
    {ctrl('D'), Allows::Plain, CursesAction::Duplicate},
    {ctrl('G'), Allows::NoAlt, CursesAction::FindNext},
    {F3, Allows::NoAlt, CursesAction::FindNext},
    {ctrl('F'), Allows::Plain, CursesAction::OpenFind},
    {ctrl('R'), Allows::Plain, CursesAction::OpenReplace},
    {CtrlJ, Allows::Plain, CursesAction::OpenGoto},
    {Backspace, Allows::Any, CursesAction::Backspace},
    {Tab, Allows::NoCtrlNoAlt, CursesAction::Indent},
    {Enter, Allows::Any, CursesAction::Enter},
    {ctrl('O'), Allows::Plain, CursesAction::OtherPane},
    {ctrl('P'), Allows::Plain, CursesAction::TogglePanes},
    {ctrl('Z'), Allows::NoAlt, CursesAction::Undo},
    {ctrl('Y'), Allows::Plain, CursesAction::Redo},
    {Escape, Allows::Plain, CursesAction::DropSelection},
    {Insert, Allows::Plain, CursesAction::ToggleOverwrite},
    {ctrl('V'), Allows::Plain, CursesAction::Paste},
    {Delete, Allows::Plain, CursesAction::Delete},
    {ctrl('C'), Allows::Plain, CursesAction::Copy},
    {ctrl('X'), Allows::Plain, CursesAction::Cut},
};

bool allowed(Allows allows, const ModifierKeys& m) {
    switch (allows) {
    case Allows::Any: return true;
    case Allows::NoAlt: return !m.alt;
    case Allows::Plain: return !m.alt && !m.shift;
    case Allows::NoCtrlNoAlt: return !m.alt && !m.ctrl;
    }
    return false;
}

bool isMovement(int key) { return key >= Down && key <= End; }

// Shift turns some rows into their other half; some depend on the editor's state.
CursesKeyDecision refine(CursesAction action, const CursesKeyInput& in) {
    const bool shift = in.modifiers.shift;
    switch (action) {
    case CursesAction::FindNext:
        if (!in.has_search_text) return {CursesAction::OpenFind};
        return {shift ? CursesAction::FindPrevious : CursesAction::FindNext};
    case CursesAction::Undo: return {shift ? CursesAction::Redo : CursesAction::Undo};
    case CursesAction::Indent:
        if (in.selecting) return {CursesAction::ShiftSelection, shift ? -1 : 1};
        return {shift ? CursesAction::Unindent : CursesAction::Indent};
    case CursesAction::DropSelection: return {in.selecting ? action : CursesAction::None};
    default: return {action};
    }
}

CursesKeyDecision decideEditing(const CursesKeyInput& in) {
    const int key = in.key;
    const ModifierKeys& m = in.modifiers;
    if (m.ctrl && key == Escape) return {CursesAction::PreviousTab};
    if (m.ctrl && key == CtrlCloseBracket) return {CursesAction::NextTab};
    if (m.ctrl && key >= F1 && key <= F10) return {CursesAction::TabByNumber, key - F1};
    if (isMovement(key)) return {CursesAction::Move, key};
    for (const KeyRow& row : kEditingRows) {
        if (row.key != key) continue;
        if (!allowed(row.allows, m)) return {};
        return refine(row.action, in);
    }
    if (curses_key_is_printable(key)) return {CursesAction::Type};
    return {};
}

CursesKeyDecision decidePrompt(const CursesKeyInput& in) {
    const int key = in.key;
    if (in.mode == CursesKeyMode::GotoPrompt) return {key == CtrlJ ? CursesAction::ClosePrompt : CursesAction::PromptKey};
    const bool inFind = in.mode == CursesKeyMode::FindPrompt;
    if (key == ctrl('R')) {
        // With no search text there is nothing to replace: Ctrl+R acts on the find prompt.
        if (in.has_search_text) return {inFind ? CursesAction::PromptToReplace : CursesAction::ClosePrompt};
        return {inFind ? CursesAction::ClosePrompt : CursesAction::PromptToFind};
    }
    if (key == ctrl('F')) return {inFind ? CursesAction::ClosePrompt : CursesAction::PromptToFind};
    return {CursesAction::PromptKey};
}

}  // namespace

CursesKeyDecision decideCursesKey(const CursesKeyInput& input) {
    if (input.mode != CursesKeyMode::Editing) return decidePrompt(input);
    return decideEditing(input);
}

bool curses_key_is_printable(int key) {
    if (key >= LiteralCharacter) return key - LiteralCharacter <= 0xFFFF;
    if (key >= Down && key <= F12) return false;
    if (key >= 128) return key <= 0xFFFF;
    return key >= 0 && (std::isgraph(key) || std::isspace(key));
}

int curses_key_character(int key) { return key >= LiteralCharacter ? key - LiteralCharacter : key; }
