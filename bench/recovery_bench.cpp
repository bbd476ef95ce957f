// A driver for the recovery record's measures (bench/recovery_compare.py): each subcommand
// prints "name value" lines.
//
//   recovery_bench keystrokes FILE FOLDER   words typed with pauses, with and without a record kept
//   recovery_bench to-disk FOLDER           from the last key until the record is on the disk
//   recovery_bench restore FILE FOLDER      a record of 1,000 edits of FILE, then its restore
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "app/main_window/recovery_keeper.h"
#include "driver_figures.h"
#include "editor/commands.h"
#include "editor/document.h"
#include "editor/document_file.h"
#include "editor/key_map.h"
#include "editor/typing.h"
#include "typing_editor.h"

namespace {

int fail(const char* what) { return benchFailure("recovery_bench", what); }

using Editor = TypingEditor;

int64_t steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// 200 words of 6 keys at 10 million lines, each word followed by the pause that writes it: the
// whole cost of a key, the record's share included, against the same typing with no record.
int keystrokes(const char* path, const std::string& folder, bool keep) {
    Editor e;
    if (loadDocument(e.doc, path) != LoadResult::Loaded) return fail("load failed");
    e.doc.history.clear();
    auto platform = makeSystemFolderPlatform();
    RecoveryKeeper keeper(folder, *platform);
    std::mt19937 random(7);
    double total = 0;
    int keys = 0;
    for (int word = 0; word < 200; ++word) {
        e.doc.setCaret(0, static_cast<int>(random() % static_cast<unsigned>(e.doc.lineCount())));
        total += seconds([&] {
            for (const char* p = "hello "; *p; ++p, ++keys) {
                e.key(static_cast<unsigned char>(*p));
                if (keep) keeper.tick(e.doc, benchNow);
            }
            benchNow += 400;
            if (keep) keeper.tick(e.doc, benchNow);
        });
    }
    keeper.finish(e.doc);
    report(keep ? "key_with_record_s" : "key_without_record_s", total / keys);
    return 0;
}

// The real clock and the program's 100 ms timer: a key, then ticks until the record file has
// grown on the disk.
int toDisk(const std::string& folder) {
    Editor e;
    e.doc.history.clear();
    auto platform = makeSystemFolderPlatform();
    RecoveryKeeper keeper(folder, *platform);
    double worst = 0, sum = 0;
    const int rounds = 10;
    for (int round = 0; round < rounds; ++round) {
        auto sizeOf = [&] {
            std::error_code ec;
            std::string record = keeper.recordPath();
            return record.empty() ? std::uintmax_t{0} : std::filesystem::file_size(record, ec);
        };
        std::uintmax_t before = sizeOf();
        e.key('a' + static_cast<unsigned>(round));
        auto start = std::chrono::steady_clock::now();
        int64_t nextTick = steadyMs();
        while (keeper.recordPath().empty() || sizeOf() == before) {
            if (steadyMs() >= nextTick) {
                keeper.tick(e.doc, steadyMs());
                nextTick += 100;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        worst = std::max(worst, s);
        sum += s;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    keeper.finish(e.doc);
    report("to_disk_mean_s", sum / rounds);
    report("to_disk_worst_s", worst);
    return 0;
}

int restore(const char* path, const std::string& folder) {
    std::string record;
    {
        Editor e;
        if (loadDocument(e.doc, path) != LoadResult::Loaded) return fail("load failed");
        e.doc.history.clear();
        auto platform = makeSystemFolderPlatform();
        RecoveryKeeper keeper(folder, *platform);
        std::mt19937 random(11);
        for (int edit = 0; edit < 1000; ++edit) {
            e.doc.setCaret(0, static_cast<int>(random() % static_cast<unsigned>(e.doc.lineCount())));
            for (const char* p = "edit "; *p; ++p) e.key(static_cast<unsigned char>(*p));
            benchNow += 2000;
            keeper.tick(e.doc, benchNow);
            keeper.tick(e.doc, benchNow + 300);
        }
        keeper.finish(e.doc);
        report("record_kb", static_cast<double>(std::filesystem::file_size(keeper.recordPath())) / 1024);
    }
    Editor fresh;
    fresh.doc.history.clear();
    auto platform = makeSystemFolderPlatform();
    RecoveryKeeper keeper(folder, *platform);
    RecoveryKeeper::Restored restored;
    report("restore_s", seconds([&] { restored = keeper.restoreNewest(fresh.doc); }));
    if (!restored.found || restored.rebuilt.outcome != recovery::Rebuilt::Outcome::Whole) return fail("not restored");
    report("steps", static_cast<double>(fresh.doc.history.undoCount()));
    Editor plain;
    report("load_s", seconds([&] { loadDocument(plain.doc, path); }));
    keeper.finish(fresh.doc);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return fail("usage: recovery_bench keystrokes FILE FOLDER | to-disk FOLDER | restore FILE FOLDER");
    std::string what = argv[1];
    if (what == "keystrokes" && argc >= 4) {
        std::string folder = std::string(argv[3]) + "/";
        return keystrokes(argv[2], folder, false) || keystrokes(argv[2], folder, true);
    }
    if (what == "to-disk") return toDisk(std::string(argv[2]) + "/");
    if (what == "restore" && argc >= 4) return restore(argv[2], std::string(argv[3]) + "/");
    return fail("unknown command");
}
