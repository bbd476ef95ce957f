#pragma once
// A curses editor on a small screen with stand-ins for the window, the modifier keys, the
// clipboard and the links, fed from fuzz input: the first bytes are the file, the rest a key
// stream. After every key the caret and the selection lie in the document; undo back to the
// start gives the loaded text, and redo to the end the text as it was when the newest undo
// record was made.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "curses/editor/curses_editor.h"
#include "curses_fakes.h"
#include "fuzz_check.h"

namespace fuzz {

class FuzzEditor final : public CursesEditor {
public:
    FuzzEditor(CursesScreen& screen, const CursesServices& services) : CursesEditor(screen, services) {}
    void load(const std::string& bytes) {
        loadLines(bytes);
        push_undo();
        history.saved_pos = history.pos;
    }
};

inline std::string documentText(const CursesEditor& editor) {
    std::string out;
    for (const std::string& line : editor.doc.lines) out += line + '\n';
    return out;
}

inline void checkPositions(const CursesEditor& editor) {
    int count = editor.line_count();
    FUZZ_CHECK(editor.view.cursor_y >= 0 && editor.view.cursor_y <= count);
    FUZZ_CHECK(editor.view.cursor_x >= 0);
    FUZZ_CHECK(editor.view.scroll_x >= 0);
    for (int p = 0; p < 2; ++p) FUZZ_CHECK(editor.panes.pane_offset[p] >= 0);
    if (editor.sel.selecting) {
        for (int y : {editor.sel.sel_y1, editor.sel.sel_y2}) FUZZ_CHECK(y >= 0 && y <= count);
        for (int x : {editor.sel.sel_x1, editor.sel.sel_x2}) FUZZ_CHECK(x >= 0);
    }
}

// Keys the stream is drawn from: typing, every special key, the control letters.
inline int keyFrom(uint8_t code) {
    if (code < 96) return ' ' + code % 95;                   // printable ASCII
    if (code < 118) return curses_key::Down + (code - 96);   // the 22 special keys
    if (code < 144) return code - 117;                        // Ctrl+A .. Ctrl+Z
    if (code < 150) return std::vector<int>{8, 9, 13, 27, 29, 12}[code - 144];
    if (code < 160) return 0xE9 + (code - 150);               // Latin letters
    return ' ';
}

// Runs a session; prefix keys (with their modifiers) go first.
inline void runSession(const uint8_t* data, size_t size, const std::vector<std::pair<int, int>>& prefix) {
    if (size < 1) return;
    size_t fileBytes = std::min<size_t>(data[0], size - 1);
    std::string file(reinterpret_cast<const char*>(data + 1), fileBytes);
    CursesEditor::shared() = CursesSharedState{};
    FakeModifiers held;
    FakeClipboard clipboard;
    FakeLinks links;
    CursesScreen screen;
    attachFakeWindow(screen, 40, 12)->keepAreas = false;
    FuzzEditor editor(screen, CursesServices{&held, &clipboard, &links});
    editor.load(file);
    editor.draw(-1);
    editor.set_cursor(false, -1);
    std::string loaded = documentText(editor);
    std::string newest = loaded;  // the text whenever the newest record is the current one
    auto press = [&](int key, int modifiers) {
        held.shift = modifiers & 1;
        held.ctrl = (modifiers & 2) != 0;
        held.alt = (modifiers & 4) != 0;
        editor.on_key(key);
        checkPositions(editor);
        if (editor.history.pos + 1 == static_cast<int>(editor.history.records.size())) newest = documentText(editor);
    };
    for (const auto& [key, modifiers] : prefix) press(key, modifiers);
    for (size_t i = 1 + fileBytes; i + 1 < size; i += 2) press(keyFrom(data[i]), data[i + 1] & 7);
    // Leave any prompt, then walk the history.
    press(curses_key::Escape, 0);
    press(curses_key::Escape, 0);
    std::string final = newest;
    for (size_t n = editor.history.records.size() + 1; n > 0 && editor.history.pos > 0; --n) press(curses_key::ctrl('Z'), 2);
    FUZZ_CHECK(documentText(editor) == loaded);
    for (size_t n = editor.history.records.size() + 1;
         n > 0 && editor.history.pos + 1 < static_cast<int>(editor.history.records.size()); --n)
        press(curses_key::ctrl('Y'), 2);
    FUZZ_CHECK(documentText(editor) == final);
}

}  // namespace fuzz
