#pragma once
// The editor's paint decisions: one pass over the visible rows of the document, drawn
// through an EditorCanvas. Between full paints only the caret row and the status row are
// re-rendered while nothing else can have changed (the paint cache).
#include <string>

#include "editor/document.h"
#include "editor/text_buffer.h"
#include "view/editor_canvas.h"

// The view as of the last full paint; all zero means invalid.
struct PaintCache {
    int caretColumn = 0;
    int caretLine = 0;
    int firstColumn = 0;
    int topLine = 0;
    int lineCount = 0;

    bool valid() const { return caretColumn || caretLine || firstColumn || topLine || lineCount; }
    void clear() { *this = PaintCache{}; }
    bool operator==(const PaintCache&) const = default;
};

// The painter's own state, kept between paints by the editor view.
struct EditorPaintState {
    int firstColumn = 0;
    int topLine = 0;
    int lineCount = 0;
    int visibleRows = 0;
    bool showWhitespace = false;
    PaintCache paintCache;
    // 0xRRGGBB.
    int backgroundColor = 0x000000;
    int textColor = 0xC0C0C0;
    int activeTextColor = 0x8080FF;
    TextBuffer scratch{128};
    // Takes the status text's place while not empty: the progress of a long load or save.
    std::string notice;
};

// The vertical scrollbar as the painter needs it: it re-reads and re-sets its own position
// against the new range on every paint.
class PaintScrollbar {
public:
    virtual ~PaintScrollbar() = default;
    virtual void update(int maximum, int page) = 0;
};

enum class RefreshKind { Full, TwoRow, CaretRow };

struct PaintResult {
    RefreshKind kind = RefreshKind::Full;
    int caretRow = 0;      // the band copied for the caret in a two-row refresh
    int statusRow = 0;
};

inline constexpr unsigned kLineNumberColor = 0xFF8080FFu;
inline constexpr unsigned kCaretLineNumberColor = 0xFFFF0000u;
inline constexpr unsigned kLineNumberBackground = 0xFF000000u;
inline constexpr int kBlinkStepMs = 50;
inline constexpr int kBlinkPeriodMs = 500;
inline constexpr int kStatusTextMax = 64;

// One 50 ms tick of the caret blink: the caret changes phase when the accumulated time
// passes half a second. Answers whether it did.
bool advanceBlink(ViewState& view);
// How many ticks from now the caret next changes phase (at least 1).
int ticksUntilBlink(const ViewState& view);

// Paints the client area (width × height) of the editor and copies what changed: the whole
// picture, or in a two-row refresh just the caret row and the status row. caretBlinkOnly
// says that nothing but the caret's blink phase changed since the last paint: then only the
// caret row is drawn and copied, when the paint cache allows it.
PaintResult paintEditor(EditorCanvas& canvas, PaintScrollbar& scrollbar, const Document& doc, ViewState& view,
                        EditorPaintState& state, int clientWidth, int clientHeight, bool caretBlinkOnly = false);

// Everything a paint shows. Two equal snapshots paint the same picture, so a tick that
// finds the snapshot unchanged need not paint at all.
struct PaintSnapshot {
    unsigned long long textRevision = 0;
    int caretColumn = 0, caretLine = 0, screenColumn = 0, screenRow = 0;
    bool caretVisible = false;
    bool selectionActive = false;
    TextPosition selectionStart, selectionEnd;
    bool crlf = false, space = false, overwrite = false;
    bool relativeLineNumbers = false, absoluteLineNumbers = false;
    bool showWhitespace = false;
    int clientWidth = 0, clientHeight = 0;
    std::string notice;
    bool operator==(const PaintSnapshot&) const = default;
};
PaintSnapshot takePaintSnapshot(const Document& doc, const ViewState& view, const EditorPaintState& state,
                                int clientWidth, int clientHeight);

// "  %d : %d %s %s  " with the caret column and line (one-based) and the two modes.
void formatStatusText(const Document& doc, const ViewState& view, TextBuffer& out);
// The line-number text of a row showing line index `line` with the caret on caretLine.
void formatLineNumber(const Document& doc, int line, int caretLine, TextBuffer& out);
