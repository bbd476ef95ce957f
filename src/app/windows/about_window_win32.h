#pragma once
// The about window: the credits scrolling up in silver on black, fading out at the end and
// starting over.
#include <windows.h>

#include "app/windows/about_animation.h"
#include "app/windows/about_credits.h"
#include "app/windows/auxiliary_window_win32.h"
#include "platform/handles_win32.h"
#include "view/gfx/surface.h"
#include "view/gfx/text_renderer_win32.h"
#include "view/layout/window_sizer_win32.h"

class AboutWindow final : public AuxiliaryWindow {
public:
    AboutWindow();

private:
    BOOL initialise() override;
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void destroyed() override;

    void drawFrame();
    void paintFrame(HWND control);
    static LRESULT CALLBACK frameProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data);

    CreditsTable credits_;
    AboutAnimation animation_;
    WindowSizer sizer_;
    Surface frame_;
    TextRenderer renderer_;
    win32::WindowTimer timer_;
    win32::Subclass frameControl_;
};
