#include "view/editor_view_win32.h"

#include "editor/commands.h"

#include <windowsx.h>

#include "editor/document.h"
#include "editor/key_map.h"
#include "view/gfx/window_surface_win32.h"
#include "view/key_event_win32.h"
#include "view/key_latency_win32.h"
#include "view/scrollbar/skin_scrollbar_win32.h"
#include "view/surface_canvas_win32.h"

namespace {

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

bool onlyTheBlinkChanged(PaintSnapshot now, const PaintSnapshot& painted) {
    now.caretVisible = painted.caretVisible;
    return now == painted;
}

SIZE clientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

}  // namespace

EditorView::EditorView(HWND window, Document& document, SkinSource* skin, const EditorSettings& settings)
    : window_(window), document_(document), skin_(skin), settings_(settings) {}

EditorView::~EditorView() {
    timer_.stop();
    capture_.release();
    SkinScrollbar::detach(window_);
}

EditorView* EditorView::fromWindow(HWND window) {
    return window ? reinterpret_cast<EditorView*>(GetWindowLongPtrW(window, GWLP_USERDATA)) : nullptr;
}

void EditorView::create(int outerWidth, int outerHeight) {
    state_.showWhitespace = settings_.showWhitespace;
    state_.backgroundColor = settings_.backgroundColor;
    state_.textColor = settings_.textColor;
    state_.activeTextColor = settings_.activeTextColor;

    LOGFONTW font{};
    font.lfHeight = settings_.textFontHeight;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    // The grid needs a monospace font: where the chosen face is missing, the font mapper
    // then falls back to another fixed-pitch font rather than a proportional one.
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynW(font.lfFaceName, fontFace(settings_.textFont), LF_FACESIZE);
    renderer_.setFont(CreateFontIndirectW(&font));

    SkinScrollbar::attach(window_, skin_);
    surface_.resize(outerWidth, outerHeight);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    SkinScrollbar::setInfo(window_, &info, TRUE);
    SkinScrollbar::show(window_, false);
    timer_.start(window_, kEditorTimerId, kEditorTimerMs);
}

void EditorView::resize(WPARAM sizeKind) {
    if (sizeKind == SIZE_MINIMIZED) return;
    client_ = clientSize(window_);
    surface_.resize(client_.cx, client_.cy);
    if (!SkinScrollbar::isAttached(window_)) ShowScrollBar(window_, SB_VERT, TRUE);
    state_.paintCache.clear();
    invalidate();
}

PaintSnapshot EditorView::snapshot() const {
    return takePaintSnapshot(document_, document_.view(), state_, client_.cx, client_.cy);
}

void EditorView::paint() {
    win32::PaintDC dc(window_);
    if (!selfInvalidated_) {
        state_.paintCache.clear();
        blinkOnly_ = false;
    }
    bool blinkOnly = blinkOnly_;
    selfInvalidated_ = blinkOnly_ = false;
    if (!dc.get()) return;
    SIZE size = client_ = clientSize(window_);
    // The scrollbar appearing or going changes the client area; the picture follows it.
    if (surface_.width() != size.cx || surface_.height() != size.cy) {
        surface_.resize(size.cx, size.cy);
        state_.paintCache.clear();
    }
    if (surface_.empty()) return;
    SurfaceCanvas canvas(surface_, renderer_, dc.get());
    BarSync bar(window_);
    paintEditor(canvas, bar, document_, document_.view(), state_, size.cx, size.cy, blinkOnly);
    painted_ = snapshot();
    paintedOnce_ = true;
    keyLatencyPainted();
}

void EditorView::timer(UINT_PTR id) {
    if (id != kEditorTimerId) return;
    // A resting timer stands for the ticks it let pass.
    for (int i = 0; i < ticksPerFiring_; ++i) advanceBlink(document_.view());
    refresh();
}

void EditorView::setStatusNotice(const std::string& text) {
    if (state_.notice == text) return;
    state_.notice = text;
    wake();
}

void EditorView::wake() {
    if (ticksPerFiring_ != 1) setTickSpan(1);
    idleTicks_ = 0;
    refresh();
}

void EditorView::setTickSpan(int ticks) {
    ticksPerFiring_ = ticks;
    timer_.start(window_, kEditorTimerId, static_cast<UINT>(ticks) * kEditorTimerMs);
}

void EditorView::refresh() {
    // Idle costs nothing: only a change of what the window shows is painted. (An uncovered
    // window is the system's paint, which erases first and so clears the paint cache.)
    PaintSnapshot now = snapshot();
    if (paintedOnce_ && now == painted_) {
        // Nothing to show for a while: the timer rests until the next blink is due. Input
        // wakes it (wake()), so nothing the user does waits for it.
        if (++idleTicks_ >= kTicksBeforeResting) setTickSpan(ticksUntilBlink(document_.view()));
        return;
    }
    if (paintedOnce_ && onlyTheBlinkChanged(now, painted_)) {
        // The picture is the same but for the caret: only its row is drawn, and only the
        // caret's own cell reaches the screen.
        const ViewState& view = document_.view();
        RECT cell{view.screenColumn * view.cellWidth, view.screenRow * (view.cellHeight + 1),
                  (view.screenColumn + 1) * view.cellWidth + 1, (view.screenRow + 1) * (view.cellHeight + 1)};
        if (!selfInvalidated_) blinkOnly_ = true;
        selfInvalidated_ = true;
        InvalidateRect(window_, &cell, FALSE);
        if (ticksPerFiring_ > 1) setTickSpan(ticksUntilBlink(document_.view()));
        return;
    }
    idleTicks_ = 0;
    invalidate();
}

void EditorView::invalidate() {
    selfInvalidated_ = true;
    blinkOnly_ = false;
    InvalidateRect(window_, nullptr, FALSE);
}

HitGeometry EditorView::hitGeometry() const {
    HitGeometry g;
    g.cellWidth = document_.view().cellWidth;
    g.cellHeight = document_.view().cellHeight;
    g.topLine = state_.topLine;
    g.firstColumn = state_.firstColumn;
    return g;
}

TextPosition EditorView::hitTestAt(LPARAM point, bool drag) const {
    return hitTest(document_, hitGeometry(), GET_X_LPARAM(point), GET_Y_LPARAM(point), drag);
}

void EditorView::buttonDown(LPARAM point, bool shift) {
    state_.paintCache.clear();
    invalidate();
    capture_.take(window_);
    if (shift) {
        // The selection runs from its anchor (or the caret) to the click; a drag moves its end.
        extendSelectionTo(document_, hitTestAt(point, false));
        return;
    }
    document_.clearSelection();
    beginDragSelection(document_, hitTestAt(point, false));
}

void EditorView::doubleClick(LPARAM point) {
    selectWordAt(document_, hitTestAt(point, false));
    state_.paintCache.clear();
    invalidate();
}

void EditorView::mouseMove(LPARAM point) {
    SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
    if (!capture_.held()) return;
    dragSelectionTo(document_, hitTestAt(point, true));
    state_.paintCache.clear();
    followView();
}

void EditorView::buttonUp(LPARAM point) {
    if (!capture_.held()) return;
    if (endDragSelection(document_, hitTestAt(point, false))) {
        state_.paintCache.clear();
        invalidate();
    }
    capture_.release();
}

void EditorView::captureLost() {
    // Another window took the mouse during a drag: the drag ends where it was.
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
    scrollToLine(document_, line);
    SkinScrollbar::setPosition(window_, line, TRUE);
    state_.paintCache.clear();
    invalidate();
}

void EditorView::verticalScroll(int request) { moveTopLine(scrollTarget(request, readBar())); }

void EditorView::wheel(int delta) {
    if (capture_.held()) return;
    int line = wheelTarget(delta, readBar());
    SkinScrollbar::setPosition(window_, line, TRUE);
    moveTopLine(line);
}

void EditorView::key(UINT message, WPARAM wParam, LPARAM lParam) {
    KeyDecision decision = decideKey(keyEventFrom(message, wParam, lParam, capture_.held()), KeyStage::EditorWindow);
    if (decision.action != KeyAction::None) {
        keyLatencyMark();
        performKeyAction(document_, decision, &typing_);
    }
    // The key map sends navigation keys on after moving the caret: the thumb follows them by
    // its own steps.
    int position = 0;
    if (message == WM_KEYDOWN && thumbFollowUp(static_cast<int>(wParam), readBar(), position)) {
        SkinScrollbar::setPosition(window_, position, TRUE);
        invalidate();
        return;
    }
    if (decision.action != KeyAction::None) followView();
}

void EditorView::followView() {
    // The range as it is now: the command may have added or removed lines since the last paint.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = document_.lineCount();
    info.nPage = static_cast<UINT>(std::max(state_.visibleRows, 0));
    info.nPos = std::max(document_.view().topLine(), 0);
    SkinScrollbar::setInfo(window_, &info, TRUE);
    invalidate();
}

void EditorView::dpiChanged() {
    SkinScrollbar::refreshFrame(window_);
    state_.paintCache.clear();
    invalidate();
}

void EditorView::toggleWhitespace() {
    state_.showWhitespace = !state_.showWhitespace;
    state_.paintCache.clear();
}
