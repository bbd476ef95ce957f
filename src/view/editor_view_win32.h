#pragma once
// The editor window's view: the off-screen surface and text renderer, the paint state, the
// scrollbar, the mouse and the keys that reach the window. One per editor window, owned
// through the window's user-data slot.
#include <windows.h>

#include <string>

#include "editor/typing.h"
#include "platform/handles_win32.h"
#include "view/editor_input.h"
#include "view/editor_paint.h"
#include "view/gfx/surface.h"
#include "view/gfx/text_renderer_win32.h"

class Document;
class SkinSource;
struct ViewState;

inline constexpr UINT_PTR kEditorTimerId = 130;
inline constexpr UINT kEditorTimerMs = 50;

// What the editor window shows, from the preferences of its owner.
struct EditorSettings {
    int textFont = 1;  // 1 Courier, 2 Courier New, 3 Consolas
    int textFontHeight = 14;
    bool showWhitespace = true;
    int backgroundColor = 0x000000;  // 0xRRGGBB
    int textColor = 0xC0C0C0;
    int activeTextColor = 0x8080FF;
};

class EditorView {
public:
    EditorView(HWND window, Document& document, SkinSource* skin, const EditorSettings& settings);
    ~EditorView();
    EditorView(const EditorView&) = delete;
    EditorView& operator=(const EditorView&) = delete;

    // The view of an editor window, or null.
    static EditorView* fromWindow(HWND window);

    // Font, surface, scrollbar and timer.
    void create(int outerWidth, int outerHeight);
    void resize(WPARAM sizeKind);
    void paint();
    void timer(UINT_PTR id);
    // Something the user did may have changed what the window shows: look now, and keep the
    // timer at its full rate for a while.
    void wake();

    // shift: a Shift+click, which extends the selection instead of starting one.
    void buttonDown(LPARAM point, bool shift);
    // Selects the word under the pointer.
    void doubleClick(LPARAM point);
    void mouseMove(LPARAM point);
    void buttonUp(LPARAM point);
    void captureLost();
    void verticalScroll(int request);
    void wheel(int delta);
    // Insert, Delete, Backspace and typed characters; then the scrollbar's follow-up of the
    // keys the key map sends on.
    void key(UINT message, WPARAM wParam, LPARAM lParam);
    // Something moved the view (a command, a dialog, a drag): the thumb goes to the view's top
    // line, in the document's range as it is now.
    void followView();
    // The window moved to a display of another DPI: the scrollbar follows it.
    void dpiChanged();

    // Shows text in the status text's place (the progress of a long load or save) until it
    // is given empty text, and paints it at once.
    void setStatusNotice(const std::string& text);

    void toggleWhitespace();
    bool showWhitespace() const { return state_.showWhitespace; }
    void clearPaintCache() { state_.paintCache.clear(); }
    bool mouseCaptured() const { return capture_.held(); }
    HWND window() const { return window_; }

private:
    HitGeometry hitGeometry() const;
    TextPosition hitTestAt(LPARAM point, bool drag) const;
    BarValues readBar() const;
    void moveTopLine(int line);
    void invalidate();
    void refresh();
    void setTickSpan(int ticks);
    PaintSnapshot snapshot() const;

    HWND window_;
    Document& document_;
    SkinSource* skin_;
    EditorSettings settings_;
    Surface surface_;
    TextRenderer renderer_;
    EditorPaintState state_;
    TypingState typing_;
    SIZE client_{0, 0};
    // The 50 ms timer rests between blinks once nothing has changed for a second.
    static constexpr int kTicksBeforeResting = 20;
    int ticksPerFiring_ = 1;
    int idleTicks_ = 0;
    win32::WindowTimer timer_;
    win32::MouseCapture capture_;
    // What the last paint showed; a tick that finds the same has nothing to paint.
    PaintSnapshot painted_;
    bool paintedOnce_ = false;
    // Set by every invalidation of our own; a paint without it was asked for by the system
    // (the window was uncovered), and rows the cache would skip may be gone from the screen.
    bool selfInvalidated_ = false;
    // The pending paint is for a blink alone.
    bool blinkOnly_ = false;
};
