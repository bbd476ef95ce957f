#pragma once
// The changelog window: "changelog.txt" in a read-only curses editor.
#include <windows.h>

#include "app/windows/auxiliary_window_win32.h"
#include "app/windows/curses_panes.h"
#include "curses/screen/curses_screen.h"
#include "platform/handles_win32.h"
#include "view/layout/window_sizer_win32.h"

class ChangelogWindow final : public AuxiliaryWindow, private PaneHost {
public:
    ChangelogWindow();
    ~ChangelogWindow() override;

private:
    BOOL initialise() override;
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void destroyed() override;

    void switchPane() override {}  // one pane: Ctrl+Tab does nothing here
    void requestClose() override;
    void openExternal(const std::string&) override {}

    WindowSizer sizer_;
    win32::WindowTimer keyTimer_;  // runs the editors' keys
    CursesScreen screen_;
    ReadOnlyPane editor_;
};
