// Files with NUL bytes. The main editor loads each line up to its first NUL, says the file
// holds NUL bytes exactly when it does, and refuses to save over it; the curses editor keeps
// every byte, shows a NUL as the replacement character, reaches every column, and saves the
// NUL bytes back.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "curses/document/document_text.h"
#include "curses_session.h"
#include "editor/document.h"
#include "editor/document_file.h"
#include "fake_document_host.h"
#include "memory_source.h"
#include "text/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    std::string file(reinterpret_cast<const char*>(data + 1), size - 1);
    // A UTF-16 mark makes it another kind of file.
    if (file.size() >= 2 && ((file[0] == '\xFF' && file[1] == '\xFE') || (file[0] == '\xFE' && file[1] == '\xFF')))
        file[0] = 'x';
    const bool nul = file.find('\0') != std::string::npos;

    FakeDocumentHost host;
    ViewState view;
    Document document{host, view};
    document.newDocument();
    MemorySource source(file, {.piece = 1 + data[0] % 97});
    FUZZ_CHECK(loadDocument(document, source, "") == LoadResult::Loaded);
    FUZZ_CHECK(document.format.holdsNul == nul);
    for (int i = 0; i < document.lineCount(); ++i) FUZZ_CHECK(document.lines.view(i).find('\0') == std::string::npos);
    FUZZ_CHECK((saveDocument(document).result == SaveResult::RefusedNul) == nul);

    // The curses editor: every byte kept and within reach.
    CursesEditor::shared() = CursesSharedState{};
    FakeModifiers held;
    FakeClipboard clipboard;
    FakeLinks links;
    CursesScreen screen;
    attachFakeWindow(screen, 30, 8);
    fuzz::FuzzEditor editor(screen, CursesServices{&held, &clipboard, &links});
    editor.load(file);
    editor.draw(-1);
    const int rows = editor.pane(0).rows;
    for (int y = 0; y < editor.line_count(); ++y) {
        const std::string& line = editor.doc.lines[static_cast<size_t>(y)];
        const std::vector<int> columns = codePointsOf(line);
        FUZZ_CHECK(editor.line_length(y) == static_cast<int>(columns.size()));
        if (y >= rows) continue;
        for (int x = 0; x < std::min<int>(static_cast<int>(columns.size()), screen.cols); ++x)
            if (columns[static_cast<size_t>(x)] == 0) FUZZ_CHECK(screen.cell_at(editor.pane(0).top + y, x)->ch == 0xFFFD);
    }
    std::string saved;
    for (const std::string& line : editor.doc.lines) append_saved_line(saved, line, {editor.doc.write_crlf, editor.doc.save_tab_width});
    FUZZ_CHECK(std::count(saved.begin(), saved.end(), '\0') == std::count(file.begin(), file.end(), '\0'));
    return 0;
}
