#include "app/windows/curses_panes.h"

#include "curses/screen/attributes.h"

int ReadOnlyPane::on_key(int key) {
    switch (readOnlyPaneKey(key, ctrlHeld(), prompt.mode == FindPrompt)) {
    case PaneKeyAction::ToEditor: return CursesEditor::on_key(key);
    case PaneKeyAction::SwitchPane: host_.switchPane(); return 0;
    case PaneKeyAction::Close: host_.requestClose(); return 0;
    default: return 0;
    }
}

int EditablePreferencesPane::on_key(int key) {
    switch (editablePaneKey(key, ctrlHeld())) {
    case PaneKeyAction::SwitchPane: host_.switchPane(); return 0;
    case PaneKeyAction::Close: host_.requestClose(); return 0;
    case PaneKeyAction::CheckAndSave: checkAndSave(); return 0;
    case PaneKeyAction::External:
        host_.openExternal(doc.file_name);
        return CursesEditor::on_key(key);
    default: return CursesEditor::on_key(key);
    }
}

void EditablePreferencesPane::checkAndSave() {
    PreferencesCheck check = checkPreferencesLines(doc.lines);
    // The preferences in force stay as they were loaded; only the file changes.
    if (!check.parsed) {
        show_message(check.message);
        return;
    }
    show_message(save_file() == 0 ? kPreferencesSaved : kPreferencesNotWritten);
}

void EditablePreferencesPane::draw_help_extra() {
    screen.attrset(attr::kHotKey);
    screen.addstr("S");
    screen.attrset(attr::kHelp);
    screen.addstr("ave");
    screen.attrset(attr::kHotKey);
    screen.addstr(" E");
    screen.attrset(attr::kHelp);
    screen.addstr("xternal");
}
