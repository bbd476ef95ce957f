#pragma once
// The switch window: the main windows of all running instances, by file name, and the one
// chosen brought to the front.
#include <windows.h>

#include <vector>

#include "app/windows/auxiliary_window_win32.h"
#include "app/windows/switch_entries.h"
#include "view/layout/window_sizer_win32.h"

class SwitchWindow final : public AuxiliaryWindow {
public:
    SwitchWindow();

private:
    BOOL initialise() override;
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void destroyed() override;

    void collect();
    void fillList();
    void fitColumn();
    void choose();
    HWND list() const;

    WindowSizer sizer_;
    std::vector<SwitchEntry<HWND>> entries_;
};

// Opens the switch window, or gives the open one the focus.
void show_switch_window();
