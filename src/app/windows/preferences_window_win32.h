#pragma once
// The preferences window: the default preferences read-only on the left, the user's own file
// editable on the right, each in a curses editor; the right one saves only text that parses.
#include <windows.h>

#include "app/windows/auxiliary_window_win32.h"
#include "app/windows/curses_panes.h"
#include "curses/screen/curses_screen.h"
#include "platform/handles_win32.h"
#include "view/layout/background_painter_win32.h"
#include "view/layout/window_sizer_win32.h"

// Sent to the window to move the keyboard focus to the other pane.
inline constexpr UINT kSwitchPaneMessage = WM_USER + 200;

class PreferencesWindow final : public AuxiliaryWindow, private PaneHost {
public:
    PreferencesWindow();
    ~PreferencesWindow() override;

private:
    BOOL initialise() override;
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void destroyed() override;

    void switchPane() override;
    void requestClose() override;
    void openExternal(const std::string& path) override;

    WindowSizer sizer_;
    win32::WindowTimer keyTimer_;  // runs the editors' keys
    BackgroundPainter background_;
    CursesScreen leftScreen_;
    CursesScreen rightScreen_;
    ReadOnlyPane left_;
    EditablePreferencesPane right_;
};
