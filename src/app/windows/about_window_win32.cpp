#include "app/windows/about_window_win32.h"

#include "app/shell/app_context.h"
#include "app/shell/resource_ids.h"
#include "app/shell/version_text.h"
#include "platform/keyboard_win32.h"
#include "view/gfx/window_surface_win32.h"

namespace {

constexpr UINT_PTR kAnimationTimer = 330;
constexpr UINT kAnimationMs = 41;
constexpr int kFrameWidth = 630;
constexpr int kFrameHeight = 210;
constexpr int kFontHeight = 16;
constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kSilver = 0x00C0C0C0u;
constexpr UINT_PTR kFrameSubclass = 0xAB07;

HFONT creditsFont() {
    LOGFONTW font{};
    font.lfHeight = kFontHeight;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, L"Arial", LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

}  // namespace

AboutWindow::AboutWindow()
    : AuxiliaryWindow(IDD_ABOUT, &AppContext::instance().windows.about),
      credits_(aboutCredits(buildTimestamp(), sourceRevision())),
      animation_(kCreditLineCount, separatorIndexes(credits_.lines)) {}

BOOL AboutWindow::initialise() {
    HWND control = GetDlgItem(window_, IDC_ABOUT_FRAME);
    coverClientArea(control);
    sizer_.init(window_);
    sizer_.add(control, 0, 0, 1, 1);
    placeFromStore("about", kFrameWidth, kFrameHeight, false);
    frame_.resize(kFrameWidth, kFrameHeight);
    frame_.clear(kBlack);
    // One font for the window's life: the glyphs it renders stay cached between frames.
    renderer_.setFont(creditsFont());
    frameControl_.install(control, frameProc, kFrameSubclass, reinterpret_cast<DWORD_PTR>(this));
    timer_.start(window_, kAnimationTimer, kAnimationMs);
    return TRUE;
}

void AboutWindow::drawFrame() {
    HWND control = GetDlgItem(window_, IDC_ABOUT_FRAME);
    RECT area{};
    GetClientRect(control, &area);
    int centre = (area.right - area.left) / 2;
    AboutAnimation::Frame frame = animation_.frame();
    frame_.clear(kBlack);
    renderer_.setBackgroundColor(kBlack);
    renderer_.setBackgroundMode(BackgroundMode::Transparent);
    renderer_.setTextColor(static_cast<uint32_t>(frame.alpha) << 24 | kSilver);
    const bool alternative = heldModifierKeys().ctrl;
    for (const CreditPlacement& line : frame.lines) {
        const std::string& other = credits_.alternative[static_cast<size_t>(line.index)];
        const std::string& text = alternative && !other.empty() ? other : credits_.lines[static_cast<size_t>(line.index)];
        int width = renderer_.measure(text.c_str(), static_cast<int>(text.size())).width;
        RECT at{centre - width / 2, line.top, kFrameWidth, line.top + renderer_.lineHeight()};
        renderer_.draw(frame_, text.c_str(), static_cast<int>(text.size()), at, true);
    }
}

void AboutWindow::paintFrame(HWND control) {
    win32::PaintDC dc(control);
    RECT area{};
    GetClientRect(control, &area);
    copyToWindow(frame_, 0, 0, dc.get(), area);
}

LRESULT CALLBACK AboutWindow::frameProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data) {
    auto* self = reinterpret_cast<AboutWindow*>(data);
    switch (message) {
    case WM_ERASEBKGND: return 1;  // the frame covers the control: nothing to erase
    case WM_PAINT: self->paintFrame(control); return 0;
    case WM_NCDESTROY: self->frameControl_.forget(); RemoveWindowSubclass(control, frameProc, kFrameSubclass); break;
    default: break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

INT_PTR AboutWindow::handle(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_TIMER:
        if (wParam != kAnimationTimer) return FALSE;
        drawFrame();
        InvalidateRect(GetDlgItem(window_, IDC_ABOUT_FRAME), nullptr, FALSE);
        return TRUE;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) sizer_.resize();
        return TRUE;
    case WM_ERASEBKGND:
        SetWindowLongPtrW(window_, DWLP_MSGRESULT, 1);
        return TRUE;
    default: return FALSE;
    }
}

void AboutWindow::destroyed() {
    timer_.stop();
    writePlacement("about", false);
}
