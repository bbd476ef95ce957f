// Forward search through a large generated document, the only match near its end.
// ORVANE_SEARCH_BYTES sets the document size (default 1 GB); "--write-file PATH" also writes
// the same text to PATH, one line per document line, so other tools can search it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "editor/document.h"
#include "quiet_document_host.h"
#include "editor/find.h"

namespace {

constexpr const char* kNeedle = "orvane_needle_42";


// Source-like lines of 40 to 160 bytes with some two-byte characters; deterministic.
class LineGenerator {
public:
    std::string next() {
        static const char* const words[] = {"static", "const", "return", "value", "index", "buffer", "if", "for",
                                            "while", "caf\xC3\xA9", "na\xC3\xAFve", "x", "y", "=", "+", "(a)",
                                            "alpha", "beta", "gamma", "delta", "{", "}", "0x1F", "count"};
        constexpr size_t kWords = sizeof(words) / sizeof(words[0]);
        std::string line(random() % 3 * 4, ' ');
        size_t target = 40 + random() % 120;
        while (line.size() < target) {
            line += words[random() % kWords];
            line += ' ';
        }
        line.pop_back();
        return line;
    }

private:
    uint32_t random() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<uint32_t>(state_ >> 33);
    }
    uint64_t state_ = 42;
};

struct Corpus {
    QuietHost host;
    ViewState view;
    Document doc{host, view};
    size_t bytes = 0;
};

size_t corpusBytes() {
    const char* size = std::getenv("ORVANE_SEARCH_BYTES");
    return size ? std::strtoull(size, nullptr, 10) : 1000000000ULL;
}

// Builds the document (and the file when asked); the needle goes at the end of the third
// line from the end.
Corpus& corpus(const char* writePath = nullptr) {
    static std::unique_ptr<Corpus> built;
    if (built) return *built;
    built = std::make_unique<Corpus>();
    built->view.cellWidth = 8;
    built->view.cellHeight = 15;
    built->view.clientRect = {0, 0, 800, 480};
    std::FILE* out = writePath ? std::fopen(writePath, "wb") : nullptr;
    LineGenerator generator;
    const size_t wanted = corpusBytes();
    Document& doc = built->doc;
    doc.lines.reserve(wanted / 90 + 16);
    while (built->bytes < wanted) {
        std::string line = generator.next();
        built->bytes += line.size() + 1;
        doc.lines.insert(doc.lineCount(), line.c_str(), line.size());
    }
    int marked = doc.lineCount() - 3;
    std::string withNeedle = std::string(doc.line(marked)) + " " + kNeedle;
    doc.lines.replace(marked, withNeedle.c_str(), withNeedle.size());
    built->bytes += std::strlen(kNeedle) + 1;
    if (out) {
        for (int i = 0; i < doc.lineCount(); ++i) {
            std::fputs(doc.line(i), out);
            std::fputc('\n', out);
        }
        std::fclose(out);
    }
    return *built;
}

void BM_SearchToTheEnd(benchmark::State& state) {
    Corpus& c = corpus();
    Document& doc = c.doc;
    for (auto _ : state) {
        doc.clearSelection();
        doc.setCaret(0, 0);
        bool found = search(doc, kNeedle, {.fromStart = true});
        benchmark::DoNotOptimize(found);
        if (!found || doc.view().caretLine != doc.lineCount() - 3) state.SkipWithError("needle not found");
    }
    double total = static_cast<double>(c.bytes) * static_cast<double>(state.iterations());
    state.counters["MB/s"] = benchmark::Counter(total / 1e6, benchmark::Counter::kIsRate);
    state.counters["doc_MB"] = static_cast<double>(c.bytes) / 1e6;
}
BENCHMARK(BM_SearchToTheEnd)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    const char* writePath = nullptr;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--write-file") == 0) {
            writePath = argv[i + 1];
            for (int j = i; j + 2 <= argc; ++j) argv[j] = argv[j + 2];
            argc -= 2;
            break;
        }
    }
    corpus(writePath);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
