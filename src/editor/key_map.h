#pragma once
// Keyboard command map of the main window as a pure decision: the Win32 side reads the
// live modifier state, asks decideKey, runs the document side with performKeyAction and
// does the window side itself (dialogs, menu commands, notifying the editor window).
#include "editor/document.h"
#include "text/modifier_keys.h"

enum class KeyMessageKind { Char, KeyDown, SysKeyDown, Other };

// One keyboard message as the key decisions see it: the platform side fills it from the
// message and a single snapshot of the modifier keys.
struct KeyEvent {
    KeyMessageKind kind = KeyMessageKind::Other;
    int virtualKey = 0;      // key-down messages
    unsigned character = 0;  // character messages: one UTF-16 unit
    ModifierKeys modifiers;
    bool repeatBit = true;  // bit 0 of the key data: the low bit of the repeat count
    bool mouseCaptured = false;
};

// Where a message is being decided: in the message loop before anything else sees it, or in
// the editor window that it reached afterwards (Insert, Delete, Backspace and typed text).
enum class KeyStage { Router, EditorWindow };

enum class KeyAction {
    None,
    // Window side.
    MenuCommand,
    ToggleFullscreen,
    ShowSwitchWindow,
    OpenFind,
    OpenReplace,
    OpenGotoLine,
    OpenGotoOffset,
    ToggleWhitespace,
    // Document side.
    FindNext,
    FindPrevious,
    FlipCrlf,
    FlipSpace,
    MoveLeft,
    MoveRight,
    WordLeft,
    WordRight,
    MoveUp,
    MoveDown,
    ScrollLineUp,
    ScrollLineDown,
    MoveHome,
    MoveEnd,
    MoveDocumentStart,
    MoveDocumentEnd,
    PageUp,
    PageDown,
    Cancel,
    SplitLine,
    Indent,
    Unindent,
    DeleteWordBackward,
    DeleteWordForward,
    Cut,
    Copy,
    Paste,
    Undo,
    Redo,
    SelectAll,
    AbsoluteLineNumbers,
    RelativeLineNumbers,
    // Document side, decided in the editor window.
    ToggleOverwrite,
    DeleteForward,
    DeleteBackward,
    TypeCharacter,
};

struct KeyDecision {
    KeyAction action = KeyAction::None;
    int menuId = 0;                // for MenuCommand
    unsigned character = 0;        // for TypeCharacter: one UTF-16 unit
    int notifyKey = 0;             // after the action, send this key-down to the editor window; 0 for none
    bool clearSelection = false;   // clearSelection before the action
    bool around = false;           // extendSelection before and after the action
    bool consumed = false;         // the message goes no further
    bool forwardChar = false;      // send the character message to the editor window
};

// Decides what a message means at the given stage. A matched key while the mouse is
// captured is consumed with no action.
KeyDecision decideKey(const KeyEvent& event, KeyStage stage = KeyStage::Router);

// True for the actions performKeyAction carries out on the document.
bool isDocumentAction(KeyAction action);

// Runs a document-side decision (selection handling included); returns false and does
// nothing for window-side actions. Typed characters go through a TypingState so that the two
// halves of a character outside the Basic Multilingual Plane become one character.
class TypingState;
bool performKeyAction(Document& doc, const KeyDecision& decision, TypingState* typing = nullptr);
