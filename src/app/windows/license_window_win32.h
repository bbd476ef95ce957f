#pragma once
// The licence window: "license.txt" from the executable's folder in a read-only text
// control, black on white.
#include <windows.h>

#include "app/windows/auxiliary_window_win32.h"
#include "platform/handles_win32.h"
#include "view/layout/window_sizer_win32.h"

class LicenseWindow final : public AuxiliaryWindow {
public:
    LicenseWindow();

private:
    BOOL initialise() override;
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void destroyed() override;

    WindowSizer sizer_;
    win32::Brush white_;
};
