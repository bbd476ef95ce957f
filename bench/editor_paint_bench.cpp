// One paint decision pass of the editor at 1920 × 1080 with an 8 × 14 cell over a document of
// about 1 GB in 10 million lines, caret in the middle: a full paint and a two-row refresh.
// The canvas does nothing, so this times the decisions and the text preparation only.
#include <benchmark/benchmark.h>

#include <string>

#include "editor/document.h"
#include "quiet_document_host.h"
#include "view/editor_paint.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

class NullCanvas final : public EditorCanvas {
public:
    void clear(unsigned) override {}
    void fillRect(int, int, int, int, unsigned, float) override {}
    void line(int, int, int, int, unsigned, float) override {}
    void putPixel(int, int, unsigned, float) override {}
    PixelSize measure(const char*, int length) override { return {length * 8, 14}; }
    void drawText(const char* text, int length, const PixelRect&, const TextStyle&) override {
        benchmark::DoNotOptimize(text);
        benchmark::DoNotOptimize(length);
    }
    void copyBand(int, int) override {}
};

class NullBar final : public PaintScrollbar {
public:
    void update(int, int) override {}
};

struct Fixture {
    QuietHost host;
    ViewState view;
    Document doc{host, view};
    EditorPaintState state;
    NullCanvas canvas;
    NullBar bar;

    Fixture() {
        std::string line;
        doc.lines.reserve(10'000'000);
        for (int i = 0; i < 10'000'000; ++i) {
            line.assign("    value_").append(std::to_string(i)).append(" = compute(alpha,\tbeta, gamma);");
            line.append(static_cast<size_t>(60 + i % 19), '.');
            doc.lines.insert(i, line.c_str(), line.size());
        }
        view.caretLine = 5'000'000;
        view.screenRow = 30;
        view.caretColumn = 10;
        view.screenColumn = 10;
        state.showWhitespace = true;
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_FullPaint(benchmark::State& s) {
    Fixture& f = fixture();
    for (auto _ : s) {
        f.state.paintCache.clear();
        benchmark::DoNotOptimize(paintEditor(f.canvas, f.bar, f.doc, f.view, f.state, kWidth, kHeight));
    }
}
BENCHMARK(BM_FullPaint)->Unit(benchmark::kMicrosecond);

void BM_TwoRowRefresh(benchmark::State& s) {
    Fixture& f = fixture();
    paintEditor(f.canvas, f.bar, f.doc, f.view, f.state, kWidth, kHeight);
    for (auto _ : s) {
        PaintResult result = paintEditor(f.canvas, f.bar, f.doc, f.view, f.state, kWidth, kHeight);
        if (result.kind != RefreshKind::TwoRow) s.SkipWithError("expected a two-row refresh");
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_TwoRowRefresh)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
