#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <string>

#include "curses/system/clipboard_text.h"
#include "curses_fakes.h"

namespace {

using namespace curses_key;

std::string recordText(const UndoRecord& record) {
    std::string out;
    for (size_t i = 0; i < record.lines.size(); ++i) {
        if (i) out += '\n';
        out += record.lines[i].text();
    }
    return out;
}

// Undoes until the first record, checking each step against what the document was at that
// record; then redoes to the last one.
void undoAndRedoThrough(EditorHarness& h, const std::map<int, std::string>& atRecord) {
    const int last = h.editor->history.pos;
    while (h.editor->history.pos > 0) {
        h.ctrlKey('Z');
        auto it = atRecord.find(h.editor->history.pos);
        ASSERT_NE(it, atRecord.end());
        ASSERT_EQ(h.text(), it->second) << "after undo to record " << h.editor->history.pos;
    }
    while (h.editor->history.pos < last) {
        h.ctrlKey('Y');
        auto it = atRecord.find(h.editor->history.pos);
        ASSERT_NE(it, atRecord.end());
        ASSERT_EQ(h.text(), it->second) << "after redo to record " << h.editor->history.pos;
    }
}

}  // namespace

TEST(CursesSession, TypingSelectingCuttingAndPastingUndoesToTheStartAndRedoesToTheEnd) {
    EditorHarness h(60, 16);
    h.load("int main() {\n}\n");
    std::map<int, std::string> atRecord{{0, "int main() {\n}"}};
    // Every key notes the document at the record it leaves current.
    auto note = [&] { atRecord[h.editor->history.pos] = h.text(); };
    auto press = [&](int code) { h.key(code); note(); };
    auto pressCtrl = [&](char letter) { h.ctrlKey(letter); note(); };
    auto pressShift = [&](int code) { h.shiftKey(code); note(); };
    auto typeAll = [&](const std::string& text) {
        for (char c : text) press(static_cast<unsigned char>(c));
    };

    press(End);
    press(Enter);
    EXPECT_EQ(h.text(), "int main() {\n\n}");
    typeAll("    return 0;");
    EXPECT_EQ(h.text(), "int main() {\n    return 0;\n}");
    press(Home);
    for (int i = 0; i < 6; ++i) pressShift(Right);
    EXPECT_EQ(h.editor->selection_text(), "return");
    pressCtrl('X');
    EXPECT_EQ(h.text(), "int main() {\n     0;\n}");
    press(Escape);
    press(Up);
    press(Home);
    pressCtrl('V');
    EXPECT_EQ(h.text(), "returnint main() {\n     0;\n}");
    press(' ');
    pressCtrl('A');
    pressCtrl('C');
    press(Down);  // into the selection's end
    pressCtrl('V');
    const std::string twice = "return int main() {\n     0;\n}return int main() {\n     0;\n}";
    EXPECT_EQ(h.text(), twice);
    press(Escape);
    pressCtrl('D');
    EXPECT_EQ(h.text(), twice + "\n}");
    press(Escape);
    press(Backspace);
    press(Backspace);
    EXPECT_EQ(h.text(), twice);
    EXPECT_GT(h.editor->history.pos, 20);

    undoAndRedoThrough(h, atRecord);
    EXPECT_EQ(h.text(), twice);
    while (h.editor->history.pos > 0) h.ctrlKey('Z');
    EXPECT_EQ(h.text(), "int main() {\n}");
    EXPECT_FALSE(h.editor->is_modified());
}

// Thousands of mixed keys and mouse events on a small document, with the document's
// invariants checked after each one.
TEST(CursesSession, ARandomSessionKeepsTheCaretAndSelectionInsideAndUndoRedoThrough) {
    EditorHarness h(30, 10);
    const std::string loaded = "alpha beta\n  gamma(delta);\n\n\tepsilon http://example.com/zeta\n\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\nlast";
    h.load(loaded);
    const std::string start = h.text();
    std::mt19937 random(20240611);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const int specialKeys[] = {Down, Up, PageUp, PageDown, Right, Left, Home, End, Insert, Delete, F3, Backspace,
                               Tab, Enter, Escape, Redraw, CtrlJ};
    const char letters[] = "ACDFGJLOPRVXYZK";
    std::map<int, std::string> atRecord;
    const int kEvents = 6000;
    for (int event = 0; event < kEvents; ++event) {
        h.modifiers.shift = pick(4) == 0;
        h.modifiers.ctrl = pick(5) == 0;
        h.modifiers.alt = pick(20) == 0;
        int kind = pick(10);
        if (kind < 4) {
            h.key(specialKeys[pick(static_cast<int>(std::size(specialKeys)))]);
        } else if (kind < 7) {
            const char* typed[] = {"a", " ", "x", "_", ";", "(", "\xC3\xA9", "\xF0\x9F\x98\x80"};
            const char* t = typed[pick(8)];
            if (t[0] & 0x80) {
                std::u16string units = clipboard_text_from_utf8(t);
                for (char16_t u : units) h.editor->on_key(u);
            } else {
                h.key(t[0]);
            }
        } else if (kind < 8) {
            h.modifiers.ctrl = true;
            h.key(ctrl(letters[pick(static_cast<int>(sizeof letters) - 1)]));
        } else {
            MouseEvent e;
            const MouseAction actions[] = {MouseAction::LeftDown, MouseAction::Move,  MouseAction::Move,
                                           MouseAction::LeftUp,   MouseAction::LeftDoubleClick, MouseAction::RightDown,
                                           MouseAction::Wheel,    MouseAction::CaptureChanged};
            e.action = actions[pick(8)];
            e.x = pick(30 * 8 + 80) - 40;
            e.y = pick(10 * 16 + 80) - 40;
            e.wheel_delta = (pick(5) - 2) * 120;
            e.held.shift = h.modifiers.shift;
            h.screen.mouse_callback(h.screen.user_data, *h.window, e);
        }
        h.modifiers = FakeModifiers{};

        CursesEditor& ed = *h.editor;
        const int n = ed.line_count();
        ASSERT_GE(ed.view.cursor_y, 0) << "event " << event;
        ASSERT_LE(ed.view.cursor_y, n) << "event " << event;
        ASSERT_GE(ed.view.cursor_x, 0) << "event " << event;
        ASSERT_LE(ed.view.cursor_x, ed.line_length(ed.view.cursor_y)) << "event " << event;
        if (ed.sel.selecting) {
            for (TextPosition p : {TextPosition{ed.sel.sel_x1, ed.sel.sel_y1}, TextPosition{ed.sel.sel_x2, ed.sel.sel_y2}}) {
                ASSERT_GE(p.line, 0) << "event " << event;
                ASSERT_LE(p.line, n) << "event " << event;
                ASSERT_GE(p.column, 0) << "event " << event;
                ASSERT_LE(p.column, ed.line_length(p.line)) << "event " << event;
            }
        }
        ASSERT_GE(ed.view.scroll_x, 0);
        ASSERT_GE(ed.panes.pane_offset[0], 0);
        ASSERT_GE(ed.panes.pane_offset[1], 0);
        ASSERT_GE(ed.history.pos, 0);
        ASSERT_LT(ed.history.pos, static_cast<int>(ed.history.records.size()));
        ASSERT_LT(ed.history.saved_pos, static_cast<int>(ed.history.records.size()));
        // The current record always holds the document.
        ASSERT_EQ(recordText(ed.history.records[static_cast<size_t>(ed.history.pos)]), h.text()) << "event " << event;
        ASSERT_LE(static_cast<int>(ed.history.records.size()), ed.history.max_undo + 1);
    }
    // Leave any prompt, then undo to the start and redo to the end.
    h.key(Escape);
    h.key(Escape);
    const std::string final = h.text();
    const int last = h.editor->history.pos;
    while (h.editor->history.pos > 0) h.ctrlKey('Z');
    EXPECT_EQ(h.text(), start);
    while (h.editor->history.pos < last) h.ctrlKey('Y');
    EXPECT_EQ(h.text(), final);
    EXPECT_GT(last, 50);
}
