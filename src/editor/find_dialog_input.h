#pragma once
// What Enter in the find, replace and go-to dialogs does, decided from the texts typed and
// the modifiers held at that moment. The dialog closes only after it has acted.
#include <string>

#include "editor/document.h"
#include "text/modifier_keys.h"

enum class FindDialogKind { Find, Replace, GotoLine, GotoOffset };

// The modifiers held with Enter, and whether the mouse was captured at that moment.
struct DialogKeyState {
    ModifierKeys held;
    bool mouseCaptured = false;
};

// Runs the dialog's action on the document; answers whether it acted (and so closes).
bool runDialogEnter(Document& doc, FindDialogKind kind, const std::string& first, const std::string& second,
                    const DialogKeyState& modifiers);
