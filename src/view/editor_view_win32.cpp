#include "view/editor_view_win32.h"

#include <windowsx.h>

#include "app/app_context.h"
#include "app/main_window_win32.h"
#include "app/prefs.h"
#include "editor/commands.h"
#include "editor/key_map.h"
#include "view/gfx/window_surface_win32.h"
#include "view/key_latency_win32.h"
#include "view/scrollbar/skin_scrollbar_win32.h"
#include "view/surface_canvas_win32.h"

namespace {

EditorView* currentView = nullptr;

const wchar_t* fontFace(int choice) {
    switch (choice) {
    case 2: return L"Courier New";
    case 3: return L"Consolas";
    default: return L"Courier";
    }
}

class BarSync final : public PaintScrollbar {
public:
    explicit BarSync(HWND window) : window_(window) {}
    void update(int maximum, int page) override {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_POS;
        SkinScrollbar::getInfo(window_, &info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = maximum;
        info.nPage = static_cast<UINT>(page > 0 ? page : 0);
        SkinScrollbar::setInfo(window_, &info, TRUE);
    }

private:
    HWND window_;
};

bool held(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }
bool noModifiers() { return !held(VK_CONTROL) && !held(VK_SHIFT) && !held(VK_MENU); }

}  // namespace

EditorView* EditorView::current() { return currentView; }
void EditorView::setCurrent(EditorView* view) { currentView = view; }

EditorView::EditorView(HWND window) : window_(window) {}

EditorView::~EditorView() {
    timer_.stop();
    capture_.release();
    SkinScrollbar::detach(window_);
    if (currentView == this) currentView = nullptr;
}

Document* EditorView::document() const {
    MainWindow* main = AppContext::instance().mainWindow;
    return main ? main->document() : nullptr;
}

void EditorView::create(int outerWidth, int outerHeight) {
    const PrefStore& prefs = AppContext::instance().prefs;
    state_.showWhitespace = pref_show_whitespace(prefs);
    state_.backgroundColor = pref_background_color(prefs);
    state_.textColor = pref_text_color(prefs);
    state_.activeTextColor = pref_active_text_color(prefs);

    LOGFONTW font{};
    font.lfHeight = pref_text_font_height(prefs);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    // The grid needs a monospace font: where the chosen face is missing, the font mapper
    // then falls back to another fixed-pitch font rather than a proportional one.
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynW(font.lfFaceName, fontFace(pref_text_font(prefs)), LF_FACESIZE);
    renderer_.setFont(CreateFontIndirectW(&font));

    SkinScrollbar::attach(window_);
    surface_.resize(outerWidth, outerHeight);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    SkinScrollbar::setInfo(window_, &info, TRUE);
    SkinScrollbar::show(window_, false);
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&editorKeyProc)));
    timer_.start(window_, kEditorTimerId, kEditorTimerMs);
}

void EditorView::resize(WPARAM sizeKind) {
    if (sizeKind == SIZE_MINIMIZED) return;
    RECT client;
    GetClientRect(window_, &client);
    surface_.resize(client.right - client.left, client.bottom - client.top);
    if (!SkinScrollbar::isAttached(window_)) ShowScrollBar(window_, SB_VERT, TRUE);
    state_.paintCache.clear();
    invalidate();
}

void EditorView::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    Document* doc = document();
    if (!selfInvalidated_) state_.paintCache.clear();
    selfInvalidated_ = false;
    if (dc && doc) {
        RECT client;
        GetClientRect(window_, &client);
        int width = client.right - client.left;
        int height = client.bottom - client.top;
        // The scrollbar appearing or going changes the client area; the picture follows it.
        if (surface_.width() != width || surface_.height() != height) {
            surface_.resize(width, height);
            state_.paintCache.clear();
        }
        if (!surface_.empty()) {
            SurfaceCanvas canvas(surface_, renderer_, dc);
            BarSync bar(window_);
            paintEditor(canvas, bar, *doc, doc->view(), state_, width, height);
            keyLatencyPainted();
        }
    }
    EndPaint(window_, &ps);
}

void EditorView::timer(UINT_PTR id) {
    if (id != kEditorTimerId) return;
    // A paint already pending that we did not ask for is an exposure: paint everything.
    if (!selfInvalidated_ && GetUpdateRect(window_, nullptr, FALSE)) state_.paintCache.clear();
    invalidate();
}

void EditorView::invalidate() {
    selfInvalidated_ = true;
    InvalidateRect(window_, nullptr, FALSE);
}

HitGeometry EditorView::hitGeometry() const {
    HitGeometry g;
    if (Document* doc = document()) {
        g.cellWidth = doc->view().cellWidth;
        g.cellHeight = doc->view().cellHeight;
    }
    g.mouseTopLine = state_.mouseTopLine;
    g.firstColumn = state_.firstColumn;
    return g;
}

TextPosition EditorView::hitTestAt(LPARAM point, bool drag) const {
    Document* doc = document();
    if (!doc) return {};
    return hitTest(*doc, hitGeometry(), GET_X_LPARAM(point), GET_Y_LPARAM(point), drag);
}

void EditorView::buttonDown(LPARAM point) {
    Document* doc = document();
    if (!doc) return;
    doc->clearSelection();
    state_.paintCache.clear();
    invalidate();
    capture_.take(window_);
    beginDragSelection(*doc, hitTestAt(point, false));
}

void EditorView::mouseMove(LPARAM point) {
    SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
    Document* doc = document();
    if (!doc || !capture_.held()) return;
    dragSelectionTo(*doc, hitTestAt(point, true));
    state_.paintCache.clear();
    invalidate();
}

void EditorView::buttonUp(LPARAM point) {
    Document* doc = document();
    if (!doc || !capture_.held()) return;
    if (endDragSelection(*doc, hitTestAt(point, false))) {
        state_.paintCache.clear();
        invalidate();
    }
    capture_.release();
}

BarValues EditorView::readBar() const {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    SkinScrollbar::getInfo(window_, &info);
    return {info.nMax, static_cast<int>(info.nPage), info.nPos, info.nTrackPos};
}

void EditorView::moveTopLine(int line) {
    if (Document* doc = document()) scrollToLine(*doc, line);
    SkinScrollbar::setPosition(window_, line, TRUE);
    state_.paintCache.clear();
    invalidate();
}

void EditorView::verticalScroll(int request) { moveTopLine(scrollTarget(request, readBar(), state_.lineStep)); }

void EditorView::wheel(int delta) {
    if (capture_.held()) return;
    int line = wheelTarget(delta, readBar());
    SkinScrollbar::setPosition(window_, line, TRUE);
    moveTopLine(line);
}

void EditorView::keyDown(int virtualKey) {
    int position = 0;
    if (!thumbFollowUp(virtualKey, readBar(), state_.lineStep, position)) return;
    SkinScrollbar::setPosition(window_, position, TRUE);
    invalidate();
}

void EditorView::toggleWhitespace() {
    state_.showWhitespace = !state_.showWhitespace;
    state_.paintCache.clear();
}

LRESULT CALLBACK editorKeyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* view = reinterpret_cast<EditorView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!view) return DefWindowProcW(window, message, wParam, lParam);
    // The next procedure may destroy the view (WM_NCDESTROY), so its pointer is taken first.
    WNDPROC next = view->previousProc();
    MainWindow* main = AppContext::instance().mainWindow;
    Document* doc = main ? main->document() : nullptr;
    bool captured = GetCapture() == window;
    if (doc && message == WM_KEYDOWN && noModifiers() && !captured) {
        if (wParam == VK_INSERT) {
            keyLatencyMark();
            toggleOverwrite(*doc);
        } else if (wParam == VK_DELETE) {
            keyLatencyMark();
            deleteForward(*doc);
        }
    } else if (doc && message == WM_CHAR) {
        keyLatencyMark();
        if (wParam == 8) {
            if (noModifiers() && !captured) deleteBackward(*doc);
        } else {
            char text[32];
            encodeUtf8(static_cast<unsigned>(wParam & 0xFFFF), text);
            insertText(*doc, text);
        }
    }
    return CallWindowProcW(next, window, message, wParam, lParam);
}
