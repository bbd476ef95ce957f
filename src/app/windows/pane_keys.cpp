#include "app/windows/pane_keys.h"

#include <cjson/cJSON.h>

#include "app/settings/prefs.h"
#include "curses/screen/curses_screen.h"

namespace {

constexpr int kCtrlW = curses_key::ctrl('W');
constexpr int kCtrlS = curses_key::ctrl('S');
constexpr int kCtrlE = curses_key::ctrl('E');
constexpr size_t kLineBytes = 1024;

bool isCursorOrFunctionKey(int key) {
    return (key >= curses_key::Down && key <= curses_key::End) || (key >= curses_key::F1 && key <= curses_key::F12);
}

}  // namespace

PaneKeyAction readOnlyPaneKey(int key, bool ctrlHeld, bool findPromptOpen) {
    if (findPromptOpen) return PaneKeyAction::ToEditor;
    if (ctrlHeld && key == curses_key::Tab) return PaneKeyAction::SwitchPane;
    if (ctrlHeld && key == kCtrlW) return PaneKeyAction::Close;
    if (ctrlHeld) {
        for (char letter : {'C', 'F', 'G', 'O', 'P'})
            if (key == curses_key::ctrl(letter)) return PaneKeyAction::ToEditor;
    }
    if (key == curses_key::Redraw || key == curses_key::Escape) return PaneKeyAction::ToEditor;
    if (isCursorOrFunctionKey(key)) return PaneKeyAction::ToEditor;
    // Typing, Enter, Backspace, Tab, Insert, Delete and the other control letters (go-to,
    // replace, paste, cut, undo ...): the text cannot change.
    return PaneKeyAction::Drop;
}

PaneKeyAction editablePaneKey(int key, bool ctrlHeld) {
    if (!ctrlHeld) return PaneKeyAction::ToEditor;
    if (key == curses_key::Tab) return PaneKeyAction::SwitchPane;
    if (key == kCtrlW) return PaneKeyAction::Close;
    if (key == kCtrlS) return PaneKeyAction::CheckAndSave;
    if (key == kCtrlE) return PaneKeyAction::External;
    return PaneKeyAction::ToEditor;
}

PreferencesCheck checkPreferencesLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        std::string piece = line + "\n";
        if (piece.size() > kLineBytes) piece.resize(kLineBytes);
        text += piece;
    }
    PreferencesCheck check;
    cJSON* tree = prefsParse(text, check.message);
    check.parsed = tree != nullptr;
    cJSON_Delete(tree);
    if (check.parsed) check.message.clear();
    return check;
}
