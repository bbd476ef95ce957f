#pragma once
// What the keys of the curses panes in the preferences and changelog windows do before the
// editor sees them: the read-only pane passes only reading, copying, finding and pane keys;
// the editable one adds saving, the external editor and closing.
#include <string>
#include <vector>

enum class PaneKeyAction {
    ToEditor,      // the editor handles the key as usual
    Drop,          // nothing happens
    SwitchPane,    // Ctrl+Tab: the focus goes to the other pane
    Close,         // Ctrl+W: the window closes as its close box does
    CheckAndSave,  // Ctrl+S in the editable pane
    External,      // Ctrl+E: the file opens in the external editor; then the editor gets the key too
};

// findPromptOpen: the editor's find prompt is active, so its text can be typed.
PaneKeyAction readOnlyPaneKey(int key, bool ctrlHeld, bool findPromptOpen);
PaneKeyAction editablePaneKey(int key, bool ctrlHeld);

struct PreferencesCheck {
    bool parsed = false;
    std::string message;  // the parse error to show when not parsed
};

// Whether the pane's lines parse as the preferences file does. Each line goes in followed by
// a line feed, cut at 1024 bytes with it (in this copy only).
PreferencesCheck checkPreferencesLines(const std::vector<std::string>& lines);

inline constexpr const char* kPreferencesSaved = "Parsed and saved successfully";
inline constexpr const char* kPreferencesNotWritten = "Error writing file, changes not saved!";
