// A driver for the undo history's side-by-side measures (bench/history_compare.py): each
// subcommand runs one operation on the real document code and prints "name value" lines.
//
//   history_bench typing FILE                a word typed mid-file, its undo and its redo
//   history_bench replace-all FILE FIND NEW  a replace-all from the top, its undo and redo
//   history_bench typing-memory CHARACTERS   the history's memory after typing that much
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "editor/commands.h"
#include "editor/document.h"
#include "editor/document_file.h"
#include "editor/find.h"
#include "editor/key_map.h"
#include "editor/typing.h"
#include "driver_figures.h"
#include "typing_editor.h"

namespace {

int fail(const char* what) { return benchFailure("history_bench", what); }

using Editor = TypingEditor;

int typing(const char* path) {
    Editor e;
    if (loadDocument(e.doc, path) != LoadResult::Loaded) return fail("load failed");
    e.doc.history.clear();
    e.doc.setCaret(0, e.doc.lineCount() / 2);
    const char* word = "hello";
    double slowest = 0, total = 0;
    for (const char* p = word; *p; ++p) {
        double s = seconds([&] { e.key(static_cast<unsigned char>(*p)); });
        slowest = std::max(slowest, s);
        total += s;
    }
    if (e.doc.history.undoCount() != 1) return fail("the word is not one step");
    report("key_mean_s", total / static_cast<double>(std::strlen(word)));
    report("key_max_s", slowest);
    report("undo_word_s", seconds([&] { undo(e.doc); }));
    report("redo_word_s", seconds([&] { redo(e.doc); }));
    report("lines", e.doc.lineCount());
    return 0;
}

int replaceAll(const char* path, const char* find, const char* change) {
    Editor e;
    if (loadDocument(e.doc, path) != LoadResult::Loaded) return fail("load failed");
    e.doc.history.clear();
    long loadedKb = peakKilobytes();
    report("replace_all_s", seconds([&] { replace(e.doc, find, change, {.fromStart = true, .all = true}); }));
    report("history_mb", static_cast<double>(e.doc.history.memoryBytes()) / 1e6);
    report("undo_s", seconds([&] { undo(e.doc); }));
    report("redo_s", seconds([&] { redo(e.doc); }));
    report("loaded_peak_kb", static_cast<double>(loadedKb));
    report("peak_kb", static_cast<double>(peakKilobytes()));
    return 0;
}

int typingMemory(long characters) {
    Editor e;
    e.doc.history.clear();
    for (long i = 0; i < characters; ++i) {
        // Lines of 72 characters; now and then a pause that ends the step.
        if (i % 72 == 71) {
            KeyDecision enter;
            enter.action = KeyAction::SplitLine;
            performKeyAction(e.doc, enter, &e.typing);
            continue;
        }
        if (i % 24 == 0) benchNow += 2000;
        e.key(i % 6 == 5 ? ' ' : static_cast<unsigned>('a' + i % 26));
    }
    report("steps", static_cast<double>(e.doc.history.undoCount()));
    report("history_mb", static_cast<double>(e.doc.history.memoryBytes()) / 1e6);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return fail("usage: history_bench typing FILE | replace-all FILE FIND NEW | typing-memory N");
    std::string what = argv[1];
    if (what == "typing") return typing(argv[2]);
    if (what == "replace-all" && argc >= 5) return replaceAll(argv[2], argv[3], argv[4]);
    if (what == "typing-memory") return typingMemory(std::strtol(argv[2], nullptr, 10));
    return fail("unknown command");
}
