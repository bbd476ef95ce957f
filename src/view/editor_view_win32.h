#pragma once
// The editor window's view: the off-screen surface and text renderer, the paint state, the
// scrollbar and the mouse. One per editor window, owned through the window's user-data
// slot; the process-wide current view lets other windows reach the editor.
#include <windows.h>

#include "view/editor_input.h"
#include "view/editor_paint.h"
#include "view/gfx/surface.h"
#include "view/gfx/text_renderer_win32.h"
#include "view/window_handles_win32.h"

class Document;
struct ViewState;

inline constexpr UINT_PTR kEditorTimerId = 130;
inline constexpr UINT kEditorTimerMs = 50;

class EditorView {
public:
    explicit EditorView(HWND window);
    ~EditorView();
    EditorView(const EditorView&) = delete;
    EditorView& operator=(const EditorView&) = delete;

    static EditorView* current();
    static void setCurrent(EditorView* view);

    // Fonts, colours, surface, scrollbar, the key procedure and the timer.
    void create(int outerWidth, int outerHeight);
    void resize(WPARAM sizeKind);
    void paint();
    void timer(UINT_PTR id);

    void buttonDown(LPARAM point);
    void mouseMove(LPARAM point);
    void buttonUp(LPARAM point);
    void verticalScroll(int request);
    void wheel(int delta);
    void keyDown(int virtualKey);

    void toggleWhitespace();
    bool showWhitespace() const { return state_.showWhitespace; }
    void clearPaintCache() { state_.paintCache.clear(); }
    bool mouseCaptured() const { return capture_.held(); }
    HWND window() const { return window_; }
    WNDPROC previousProc() const { return previousProc_; }

private:
    Document* document() const;
    HitGeometry hitGeometry() const;
    TextPosition hitTestAt(LPARAM point, bool drag) const;
    BarValues readBar() const;
    void moveTopLine(int line);
    void invalidate();

    HWND window_;
    Surface surface_;
    TextRenderer renderer_;
    EditorPaintState state_;
    WindowTimer timer_;
    MouseCapture capture_;
    WNDPROC previousProc_ = nullptr;
    // Set by every invalidation of our own; a paint without it was asked for by the system
    // (the window was uncovered), and rows the cache would skip may be gone from the screen.
    bool selfInvalidated_ = false;
};

// The key procedure installed last on the editor window: Insert, Delete, Backspace and typed text.
LRESULT CALLBACK editorKeyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
