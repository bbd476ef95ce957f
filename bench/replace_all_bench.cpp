// Replace all with 20,000 hits on one line: the curses editor in each of its six search modes,
// and the main editor on a line that is well-formed UTF-8 and on one that is not. Goal: at most
// 20 ms for each; the work is one pass over the line.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "curses/editor/curses_editor.h"
#include "curses_fakes.h"
#include "editor/document.h"
#include "editor/find.h"
#include "quiet_document_host.h"

namespace {

constexpr int kHits = 20'000;

// "ab ab ab ...": each "ab" is a hit as bytes, as a word and as a token.
std::string lineOfHits(const char* between) {
    std::string line;
    for (int i = 0; i < kHits; ++i) {
        line += "ab";
        line += between;
    }
    return line;
}

void BM_CursesReplaceAll(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    const std::string line = lineOfHits(" ");
    FakeModifiers modifiers;
    CursesScreen screen;
    attachFakeWindow(screen, 100, 40)->keepAreas = false;
    auto editor = std::make_unique<CursesEditor>(screen, CursesServices{&modifiers, nullptr, nullptr});
    CursesEditor::shared().search_mode = mode;
    editor->prompt.search_text = "ab";
    editor->prompt.replace_text = "xyz";
    for (auto _ : state) {
        state.PauseTiming();
        editor->doc.lines.assign(1, line);
        editor->view.cursor_x = kHits;
        editor->view.cursor_y = 0;
        state.ResumeTiming();
        editor->find(false, true);
    }
    if (editor->doc.lines[0].find("ab") != std::string::npos) state.SkipWithError("a hit was left");
    state.SetLabel(CursesEditor::search_mode_name(mode));
}

// The main editor; malformed lines hold a lone continuation byte between the hits.
void BM_MainReplaceAll(benchmark::State& state) {
    const bool malformed = state.range(0) != 0;
    const std::string line = lineOfHits(malformed ? "\x80" : " ");
    QuietHost host;
    ViewState view;
    view.cellWidth = 8;
    view.cellHeight = 15;
    view.clientRect = {0, 0, 800, 480};
    Document doc(host, view);
    for (auto _ : state) {
        state.PauseTiming();
        doc.clearLines();
        doc.insertLine(0, line.c_str());
        doc.setCaret(0, 0);
        state.ResumeTiming();
        replace(doc, "ab", "xyz", {.fromStart = true, .all = true});
    }
    if (std::string(doc.line(0)).find("ab") != std::string::npos) state.SkipWithError("a hit was left");
    state.SetLabel(malformed ? "malformed line" : "well-formed line");
}

}  // namespace

BENCHMARK(BM_CursesReplaceAll)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_MainReplaceAll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
