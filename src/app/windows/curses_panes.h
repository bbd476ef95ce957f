#pragma once
// The curses editors of the preferences and changelog windows: a read-only pane and the
// editable preferences pane, each filtering its keys before the editor sees them.
#include <string>

#include "app/windows/pane_keys.h"
#include "curses/editor/curses_editor.h"

// What a pane asks of the window it sits in.
class PaneHost {
public:
    virtual ~PaneHost() = default;
    // Ctrl+Tab: move the keyboard focus to the other pane.
    virtual void switchPane() = 0;
    // Ctrl+W: close the window as its close box does (after the key has been handled).
    virtual void requestClose() = 0;
    // Ctrl+E: the file in the external editor.
    virtual void openExternal(const std::string& path) = 0;
};

class ReadOnlyPane : public CursesEditor {
public:
    ReadOnlyPane(CursesScreen& screen, PaneHost& host) : CursesEditor(screen), host_(host) {}
    ReadOnlyPane(CursesScreen& screen, const CursesServices& services, PaneHost& host)
        : CursesEditor(screen, services), host_(host) {}
    int on_key(int key) override;

private:
    PaneHost& host_;
};

class EditablePreferencesPane : public CursesEditor {
public:
    EditablePreferencesPane(CursesScreen& screen, PaneHost& host) : CursesEditor(screen), host_(host) {}
    EditablePreferencesPane(CursesScreen& screen, const CursesServices& services, PaneHost& host)
        : CursesEditor(screen, services), host_(host) {}
    int on_key(int key) override;
    void draw_help_extra() override;

    // Ctrl+S: saves only text that parses as the preferences file does.
    void checkAndSave();

private:
    PaneHost& host_;
};
