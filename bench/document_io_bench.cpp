// Loads and saves a generated document of about 1 GB in 10 million lines.
// Reports throughput (bytes_per_second) and the process's peak resident memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/document.h"
#include "quiet_document_host.h"
#include "editor/document_file.h"
#include "platform/file_io.h"

namespace {


const char* benchFolder() {
    const char* dir = std::getenv("ORVANE_BENCH_DIR");
    return dir ? dir : "/tmp";
}

// 10,000,000 lines of 98 to 116 bytes plus CR LF: about 1.07 GB.
const std::string& sourceFile() {
    static const std::string path = std::string(benchFolder()) + "/orvane-bench-1g.txt";
    static bool made = false;
    if (!made) {
        FileWriter writer(path);
        std::string line;
        for (int i = 0; i < 10'000'000; ++i) {
            line.assign("    value_").append(std::to_string(i)).append(" = compute(alpha, beta, gamma);");
            line.append(static_cast<size_t>(60 + i % 19), '.');
            line.append("\r\n");
            writer.write(line.data(), static_cast<int64_t>(line.size()));
        }
        writer.flush(true);
        made = true;
    }
    return path;
}

long peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

int64_t fileSize(const std::string& path) {
    FileReader reader(path);
    return reader.size();
}

void BM_LoadDocument(benchmark::State& state) {
    const std::string& path = sourceFile();
    QuietHost host;
    ViewState view;
    for (auto _ : state) {
        Document document(host, view);
        if (loadDocument(document, path) != LoadResult::Loaded) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(document.lineCount());
    }
    state.SetBytesProcessed(state.iterations() * fileSize(path));
    state.counters["peak_MB"] = static_cast<double>(peakMegabytes());
}

void BM_SaveDocument(benchmark::State& state) {
    const std::string& path = sourceFile();
    QuietHost host;
    ViewState view;
    Document document(host, view);
    loadDocument(document, path);
    document.path = std::string(benchFolder()) + "/orvane-bench-1g-saved.txt";
    for (auto _ : state) {
        if (saveDocument(document).result != SaveResult::Saved) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * fileSize(document.path));
    state.counters["peak_MB"] = static_cast<double>(peakMegabytes());
    std::remove(document.path.c_str());
}

}  // namespace

BENCHMARK(BM_LoadDocument)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_MAIN();
