// One keystroke in the curses editor on a 10,000-line and a 100,000-line document: the
// whole key path (note, edit, redraw of the line and status, undo record) and the undo
// bookkeeping alone (note, edit, push_undo). Goal: at most 1 ms at 10,000 lines.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "curses/editor/curses_editor.h"
#include "curses_fakes.h"

namespace {

struct Session {
    explicit Session(int lineCount) {
        attachFakeWindow(screen, 100, 40)->keepAreas = false;
        editor = std::make_unique<CursesEditor>(screen, CursesServices{&modifiers, nullptr, nullptr});
        for (int i = 0; i < lineCount; ++i)
            editor->doc.lines.push_back("    value_" + std::to_string(i) + " = compute(alpha, beta, gamma);");
        editor->push_undo();
        editor->history.saved_pos = editor->history.pos;
        editor->view.cursor_y = lineCount / 2;
        editor->set_cursor(false, 0.5);
    }
    // Types on the pane's rows in turn, so lines stay short and the pane never scrolls.
    void moveCaret(long keystroke) {
        const int row = static_cast<int>((keystroke / 40) % 20);
        editor->view.cursor_y = editor->panes.pane_offset[0] + row;
        if (keystroke % 40 == 0) editor->view.cursor_x = 0;
    }

    FakeModifiers modifiers;
    CursesScreen screen;
    std::unique_ptr<CursesEditor> editor;
};

void BM_CursesKeystroke(benchmark::State& state) {
    Session session(static_cast<int>(state.range(0)));
    long keystroke = 0;
    for (auto _ : state) {
        session.moveCaret(keystroke++);
        session.editor->on_key('x');
    }
    state.counters["records"] = static_cast<double>(session.editor->history.records.size());
}

void BM_CursesNoteEditPushUndo(benchmark::State& state) {
    Session session(static_cast<int>(state.range(0)));
    CursesEditor& editor = *session.editor;
    long keystroke = 0;
    for (auto _ : state) {
        session.moveCaret(keystroke++);
        editor.note_view_before_change();
        std::string& line = editor.doc.lines[static_cast<size_t>(editor.view.cursor_y)];
        line.insert(line.begin() + editor.view.cursor_x, 'x');
        ++editor.view.cursor_x;
        editor.push_undo();
    }
    state.counters["records"] = static_cast<double>(editor.history.records.size());
}

}  // namespace

BENCHMARK(BM_CursesKeystroke)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(BM_CursesNoteEditPushUndo)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

BENCHMARK_MAIN();
