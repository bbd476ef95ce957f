#pragma once
// Keyboard command map of the main window as a pure decision: the Win32 side reads the
// live modifier state, asks decideKey, runs the document side with performKeyAction and
// does the window side itself (dialogs, menu commands, notifying the editor window).
#include "editor/document.h"

enum class KeyMessageKind { Char, KeyDown, SysKeyDown, Other };

struct KeyInput {
    KeyMessageKind kind = KeyMessageKind::Other;
    int virtualKey = 0;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    bool repeatBit = true;  // bit 0 of the key data: the low bit of the repeat count
    bool mouseCaptured = false;
};

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
    AbsoluteLineNumbers,
    RelativeLineNumbers,
};

struct KeyDecision {
    KeyAction action = KeyAction::None;
    int menuId = 0;                // for MenuCommand
    int notifyKey = 0;             // after the action, send this key-down to the editor window; 0 for none
    bool clearSelection = false;   // clearSelection before the action
    bool around = false;           // extendSelection before and after the action
    bool consumed = false;         // the message goes no further
    bool forwardChar = false;      // send the character message to the editor window first
};

// Decides what a message means. A matched key while the mouse is captured is consumed
// with no action.
KeyDecision decideKey(const KeyInput& input);

// True for the actions performKeyAction carries out on the document.
bool isDocumentAction(KeyAction action);

// Runs a document-side decision (selection handling included); returns false and does
// nothing for window-side actions.
bool performKeyAction(Document& doc, const KeyDecision& decision);

// UTF-8 for one UTF-16 unit, NUL-terminated; a lone surrogate becomes a three-byte
// sequence. Returns the byte count.
int encodeUtf8(unsigned unit, char (&out)[32]);
// A high surrogate followed by a low one becomes one four-byte sequence; anything else
// encodes the first unit alone.
int encodeUtf8(unsigned high, unsigned low, char (&out)[32]);
