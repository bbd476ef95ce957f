#pragma once
// Fakes for the character-cell screen and the curses editor: a window of a given size, a
// canvas that records what is painted, the modifier keys, the clipboard and the link opener,
// and a harness with an editor on a screen.
#include <memory>
#include <string>
#include <vector>

#include "curses/editor/curses_editor.h"
#include "curses/screen/curses_screen.h"
#include "temp_dir.h"

class FakeScreenWindow final : public ScreenWindow {
public:
    static constexpr int kCellWidth = 8;
    static constexpr int kCellHeight = 16;

    FakeScreenWindow(int width, int height) : size{width, height} {}

    void invalidate(const PixelRect& area) override {
        if (keepAreas) invalidated.push_back(area);
    }
    void invalidateAll() override { ++wholeRepaints; }
    PixelSize clientSize() const override { return size; }
    bool createFont() override {
        ++fontCreations;
        return true;
    }
    PixelSize measureFont() override {
        ++measurements;
        return font;
    }
    bool hasFocus() const override { return focused; }
    void captureMouse() override { captured = true; }
    void releaseMouse() override { captured = false; }
    void* nativeHandle() const override { return nullptr; }

    PixelSize size;
    PixelSize font{kCellWidth, kCellHeight};
    std::vector<PixelRect> invalidated;
    bool keepAreas = true;  // off for long sessions, which would pile them up
    int wholeRepaints = 0;
    int fontCreations = 0;
    int measurements = 0;
    bool focused = true;
    bool captured = false;
};

struct PaintOp {
    enum Kind { Fill, Colors, Cell } kind = Fill;
    PixelRect rect;
    uint32_t color = 0;  // Fill: the colour; Colors: foreground
    uint32_t background = 0;
    char16_t ch = 0;
};

class RecordingScreenCanvas final : public ScreenCanvas {
public:
    void fill(const PixelRect& area, uint32_t rgb) override { ops.push_back({PaintOp::Fill, area, rgb, 0, 0}); }
    void setTextColors(uint32_t fg, uint32_t bg) override { ops.push_back({PaintOp::Colors, {}, fg, bg, 0}); }
    void drawCell(const PixelRect& cell, char16_t ch) override { ops.push_back({PaintOp::Cell, cell, 0, 0, ch}); }

    std::vector<PaintOp> of(PaintOp::Kind kind) const {
        std::vector<PaintOp> out;
        for (const PaintOp& op : ops)
            if (op.kind == kind) out.push_back(op);
        return out;
    }
    // The fill colour covering the pixel (x, y) last, or -1 when none does.
    long long colorAt(int x, int y) const {
        long long found = -1;
        for (const PaintOp& op : ops) {
            if (op.kind == PaintOp::Colors) continue;
            if (x < op.rect.left || x >= op.rect.right || y < op.rect.top || y >= op.rect.bottom) continue;
            found = op.kind == PaintOp::Fill ? op.color : currentBackground(op);
        }
        return found;
    }
    std::vector<PaintOp> ops;

private:
    long long currentBackground(const PaintOp& cell) const {
        long long bg = -1;
        for (const PaintOp& op : ops) {
            if (&op == &cell) break;
            if (op.kind == PaintOp::Colors) bg = op.background;
        }
        return bg;
    }
};

// The modifiers a test holds down: set its shift, ctrl and alt.
class FakeModifiers final : public KeyModifiers, public ModifierKeys {
public:
    ModifierKeys held() const override { return *this; }
};

class FakeClipboard final : public SystemClipboard {
public:
    bool setUnicodeText(ScreenWindow*, const std::u16string& text) override {
        if (refuses) return false;  // another program has the clipboard open
        unicode = text;
        ++writes;
        return true;
    }
    std::u16string unicodeText(ScreenWindow*) override { return unicode; }
    std::string plainText(ScreenWindow*) override { return plain; }
    std::u16string unicode;
    std::string plain;
    int writes = 0;
    bool refuses = false;
};

class FakeLinks final : public LinkOpener {
public:
    void open(ScreenWindow*, const std::string& url) override { opened.push_back(url); }
    std::vector<std::string> opened;
};

// A screen of cols x rows cells in a fake window.
inline FakeScreenWindow* attachFakeWindow(CursesScreen& screen, int cols, int rows) {
    auto window = std::make_unique<FakeScreenWindow>(cols * FakeScreenWindow::kCellWidth, rows * FakeScreenWindow::kCellHeight);
    FakeScreenWindow* raw = window.get();
    screen.attach_window(std::move(window));
    return raw;
}

// The characters of one screen row (blank cells as spaces).
inline std::string screenRow(CursesScreen& screen, int row) {
    std::string out;
    for (int x = 0; x < screen.cols; ++x) {
        const ScreenCell* cell = screen.cell_at(row, x);
        char16_t ch = cell ? cell->ch : 0;
        if (ch == 0)
            out += ' ';
        else if (ch < 128)
            out += static_cast<char>(ch);
        else
            out += '?';
    }
    return out;
}

inline std::string trimRight(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// An editor on an 80 x 24 screen (by default) with fake modifiers, clipboard and links.
class EditorHarness {
public:
    explicit EditorHarness(int cols = 80, int rows = 24) {
        CursesEditor::shared() = CursesSharedState{};
        window = attachFakeWindow(screen, cols, rows);
        editor = std::make_unique<CursesEditor>(screen, CursesServices{&modifiers, &clipboard, &links});
    }

    // Loads text as a file, as a host does: init, draw everything, caret in view.
    int load(const std::string& text, const std::string& name = "doc.txt") {
        dir.write(name, text);
        return open(dir.file(name));
    }
    int open(const std::string& path) {
        int result = editor->init(path);
        editor->draw(-1);
        editor->set_cursor(false, -1);
        return result;
    }

    int key(int code) { return editor->on_key(code); }
    int ctrlKey(char letter) {
        modifiers.ctrl = true;
        int result = editor->on_key(curses_key::ctrl(letter));
        modifiers.ctrl = false;
        return result;
    }
    int shiftKey(int code) {
        modifiers.shift = true;
        int result = editor->on_key(code);
        modifiers.shift = false;
        return result;
    }
    int ctrlShiftKey(int code) {
        modifiers.ctrl = modifiers.shift = true;
        int result = editor->on_key(code);
        modifiers.ctrl = modifiers.shift = false;
        return result;
    }
    void type(const std::string& ascii) {
        for (char c : ascii) editor->on_key(static_cast<unsigned char>(c));
    }
    void repeat(int code, int times) {
        for (int i = 0; i < times; ++i) editor->on_key(code);
    }

    // The document as one text, lines joined with LF.
    std::string text() const {
        std::string out;
        for (size_t i = 0; i < editor->doc.lines.size(); ++i) {
            if (i) out += '\n';
            out += editor->doc.lines[i];
        }
        return out;
    }
    std::string row(int r) { return trimRight(screenRow(screen, r)); }
    std::string bottomRow() { return row(screen.lines - 1); }

    // Mouse at a cell (its middle).
    int mouse(MouseAction action, int col, int row, bool shift = false) {
        MouseEvent e;
        e.action = action;
        e.x = col * FakeScreenWindow::kCellWidth + FakeScreenWindow::kCellWidth / 2;
        e.y = row * FakeScreenWindow::kCellHeight + FakeScreenWindow::kCellHeight / 2;
        e.held.shift = shift;
        return screen.mouse_callback(screen.user_data, *window, e);
    }
    int mousePixel(MouseAction action, int x, int y, int wheel = 0) {
        MouseEvent e;
        e.action = action;
        e.x = x;
        e.y = y;
        e.wheel_delta = wheel;
        return screen.mouse_callback(screen.user_data, *window, e);
    }

    TempDir dir;
    CursesScreen screen;
    FakeScreenWindow* window = nullptr;
    FakeModifiers modifiers;
    FakeClipboard clipboard;
    FakeLinks links;
    std::unique_ptr<CursesEditor> editor;
};

// Numbered lines "line 1" .. "line n", each ended by LF.
inline std::string numberedLines(int n) {
    std::string out;
    for (int i = 1; i <= n; ++i) out += "line " + std::to_string(i) + "\n";
    return out;
}
