// A small driver over the editor core for side-by-side measures (bench/compare.sh): each
// subcommand runs one operation on the real document code and prints "name value" lines:
// the operation's seconds and the process's peak resident memory in KiB.
//
//   core_bench load FILE [--edit]        loadDocument (then a character typed in line 0)
//   core_bench save FILE OUT             loadDocument, then saveDocument (CR LF) to OUT
//   core_bench find FILE TEXT            loadDocument, then search from the top
//   core_bench replace FILE TEXT WITH    loadDocument, then replace every TEXT by WITH
//   core_bench replace-all LINES         "a" -> "bb" over LINES lines with 6 hits each
//   core_bench replace-line HITS         "a" -> "bb" inside one line with HITS hits
//   core_bench indent LINES              Tab over a selection of LINES lines
//   core_bench unindent LINES            Shift+Tab over a selection of LINES lines
//   core_bench paste LINES               paste LINES lines into a 200,000-line document
//   core_bench cut LINES                 cut a selection of LINES lines
//   core_bench keystroke BYTES           single commands (typing, moves, deletes, a search) in one line of BYTES
//   core_bench commands FILE             loadDocument, then the commands bench/wine_commands.py runs in the program
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
#include "driver_figures.h"
#include "quiet_document_host.h"
#include "text/utf8.h"
#include "view/editor_paint.h"

namespace {

struct Editor {
    QuietHost host;
    ViewState view;
    Document doc{host, view};
    Editor() {
        view.cellWidth = 8;
        view.cellHeight = 14;
        view.clientRect = {0, 0, 1920, 1080};
        doc.newDocument();
    }
    void fill(int n, const std::string& text) {
        doc.clearLines();
        for (int i = 0; i < n; ++i) doc.insertLine(i, text.c_str());
    }
    void select(TextPosition from, TextPosition to) {
        view.caretColumn = from.column;
        view.caretLine = from.line;
        doc.extendSelection();
        view.caretColumn = to.column;
        view.caretLine = to.line;
        doc.extendSelection();
    }
};

// Paints nothing: a paint then costs only its decisions and the text it prepares.
class NullCanvas final : public EditorCanvas {
public:
    void clear(unsigned) override {}
    void fillRect(int, int, int, int, unsigned, float) override {}
    void line(int, int, int, int, unsigned, float) override {}
    void putPixel(int, int, unsigned, float) override {}
    PixelSize measure(const char*, int length) override { return {length * 8, 14}; }
    void drawText(const char*, int, const PixelRect&, const TextStyle&) override {}
    void copyBand(int, int) override {}
};

class NullBar final : public PaintScrollbar {
public:
    void update(int, int) override {}
};

double paintSeconds(Editor& e) {
    NullCanvas canvas;
    NullBar bar;
    EditorPaintState state;
    return seconds([&] { paintEditor(canvas, bar, e.doc, e.view, state, 1920, 1080); });
}

int number(const char* text) { return static_cast<int>(std::strtol(text, nullptr, 10)); }

int fail(const char* what) {
    std::fprintf(stderr, "core_bench: %s\n", what);
    return 1;
}

// With edit, also types a character in the middle of the first line and then at its end.
int loadOnly(const char* path, bool edit) {
    Editor e;
    bool ok = false;
    report("load_s", seconds([&] { ok = loadDocument(e.doc, path) == LoadResult::Loaded; }));
    if (!ok) return fail("load failed");
    report("lines", e.doc.lineCount());
    report("peak_kb", static_cast<double>(peakKilobytes()));
    if (edit) {
        e.view.caretColumn = charCount(e.doc.line(0)) / 2;
        report("edit_middle_s", seconds([&] { insertText(e.doc, "x"); }));
        report("end_s", seconds([&] { moveEnd(e.doc); }));
        report("edit_end_s", seconds([&] { insertText(e.doc, "y"); }));
        report("edited_peak_kb", static_cast<double>(peakKilobytes()));
    }
    return 0;
}

int save(const char* path, const char* out) {
    Editor e;
    if (loadDocument(e.doc, path) != LoadResult::Loaded) return fail("load failed");
    e.doc.path = out;
    e.doc.crlf = true;
    bool ok = false;
    report("save_s", seconds([&] { ok = saveDocument(e.doc).result == SaveResult::Saved; }));
    report("peak_kb", static_cast<double>(peakKilobytes()));
    return ok ? 0 : fail("save failed");
}

int find(const char* path, const char* text) {
    Editor e;
    if (loadDocument(e.doc, path) != LoadResult::Loaded) return fail("load failed");
    bool found = true;
    report("find_s", seconds([&] { found = search(e.doc, text, {.fromStart = true}); }));
    report("found", found ? 1 : 0);
    return 0;
}

int replaceInFile(const char* path, const char* text, const char* with) {
    Editor e;
    if (loadDocument(e.doc, path) != LoadResult::Loaded) return fail("load failed");
    report("replace_file_s", seconds([&] { replace(e.doc, text, with, {.fromStart = true, .all = true}); }));
    // What the window would have been asked: the real one answers each question with a
    // system call.
    report("host_questions", static_cast<double>(e.host.questions));
    return 0;
}

int replaceAll(int lines) {
    Editor e;
    e.fill(lines, "f(a, a, a) + g(a, a, a);");
    report("replace_all_s", seconds([&] { replace(e.doc, "a", "bb", {.fromStart = true, .all = true}); }));
    if (std::strcmp(e.doc.line(lines - 1), "f(bb, bb, bb) + g(bb, bb, bb);") != 0) return fail("wrong result");
    return 0;
}

int replaceInLine(int hits) {
    Editor e;
    std::string line;
    for (int i = 0; i < hits; ++i) line += "xxxxxxxa ";
    e.fill(1, line);
    report("replace_line_s", seconds([&] { replace(e.doc, "a", "bb", {.fromStart = true, .all = true}); }));
    if (std::strlen(e.doc.line(0)) != line.size() + static_cast<size_t>(hits)) return fail("wrong result");
    return 0;
}

int blockIndent(int lines, bool in) {
    Editor e;
    e.fill(lines, "    int value = compute(alpha, beta);");
    e.select({3, 0}, {2, lines - 1});
    report(in ? "indent_s" : "unindent_s", seconds([&] { in ? indent(e.doc) : unindent(e.doc); }));
    return 0;
}

int pasteLines(int lines) {
    Editor e;
    e.fill(lines, "copied line of text");
    e.select({0, 0}, {0, lines});
    copySelection(e.doc);
    e.doc.clearSelection();
    e.fill(200'000, "    existing line of the document");
    e.view.caretLine = 100'000;
    e.view.caretColumn = 4;
    report("paste_s", seconds([&] { paste(e.doc); }));
    if (e.doc.lineCount() != 200'000 + lines - 1) return fail("wrong line count");
    return 0;
}

int cutLines(int lines) {
    Editor e;
    e.fill(200'000 + lines, "    existing line of the document");
    e.select({4, 50'000}, {4, 50'000 + lines});
    report("cut_s", seconds([&] { cutSelection(e.doc); }));
    if (e.doc.lineCount() != 200'000) return fail("wrong line count");
    return 0;
}

int keystroke(long long bytes) {
    Editor e;
    std::string line(static_cast<size_t>(bytes), 'x');
    for (size_t i = 7; i < line.size(); i += 8) line[i] = ' ';
    e.doc.clearLines();
    e.doc.insertLine(0, line.c_str());
    line.clear();
    line.shrink_to_fit();
    e.view.caretColumn = static_cast<int>(bytes / 2);
    e.view.screenColumn = 100;
    moveRight(e.doc);
    // The first edit moves the line into storage of its own, with room to grow.
    report("first_type_s", seconds([&] { insertText(e.doc, "y"); }));
    report("type_s", seconds([&] { insertText(e.doc, "z"); }));
    report("paint_s", paintSeconds(e));
    report("backspace_s", seconds([&] { deleteBackward(e.doc); }));
    report("right_s", seconds([&] { moveRight(e.doc); }));
    report("delete_s", seconds([&] { deleteForward(e.doc); }));
    report("word_left_s", seconds([&] { wordLeft(e.doc); }));
    report("find_in_line_s", seconds([&] { search(e.doc, "orvane_missing", {}); }));
    report("end_s", seconds([&] { moveEnd(e.doc); }));
    report("home_s", seconds([&] { moveHome(e.doc); }));
    e.view.caretColumn = static_cast<int>(bytes / 2);
    report("word_right_s", seconds([&] { wordRight(e.doc); }));
    report("enter_s", seconds([&] { splitLine(e.doc); }));
    report("join_s", seconds([&] { deleteBackward(e.doc); }));
    report("peak_kb", static_cast<double>(peakKilobytes()));
    return 0;
}

// The same commands, in the same order, as bench/wine_commands.py sends to orvane.exe.
int commandsOverFile(const char* path) {
    Editor e;
    if (loadDocument(e.doc, path) != LoadResult::Loaded) return fail("load failed");
    report("document_end_s", seconds([&] { moveDocumentEnd(e.doc); }));
    report("document_start_s", seconds([&] { moveDocumentStart(e.doc); }));
    report("select_all_copy_s", seconds([&] {
        selectAll(e.doc);
        copySelection(e.doc);
    }));
    report("indent_all_s", seconds([&] { indent(e.doc); }));
    report("undo_indent_s", seconds([&] { undo(e.doc); }));
    report("unindent_all_s", seconds([&] { unindent(e.doc); }));
    report("undo_unindent_s", seconds([&] { undo(e.doc); }));
    report("crlf_toggle_s", seconds([&] { toggleCrlf(e.doc); }));
    report("peak_kb", static_cast<double>(peakKilobytes()));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return fail("usage: core_bench load|save|find|replace-all|replace-line|indent|unindent|paste|cut|keystroke ARGS");
    std::string what = argv[1];
    if (what == "load") return loadOnly(argv[2], argc >= 4 && std::strcmp(argv[3], "--edit") == 0);
    if (what == "save" && argc >= 4) return save(argv[2], argv[3]);
    if (what == "find" && argc >= 4) return find(argv[2], argv[3]);
    if (what == "replace" && argc >= 5) return replaceInFile(argv[2], argv[3], argv[4]);
    if (what == "replace-all") return replaceAll(number(argv[2]));
    if (what == "replace-line") return replaceInLine(number(argv[2]));
    if (what == "indent") return blockIndent(number(argv[2]), true);
    if (what == "unindent") return blockIndent(number(argv[2]), false);
    if (what == "paste") return pasteLines(number(argv[2]));
    if (what == "cut") return cutLines(number(argv[2]));
    if (what == "commands") return commandsOverFile(argv[2]);
    if (what == "keystroke") return keystroke(std::strtoll(argv[2], nullptr, 10));
    return fail("unknown command");
}
