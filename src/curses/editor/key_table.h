#pragma once
// Which command a curses key runs: a pure function of the key code, the modifiers held, the
// editor's mode and the little state a decision depends on. The editor performs the action.
#include "curses/screen/curses_screen.h"

enum class CursesAction {
    None,
    // Tabs of a host with several editors (the base editor has one).
    PreviousTab,
    NextTab,
    TabByNumber,  // argument: the tab index
    // Movement keys (argument: the key): caret moves, extending a selection with Shift.
    Move,
    SelectAll,
    Redraw,
    Duplicate,
    FindNext,
    FindPrevious,
    OpenFind,
    OpenReplace,
    OpenGoto,
    Backspace,
    Delete,
    Enter,
    Indent,          // Tab without a selection: spaces up to the next indent stop
    Unindent,        // Shift+Tab without a selection
    ShiftSelection,  // Tab on a selection; argument +1 right, -1 left (Shift)
    OtherPane,
    TogglePanes,
    Undo,
    Redo,
    DropSelection,
    ToggleOverwrite,
    Paste,
    Copy,
    Cut,
    Type,  // a printable key: the character goes into the text
    // With a prompt open.
    PromptKey,       // the key edits the open prompt's text
    PromptToFind,    // Ctrl+F, or Ctrl+R with no search text: the find prompt afresh
    PromptToReplace, // Ctrl+R with a search text: the replace prompt afresh
    ClosePrompt,     // the same switch key again, or Ctrl+J in the go-to prompt
};

enum class CursesKeyMode { Editing, FindPrompt, ReplacePrompt, GotoPrompt };

struct CursesKeyInput {
    int key = curses_key::None;
    ModifierKeys modifiers;  // shift, ctrl and alt held with the key
    CursesKeyMode mode = CursesKeyMode::Editing;
    bool selecting = false;     // a selection exists (possibly empty)
    bool has_search_text = false;
};

struct CursesKeyDecision {
    CursesAction action = CursesAction::None;
    int argument = 0;
    friend bool operator==(const CursesKeyDecision&, const CursesKeyDecision&) = default;
};

CursesKeyDecision decideCursesKey(const CursesKeyInput& input);

// A key code that types a character: codes 128 and up that are not special keys, and ASCII
// white space and graphic characters.
bool curses_key_is_printable(int key);
// The UTF-16 unit a printable key code stands for.
int curses_key_character(int key);
